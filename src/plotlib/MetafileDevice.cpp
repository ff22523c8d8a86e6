#include "plotlib/MetafileDevice.h"

#include "plotlib/EmfWriter.h"
#include "plotlib/WmfWriter.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTextItem>
#include <QTransform>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace mirla {

namespace {

constexpr int Dpi = 96;
constexpr double MillimetresPerInch = 25.4;
constexpr int MaxWmfExtent = std::numeric_limits<qint16>::max();

quint32 ColorRefOf(const QColor& color) {
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}

// The one colour that stands for a brush: the first stop of a gradient, else the brush colour.
QColor BrushColorOf(const QBrush& brush) {
    const QGradient* gradient = brush.gradient();
    if (gradient != nullptr && !gradient->stops().isEmpty())
        return gradient->stops().first().second;
    return brush.color();
}

bool Invisible(const QBrush& brush) {
    return brush.style() == Qt::NoBrush || BrushColorOf(brush).alpha() == 0;
}

quint32 LineStyleOf(Qt::PenStyle style) {
    switch (style) {
    case Qt::SolidLine:
        return GdiPenStyle::Solid;
    case Qt::DashLine:
    case Qt::CustomDashLine:
        return GdiPenStyle::Dash;
    case Qt::DotLine:
        return GdiPenStyle::Dot;
    case Qt::DashDotLine:
        return GdiPenStyle::DashDot;
    case Qt::DashDotDotLine:
        return GdiPenStyle::DashDotDot;
    default:
        return GdiPenStyle::Null;
    }
}

quint32 CapAndJoinOf(const QPen& pen) {
    const quint32 cap = pen.capStyle() == Qt::FlatCap    ? GdiPenStyle::EndCapFlat
                        : pen.capStyle() == Qt::RoundCap ? GdiPenStyle::EndCapRound
                                                         : GdiPenStyle::EndCapSquare;
    const quint32 join = pen.joinStyle() == Qt::RoundJoin   ? GdiPenStyle::JoinRound
                         : pen.joinStyle() == Qt::BevelJoin ? GdiPenStyle::JoinBevel
                                                            : GdiPenStyle::JoinMiter;
    return cap | join;
}

// Length in pixels of one logical unit along `direction` after the transform.
qreal ScaleAlong(const QTransform& transform, QPointF direction) {
    return QLineF(transform.map(QPointF(0, 0)), transform.map(direction)).length();
}

TGdiPen GdiPenOf(const QPen& pen, const QTransform& transform) {
    if (pen.style() == Qt::NoPen || Invisible(pen.brush()))
        return {GdiPenStyle::Null, 1, 0};
    // A cosmetic pen's width is in pixels already; any other is scaled like the drawing.
    const qreal scale = pen.isCosmetic() ? 1.0 : std::sqrt(std::abs(transform.determinant()));
    const int width = std::max(1, qRound(pen.widthF() * scale));
    return {LineStyleOf(pen.style()) | CapAndJoinOf(pen), width, ColorRefOf(BrushColorOf(pen.brush()))};
}

TGdiBrush GdiBrushOf(const QBrush& brush) {
    if (Invisible(brush))
        return {GdiBrushStyle::Null, 0, 0};
    const quint32 color = ColorRefOf(BrushColorOf(brush));
    switch (brush.style()) {
    case Qt::HorPattern:
        return {GdiBrushStyle::Hatched, color, GdiBrushStyle::HatchHorizontal};
    case Qt::VerPattern:
        return {GdiBrushStyle::Hatched, color, GdiBrushStyle::HatchVertical};
    case Qt::FDiagPattern:
        return {GdiBrushStyle::Hatched, color, GdiBrushStyle::HatchForwardDiagonal};
    case Qt::BDiagPattern:
        return {GdiBrushStyle::Hatched, color, GdiBrushStyle::HatchBackwardDiagonal};
    case Qt::CrossPattern:
        return {GdiBrushStyle::Hatched, color, GdiBrushStyle::HatchCross};
    case Qt::DiagCrossPattern:
        return {GdiBrushStyle::Hatched, color, GdiBrushStyle::HatchDiagonalCross};
    default:
        // Solid, dense patterns, gradients and textures all become one solid colour.
        return {GdiBrushStyle::Solid, color, 0};
    }
}

// True when the transform maps rectangles to rectangles with sides along the axes.
bool KeepsAxes(const QTransform& transform) {
    return transform.type() <= QTransform::TxScale;
}

// An opaque copy of the `source` part of `image`, transparent parts laid on white.
QImage OpaquePart(const QImage& image, const QRectF& source) {
    const QImage part = image.copy(source.toAlignedRect());
    if (part.isNull())
        return {};
    QImage opaque(part.size(), QImage::Format_RGB888);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, part);
    return opaque;
}

std::unique_ptr<TMetafileWriter> MakeWriter(TMetafileFormat format, QSize size) {
    if (format == TMetafileFormat::Wmf)
        return std::make_unique<TWmfWriter>(size);
    return std::make_unique<TEmfWriter>(size);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------

TMetafileWriter::TFields& TMetafileWriter::TFields::U8(quint8 value) {
    m_data.append(char(value));
    return *this;
}

TMetafileWriter::TFields& TMetafileWriter::TFields::U16(quint16 value) {
    return U8(quint8(value & 0xFF)).U8(quint8(value >> 8));
}

TMetafileWriter::TFields& TMetafileWriter::TFields::I16(int value) {
    return U16(quint16(qint16(
        std::clamp<int>(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()))));
}

TMetafileWriter::TFields& TMetafileWriter::TFields::U32(quint32 value) {
    return U16(quint16(value & 0xFFFF)).U16(quint16(value >> 16));
}

TMetafileWriter::TFields& TMetafileWriter::TFields::I32(qint32 value) {
    return U32(quint32(value));
}

TMetafileWriter::TFields& TMetafileWriter::TFields::F32(float value) {
    return U32(std::bit_cast<quint32>(value));
}

TMetafileWriter::TFields& TMetafileWriter::TFields::Raw(const QByteArray& bytes) {
    m_data.append(bytes);
    return *this;
}

TMetafileWriter::TFields& TMetafileWriter::TFields::Zeros(qsizetype count) {
    m_data.append(count, '\0');
    return *this;
}

// ---------------------------------------------------------------------------------------------------------

TMetafileWriter::TMetafileWriter(QSize size, int firstObjectIndex)
    : m_size(size), m_firstObjectIndex(firstObjectIndex), m_objectTableSize(firstObjectIndex) {}

int TMetafileWriter::AllocateObject() {
    const auto free = std::find(m_objectUsed.begin(), m_objectUsed.end(), false);
    const int slot = int(free - m_objectUsed.begin());
    if (free == m_objectUsed.end())
        m_objectUsed.push_back(true);
    else
        *free = true;
    const int index = m_firstObjectIndex + slot;
    m_objectTableSize = std::max(m_objectTableSize, index + 1);
    return index;
}

void TMetafileWriter::DeleteObject(int index) {
    WriteDelete(index);
    m_objectUsed[std::size_t(index - m_firstObjectIndex)] = false;
}

template <class T>
void TMetafileWriter::Select(TSelection<T>& selection, const T& value,
                             void (TMetafileWriter::*create)(int, const T&)) {
    if (selection.index >= 0 && selection.value == value)
        return;
    const int index = AllocateObject();
    (this->*create)(index, value);
    WriteSelect(index);
    const int previous = selection.index;
    selection.value = value;
    selection.index = index;
    // The object the saved state of an open clip section holds is deleted after that state returns.
    if (previous >= 0 && previous != selection.savedIndex)
        DeleteObject(previous);
}

template <class T> void TMetafileWriter::ReselectAfterRestore(TSelection<T>& selection) {
    if (selection.index != selection.savedIndex) {
        WriteSelect(selection.index);
        if (selection.savedIndex >= 0)
            DeleteObject(selection.savedIndex);
    }
    selection.savedIndex = -1;
}

void TMetafileWriter::SetPen(const TGdiPen& pen) {
    Select(m_pen, pen, &TMetafileWriter::WriteCreatePen);
}

void TMetafileWriter::SetBrush(const TGdiBrush& brush) {
    Select(m_brush, brush, &TMetafileWriter::WriteCreateBrush);
}

void TMetafileWriter::SetFont(const TGdiFont& font) {
    Select(m_font, font, &TMetafileWriter::WriteCreateFont);
}

void TMetafileWriter::SetTextColor(quint32 color) {
    if (m_dc.textColor == color)
        return;
    WriteTextColor(color);
    m_dc.textColor = color;
}

void TMetafileWriter::SetWindingFill(bool winding) {
    if (m_dc.winding == winding)
        return;
    WritePolyFillMode(winding);
    m_dc.winding = winding;
}

void TMetafileWriter::SetClipRect(const std::optional<QRect>& clip) {
    if (clip == m_clip)
        return;
    if (m_clip) {
        WriteRestoreDC();
        m_dc = m_savedDc;
        ReselectAfterRestore(m_pen);
        ReselectAfterRestore(m_brush);
        ReselectAfterRestore(m_font);
    }
    if (clip) {
        WriteSaveDC();
        m_savedDc = m_dc;
        m_pen.savedIndex = m_pen.index;
        m_brush.savedIndex = m_brush.index;
        m_font.savedIndex = m_font.index;
        WriteIntersectClip(*clip);
    }
    m_clip = clip;
}

void TMetafileWriter::AddRecord(const QByteArray& record) {
    m_records.append(record);
    ++m_recordCount;
    m_largestRecord = std::max(m_largestRecord, record.size());
}

QByteArray TMetafileWriter::Bytes() const {
    const QByteArray end = EndRecord();
    return Header(m_recordCount + 1, m_records.size() + end.size(), std::max(m_largestRecord, end.size())) +
           m_records + end;
}

TMetafileWriter::TDib TMetafileWriter::DibOf(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    TFields bits;
    // Rows bottom-up, each pixel blue, green, red, each row padded to four bytes.
    for (int y = height - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < width; ++x)
            bits.U8(line[3 * x + 2]).U8(line[3 * x + 1]).U8(line[3 * x]);
        bits.Zeros(rowBytes - width * 3);
    }
    constexpr int InfoHeaderBytes = 40;
    const qint32 pixelsPerMetre = qRound(Dpi / MillimetresPerInch * 1000);
    TFields info;
    info.U32(InfoHeaderBytes)
        .I32(width)
        .I32(height)
        .U16(1)
        .U16(24)
        .U32(0) // uncompressed
        .U32(quint32(bits.Data().size()))
        .I32(pixelsPerMetre)
        .I32(pixelsPerMetre)
        .U32(0)
        .U32(0);
    return {info.Data(), bits.Data()};
}

// ---------------------------------------------------------------------------------------------------------

/// Turns painter calls into metafile records: the painter's transform is applied to every coordinate,
/// pens, brushes and fonts become metafile objects, and what the formats cannot express is simplified.
class TMetafilePaintEngine : public QPaintEngine {
public:
    TMetafilePaintEngine(TMetafileFormat format, QSize size)
        : QPaintEngine(AllFeatures), m_format(format), m_size(size), m_writer(MakeWriter(format, size)) {}

    bool begin(QPaintDevice*) override {
        m_writer = MakeWriter(m_format, m_size);
        m_transform = QTransform();
        m_pen = QPen();
        m_brush = QBrush();
        m_clip.reset();
        m_clipEnabled = false;
        return true;
    }

    bool end() override {
        m_writer->SetClipRect(std::nullopt);
        return true;
    }

    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags flags = state.state();
        if (flags & DirtyTransform)
            m_transform = state.transform();
        if (flags & DirtyPen)
            m_pen = state.pen();
        if (flags & DirtyBrush)
            m_brush = state.brush();
        if (flags & DirtyFont)
            m_font = state.font();
        if (flags & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled))
            UpdateClip(state, flags);
    }

    void drawLines(const QLineF* lines, int lineCount) override {
        ApplyPen();
        for (int i = 0; i < lineCount; ++i)
            m_writer->Polyline(QPolygon{Device(lines[i].p1()), Device(lines[i].p2())});
    }

    void drawRects(const QRectF* rects, int rectCount) override {
        ApplyPenAndBrush();
        for (int i = 0; i < rectCount; ++i) {
            if (KeepsAxes(m_transform))
                m_writer->Rectangle(DeviceBox(rects[i]));
            else
                m_writer->Polygon(m_transform.map(QPolygonF(rects[i])).toPolygon());
        }
    }

    void drawEllipse(const QRectF& rect) override {
        ApplyPenAndBrush();
        if (KeepsAxes(m_transform)) {
            m_writer->Ellipse(DeviceBox(rect));
            return;
        }
        QPainterPath path;
        path.addEllipse(rect);
        m_writer->Polygon(path.toFillPolygon(m_transform).toPolygon());
    }

    void drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) override {
        const QPolygon device =
            m_transform.map(QPolygonF(QList<QPointF>(points, points + pointCount))).toPolygon();
        if (mode == PolylineMode) {
            ApplyPen();
            m_writer->Polyline(device);
            return;
        }
        ApplyPenAndBrush();
        m_writer->SetWindingFill(mode == WindingMode);
        m_writer->Polygon(device);
    }

    void drawPath(const QPainterPath& path) override {
        const bool filled = !Invisible(m_brush);
        ApplyPenAndBrush();
        m_writer->SetWindingFill(path.fillRule() == Qt::WindingFill);
        for (const QPolygonF& part : path.toSubpathPolygons(m_transform)) {
            if (filled || part.isClosed())
                m_writer->Polygon(part.toPolygon());
            else
                m_writer->Polyline(part.toPolygon());
        }
    }

    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override {
        const QImage opaque = OpaquePart(image, source);
        const QRect box = DeviceBox(target);
        if (!opaque.isNull() && !box.isEmpty())
            m_writer->Image(box, opaque);
    }

    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override {
        drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
    }

    void drawTiledPixmap(const QRectF& target, const QPixmap& pixmap, const QPointF& offset) override {
        QImage tiled(target.size().toSize(), QImage::Format_ARGB32_Premultiplied);
        if (tiled.isNull())
            return;
        tiled.fill(Qt::transparent);
        QPainter painter(&tiled);
        painter.drawTiledPixmap(tiled.rect(), pixmap, offset);
        painter.end();
        drawImage(target, tiled, tiled.rect(), Qt::AutoColor);
    }

    void drawTextItem(const QPointF& origin, const QTextItem& textItem) override {
        const QString text = textItem.text();
        if (text.isEmpty())
            return;
        const QFont font = textItem.font();
        const qreal alongScale = ScaleAlong(m_transform, QPointF(1, 0));
        const qreal acrossScale = ScaleAlong(m_transform, QPointF(0, 1));
        const qreal pixelSize = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * Dpi / 72.0;
        const QLineF baseline(m_transform.map(origin), m_transform.map(origin + QPointF(1, 0)));
        const int escapement = qRound(baseline.angle() * 10) % 3600;
        m_writer->SetFont({-std::max(1, qRound(pixelSize * acrossScale)), escapement, font.weight(),
                           font.style() != QFont::StyleNormal, font.underline(), font.strikeOut(),
                           font.family()});
        m_writer->SetTextColor(ColorRefOf(BrushColorOf(m_pen.brush())));

        const QFontMetricsF metrics(font, paintDevice());
        std::vector<int> advances;
        int placed = 0;
        for (qsizetype i = 1; i <= text.size(); ++i) {
            const int reached = qRound(metrics.horizontalAdvance(text.left(i)) * alongScale);
            advances.push_back(reached - placed);
            placed = reached;
        }
        const QRectF box(origin.x(), origin.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                         metrics.ascent() + metrics.descent());
        m_writer->Text({Device(origin), text, advances, m_transform.mapRect(box).toAlignedRect()});
    }

    QByteArray Bytes() const { return m_writer->Bytes(); }

private:
    QPoint Device(QPointF point) const { return m_transform.map(point).toPoint(); }

    // The device rectangle of a logical one whose sides stay along the axes, corners rounded.
    QRect DeviceBox(const QRectF& logical) const {
        const QRectF mapped = m_transform.mapRect(logical.normalized());
        const QPoint topLeft = mapped.topLeft().toPoint();
        const QPoint bottomRight = mapped.bottomRight().toPoint();
        return {topLeft.x(), topLeft.y(), bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()};
    }

    void ApplyPen() { m_writer->SetPen(GdiPenOf(m_pen, m_transform)); }

    void ApplyPenAndBrush() {
        ApplyPen();
        m_writer->SetBrush(GdiBrushOf(m_brush));
    }

    // Clips are kept as rectangles in pixels: any other shape is replaced by its bounding rectangle.
    void UpdateClip(const QPaintEngineState& state, DirtyFlags flags) {
        if (flags & (DirtyClipRegion | DirtyClipPath)) {
            const QRect area = flags & DirtyClipRegion
                                   ? m_transform.map(state.clipRegion()).boundingRect()
                                   : m_transform.map(state.clipPath()).boundingRect().toAlignedRect();
            switch (state.clipOperation()) {
            case Qt::NoClip:
                m_clip.reset();
                break;
            case Qt::ReplaceClip:
                m_clip = area;
                break;
            case Qt::IntersectClip:
                m_clip = m_clip ? m_clip->intersected(area) : area;
                break;
            }
            m_clipEnabled = m_clip.has_value();
        }
        if (flags & DirtyClipEnabled)
            m_clipEnabled = state.isClipEnabled();
        m_writer->SetClipRect(m_clipEnabled ? m_clip : std::nullopt);
    }

    TMetafileFormat m_format;
    QSize m_size;
    std::unique_ptr<TMetafileWriter> m_writer;
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    std::optional<QRect> m_clip;
    bool m_clipEnabled = false;
};

// ---------------------------------------------------------------------------------------------------------

namespace {

QSize UsableSize(TMetafileFormat format, QSize size) {
    const QSize atLeastOne = size.expandedTo(QSize(1, 1));
    return format == TMetafileFormat::Wmf ? atLeastOne.boundedTo(QSize(MaxWmfExtent, MaxWmfExtent))
                                          : atLeastOne;
}

} // namespace

TMetafileDevice::TMetafileDevice(TMetafileFormat format, QSize sizeInPixels)
    : m_size(UsableSize(format, sizeInPixels)),
      m_engine(std::make_unique<TMetafilePaintEngine>(format, m_size)) {}

TMetafileDevice::~TMetafileDevice() = default;

QPaintEngine* TMetafileDevice::paintEngine() const {
    return m_engine.get();
}

QByteArray TMetafileDevice::Bytes() const {
    return m_engine->Bytes();
}

bool TMetafileDevice::Save(const QString& path, QString& error) const {
    if (m_engine->isActive()) {
        error = QStringLiteral("The picture is still being painted: end the painter before saving.");
        return false;
    }
    const QByteArray bytes = Bytes();
    QSaveFile file(path); // writes a temporary file and renames it over the target on commit
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

int PictureDeviceMetric(QPaintDevice::PaintDeviceMetric metric, QSize size) {
    switch (metric) {
    case QPaintDevice::PdmWidth:
        return size.width();
    case QPaintDevice::PdmHeight:
        return size.height();
    case QPaintDevice::PdmWidthMM:
        return qRound(size.width() * MillimetresPerInch / Dpi);
    case QPaintDevice::PdmHeightMM:
        return qRound(size.height() * MillimetresPerInch / Dpi);
    case QPaintDevice::PdmNumColors:
        return 1 << 24;
    case QPaintDevice::PdmDepth:
        return 24;
    case QPaintDevice::PdmDpiX:
    case QPaintDevice::PdmDpiY:
    case QPaintDevice::PdmPhysicalDpiX:
    case QPaintDevice::PdmPhysicalDpiY:
        return Dpi;
    case QPaintDevice::PdmDevicePixelRatio:
        return 1;
    case QPaintDevice::PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

int TMetafileDevice::metric(PaintDeviceMetric metric) const {
    return PictureDeviceMetric(metric, m_size);
}

} // namespace mirla
