#include "plotlib/Graph.h"

#include "plotlib/Annotate.h"
#include "plotlib/DxfDevice.h"
#include "plotlib/Series.h"
#include "plotlib/core/ColorChoice.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace mirla {

namespace {

/// The 3-D percentage is kept as this factor per percent.
constexpr double View3DFactorPerPercent = 0.005;
/// Space between the drawing surface's edge and what is laid out inside it, in text units.
constexpr double EdgeMarginUnits = 8;
/// The plot area never gets smaller than this many pixels each way, however small the surface.
constexpr int MinimumPlotSize = 4;
/// Marker margin factors: markers of plain series (per text unit), and bars (20/27 of the bar width).
constexpr double MarkerMarginPerUnit = 1.6;
constexpr double BarMarginFactor = 20.0 / 27.0;
/// Share of the Y range added above (and below) the bars of a bar plot.
constexpr double BarHeadroom = 0.05;

/// Sets a flag for the lifetime of the guard (and the drawing target with it).
class TDrawingGuard {
public:
    TDrawingGuard(bool& busy, TDrawTarget& target, TDrawTarget now) : m_busy(busy), m_target(target) {
        m_busy = true;
        m_target = now;
    }
    ~TDrawingGuard() {
        m_busy = false;
        m_target = TDrawTarget::Screen;
    }
    TDrawingGuard(const TDrawingGuard&) = delete;
    TDrawingGuard& operator=(const TDrawingGuard&) = delete;

private:
    bool& m_busy;
    TDrawTarget& m_target;
};

/// Whether an end of an axis follows the data: automatic, or no fixed value stored.
bool Automatic(bool autoFlag, double stored) {
    return autoFlag || stored == MissingValue;
}

/// A data range of one axis, empty while lo > hi.
struct TRange {
    double Lo = 1e38;
    double Hi = -1e38;
    void Include(double lo, double hi) {
        Lo = std::min(Lo, lo);
        Hi = std::max(Hi, hi);
    }
    bool Usable() const { return Lo <= Hi && std::isfinite(Lo) && std::isfinite(Hi); }
};

QFontMetricsF Metrics(const TFontSpec& spec, QPainter& painter) {
    return QFontMetricsF(ToQFont(spec), painter.device());
}

/// The height in pixels of Arial at size 1 on the painter's device, at least a pixel. It is measured on a
/// large size and scaled down, because the metrics of a tiny font are rounded up to whole pixels.
double MeasureTextUnit(QPainter& painter) {
    constexpr double measuredSize = 100;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(measuredSize);
    return std::max(1.0, std::floor(QFontMetricsF(font, painter.device()).height() / measuredSize));
}

} // namespace

TGraph::TGraph() : m_annotate(std::make_unique<TGraphAnnotate>(*this)) {
    // The second axes keep a zoomed view meaningful when their scale switches.
    for (TAxis* axis : {static_cast<TAxis*>(&m_xAxis2), static_cast<TAxis*>(&m_yAxis2)}) {
        axis->BeforeLogChange = [this, axis](TGraph&, bool log) { ConvertWorldForLog(*axis, log); };
        axis->AfterLogChange = [this](TGraph&) { ComputeMapping(); };
    }
}

TGraph::~TGraph() {
    Clear();
}

// ---- layers

int TGraph::AddLayer(std::unique_ptr<TLayer> layer) {
    if (!layer)
        return -1;
    m_layers.push_back(std::move(layer));
    return LayerCount() - 1;
}

int TGraph::InsertLayer(int index, std::unique_ptr<TLayer> layer) {
    if (!layer)
        return -1;
    index = std::clamp(index, 0, LayerCount());
    m_layers.insert(m_layers.begin() + index, std::move(layer));
    return index;
}

std::unique_ptr<TLayer> TGraph::DeleteLayer(int index) {
    if (index < 0 || index >= LayerCount())
        return nullptr;
    const TLayer* layer = m_layers[index].get();
    if (OnDeleteSeries)
        OnDeleteSeries(*m_layers[index]);
    // The handler may have changed the list; unlink the layer wherever it is now.
    index = IndexOf(layer);
    if (index < 0)
        return nullptr;
    std::unique_ptr<TLayer> unlinked = std::move(m_layers[index]);
    m_layers.erase(m_layers.begin() + index);
    // The colour legend must not keep explaining a layer that is no longer drawn (and may be freed).
    if (m_colorLegend.Source == unlinked.get())
        m_colorLegend.Source = nullptr;
    return unlinked;
}

int TGraph::IndexOf(const TLayer* layer) const {
    const auto found = std::find_if(m_layers.begin(), m_layers.end(),
                                    [layer](const auto& entry) { return entry.get() == layer; });
    return found == m_layers.end() ? -1 : static_cast<int>(found - m_layers.begin());
}

void TGraph::Clear() {
    // Entries and series point at each other: unlink them before either side is freed.
    for (const std::unique_ptr<TLayer>& layer : m_layers)
        if (auto* series = dynamic_cast<TSeries*>(layer.get()))
            series->AttachLegend(nullptr);
    m_legend.Clear();
    m_colorLegend.Source = nullptr;
    m_undo.Clear();
    m_layers.clear();
    m_xAxis.UserLabels.clear();
    m_yAxis.UserLabels.clear();
}

bool TGraph::HasDataPoints() const {
    return std::any_of(m_layers.begin(), m_layers.end(),
                       [](const auto& layer) { return layer->PointCount() > 0; });
}

std::vector<TSeries*> TGraph::VisibleSeries() const {
    std::vector<TSeries*> series;
    for (const std::unique_ptr<TLayer>& layer : m_layers)
        if (auto* s = dynamic_cast<TSeries*>(layer.get()); s && s->Visible())
            series.push_back(s);
    return series;
}

// ---- look

void TGraph::SetView3D(double percent) {
    m_view3DFactor = percent * View3DFactorPerPercent;
    if (percent != 0)
        Set3DLook();
    else
        Set2DLook();
}

int TGraph::Depth3D() const {
    return m_view3DFactor == 0 ? 0 : m_depth3D;
}

void TGraph::Set3DLook() {
    for (TAxis* axis : {&XAxis(), &YAxis()}) {
        axis->Ticks.MinorVisible = false;
        axis->Ticks.Direction = tdIN;
        axis->Ticks.MajorLength = Frame.Width;
        axis->MajorLineVisible = false;
    }
}

void TGraph::Set2DLook() {
    for (TAxis* axis : {&XAxis(), &YAxis(), &XAxis2(), &YAxis2()}) {
        axis->Ticks.MinorVisible = true;
        axis->Ticks.Direction = tdOut;
        axis->Ticks.MajorLength = TAxisTicks{}.MajorLength;
        axis->Ticks.MinorLength = TAxisTicks{}.MinorLength;
        axis->MajorLineVisible = true;
    }
}

TColor TGraph::FreeColor() const {
    std::vector<TColor> used;
    for (const std::unique_ptr<TLayer>& layer : m_layers)
        used.push_back(layer->Color());
    return ChooseFreeColor(used, Color);
}

TMarkerStyle TGraph::FreeMarker() const {
    std::vector<int> used;
    for (const std::unique_ptr<TLayer>& layer : m_layers)
        if (const auto* series = dynamic_cast<const TSeries*>(layer.get()))
            used.push_back(series->MarkerStyle());
    return static_cast<TMarkerStyle>(ChooseFreeMarker(used));
}

// ---- mapping

TWorldRect& TGraph::WorldOf(const TAxis& axis) {
    return &axis == &m_xAxis2 || &axis == &m_yAxis2 ? m_world2 : m_world;
}

const TWorldRect& TGraph::WorldOf(const TAxis& axis) const {
    return &axis == &m_xAxis2 || &axis == &m_yAxis2 ? m_world2 : m_world;
}

const TAxisMapping& TGraph::MappingOf(const TAxis& axis) const {
    if (&axis == &m_xAxis)
        return m_x;
    if (&axis == &m_yAxis)
        return m_y;
    return &axis == &m_xAxis2 ? m_x2 : m_y2;
}

std::pair<double, double> TGraph::AxisRange(const TAxis& axis) const {
    const TWorldRect& world = WorldOf(axis);
    return axis.Horizontal() ? std::pair(world.XMin, world.XMax) : std::pair(world.YMin, world.YMax);
}

double TGraph::AxisToScreen(const TAxis& axis, double value) const {
    return MappingOf(axis).ToScreen(value);
}

double TGraph::XToScreen(double x) const {
    return (m_onXAxis2 ? m_x2 : m_x).ToScreen(x);
}
double TGraph::YToScreen(double y) const {
    return (m_onYAxis2 ? m_y2 : m_y).ToScreen(y);
}
double TGraph::ScreenToX(double column) const {
    return (m_onXAxis2 ? m_x2 : m_x).FromScreen(column);
}
double TGraph::ScreenToY(double row) const {
    return (m_onYAxis2 ? m_y2 : m_y).FromScreen(row);
}

double TGraph::DataXToScreen(double x) const {
    return XToScreen(CurrentXAxis().Log() ? LogValue(x) : x);
}
double TGraph::DataYToScreen(double y) const {
    return YToScreen(CurrentYAxis().Log() ? LogValue(y) : y);
}

double TGraph::LogValue(double v) const {
    return mirla::LogValue(v, MinimumLogValue);
}

void TGraph::SetDrawingOnSecondAxes(bool xAxis2, bool yAxis2) {
    m_onXAxis2 = xAxis2;
    m_onYAxis2 = yAxis2;
}

TZoomPoint TGraph::WorldAt(double column, double row) const {
    return {m_x.FromScreen(column), m_y.FromScreen(row), m_x2.FromScreen(column), m_y2.FromScreen(row)};
}

void TGraph::SetViews(const TZoomViews& views) {
    m_world = views.Primary;
    m_world2 = views.Secondary;
    ComputeMapping();
}

void TGraph::ComputeMapping() {
    const QRect& area = m_plotArea;
    // An inverted axis runs from its maximum to its minimum: swapping the ends turns the mapping round.
    const auto mapX = [&](const TAxis& axis, const TWorldRect& world) {
        return axis.Invert ? MapX(area.left(), area.right(), world.XMax, world.XMin)
                           : MapX(area.left(), area.right(), world.XMin, world.XMax);
    };
    const auto mapY = [&](const TAxis& axis, const TWorldRect& world) {
        return axis.Invert ? MapY(area.top(), area.bottom(), world.YMax, world.YMin)
                           : MapY(area.top(), area.bottom(), world.YMin, world.YMax);
    };
    m_x = mapX(m_xAxis, m_world);
    m_y = mapY(m_yAxis, m_world);
    m_x2 = mapX(m_xAxis2, m_world2);
    m_y2 = mapY(m_yAxis2, m_world2);
}

void TGraph::ConvertWorldForLog(const TAxis& axis, bool log) {
    TWorldRect& world = WorldOf(axis);
    double& lo = axis.Horizontal() ? world.XMin : world.YMin;
    double& hi = axis.Horizontal() ? world.XMax : world.YMax;
    if (log) {
        lo = LogValue(lo);
        hi = LogValue(hi);
    } else {
        lo = std::pow(10.0, lo);
        hi = std::pow(10.0, hi);
    }
    WidenDegenerateRange(lo, hi);
}

// ---- world rectangles

void TGraph::ComputeWorld() {
    const bool kept = m_zoom.Enabled || Zoomed();
    const std::vector<TSeries*> series = VisibleSeries();
    const auto bars =
        std::count_if(series.begin(), series.end(), [](TSeries* s) { return s->Style() == ssBar; });
    if (bars > 1 && (BarStyle == bsStacked || BarStyle == bs100Stacked)) {
        m_yAxis.AutoMin = false;
        m_yAxis2.AutoMin = false;
    }
    if (!kept) {
        TRange x, y, x2, y2;
        for (const std::unique_ptr<TLayer>& layer : m_layers) {
            if (!layer->Visible())
                continue;
            const TExtent extent = layer->GetExtent();
            if (extent.Empty())
                continue;
            (layer->UsesXAxis2() ? x2 : x).Include(extent.XMin, extent.XMax);
            (layer->UsesYAxis2() ? y2 : y).Include(extent.YMin, extent.YMax);
        }
        const auto range = [this](const TAxis& axis, TRange data, double& lo, double& hi) {
            const bool usable = data.Usable();
            lo = usable ? (axis.Log() ? LogValue(data.Lo) : data.Lo) : 0;
            hi = usable ? (axis.Log() ? LogValue(data.Hi) : data.Hi) : 1;
            if (!Automatic(axis.AutoMin, axis.Minimum()))
                lo = axis.Log() ? LogValue(axis.Minimum()) : axis.Minimum();
            if (!Automatic(axis.AutoMax, axis.Maximum()))
                hi = axis.Log() ? LogValue(axis.Maximum()) : axis.Maximum();
            if (lo > hi)
                std::swap(lo, hi);
            // One point or a constant curve: a range of zero width cannot be mapped.
            WidenDegenerateRange(lo, hi);
        };
        range(m_xAxis, x, m_world.XMin, m_world.XMax);
        range(m_yAxis, y, m_world.YMin, m_world.YMax);
        range(m_xAxis2, x2, m_world2.XMin, m_world2.XMax);
        range(m_yAxis2, y2, m_world2.YMin, m_world2.YMax);
    }
    const auto ticks = [kept](TAxis& axis, double lo, double& hi) {
        const double rounded = axis.ComputeTicks(lo, hi);
        if (!kept && rounded > lo)
            hi = rounded;
    };
    ticks(m_xAxis, m_world.XMin, m_world.XMax);
    ticks(m_yAxis, m_world.YMin, m_world.YMax);
    ticks(m_xAxis2, m_world2.XMin, m_world2.XMax);
    ticks(m_yAxis2, m_world2.YMin, m_world2.YMax);
    ComputeMapping();
    // A kept view already holds its margin: widening it again would grow it at every drawing.
    if (!kept)
        ApplyMarkerMargin();
}

void TGraph::ApplyMarkerMargin() {
    if (ClipMarkers || Zoomed() || m_layers.empty())
        return;
    const std::vector<TSeries*> series = VisibleSeries();
    const bool bars =
        std::any_of(series.begin(), series.end(), [](TSeries* s) { return s->Style() == ssBar; });
    if (bars && m_xAxis.Log())
        return;
    int largest = 0;
    for (const TSeries* s : series)
        largest = std::max(largest, s->EffectiveMarkerSize());
    const double margin = bars ? RoundHalfEven(largest * BarMarginFactor)
                               : RoundHalfEven(m_textUnit * largest * MarkerMarginPerUnit);
    const double pixels = largest == 0 ? 2 : margin + 1;

    const auto widenX = [pixels](const TAxis& axis, const TAxisMapping& mapping, double& lo, double& hi) {
        const double width = pixels / std::abs(mapping.Scale);
        if (Automatic(axis.AutoMin, axis.Minimum()))
            lo -= width;
        if (Automatic(axis.AutoMax, axis.Maximum()))
            hi += width;
    };
    const auto widenY = [&](const TAxis& axis, const TAxisMapping& mapping, double& lo, double& hi) {
        if (!bars) {
            widenX(axis, mapping, lo, hi);
            return;
        }
        // Bars stand on zero: a lower end at zero stays, the top gets a little headroom.
        const double headroom = (hi - lo) * BarHeadroom;
        if (Automatic(axis.AutoMin, axis.Minimum()) && lo != 0 && !axis.Invert)
            lo -= headroom;
        if (Automatic(axis.AutoMax, axis.Maximum()))
            hi += headroom;
    };
    widenX(m_xAxis, m_x, m_world.XMin, m_world.XMax);
    widenY(m_yAxis, m_y, m_world.YMin, m_world.YMax);
    widenX(m_xAxis2, m_x2, m_world2.XMin, m_world2.XMax);
    widenY(m_yAxis2, m_y2, m_world2.YMin, m_world2.YMax);
    ComputeMapping();
}

// ---- drawing

void TGraph::Draw(QPainter& painter, const QRect& rect, TDrawTarget target) {
    if (m_busy)
        return;
    TDrawingGuard guard(m_busy, m_target, target);
    m_drawRect = rect;
    m_textUnit = MeasureTextUnit(painter);
    LayOut(painter);
    ComputeWorld();

    DrawBackground(painter);
    DrawPicture(painter, false);
    DrawFrame(painter);
    DrawPicture(painter, true);
    DrawTitles(painter);
    DrawAxesUnderData(painter);
    if (m_legend.Visible() && m_legend.Style != lsInside)
        m_legend.Draw(painter);
    if (m_colorLegend.Visible() && m_colorLegend.Shown())
        m_colorLegend.Draw(painter);
    if (BeforeDraw)
        BeforeDraw(*this);

    DrawLayers(painter);
    SetDrawingOnSecondAxes(false, false);
    m_xAxis.Draw(painter);
    m_yAxis.Draw(painter);
    DrawAnnotations(painter);

    if (AfterDraw)
        AfterDraw(*this);
    if (m_legend.Visible() && m_legend.Style == lsInside) {
        m_legend.PlaceInside(painter);
        m_legend.Draw(painter);
    }
    DrawInfo(painter);
    if (StatusText && !Exporting())
        StatusText(QString());
}

int TGraph::TitleHeight(QPainter& painter, const TGraphTitle& title) const {
    if (!title.Visible || title.Text.empty())
        return 0;
    return static_cast<int>(std::ceil(Metrics(title.Font, painter).height() * 1.2));
}

void TGraph::LayOut(QPainter& painter) {
    const int margin = static_cast<int>(std::round(EdgeMarginUnits * m_textUnit));
    QRect area = m_drawRect.adjusted(margin, margin, -margin, -margin);
    area.setTop(area.top() + TitleHeight(painter, Title));
    area.setBottom(area.bottom() - TitleHeight(painter, Foot));
    if (m_legend.Visible())
        m_legend.Reserve(painter, area);
    if (m_colorLegend.Visible() && m_colorLegend.Shown())
        m_colorLegend.Reserve(painter, area);
    area.setBottom(area.bottom() - m_xAxis.ReservedSpace(painter));
    area.setLeft(area.left() + m_yAxis.ReservedSpace(painter));
    area.setTop(area.top() + m_xAxis2.ReservedSpace(painter));
    area.setRight(area.right() - m_yAxis2.ReservedSpace(painter));
    // The back wall of the 3-D look takes the depth at the top and at the right.
    m_depth3D =
        static_cast<int>(std::round(m_view3DFactor * std::max(0, std::min(area.width(), area.height()))));
    area.setTop(area.top() + m_depth3D);
    area.setRight(area.right() - m_depth3D);
    if (area.width() < MinimumPlotSize)
        area.setWidth(MinimumPlotSize);
    if (area.height() < MinimumPlotSize)
        area.setHeight(MinimumPlotSize);
    m_plotArea = area;
}

void TGraph::DrawBackground(QPainter& painter) {
    // A DXF drawing gets the plot without its background.
    if (RecordingDxf(painter))
        return;
    painter.fillRect(m_drawRect, ToQColor(Printing() || Exporting() ? clWhite : BackColor));
    if (!Gradient.Visible || Gradient.Style == gsNone)
        return;
    const bool leftRight = Gradient.Style == gsLeftRight;
    const int size = leftRight ? m_drawRect.width() : m_drawRect.height();
    for (const TGradientBand& band : GradientBands(size, Gradient.StartColor, Gradient.EndColor)) {
        const QRect stripe = leftRight ? QRect(m_drawRect.left() + band.From, m_drawRect.top(),
                                               band.To - band.From, m_drawRect.height())
                                       : QRect(m_drawRect.left(), m_drawRect.top() + band.From,
                                               m_drawRect.width(), band.To - band.From);
        painter.fillRect(stripe, ToQColor(band.Color));
    }
}

void TGraph::DrawPicture(QPainter& painter, bool insideFrame) {
    if (!Picture.Visible || Picture.PictureFileName.empty() || (Picture.Style == psAsIsInside) != insideFrame)
        return;
    if (m_pictureFile != Picture.PictureFileName) {
        m_pictureFile = Picture.PictureFileName;
        m_picture = QImage(QString::fromStdString(m_pictureFile));
    }
    if (m_picture.isNull())
        return;
    painter.save();
    switch (Picture.Style) {
    case psStretch:
        painter.drawImage(m_drawRect, m_picture);
        break;
    case psFix:
        painter.drawImage(m_drawRect.topLeft(), m_picture);
        break;
    case psTile:
        painter.setClipRect(m_drawRect);
        for (int y = m_drawRect.top(); y <= m_drawRect.bottom(); y += m_picture.height())
            for (int x = m_drawRect.left(); x <= m_drawRect.right(); x += m_picture.width())
                painter.drawImage(QPoint(x, y), m_picture);
        break;
    case psAsIsInside:
        painter.setClipRect(m_plotArea);
        painter.drawImage(m_plotArea.topLeft(), m_picture);
        break;
    }
    painter.restore();
}

void TGraph::DrawFrame(QPainter& painter) {
    painter.save();
    const QRect& area = m_plotArea;
    const int d = Depth3D();
    const QPolygon front(
        {area.topLeft(), area.topRight(), area.bottomRight(), area.bottomLeft(), area.topLeft()});
    const QPolygon back = front.translated(d, -d);
    if (d == 0) {
        painter.fillRect(area, ToQColor(Color));
    } else {
        // The box seen from the front: floor, left wall and back wall in one outline.
        const QPolygon box(
            {area.bottomLeft(), area.bottomRight(), back[2], back[1], back[0], area.topLeft()});
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(Color));
        painter.drawPolygon(box);
    }
    if (Frame.Visible && Frame.Style != 0) {
        QPen pen(ToQColor(Frame.Color));
        pen.setWidth(Frame.Width);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(front);
        if (d > 0) {
            painter.drawPolyline(back);
            for (int corner = 0; corner < 4; ++corner)
                painter.drawLine(front[corner], back[corner]);
        }
    }
    painter.restore();
}

void TGraph::DrawTitle(QPainter& painter, const TGraphTitle& title, int top) {
    const QFontMetricsF metrics = Metrics(title.Font, painter);
    const QString text = QString::fromStdString(title.Text);
    const int margin = static_cast<int>(std::round(EdgeMarginUnits * m_textUnit));
    const double width = metrics.horizontalAdvance(text);
    const double left = title.Alignment == taLeftJustify    ? m_drawRect.left() + margin
                        : title.Alignment == taRightJustify ? m_drawRect.right() - margin - width
                                                            : m_drawRect.center().x() - width / 2;
    const QPointF origin(left, top + metrics.ascent());
    painter.save();
    painter.setFont(ToQFont(title.Font));
    // A lowered title has a light copy one pixel below right, a raised one a dark copy.
    if (title.Style != tsNormal) {
        painter.setPen(ToQColor(title.Style == tsLowered ? clWhite : clGray));
        painter.drawText(origin + QPointF(1, 1), text);
    }
    painter.setPen(ToQColor(title.Font.Color));
    painter.drawText(origin, text);
    painter.restore();
}

void TGraph::DrawTitles(QPainter& painter) {
    const int margin = static_cast<int>(std::round(EdgeMarginUnits * m_textUnit));
    if (TitleHeight(painter, Title) > 0)
        DrawTitle(painter, Title, m_drawRect.top() + margin);
    if (const int footHeight = TitleHeight(painter, Foot); footHeight > 0)
        DrawTitle(painter, Foot, m_drawRect.bottom() - margin - footHeight);
}

void TGraph::DrawAxesUnderData(QPainter& painter) {
    for (const TAxis* axis : {&XAxis(), &YAxis(), &XAxis2(), &YAxis2()})
        axis->DrawGrid(painter);
    m_xAxis2.Draw(painter);
    m_yAxis2.Draw(painter);
}

int TGraph::LastVisibleBarIndex() const {
    for (int i = LayerCount() - 1; i >= 0; --i)
        if (const auto* s = dynamic_cast<const TSeries*>(m_layers[i].get());
            s && s->Visible() && s->Style() == ssBar)
            return i;
    return -1;
}

void TGraph::ShowDrawStatus(const TLayer& layer) {
    if (SilentDraw || Exporting() || !StatusText)
        return;
    const QString name = QString::fromStdString(layer.Name());
    if (Printing()) {
        StatusText(QStringLiteral("\rNow printing ") + name);
        return;
    }
    StatusText(QStringLiteral("\tNow draw ") + name);
}

void TGraph::DrawLayers(QPainter& painter) {
    for (int i = 0; i < LayerCount(); ++i)
        DrawLayer(painter, i);
}

void TGraph::DrawLayer(QPainter& painter, int index) {
    {
        const TLayer& layer = *m_layers[index];
        SetDrawingOnSecondAxes(layer.UsesXAxis2(), layer.UsesYAxis2());
        ShowDrawStatus(layer);
    }
    if (PumpMessages && !SilentDraw && m_target == TDrawTarget::Screen)
        PumpMessages();
    // Pending events may have changed the list.
    if (index >= LayerCount() || !m_layers[index]->Visible())
        return;
    TLayer& layer = *m_layers[index];
    auto* series = dynamic_cast<TSeries*>(&layer);
    const bool grouped = series && series->Style() == ssBar && BarStyle != bsZOrdered;
    if (grouped && index != LastVisibleBarIndex())
        return;
    painter.save();
    const int d = Depth3D();
    painter.setClipRect(m_plotArea.adjusted(0, -d, d, 0));
    if (grouped) {
        std::vector<TSeries*> bars = VisibleSeries();
        std::erase_if(bars, [](TSeries* s) { return s->Style() != ssBar; });
        DrawBarGroup(*this, painter, bars);
    } else {
        SetDxfLayer(painter, layer.Name());
        layer.Draw(painter);
        SetDxfLayer(painter, std::string());
    }
    painter.restore();
}

void TGraph::DrawAnnotations(QPainter& painter) {
    if (!m_annotate->Visible())
        return;
    painter.save();
    painter.setClipRect(m_plotArea);
    m_annotate->Draw(painter);
    painter.restore();
}

void TGraph::DrawInfo(QPainter& painter) {
    if (!Info.Visible || Info.Content.empty() || Info.Style == isNoBubble)
        return;
    const QFontMetricsF metrics = Metrics(Info.Font, painter);
    double textWidth = 0;
    for (const std::string& line : Info.Content)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(QString::fromStdString(line)));
    const double pad = metrics.height() / 3;
    const QSizeF size(textWidth + 2 * pad, Info.Content.size() * metrics.height() + 2 * pad);
    const QRectF area(m_plotArea);
    const double left = Info.Position == ipLeftTop || Info.Position == ipLeftBottom ? area.left() + pad
                        : Info.Position == ipTopCenter || Info.Position == ipBottomCenter
                            ? area.center().x() - size.width() / 2
                            : area.right() - pad - size.width();
    const bool top =
        Info.Position == ipRightTop || Info.Position == ipTopCenter || Info.Position == ipLeftTop;
    const double y = top ? area.top() + pad : area.bottom() - pad - size.height();
    const QRectF bubble(QPointF(left, y), size);
    painter.save();
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(Info.Color));
    if (Info.Style == isRoundRect)
        painter.drawRoundedRect(bubble, pad * 2, pad * 2);
    else
        painter.drawRect(bubble);
    painter.setFont(ToQFont(Info.Font));
    painter.setPen(ToQColor(Info.Font.Color));
    double baseline = bubble.top() + pad + metrics.ascent();
    for (const std::string& line : Info.Content) {
        painter.drawText(QPointF(bubble.left() + pad, baseline), QString::fromStdString(line));
        baseline += metrics.height();
    }
    painter.restore();
}

} // namespace mirla
