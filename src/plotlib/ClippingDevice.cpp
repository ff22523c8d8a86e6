#include "plotlib/ClippingDevice.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

namespace mirla {

/// Hands every drawing to a painter on the target device, cutting it to the clip first: filled
/// shapes are intersected with the clip, lines become their outlines intersected with it, text
/// crossing the clip becomes its outline and pictures are cropped.
class TClippingEngine : public QPaintEngine {
public:
    explicit TClippingEngine(QPaintDevice& target) : QPaintEngine(AllFeatures), m_target(target) {}

    bool begin(QPaintDevice*) override { return m_inner.begin(&m_target); }
    bool end() override { return m_inner.end(); }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags flags = state.state();
        if (flags & DirtyPen)
            m_inner.setPen(state.pen());
        if (flags & DirtyBrush)
            m_inner.setBrush(state.brush());
        if (flags & DirtyBrushOrigin)
            m_inner.setBrushOrigin(state.brushOrigin());
        if (flags & DirtyFont)
            m_inner.setFont(state.font());
        if (flags & DirtyOpacity)
            m_inner.setOpacity(state.opacity());
        if (flags & DirtyHints)
            m_inner.setRenderHints(state.renderHints());
        if (flags & DirtyTransform)
            m_inner.setTransform(state.transform());
        // The clip is kept in the painter's units, so it follows the transform too.
        if (flags & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled | DirtyTransform)) {
            m_clipped = painter()->hasClipping();
            m_clip = m_clipped ? painter()->clipPath() : QPainterPath();
        }
    }

    void drawPath(const QPainterPath& path) override { DrawClipped(path, true); }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count <= 0)
            return;
        QPainterPath path(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        const bool filled = mode != PolylineMode;
        if (filled)
            path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        DrawClipped(path, filled);
    }

    void drawTextItem(const QPointF& position, const QTextItem& item) override {
        if (!m_clipped || m_clip.contains(QRectF(position.x(), position.y() - item.ascent(), item.width(),
                                                 item.ascent() + item.descent()))) {
            m_inner.save();
            m_inner.setFont(item.font());
            m_inner.drawText(position, item.text());
            m_inner.restore();
            return;
        }
        // Text across the edge of the clip goes as its outline, which can be cut.
        QPaintEngine::drawTextItem(position, item);
    }

    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override {
        const QRectF visible = m_clipped ? target.intersected(m_clip.boundingRect()) : target;
        if (visible.isEmpty())
            return;
        const double sx = source.width() / target.width();
        const double sy = source.height() / target.height();
        const QRectF cropped(source.x() + (visible.x() - target.x()) * sx,
                             source.y() + (visible.y() - target.y()) * sy, visible.width() * sx,
                             visible.height() * sy);
        m_inner.drawPixmap(visible, pixmap, cropped);
    }

private:
    /// Draws `path` with the current pen, and filled with the current brush when `filled`.
    void DrawClipped(const QPainterPath& path, bool filled) {
        const QPen pen = m_inner.pen();
        const double reach = pen.style() == Qt::NoPen ? 0 : std::max(pen.widthF(), 1.0);
        if (!m_clipped || m_clip.contains(path.controlPointRect().adjusted(-reach, -reach, reach, reach))) {
            if (filled) {
                m_inner.drawPath(path);
            } else {
                m_inner.save();
                m_inner.setBrush(Qt::NoBrush);
                m_inner.drawPath(path);
                m_inner.restore();
            }
            return;
        }
        m_inner.save();
        m_inner.setPen(Qt::NoPen);
        if (filled && m_inner.brush().style() != Qt::NoBrush)
            m_inner.drawPath(path.intersected(m_clip));
        if (pen.style() != Qt::NoPen) {
            QPainterPathStroker stroker(pen);
            stroker.setWidth(std::max(pen.widthF(), 1.0));
            m_inner.setBrush(pen.brush());
            m_inner.drawPath(stroker.createStroke(path).intersected(m_clip));
        }
        m_inner.restore();
    }

    QPaintDevice& m_target;
    QPainter m_inner;
    bool m_clipped = false;
    QPainterPath m_clip;
};

TClippingDevice::TClippingDevice(QPaintDevice& target)
    : m_target(target), m_engine(std::make_unique<TClippingEngine>(target)) {}

TClippingDevice::~TClippingDevice() = default;

QPaintEngine* TClippingDevice::paintEngine() const {
    return m_engine.get();
}

int TClippingDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return m_target.width();
    case PdmHeight:
        return m_target.height();
    case PdmWidthMM:
        return m_target.widthMM();
    case PdmHeightMM:
        return m_target.heightMM();
    case PdmNumColors:
        return m_target.colorCount();
    case PdmDepth:
        return m_target.depth();
    case PdmDpiX:
        return m_target.logicalDpiX();
    case PdmDpiY:
        return m_target.logicalDpiY();
    case PdmPhysicalDpiX:
        return m_target.physicalDpiX();
    case PdmPhysicalDpiY:
        return m_target.physicalDpiY();
    case PdmDevicePixelRatio:
        return static_cast<int>(m_target.devicePixelRatio());
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(m_target.devicePixelRatio() * devicePixelRatioFScale());
    }
    return 0;
}

} // namespace mirla
