#include "plotlib/PictureFiles.h"

#include "plotlib/Graph.h"
#include "plotlib/Series.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace mirla {
namespace {

TEST(PictureFilter, ListsEveryFormatInOrder) {
    EXPECT_EQ(PictureFilter(), QStringLiteral("BMP files (*.BMP);;WMF files (*.WMF);;EMF files (*.EMF);;"
                                              "PNG files (*.PNG);;SVG files (*.SVG);;PDF files (*.PDF)"));
    const QStringList entries = PictureFilter().split(QStringLiteral(";;"));
    for (int i = 0; i < entries.size(); ++i) {
        const QString extension = PictureExtension(FormatOfFilterIndex(i));
        EXPECT_TRUE(entries[i].endsWith(QStringLiteral("(*") + extension + QLatin1Char(')')))
            << entries[i].toStdString() << " vs " << extension.toStdString();
    }
    EXPECT_EQ(FormatOfFilterIndex(-1), TPictureFormat::Bmp);
    EXPECT_EQ(FormatOfFilterIndex(6), TPictureFormat::Bmp);
}

TEST(PictureExtension, IsAddedOnlyToANameWithoutOne) {
    const struct {
        const char* Path;
        TPictureFormat Format;
        const char* Expected;
    } cases[] = {
        {"plot", TPictureFormat::Bmp, "plot.bmp"},
        {"/tmp/graphs/plot", TPictureFormat::Emf, "/tmp/graphs/plot.emf"},
        {"/tmp/v1.2/plot", TPictureFormat::Wmf, "/tmp/v1.2/plot.wmf"},
        {"plot.", TPictureFormat::Pdf, "plot.pdf"},
        {"plot.png", TPictureFormat::Bmp, "plot.png"},
        {"plot.data", TPictureFormat::Svg, "plot.data"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithPictureExtension(QString::fromLatin1(c.Path), c.Format).toStdString(), c.Expected)
            << c.Path;
    }
}

TEST(PictureExtension, NamesTheFormatOfAPath) {
    EXPECT_EQ(FormatOfPath(QStringLiteral("a.png"), TPictureFormat::Bmp), TPictureFormat::Png);
    EXPECT_EQ(FormatOfPath(QStringLiteral("a.Emf"), TPictureFormat::Bmp), TPictureFormat::Emf);
    EXPECT_EQ(FormatOfPath(QStringLiteral("a.SVG"), TPictureFormat::Pdf), TPictureFormat::Svg);
    EXPECT_EQ(FormatOfPath(QStringLiteral("a.txt"), TPictureFormat::Wmf), TPictureFormat::Wmf);
    EXPECT_EQ(FormatOfPath(QStringLiteral("a"), TPictureFormat::Pdf), TPictureFormat::Pdf);
}

/// A graph with one thick red diagonal line from (0, 0) to (10, 10).
class PictureFileTest : public testing::Test {
protected:
    void SetUp() override {
        auto series = std::make_unique<TSeries>(m_graph, "f(x)", ssLine, clRed);
        series->SetLineWidth(3);
        series->AddPoint(clRed, "", 0, 0);
        series->AddPoint(clRed, "", 10, 10);
        m_graph.AddLayer(std::move(series));
        ASSERT_TRUE(m_dir.isValid());
    }

    QString Write(TPictureFormat format) {
        const QString path = m_dir.filePath(QStringLiteral("plot") + PictureExtension(format));
        QString error;
        EXPECT_TRUE(WritePicture(m_graph, Size, path, format, error)) << error.toStdString();
        return path;
    }

    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// Whether the image is red near the middle of the curve, where the drawing put it.
    bool RedAtCurveMiddle(const QImage& image) const { return RedNear(image, 5, 5); }

    /// A picture file as an image of `Size`; an SVG file is drawn on white.
    static QImage ReadBack(const QString& path, TPictureFormat format) {
        if (format != TPictureFormat::Svg)
            return QImage(path);
        QImage image(Size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QSvgRenderer(path).render(&painter);
        return image;
    }

    /// Whether the image is red near the point (x, y) of the data.
    bool RedNear(const QImage& image, double x, double y) const {
        const int column = static_cast<int>(std::lround(m_graph.DataXToScreen(x)));
        const int row = static_cast<int>(std::lround(m_graph.DataYToScreen(y)));
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QColor c = image.pixelColor(column + dx, row + dy);
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
                    return true;
                }
            }
        }
        return false;
    }

    static constexpr QSize Size{320, 240};
    TGraph m_graph;
    QTemporaryDir m_dir;
};

TEST_F(PictureFileTest, BitmapFormatsReadBackWithTheCurve) {
    for (TPictureFormat format : {TPictureFormat::Bmp, TPictureFormat::Png}) {
        const QImage image(Write(format));
        const std::string name = PictureExtension(format).toStdString();
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), Size) << name;
        EXPECT_TRUE(RedAtCurveMiddle(image)) << name;
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white)) << name << ": exports have a white corner";
    }
}

TEST_F(PictureFileTest, BitmapFilesHaveTheirSignatures) {
    EXPECT_TRUE(Contents(Write(TPictureFormat::Bmp)).startsWith("BM"));
    EXPECT_TRUE(Contents(Write(TPictureFormat::Png)).startsWith("\x89PNG"));
}

TEST_F(PictureFileTest, SvgHoldsTheCurveAsVectors) {
    const QByteArray svg = Contents(Write(TPictureFormat::Svg));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("<polyline") || svg.contains("<path"));
    EXPECT_TRUE(svg.contains("#ff0000")) << "the curve's colour";
}

TEST_F(PictureFileTest, AZoomedCurveStaysInsideThePlotAreaInEveryPictureReadBack) {
    // Zoomed in as a rubber band would: the view is stacked, then narrowed.
    m_graph.Zoom().Push(m_graph.Views());
    TZoomViews views = m_graph.Views();
    views.Primary = {1, 1, 9, 9};
    m_graph.SetViews(views);
    for (TPictureFormat format : {TPictureFormat::Png, TPictureFormat::Svg}) {
        const QImage image = ReadBack(Write(format), format);
        const std::string name = PictureExtension(format).toStdString();
        EXPECT_TRUE(RedAtCurveMiddle(image)) << name;
        ASSERT_FALSE(m_graph.PlotArea().contains(
            QPoint(std::lround(m_graph.DataXToScreen(0.5)), std::lround(m_graph.DataYToScreen(0.5)))));
        EXPECT_FALSE(RedNear(image, 0.5, 0.5)) << name << ": the curve runs over the axes";
    }
}

TEST_F(PictureFileTest, PdfIsAPdfDocument) {
    const QByteArray pdf = Contents(Write(TPictureFormat::Pdf));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
}

TEST_F(PictureFileTest, MetafilesStartWithTheirSignatures) {
    const QByteArray wmf = Contents(Write(TPictureFormat::Wmf));
    // The placeable header's key 0x9AC6CDD7, little-endian.
    EXPECT_TRUE(wmf.startsWith(QByteArray("\xD7\xCD\xC6\x9A", 4)));
    const QByteArray emf = Contents(Write(TPictureFormat::Emf));
    // The header record (type 1) carries " EMF" at byte 40.
    EXPECT_TRUE(emf.startsWith(QByteArray("\x01\x00\x00\x00", 4)));
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
}

TEST_F(PictureFileTest, ReplacesAnExistingFile) {
    const QString path = m_dir.filePath(QStringLiteral("old.PNG"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    QString error;
    ASSERT_TRUE(WritePicture(m_graph, Size, path, TPictureFormat::Png, error));
    EXPECT_EQ(QImage(path).size(), Size);
}

TEST_F(PictureFileTest, ReportsAFileThatCannotBeWritten) {
    const QString path = m_dir.filePath(QStringLiteral("missing/folder/plot.BMP"));
    QString error;
    EXPECT_FALSE(WritePicture(m_graph, Size, path, TPictureFormat::Bmp, error));
    EXPECT_EQ(error, QStringLiteral("Can't create file ") + path);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(PictureFileTest, AnEmptySizeWritesNothing) {
    const QString path = m_dir.filePath(QStringLiteral("empty.PNG"));
    QString error;
    EXPECT_FALSE(WritePicture(m_graph, QSize(0, 10), path, TPictureFormat::Png, error));
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace mirla
