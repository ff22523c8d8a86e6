#include "plotlib/MetafileDevice.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <variant>

namespace {

using mirla::TMetafileDevice;
using mirla::TMetafileFormat;

// ---- Reading little-endian fields ------------------------------------------------------------------------

quint16 U16At(const QByteArray& bytes, qsizetype offset) {
    return quint16(quint8(bytes[offset]) | quint8(bytes[offset + 1]) << 8);
}
qint16 I16At(const QByteArray& bytes, qsizetype offset) {
    return qint16(U16At(bytes, offset));
}
quint32 U32At(const QByteArray& bytes, qsizetype offset) {
    return quint32(U16At(bytes, offset)) | quint32(U16At(bytes, offset + 2)) << 16;
}
qint32 I32At(const QByteArray& bytes, qsizetype offset) {
    return qint32(U32At(bytes, offset));
}

constexpr quint32 Red = 0x000000FF, Blue = 0x00FF0000, Black = 0;

// ---- The two file layouts --------------------------------------------------------------------------------

/// One record: its function or type code and the bytes after the record's size and type.
struct TRecord {
    quint32 type = 0;
    QByteArray params;
};

/// A file split into its header bytes and records; `wellFormed` is false when a record overruns the file, the
/// end record is missing or bytes follow it.
struct TFile {
    QByteArray header;
    std::vector<TRecord> records;
    qsizetype largestRecordBytes = 0;
    bool wellFormed = false;
};

constexpr int PlaceableBytes = 22;
constexpr int WmfHeaderBytes = 18;

TFile ReadWmf(const QByteArray& bytes) {
    TFile file;
    file.header = bytes.left(PlaceableBytes + WmfHeaderBytes);
    for (qsizetype offset = PlaceableBytes + WmfHeaderBytes; offset + 6 <= bytes.size();) {
        const qsizetype size = qsizetype(U32At(bytes, offset)) * 2;
        if (size < 6 || offset + size > bytes.size())
            return file;
        const quint16 function = U16At(bytes, offset + 4);
        file.records.push_back({function, bytes.mid(offset + 6, size - 6)});
        file.largestRecordBytes = std::max(file.largestRecordBytes, size);
        offset += size;
        if (function == 0) {
            file.wellFormed = offset == bytes.size();
            return file;
        }
    }
    return file;
}

TFile ReadEmf(const QByteArray& bytes) {
    TFile file;
    for (qsizetype offset = 0; offset + 8 <= bytes.size();) {
        const quint32 type = U32At(bytes, offset);
        const qsizetype size = U32At(bytes, offset + 4);
        if (size < 8 || size % 4 != 0 || offset + size > bytes.size())
            return file;
        if (offset == 0)
            file.header = bytes.left(size);
        file.records.push_back({type, bytes.mid(offset + 8, size - 8)});
        offset += size;
        if (type == 14) {
            file.wellFormed = offset == bytes.size();
            return file;
        }
    }
    return file;
}

// ---- Playing the records back ----------------------------------------------------------------------------

struct TPen {
    quint32 style = 0;
    int width = 0;
    quint32 color = 0;
};
struct TBrush {
    quint32 style = 0;
    quint32 color = 0;
    quint32 hatch = 0;
};
struct TFont {
    int height = 0;
    int escapement = 0;
    int weight = 0;
    bool italic = false;
    QString face;
};
using TObject = std::variant<TPen, TBrush, TFont>;

/// A drawing record with the objects that were selected when it was played.
struct TShape {
    QString kind;
    QPolygon points; // for rectangles, ellipses and images: the two corners of the box
    TPen pen;
    TBrush brush;
    TFont font;
    QString text;
    std::vector<int> advances;
    quint32 textColor = 0;
    QSize dibSize;
    QByteArray dibBits;
    int clipDepth = 0;
};

/// The state of a player: the object table, what is selected, and what was drawn.
struct TPlayback {
    std::map<int, TObject> table;
    std::size_t mostObjectsAlive = 0;
    int highestIndex = -1;
    TPen pen;
    TBrush brush;
    TFont font;
    quint32 textColor = 0;
    int clipDepth = 0;
    std::vector<QRect> clips;
    std::vector<TShape> shapes;
    std::vector<QString> faults;

    void Create(int index, const TObject& object) {
        if (table.count(index) != 0)
            faults.push_back(QStringLiteral("object %1 created twice").arg(index));
        table[index] = object;
        mostObjectsAlive = std::max(mostObjectsAlive, table.size());
        highestIndex = std::max(highestIndex, index);
    }
    int LowestFreeIndex() const {
        int index = 0;
        while (table.count(index) != 0)
            ++index;
        return index;
    }
    void Select(int index) {
        const auto found = table.find(index);
        if (found == table.end()) {
            faults.push_back(QStringLiteral("selected missing object %1").arg(index));
            return;
        }
        std::visit(
            [this](const auto& object) {
                using T = std::decay_t<decltype(object)>;
                if constexpr (std::is_same_v<T, TPen>)
                    pen = object;
                else if constexpr (std::is_same_v<T, TBrush>)
                    brush = object;
                else
                    font = object;
            },
            found->second);
    }
    void Delete(int index) {
        if (table.erase(index) == 0)
            faults.push_back(QStringLiteral("deleted missing object %1").arg(index));
    }
    TShape& Draw(const QString& kind, const QPolygon& points) {
        shapes.push_back({kind, points, pen, brush, font, {}, {}, textColor, {}, {}, clipDepth});
        return shapes.back();
    }
    std::vector<TShape> ShapesOf(const QString& kind) const {
        std::vector<TShape> found;
        std::copy_if(shapes.begin(), shapes.end(), std::back_inserter(found),
                     [&](const TShape& shape) { return shape.kind == kind; });
        return found;
    }
};

QPolygon Corners(int left, int top, int right, int bottom) {
    return QPolygon{QPoint(left, top), QPoint(right, bottom)};
}

void ReadDib(const QByteArray& info, const QByteArray& bits, TShape& shape) {
    shape.dibSize = QSize(I32At(info, 4), I32At(info, 8));
    EXPECT_EQ(U16At(info, 14), 24) << "bits per pixel";
    shape.dibBits = bits;
}

TPlayback PlayWmf(const TFile& file) {
    TPlayback play;
    for (const TRecord& record : file.records) {
        const QByteArray& p = record.params;
        switch (record.type) {
        case 0x02FA:
            play.Create(play.LowestFreeIndex(), TPen{U16At(p, 0), I16At(p, 2), U32At(p, 6)});
            break;
        case 0x02FC:
            play.Create(play.LowestFreeIndex(), TBrush{U16At(p, 0), U32At(p, 2), U16At(p, 6)});
            break;
        case 0x02FB:
            play.Create(play.LowestFreeIndex(), TFont{I16At(p, 0), I16At(p, 4), I16At(p, 8), p[10] != 0,
                                                      QString::fromLatin1(p.mid(18).constData())});
            break;
        case 0x012D:
            play.Select(U16At(p, 0));
            break;
        case 0x01F0:
            play.Delete(U16At(p, 0));
            break;
        case 0x0209:
            play.textColor = U32At(p, 0);
            break;
        case 0x001E:
            ++play.clipDepth;
            break;
        case 0x0127:
            --play.clipDepth;
            break;
        case 0x0416:
            play.clips.push_back(QRect(QPoint(I16At(p, 6), I16At(p, 4)), QPoint(I16At(p, 2), I16At(p, 0))));
            break;
        case 0x0324:
        case 0x0325: {
            QPolygon points;
            for (int i = 0; i < U16At(p, 0); ++i)
                points << QPoint(I16At(p, 2 + 4 * i), I16At(p, 4 + 4 * i));
            play.Draw(record.type == 0x0324 ? "polygon" : "polyline", points);
            break;
        }
        case 0x041B:
        case 0x0418:
            play.Draw(record.type == 0x041B ? "rectangle" : "ellipse",
                      Corners(I16At(p, 6), I16At(p, 4), I16At(p, 2), I16At(p, 0)));
            break;
        case 0x0A32: {
            const int length = U16At(p, 4);
            const int stringAt = (U16At(p, 6) & 0x0006) != 0 ? 16 : 8;
            TShape& shape = play.Draw("text", QPolygon{QPoint(I16At(p, 2), I16At(p, 0))});
            shape.text = QString::fromLatin1(p.mid(stringAt, length));
            for (int i = 0; i < length; ++i)
                shape.advances.push_back(I16At(p, stringAt + (length + 1) / 2 * 2 + 2 * i));
            break;
        }
        case 0x0F43: {
            const int x = I16At(p, 20), y = I16At(p, 18);
            TShape& shape = play.Draw("image", Corners(x, y, x + I16At(p, 16), y + I16At(p, 14)));
            ReadDib(p.mid(22, 40), p.mid(62), shape);
            break;
        }
        default:
            break;
        }
    }
    return play;
}

QString Utf16At(const QByteArray& bytes, qsizetype offset, qsizetype chars) {
    QString text;
    for (qsizetype i = 0; i < chars; ++i)
        text.append(QChar(U16At(bytes, offset + 2 * i)));
    return text;
}

TPlayback PlayEmf(const TFile& file) {
    TPlayback play;
    for (const TRecord& record : file.records) {
        const QByteArray& p = record.params;
        switch (record.type) {
        case 95:
            play.Create(I32At(p, 0), TPen{U32At(p, 20) & 0xFFFF, I32At(p, 24), U32At(p, 32)});
            break;
        case 39:
            play.Create(I32At(p, 0), TBrush{U32At(p, 4), U32At(p, 8), U32At(p, 12)});
            break;
        case 82:
            play.Create(I32At(p, 0), TFont{I32At(p, 4), I32At(p, 12), I32At(p, 20), p[24] != 0,
                                           QString(Utf16At(p, 32, 32).constData())});
            break;
        case 37:
            play.Select(I32At(p, 0));
            break;
        case 40:
            play.Delete(I32At(p, 0));
            break;
        case 24:
            play.textColor = U32At(p, 0);
            break;
        case 33:
            ++play.clipDepth;
            break;
        case 34:
            --play.clipDepth;
            break;
        case 30:
            play.clips.push_back(QRect(QPoint(I32At(p, 0), I32At(p, 4)), QPoint(I32At(p, 8), I32At(p, 12))));
            break;
        case 86:
        case 87: {
            QPolygon points;
            for (quint32 i = 0; i < U32At(p, 16); ++i)
                points << QPoint(I16At(p, 20 + 4 * i), I16At(p, 22 + 4 * i));
            play.Draw(record.type == 86 ? "polygon" : "polyline", points);
            break;
        }
        case 3:
        case 4: {
            QPolygon points;
            for (quint32 i = 0; i < U32At(p, 16); ++i)
                points << QPoint(I32At(p, 20 + 8 * i), I32At(p, 24 + 8 * i));
            play.Draw(record.type == 3 ? "polygon" : "polyline", points);
            break;
        }
        case 43:
        case 42:
            play.Draw(record.type == 43 ? "rectangle" : "ellipse",
                      Corners(I32At(p, 0), I32At(p, 4), I32At(p, 8), I32At(p, 12)));
            break;
        case 84: {
            const int chars = I32At(p, 36);
            TShape& shape = play.Draw("text", QPolygon{QPoint(I32At(p, 28), I32At(p, 32))});
            shape.text = Utf16At(p, I32At(p, 40) - 8, chars);
            for (int i = 0; i < chars; ++i)
                shape.advances.push_back(I32At(p, I32At(p, 64) - 8 + 4 * i));
            break;
        }
        case 81: {
            const int x = I32At(p, 16), y = I32At(p, 20);
            TShape& shape = play.Draw("image", Corners(x, y, x + I32At(p, 64), y + I32At(p, 68)));
            ReadDib(p.mid(I32At(p, 40) - 8, I32At(p, 44)), p.mid(I32At(p, 48) - 8, I32At(p, 52)), shape);
            break;
        }
        default:
            break;
        }
    }
    return play;
}

/// Records a picture painted by `paint` and plays it back.
struct TRecorded {
    QByteArray bytes;
    TFile file;
    TPlayback play;
};

TRecorded Record(TMetafileFormat format, QSize size, const std::function<void(QPainter&)>& paint) {
    TMetafileDevice device(format, size);
    QPainter painter(&device);
    paint(painter);
    painter.end();
    TRecorded recorded;
    recorded.bytes = device.Bytes();
    recorded.file = format == TMetafileFormat::Wmf ? ReadWmf(recorded.bytes) : ReadEmf(recorded.bytes);
    recorded.play = format == TMetafileFormat::Wmf ? PlayWmf(recorded.file) : PlayEmf(recorded.file);
    return recorded;
}

QFont PixelFont(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    return font;
}

// A red line, a filled blue rectangle without outline and a black text.
void PaintKnownPicture(QPainter& painter) {
    painter.setPen(QPen(Qt::red, 2));
    painter.drawLine(10, 20, 190, 20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::blue);
    painter.drawRect(QRect(30, 40, 50, 30));
    painter.setPen(Qt::black);
    painter.setFont(PixelFont(12));
    painter.drawText(QPoint(40, 90), QStringLiteral("Sin(x)"));
}

std::string FormatName(const testing::TestParamInfo<TMetafileFormat>& info) {
    return info.param == TMetafileFormat::Wmf ? "Wmf" : "Emf";
}

class MetafileFormatTest : public testing::TestWithParam<TMetafileFormat> {};

INSTANTIATE_TEST_SUITE_P(Formats, MetafileFormatTest,
                         testing::Values(TMetafileFormat::Wmf, TMetafileFormat::Emf), FormatName);

// ---- Tests -----------------------------------------------------------------------------------------------

TEST(MetafileHeader, WmfPlaceableAndMetaHeaderDescribeTheFile) {
    const TRecorded picture = Record(TMetafileFormat::Wmf, QSize(200, 100), PaintKnownPicture);
    ASSERT_TRUE(picture.file.wellFormed);
    const QByteArray& h = picture.file.header;
    EXPECT_EQ(U32At(h, 0), 0x9AC6CDD7u);
    EXPECT_EQ(QRect(QPoint(I16At(h, 6), I16At(h, 8)), QPoint(I16At(h, 10), I16At(h, 12))),
              QRect(QPoint(0, 0), QPoint(200, 100)));
    EXPECT_EQ(U16At(h, 14), 96) << "one logical unit is one pixel at 96 dpi";
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= U16At(h, i);
    EXPECT_EQ(U16At(h, 20), checksum);
    EXPECT_EQ(U16At(h, 22), 1) << "type";
    EXPECT_EQ(U16At(h, 24), 9) << "header words";
    EXPECT_EQ(U16At(h, 26), 0x0300) << "version";
    EXPECT_EQ(qsizetype(U32At(h, 28)) * 2, picture.bytes.size() - PlaceableBytes);
    EXPECT_EQ(qsizetype(U32At(h, 34)) * 2, picture.file.largestRecordBytes);
    EXPECT_GE(int(U16At(h, 32)), picture.play.highestIndex + 1) << "object table holds every index used";
}

TEST(MetafileHeader, EmfHeaderDescribesTheFile) {
    const TRecorded picture = Record(TMetafileFormat::Emf, QSize(200, 100), PaintKnownPicture);
    ASSERT_TRUE(picture.file.wellFormed);
    const QByteArray& h = picture.file.header;
    EXPECT_EQ(U32At(h, 0), 1u) << "EMR_HEADER";
    EXPECT_EQ(picture.bytes.mid(40, 4), QByteArray(" EMF"));
    EXPECT_EQ(U32At(h, 44), 0x00010000u) << "version";
    EXPECT_EQ(qsizetype(U32At(h, 48)), picture.bytes.size()) << "nBytes";
    EXPECT_EQ(std::size_t(U32At(h, 52)), picture.file.records.size()) << "nRecords";
    EXPECT_GE(int(U16At(h, 56)), picture.play.highestIndex + 1) << "nHandles";
    EXPECT_EQ(QRect(QPoint(I32At(h, 8), I32At(h, 12)), QPoint(I32At(h, 16), I32At(h, 20))),
              QRect(0, 0, 200, 100))
        << "bounds, inclusive";
    // 200 x 100 pixels at 96 dpi measure 52.92 x 26.46 mm.
    EXPECT_EQ(I32At(h, 24), 0);
    EXPECT_EQ(I32At(h, 28), 0);
    EXPECT_NEAR(I32At(h, 32), 5292, 1) << "frame right in 0.01 mm";
    EXPECT_NEAR(I32At(h, 36), 2646, 1) << "frame bottom in 0.01 mm";
    const double dpiX = I32At(h, 72) * 25.4 / I32At(h, 80);
    const double dpiY = I32At(h, 76) * 25.4 / I32At(h, 84);
    EXPECT_DOUBLE_EQ(dpiX, 96.0);
    EXPECT_DOUBLE_EQ(dpiY, 96.0);
    const quint32 descriptionChars = U32At(h, 60);
    const quint32 descriptionOffset = U32At(h, 64);
    EXPECT_LE(descriptionOffset + 2 * descriptionChars, quint32(h.size())) << "description inside the header";
}

TEST_P(MetafileFormatTest, KnownPictureHasItsShapesColoursAndText) {
    const TRecorded picture = Record(GetParam(), QSize(200, 100), PaintKnownPicture);
    ASSERT_TRUE(picture.file.wellFormed);
    EXPECT_TRUE(picture.play.faults.empty()) << picture.play.faults.front().toStdString();

    const auto lines = picture.play.ShapesOf("polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (QPolygon{QPoint(10, 20), QPoint(190, 20)}));
    EXPECT_EQ(lines[0].pen.color, Red);
    EXPECT_EQ(lines[0].pen.width, 2);
    EXPECT_EQ(lines[0].pen.style & 0xF, 0u) << "solid";

    const auto rects = picture.play.ShapesOf("rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].points, Corners(30, 40, 80, 70));
    EXPECT_EQ(rects[0].brush.style, 0u) << "solid brush";
    EXPECT_EQ(rects[0].brush.color, Blue);
    EXPECT_EQ(rects[0].pen.style & 0xF, 5u) << "no outline";

    const auto texts = picture.play.ShapesOf("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Sin(x)"));
    EXPECT_EQ(texts[0].points, QPolygon{QPoint(40, 90)});
    EXPECT_EQ(texts[0].textColor, Black);
    EXPECT_EQ(texts[0].font.height, -12);
    EXPECT_EQ(texts[0].font.escapement, 0);
    EXPECT_EQ(texts[0].font.weight, 400);
    EXPECT_EQ(texts[0].font.face, QStringLiteral("DejaVu Sans"));
    ASSERT_EQ(texts[0].advances.size(), 6u);
    for (int advance : texts[0].advances)
        EXPECT_GT(advance, 0);
}

TEST_P(MetafileFormatTest, ReplacedObjectsAreDeletedSoTheTableStaysSmall) {
    const TRecorded picture = Record(GetParam(), QSize(300, 300), [](QPainter& painter) {
        for (int i = 0; i < 300; ++i) {
            painter.setPen(QColor(i % 256, 0, 0));
            painter.setBrush(QColor(0, i % 256, 0));
            painter.drawRect(QRect(i % 290, i % 290, 5, 5));
            painter.setFont(PixelFont(8 + i % 7));
            painter.drawText(QPoint(10, i), QStringLiteral("x"));
        }
    });
    ASSERT_TRUE(picture.file.wellFormed);
    EXPECT_TRUE(picture.play.faults.empty()) << picture.play.faults.front().toStdString();
    EXPECT_EQ(picture.play.ShapesOf("rectangle").size(), 300u);
    EXPECT_LE(picture.play.table.size(), 3u) << "only the pen, brush and font in use remain";
    EXPECT_LE(picture.play.mostObjectsAlive, 4u) << "one new object next to the three in use";
    EXPECT_LE(picture.play.highestIndex, 4);
}

TEST_P(MetafileFormatTest, PenStylesMapToMetafileStyles) {
    const std::vector<std::pair<Qt::PenStyle, quint32>> cases = {
        {Qt::SolidLine, 0},   {Qt::DashLine, 1},       {Qt::DotLine, 2},
        {Qt::DashDotLine, 3}, {Qt::DashDotDotLine, 4}, {Qt::NoPen, 5}};
    for (const auto& [style, expected] : cases) {
        const TRecorded picture = Record(GetParam(), QSize(50, 50), [style](QPainter& painter) {
            painter.setPen(QPen(Qt::green, 1, style));
            painter.drawLine(1, 2, 30, 40);
        });
        const auto lines = picture.play.ShapesOf("polyline");
        ASSERT_EQ(lines.size(), 1u) << "Qt pen style " << style;
        EXPECT_EQ(lines[0].pen.style & 0xF, expected) << "Qt pen style " << style;
    }
}

TEST_P(MetafileFormatTest, WorldTransformMovesAndScalesCoordinatesAndPenWidth) {
    const TRecorded picture = Record(GetParam(), QSize(100, 100), [](QPainter& painter) {
        painter.translate(5, 7);
        painter.scale(2, 3);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(0, 0, 10, 0);
        painter.drawEllipse(QRectF(1, 1, 4, 2));
    });
    const auto lines = picture.play.ShapesOf("polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (QPolygon{QPoint(5, 7), QPoint(25, 7)}));
    EXPECT_EQ(lines[0].pen.width, 2) << "width 1 scaled by the square root of 2 x 3";
    const auto ellipses = picture.play.ShapesOf("ellipse");
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].points, Corners(7, 10, 15, 16));
}

TEST(MetafileCoordinates, FarPointsUse32BitRecordsOrAreClampedTo16Bits) {
    const auto paint = [](QPainter& painter) { painter.drawLine(10, -50000, 40000, 20); };
    const auto emfLines = Record(TMetafileFormat::Emf, QSize(100, 100), paint).play.ShapesOf("polyline");
    ASSERT_EQ(emfLines.size(), 1u);
    EXPECT_EQ(emfLines[0].points, (QPolygon{QPoint(10, -50000), QPoint(40000, 20)}));
    const auto wmfLines = Record(TMetafileFormat::Wmf, QSize(100, 100), paint).play.ShapesOf("polyline");
    ASSERT_EQ(wmfLines.size(), 1u);
    EXPECT_EQ(wmfLines[0].points, (QPolygon{QPoint(10, -32768), QPoint(32767, 20)}));
}

TEST_P(MetafileFormatTest, LongPolylineKeepsEveryPoint) {
    QPolygon zigzag;
    for (int i = 0; i < 20000; ++i)
        zigzag << QPoint(i % 1000, (i * 7) % 500);
    const TRecorded picture =
        Record(GetParam(), QSize(1000, 500), [&zigzag](QPainter& painter) { painter.drawPolyline(zigzag); });
    QPolygon joined;
    for (const TShape& line : picture.play.ShapesOf("polyline")) {
        // A record that continues a line starts where the previous one ended.
        if (!joined.isEmpty()) {
            ASSERT_EQ(line.points.first(), joined.last());
            joined.removeLast();
        }
        joined += line.points;
    }
    EXPECT_EQ(joined, zigzag);
}

TEST_P(MetafileFormatTest, RotatedRectangleBecomesAPolygon) {
    const TRecorded picture = Record(GetParam(), QSize(100, 100), [](QPainter& painter) {
        painter.translate(50, 50);
        painter.rotate(90);
        painter.setBrush(Qt::yellow);
        painter.drawRect(QRectF(0, 0, 20, 10));
    });
    EXPECT_TRUE(picture.play.ShapesOf("rectangle").empty());
    const auto polygons = picture.play.ShapesOf("polygon");
    ASSERT_EQ(polygons.size(), 1u);
    // Turning by 90 degrees clockwise on screen takes (20, 0) to (0, 20) and (0, 10) to (-10, 0).
    EXPECT_TRUE(polygons[0].points.contains(QPoint(50, 70)));
    EXPECT_TRUE(polygons[0].points.contains(QPoint(40, 50)));
    EXPECT_EQ(polygons[0].brush.color, 0x0000FFFFu) << "yellow";
}

TEST_P(MetafileFormatTest, RotatedTextCarriesItsEscapement) {
    const std::vector<std::pair<qreal, int>> cases = {{0, 0}, {-90, 900}, {90, 2700}, {-45, 450}};
    for (const auto& [rotation, escapement] : cases) {
        const TRecorded picture = Record(GetParam(), QSize(300, 300), [rotation](QPainter& painter) {
            painter.setFont(PixelFont(14));
            painter.translate(20, 280);
            painter.rotate(rotation);
            painter.drawText(QPoint(0, 0), QStringLiteral("Axis"));
        });
        const auto texts = picture.play.ShapesOf("text");
        ASSERT_EQ(texts.size(), 1u) << "rotation " << rotation;
        EXPECT_EQ(texts[0].font.escapement, escapement) << "rotation " << rotation;
        EXPECT_EQ(texts[0].font.height, -14) << "rotation " << rotation;
        EXPECT_EQ(texts[0].points, QPolygon{QPoint(20, 280)}) << "rotation " << rotation;
    }
}

TEST_P(MetafileFormatTest, FilledPolygonKeepsPointsAndFillRule) {
    const TRecorded picture = Record(GetParam(), QSize(100, 100), [](QPainter& painter) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::green);
        const QPolygon triangle{QPoint(10, 90), QPoint(90, 90), QPoint(50, 10)};
        painter.drawPolygon(triangle, Qt::WindingFill);
    });
    const auto polygons = picture.play.ShapesOf("polygon");
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].points, (QPolygon{QPoint(10, 90), QPoint(90, 90), QPoint(50, 10)}));
    EXPECT_EQ(polygons[0].brush.color, 0x0000FF00u);
    EXPECT_EQ(polygons[0].pen.color, Black);
}

TEST_P(MetafileFormatTest, GradientBrushBecomesItsFirstStopColour) {
    const TRecorded picture = Record(GetParam(), QSize(100, 100), [](QPainter& painter) {
        QLinearGradient gradient(0, 0, 100, 0);
        gradient.setColorAt(0, QColor(0x12, 0x34, 0x56));
        gradient.setColorAt(1, Qt::white);
        painter.fillRect(QRect(0, 0, 100, 100), gradient);
    });
    const auto rects = picture.play.ShapesOf("rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].brush.style, 0u);
    EXPECT_EQ(rects[0].brush.color, 0x00563412u);
}

TEST_P(MetafileFormatTest, ImageIsStoredAs24BitBottomUpRowsOnWhite) {
    QImage image(2, 2, QImage::Format_ARGB32);
    image.setPixelColor(0, 0, Qt::red);
    image.setPixelColor(1, 0, Qt::transparent);
    image.setPixelColor(0, 1, Qt::blue);
    image.setPixelColor(1, 1, Qt::green);
    const TRecorded picture = Record(GetParam(), QSize(100, 100), [&image](QPainter& painter) {
        painter.drawImage(QRect(10, 20, 8, 6), image);
    });
    const auto images = picture.play.ShapesOf("image");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].points, Corners(10, 20, 18, 26));
    EXPECT_EQ(images[0].dibSize, QSize(2, 2)) << "positive height: rows bottom-up";
    // Each row: blue, green, red of two pixels, then two bytes to reach a multiple of four.
    const QByteArray expected = QByteArray::fromHex("ff0000"
                                                    "00ff00"
                                                    "0000" // bottom row: blue, green
                                                    "0000ff"
                                                    "ffffff"
                                                    "0000"); // top row: red, transparent
    EXPECT_EQ(images[0].dibBits.toHex(), expected.toHex());
}

TEST_P(MetafileFormatTest, ClipRectangleIsASavedSectionClosedWhenClippingEnds) {
    const TRecorded picture = Record(GetParam(), QSize(200, 200), [](QPainter& painter) {
        painter.setClipRect(QRect(20, 30, 40, 50));
        painter.setPen(Qt::red);
        painter.drawLine(0, 50, 100, 50);
        painter.setClipping(false);
        painter.setPen(Qt::blue);
        painter.drawLine(0, 60, 100, 60);
        painter.setClipRect(QRect(0, 0, 10, 10)); // still open when the painter ends
    });
    EXPECT_TRUE(picture.play.faults.empty()) << picture.play.faults.front().toStdString();
    ASSERT_EQ(picture.play.clips.size(), 2u);
    EXPECT_EQ(picture.play.clips[0], QRect(QPoint(20, 30), QPoint(60, 80)));
    const auto lines = picture.play.ShapesOf("polyline");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].clipDepth, 1);
    EXPECT_EQ(lines[0].pen.color, Red);
    EXPECT_EQ(lines[1].clipDepth, 0);
    EXPECT_EQ(lines[1].pen.color, Blue) << "the pen is selected again after the saved state returns";
    EXPECT_EQ(picture.play.clipDepth, 0) << "every saved state is restored";
}

// All text runs of a picture joined; the painter may split a line into runs by script.
QString AllText(const TRecorded& picture) {
    QString text;
    for (const TShape& shape : picture.play.ShapesOf("text"))
        text += shape.text;
    return text;
}

TEST(MetafileText, EnhancedKeepsUnicodeAndWindowsMetafileUsesLatin1) {
    const auto paint = [](QPainter& painter) {
        painter.setFont(PixelFont(12));
        painter.drawText(QPoint(5, 20), QString::fromUtf16(u"\u03b1\u2212\u00b0C"));
    };
    EXPECT_EQ(AllText(Record(TMetafileFormat::Emf, QSize(100, 50), paint)),
              QString::fromUtf16(u"\u03b1\u2212\u00b0C"));
    EXPECT_EQ(AllText(Record(TMetafileFormat::Wmf, QSize(100, 50), paint)), QString::fromUtf16(u"?-\u00b0C"));
}

TEST_P(MetafileFormatTest, EmptyPictureIsAWellFormedFile) {
    TMetafileDevice device(GetParam(), QSize(0, -5));
    EXPECT_EQ(device.width(), 1);
    EXPECT_EQ(device.height(), 1);
    const QByteArray bytes = device.Bytes();
    const TFile file = GetParam() == TMetafileFormat::Wmf ? ReadWmf(bytes) : ReadEmf(bytes);
    EXPECT_TRUE(file.wellFormed);
}

TEST_P(MetafileFormatTest, DeviceReportsPixelsAt96Dpi) {
    TMetafileDevice device(GetParam(), QSize(960, 480));
    EXPECT_EQ(device.width(), 960);
    EXPECT_EQ(device.height(), 480);
    EXPECT_EQ(device.logicalDpiX(), 96);
    EXPECT_EQ(device.logicalDpiY(), 96);
    EXPECT_EQ(device.widthMM(), 254);
    EXPECT_EQ(device.heightMM(), 127);
}

TEST_P(MetafileFormatTest, SaveWritesTheBytesAndReportsFailures) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TMetafileDevice device(GetParam(), QSize(200, 100));
    QString error;
    {
        QPainter painter(&device);
        PaintKnownPicture(painter);
        EXPECT_FALSE(device.Save(folder.filePath("open.mf"), error)) << "the painter is still active";
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(QFile::exists(folder.filePath("open.mf")));
    }
    error.clear();
    const QString path = folder.filePath("plot.mf");
    ASSERT_TRUE(device.Save(path, error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), device.Bytes());

    EXPECT_FALSE(device.Save(folder.filePath("missing/plot.mf"), error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(MetafileInterchange, WindowsMetafileConvertsToSvgWithTheRedLine) {
    const QString converter = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
    if (converter.isEmpty())
        GTEST_SKIP() << "wmf2svg is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TMetafileDevice device(TMetafileFormat::Wmf, QSize(200, 100));
    {
        QPainter painter(&device);
        PaintKnownPicture(painter);
    }
    QString error;
    ASSERT_TRUE(device.Save(folder.filePath("plot.wmf"), error)) << error.toStdString();
    QProcess process;
    process.start(converter,
                  {QStringLiteral("-o"), folder.filePath("plot.svg"), folder.filePath("plot.wmf")});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QFile svgFile(folder.filePath("plot.svg"));
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(svgFile.readAll());
    EXPECT_TRUE(svg.contains(QStringLiteral("<polyline")));
    EXPECT_TRUE(svg.contains(QStringLiteral("stroke:red")) || svg.contains(QStringLiteral("stroke:#ff0000")));
    EXPECT_TRUE(svg.contains(QStringLiteral("fill:blue")) || svg.contains(QStringLiteral("fill:#0000ff")));
    EXPECT_TRUE(svg.contains(QStringLiteral("<text")));
}

} // namespace
