#include "plotlib/DxfDevice.h"

#include "plotlib/DataFiles.h"
#include "plotlib/Graph.h"
#include "plotlib/Layer.h"
#include "plotlib/MetafileDevice.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <optional>

namespace mirla {

namespace {

/// Cuts the segment p..q to `clip` (Liang-Barsky); std::nullopt when nothing of it is inside.
std::optional<QLineF> ClippedSegment(QPointF p, QPointF q, const QRectF& clip) {
    double t0 = 0, t1 = 1;
    const double dx = q.x() - p.x(), dy = q.y() - p.y();
    const double edges[4][2] = {{-dx, p.x() - clip.left()},
                                {dx, clip.right() - p.x()},
                                {-dy, p.y() - clip.top()},
                                {dy, clip.bottom() - p.y()}};
    for (const auto& [along, room] : edges) {
        if (along == 0) {
            if (room < 0)
                return std::nullopt;
            continue;
        }
        const double t = room / along;
        if (along < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return QLineF(p + t0 * (q - p), p + t1 * (q - p));
}

bool Visible(const QBrush& brush) {
    return brush.style() != Qt::NoBrush && brush.color().alpha() != 0;
}

} // namespace

/// Turns painter calls into entities of a TDXF recording.
class TDxfPaintEngine : public QPaintEngine {
public:
    explicit TDxfPaintEngine(double height) : QPaintEngine(AllFeatures), m_height(height) {
        m_dxf.Active = true;
    }

    TDXF& Dxf() { return m_dxf; }
    void SetLayer(const std::string& name) { m_layer = name; }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
        if (state.state() & DirtyPen)
            m_pen = state.pen();
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
    }

    void drawPath(const QPainterPath& path) override {
        const QList<QPolygonF> outlines = path.toSubpathPolygons(m_transform);
        if (Visible(m_brush) && outlines.size() == 1 && FillRectangle(outlines.front()))
            return;
        // Shapes without a pen, such as text, are recorded by their outlines in the fill colour.
        const std::optional<QColor> color = m_pen.style() != Qt::NoPen ? std::optional(m_pen.color())
                                            : Visible(m_brush)         ? std::optional(m_brush.color())
                                                                       : std::nullopt;
        if (!color)
            return;
        for (const QPolygonF& outline : outlines)
            Polyline(outline, *color);
    }

    void drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) override {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + pointCount)));
        if (mode != PolylineMode) {
            path.closeSubpath();
            drawPath(path);
            return;
        }
        const QBrush brush = std::exchange(m_brush, QBrush());
        drawPath(path);
        m_brush = brush;
    }

    void drawEllipse(const QRectF& box) override {
        const QRectF device = m_transform.mapRect(box);
        if (m_transform.isRotating() || std::abs(device.width() - device.height()) > 0.5) {
            QPainterPath path;
            path.addEllipse(box);
            drawPath(path);
            return;
        }
        const QColor color = m_pen.style() != Qt::NoPen ? m_pen.color() : m_brush.color();
        const QPointF centre = device.center();
        m_dxf.Circle(m_layer, FromQColor(color), centre.x(), m_height - centre.y(), device.width() / 2);
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}

private:
    std::optional<QRectF> Clip() const {
        const QPainter* p = painter();
        if (!p || !p->hasClipping())
            return std::nullopt;
        return p->transform().mapRect(p->clipBoundingRect());
    }

    /// Records an axis-parallel rectangle outline as a solid; false for any other shape.
    bool FillRectangle(const QPolygonF& outline) {
        if (outline.size() < 4 || outline.size() > 5 || m_transform.isRotating())
            return false;
        QRectF box = outline.boundingRect();
        for (const QPointF& corner : outline)
            if ((corner.x() != box.left() && corner.x() != box.right()) ||
                (corner.y() != box.top() && corner.y() != box.bottom()))
                return false;
        if (const std::optional<QRectF> clip = Clip())
            box = box.intersected(*clip);
        if (box.isEmpty())
            return true;
        m_dxf.FilledRect(m_layer, FromQColor(m_brush.color()), box.left(), m_height - box.top(), box.right(),
                         m_height - box.bottom());
        if (m_pen.style() != Qt::NoPen)
            Polyline(outline, m_pen.color());
        return true;
    }

    /// Records the segments between consecutive points (a closed outline repeats its first point).
    void Polyline(const QPolygonF& points, const QColor& color) {
        const std::optional<QRectF> clip = Clip();
        for (qsizetype i = 1; i < points.size(); ++i) {
            const QPointF p = points[i - 1], q = points[i];
            const std::optional<QLineF> line = clip ? ClippedSegment(p, q, *clip) : QLineF(p, q);
            if (line && line->p1() != line->p2())
                m_dxf.Line(m_layer, FromQColor(color), line->x1(), m_height - line->y1(), line->x2(),
                           m_height - line->y2());
        }
    }

    double m_height;
    TDXF m_dxf;
    std::string m_layer;
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
};

TDxfDevice::TDxfDevice(QSize sizeInPixels)
    : m_size(sizeInPixels.expandedTo(QSize(1, 1))),
      m_engine(std::make_unique<TDxfPaintEngine>(m_size.height())) {}

TDxfDevice::~TDxfDevice() = default;

const TDXF& TDxfDevice::Dxf() const {
    return m_engine->Dxf();
}

void TDxfDevice::SetLayer(const std::string& name) {
    m_engine->SetLayer(name);
}

QPaintEngine* TDxfDevice::paintEngine() const {
    return m_engine.get();
}

int TDxfDevice::metric(PaintDeviceMetric metric) const {
    return PictureDeviceMetric(metric, m_size);
}

bool RecordingDxf(const QPainter& painter) {
    return dynamic_cast<TDxfDevice*>(painter.device()) != nullptr;
}

void SetDxfLayer(QPainter& painter, const std::string& name) {
    if (auto* device = dynamic_cast<TDxfDevice*>(painter.device()))
        device->SetLayer(name);
}

std::string GraphDxf(TGraph& graph, QSize size) {
    TDxfDevice device(size);
    {
        QPainter painter(&device);
        graph.Draw(painter, QRect(QPoint(0, 0), size), TDrawTarget::Export);
    }
    return DxfDocument(device.Dxf());
}

bool WriteGraphDxf(TGraph& graph, QSize size, const QString& path, QString& error) {
    return WriteDataFile(path, GraphDxf(graph, size), error);
}

} // namespace mirla
