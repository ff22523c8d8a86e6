#include "plotlib/Series.h"

#include "plotlib/Graph.h"
#include "plotlib/Legend.h"
#include "plotlib/MarkerShapes.h"
#include "plotlib/core/ColorChoice.h"

#include <QAction>
#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <span>
#include <stdexcept>
#include <utility>

namespace mirla {
namespace {

/// Farthest from the origin a mapped coordinate may lie; the raster engine misdraws far beyond.
constexpr double MaxPixel = 1e7;
/// How much darker edges are in the 3-D look, bar outlines and the base of a volume band.
constexpr int EdgeDarkening = 64;
/// How much darker the base of a volume band is than its top.
constexpr int VolumeDarkening = 128;

/// Maps data points to pixels on the axes the graph maps through now, moved by `shift` (3-D look).
/// It reads the axes' mapping once, so that loops over many points stay cheap.
class TPointMapper {
public:
    TPointMapper(const TGraph& graph, QPointF shift)
        : m_x(graph.CurrentXMapping()), m_y(graph.CurrentYMapping()), m_logX(graph.CurrentXAxis().Log()),
          m_logY(graph.CurrentYAxis().Log()), m_minimumLog(graph.MinimumLogValue), m_shift(shift) {}

    /// The pixel of (x, y); false when the point cannot be mapped (infinite or undefined).
    bool Map(double x, double y, QPointF& pixel) const {
        const double column = m_x.ToScreen(m_logX ? LogValue(x, m_minimumLog) : x);
        const double row = m_y.ToScreen(m_logY ? LogValue(y, m_minimumLog) : y);
        if (!std::isfinite(column) || !std::isfinite(row))
            return false;
        pixel = {std::clamp(column, -MaxPixel, MaxPixel) + m_shift.x(),
                 std::clamp(row, -MaxPixel, MaxPixel) + m_shift.y()};
        return true;
    }

private:
    TAxisMapping m_x;
    TAxisMapping m_y;
    bool m_logX;
    bool m_logY;
    double m_minimumLog;
    QPointF m_shift;
};

/// The row of Y = 0, held inside the plot area: the foot of areas, volumes and bars.
double BaseRow(const TGraph& graph) {
    const QRect& area = graph.PlotArea();
    const double row = graph.DataYToScreen(0);
    if (!std::isfinite(row))
        return area.bottom();
    return std::clamp(row, double(area.top()), double(area.bottom()));
}

/// The pixels of one run of connected segments, drawn as they are.
class TChain {
public:
    explicit TChain(std::size_t room) { m_pixels.reserve(room); }

    /// Appends a pixel unless it repeats the last one, which adds nothing to the picture (compared
    /// exactly: QPointF's own comparison is fuzzy and costs more than the rest of the step).
    void Add(QPointF pixel) {
        if (m_pixels.empty() || m_pixels.back().x() != pixel.x() || m_pixels.back().y() != pixel.y())
            m_pixels.push_back(pixel);
    }
    /// Number of pixels added and kept.
    std::size_t Size() const { return m_pixels.size(); }
    /// The polyline to draw.
    std::span<const QPointF> Polyline() { return m_pixels; }
    /// Starts the next run.
    void Clear() { m_pixels.clear(); }

private:
    std::vector<QPointF> m_pixels;
};

/// A dense curve puts many points into one pixel column. Keeping only the first, lowest, highest
/// and last point of each such run (in their original order) paints the same pixels with far fewer
/// segments, which is what makes curves of many thousands of points quick to draw. This chain does
/// so as the pixels arrive, so that the whole run is never stored; a run of fewer than
/// `WorthThinning` pixels is drawn as it is.
class TThinnedChain {
public:
    /// Appends a pixel unless it repeats the last one (see `TChain::Add`).
    void Add(QPointF pixel) {
        if (m_count > 0 && m_last.x() == pixel.x() && m_last.y() == pixel.y())
            return;
        if (m_count < WorthThinning)
            m_head[m_count] = pixel;
        ++m_count;
        const std::int64_t column = ColumnOf(pixel);
        if (m_count > 1 && column == m_column) {
            m_last = pixel;
            ++m_lastIndex;
            if (pixel.y() < m_lowest.y()) {
                m_lowest = pixel;
                m_lowestIndex = m_lastIndex;
            }
            if (pixel.y() > m_highest.y()) {
                m_highest = pixel;
                m_highestIndex = m_lastIndex;
            }
            return;
        }
        if (m_count > 1)
            CloseColumn();
        m_column = column;
        m_first = m_last = m_lowest = m_highest = pixel;
        m_lastIndex = m_lowestIndex = m_highestIndex = 0;
    }
    /// Number of pixels added and kept before thinning.
    std::size_t Size() const { return m_count; }
    /// The polyline to draw.
    std::span<const QPointF> Polyline() {
        if (m_count < WorthThinning)
            return {m_head.data(), m_count};
        CloseColumn();
        return m_thin;
    }
    /// Starts the next run.
    void Clear() {
        m_count = 0;
        m_thin.clear();
    }

private:
    static constexpr std::size_t WorthThinning = 8;

    /// The pixel column of a mapped point: mapped coordinates are held within +-MaxPixel, so a
    /// cast floors them safely.
    static std::int64_t ColumnOf(QPointF pixel) {
        const auto truncated = static_cast<std::int64_t>(pixel.x());
        return truncated - (pixel.x() < static_cast<double>(truncated) ? 1 : 0);
    }

    /// Writes the first, the lowest and highest in their order, and the last pixel of the column.
    void CloseColumn() {
        m_thin.push_back(m_first);
        const bool lowestFirst = m_lowestIndex <= m_highestIndex;
        const int earlier = lowestFirst ? m_lowestIndex : m_highestIndex;
        const int later = lowestFirst ? m_highestIndex : m_lowestIndex;
        if (earlier != 0 && earlier != m_lastIndex)
            m_thin.push_back(lowestFirst ? m_lowest : m_highest);
        if (later != earlier && later != 0 && later != m_lastIndex)
            m_thin.push_back(lowestFirst ? m_highest : m_lowest);
        if (m_lastIndex != 0)
            m_thin.push_back(m_last);
    }

    std::size_t m_count = 0;
    std::array<QPointF, WorthThinning> m_head;
    std::vector<QPointF> m_thin;
    std::int64_t m_column = 0;
    QPointF m_first;
    QPointF m_last;
    QPointF m_lowest;
    QPointF m_highest;
    int m_lastIndex = 0;
    int m_lowestIndex = 0;
    int m_highestIndex = 0;
};

/// Paints one bar between two corners; in the 3-D look a top and a side face lead back by `depth`.
void PaintBar(QPainter& painter, const QRectF& bar, TColor color, int depth) {
    const QColor edge = ToQColor(Darkened(color, EdgeDarkening));
    painter.setPen(QPen(edge, 1));
    if (depth > 0) {
        const QPointF back(depth, -depth);
        painter.setBrush(edge);
        const QPolygonF top{bar.topLeft(), bar.topLeft() + back, bar.topRight() + back, bar.topRight()};
        const QPolygonF side{bar.topRight(), bar.topRight() + back, bar.bottomRight() + back,
                             bar.bottomRight()};
        painter.drawPolygon(top);
        painter.drawPolygon(side);
    }
    painter.setBrush(ToQColor(color));
    painter.drawRect(bar);
}

/// A row for a data Y on the current axis, kept within the range the raster engine draws well.
double Row(const TGraph& graph, double y) {
    const double row = graph.DataYToScreen(y);
    return std::isfinite(row) ? std::clamp(row, -MaxPixel, MaxPixel) : MaxPixel;
}

/// The bar `width` pixels wide from column `left` between two rows.
QRectF BarRect(double left, double width, double fromRow, double toRow) {
    return QRectF(QPointF(left, toRow), QPointF(left + width, fromRow)).normalized();
}

/// The visible bar series of the graph in list order.
std::vector<TSeries*> VisibleBarSeries(const TGraph& graph) {
    std::vector<TSeries*> bars;
    for (int i = 0; i < graph.LayerCount(); ++i) {
        auto* series = dynamic_cast<TSeries*>(graph.Layer(i));
        if (series && series->Visible() && series->Style() == ssBar)
            bars.push_back(series);
    }
    return bars;
}

/// Whether bars of several series pile up (stacked or 100 % stacked).
bool Stacking(TBarStyle style) {
    return style == bsStacked || style == bs100Stacked;
}

/// Walks the points of stacked bar series in drawing order and hands each point's X with the value
/// range its bar covers: positive values pile up from 0, negative ones down, per X value. With
/// `percent` every value is first taken as a share of the sum of magnitudes at its X, times 100.
template <typename Visit>
void ForEachStackedBar(const std::vector<TSeries*>& bars, bool percent, Visit visit) {
    std::map<double, double> totals;
    if (percent)
        for (const TSeries* series : bars)
            for (int i = 0; i < series->Count(); ++i)
                totals[series->X(i)] += std::abs(series->Y(i));
    std::map<double, std::pair<double, double>> piles; // X -> (top of positives, foot of negatives)
    for (TSeries* series : bars)
        for (int i = 0; i < series->Count(); ++i) {
            const double x = series->X(i);
            double value = series->Y(i);
            if (percent) {
                const double total = totals[x];
                value = total > 0 ? 100 * value / total : 0;
            }
            auto& [up, down] = piles[x];
            double& end = value >= 0 ? up : down;
            visit(*series, x, end, end + value);
            end += value;
        }
}

} // namespace

// ---- TMarker

void TMarker::Draw(QPainter& painter, double x, double y) const {
    DrawMarkerShape(painter, Style, QPointF(x, y), Size, ToQColor(Color), ToQColor(FillColor));
}

// ---- TSeries: points and settings

TSeries::TSeries(TGraph& graph, const std::string& name, int styleCode, TColor color)
    : TLayer(graph), m_style(styleCode) {
    SetName(name);
    TLayer::SetColor(color);
    m_marker.Color = color;
    m_marker.Size = 4;
    m_marker.Style = msNone;
}

TSeries::~TSeries() {
    if (!m_legend)
        return;
    // The entry describes this series only: it leaves the legend with it.
    TWLegend& legend = Graph().Legend();
    const int index = legend.IndexOfSeries(this);
    if (index >= 0)
        legend.Delete(index);
    else
        m_legend->Series = nullptr;
}

void TSeries::AddPoint(TColor color, const std::string& pointName, double x, double y) {
    const std::size_t k = m_x.size();
    if (k == 0)
        m_pointColor = color;
    m_x.push_back(x);
    m_y.push_back(y);
    if (color != m_pointColor)
        m_colors.Set(k, color);
    if (!pointName.empty())
        m_names.Set(k, pointName);
    m_extentKnown = false;
}

std::size_t TSeries::Slot(int index) const {
    if (m_x.empty())
        throw std::out_of_range("the series has no points");
    return static_cast<std::size_t>(std::clamp(index, 0, Count() - 1));
}

void TSeries::SetPrevious(int index, double x, double y) {
    const std::size_t k = Slot(index);
    m_previous.Erase(k);
    const QPointF before = SegmentStart(k);
    if (before.x() != x || before.y() != y)
        m_previous.Set(k, QPointF(x, y));
    m_extentKnown = false;
}

TColor TSeries::PointColor(int index) const {
    return ColorAt(Slot(index));
}

void TSeries::SetPointColor(int index, TColor color) {
    const std::size_t k = Slot(index);
    if (color == m_pointColor)
        m_colors.Erase(k);
    else
        m_colors.Set(k, color);
}

const std::string& TSeries::PointName(int index) const {
    static const std::string unnamed;
    const std::string* own = m_names.Find(Slot(index));
    return own ? *own : unnamed;
}

void TSeries::SetPointName(int index, const std::string& name) {
    const std::size_t k = Slot(index);
    if (name.empty())
        m_names.Erase(k);
    else
        m_names.Set(k, name);
}

TMarker TSeries::SeriesPointMarker() const {
    TMarker marker = m_marker;
    marker.Size = EffectiveMarkerSize();
    return marker;
}

std::optional<TMarker> TSeries::PointMarker(int index) const {
    const std::optional<TMarker>* own = m_markers.Find(Slot(index));
    return own ? *own : SeriesPointMarker();
}

void TSeries::SetPointMarker(int index, const std::optional<TMarker>& marker) {
    const std::size_t k = Slot(index);
    if (marker == SeriesPointMarker())
        m_markers.Erase(k);
    else
        m_markers.Set(k, marker);
}

void TSeries::DeletePoint(int index) {
    if (index < 0 || index >= Count())
        return;
    const auto k = static_cast<std::size_t>(index);
    // The next point's segment now starts at the point before the deleted one (at itself when
    // it becomes the first): where a segment starts by default.
    m_previous.Erase(k + 1);
    m_previous.RemovePoint(k);
    m_names.RemovePoint(k);
    m_colors.RemovePoint(k);
    m_markers.RemovePoint(k);
    m_x.erase(m_x.begin() + index);
    m_y.erase(m_y.begin() + index);
    m_extentKnown = false;
}

void TSeries::DeleteHitPoint() {
    const int hit = HitIndex();
    if (hit < 0 || hit >= Count())
        return;
    Graph().Undo().Push(this, UndoEdit);
    DeletePoint(hit);
    SetHitIndex(-1);
    if (m_x.empty()) {
        Erase(); // this series no longer exists after this call
        return;
    }
    NotifyChanged();
}

void TSeries::Clear() {
    m_x.clear();
    m_y.clear();
    m_previous.Clear();
    m_names.Clear();
    m_colors.Clear();
    m_markers.Clear();
    m_extentKnown = false;
}

std::size_t TSeries::PointStorageBytes() const {
    return (m_x.capacity() + m_y.capacity()) * sizeof(double) + m_previous.Bytes() + m_names.Bytes() +
           m_colors.Bytes() + m_markers.Bytes();
}

void TSeries::SetStyle(int code) {
    m_style = code;
    ApplyMarkerToPoints(); // bars size their markers by the bar width
    RefreshLegend();
}

void TSeries::SetMarkerStyle(TMarkerStyle style) {
    m_marker.Style = style;
    ApplyMarkerToPoints();
    RefreshLegend();
}

void TSeries::SetMarkerSize(int size) {
    m_marker.Size = size;
    ApplyMarkerToPoints();
    RefreshLegend();
}

void TSeries::SetMarkerColor(TColor color) {
    m_marker.Color = color;
    ApplyMarkerToPoints();
    RefreshLegend();
}

void TSeries::SetMarkerFillColor(TColor color) {
    m_marker.FillColor = color;
    ApplyMarkerToPoints();
    RefreshLegend();
}

void TSeries::SetMarkersVisible(bool visible) {
    m_markersVisible = visible;
    RefreshLegend();
}

void TSeries::SetLineStyle(TPenStyle style) {
    m_lineStyle = style;
    RefreshLegend();
}

void TSeries::SetLineWidth(int width) {
    m_lineWidth = width;
    RefreshLegend();
}

void TSeries::SetColor(TColor color) {
    TLayer::SetColor(color);
    RefreshLegend();
}

void TSeries::ApplyMarkerToPoints() {
    // Points with a marker take the series' look again; points without one keep having none.
    m_markers.EraseIf([](const std::optional<TMarker>& marker) { return marker.has_value(); });
}

void TSeries::AttachLegend(TLineLegend* entry) {
    if (m_legend && m_legend->Series == this)
        m_legend->Series = nullptr;
    m_legend = entry;
    if (entry)
        entry->Series = this;
    RefreshLegend();
}

void TSeries::RefreshLegend() {
    if (!m_legend)
        return;
    // The sample keeps its own marker size: it has to fit a legend row.
    m_legend->Caption = Name();
    m_legend->Marker.Color = m_marker.Color;
    m_legend->Marker.FillColor = m_marker.FillColor;
    m_legend->Marker.Style = m_marker.Style;
    m_legend->StyleCode = m_style;
    m_legend->Color = Color();
    m_legend->LineWidth = m_lineWidth;
    m_legend->LineStyle = m_lineStyle;
    m_legend->ShowMarker = m_markersVisible;
}

void TSeries::NotifyChanged() const {
    if (Graph().Changed)
        Graph().Changed();
}

// ---- TSeries: values and extent

double TSeries::ValueAt(double x) const {
    const TAxis& yAxis = UsesYAxis2() ? Graph().YAxis2() : Graph().YAxis();
    for (std::size_t k = 0; k < m_x.size(); ++k) {
        const QPointF start = SegmentStart(k);
        const double x0 = start.x(), y0 = start.y(), x1 = m_x[k], y1 = m_y[k];
        if (x < std::min(x0, x1) || x > std::max(x0, x1))
            continue;
        if (m_style == ssPiecewiseConstant)
            return y0;
        if (x1 == x0)
            return y1;
        const double t = (x - x0) / (x1 - x0);
        if (!yAxis.Log())
            return y0 + t * (y1 - y0);
        const double from = Graph().LogValue(y0);
        return std::pow(10.0, from + t * (Graph().LogValue(y1) - from));
    }
    return MissingValue;
}

TExtent TSeries::GetExtent() const {
    TExtent extent;
    if (m_style == ssBar && Stacking(Graph().BarStyle)) {
        // A pile reaches beyond any single value, and every pile stands on 0.
        const auto bars = VisibleBarSeries(Graph());
        ForEachStackedBar(bars, Graph().BarStyle == bs100Stacked,
                          [&](const TSeries&, double x, double from, double to) {
                              extent.Include(x, from);
                              extent.Include(x, to);
                          });
        if (!extent.Empty())
            return extent;
    }
    if (!m_extentKnown) {
        m_extent = {};
        // A segment starts at a point of the list unless it was set otherwise.
        for (std::size_t k = 0; k < m_x.size(); ++k)
            m_extent.Include(m_x[k], m_y[k]);
        m_previous.ForEach(
            [&](std::size_t, const QPointF& start) { m_extent.Include(start.x(), start.y()); });
        m_extentKnown = true;
    }
    return m_extent;
}

int TSeries::EffectiveMarkerSize() const {
    if (m_style != ssBar)
        return m_marker.Size;
    // Bar width: the X range shared out over the most points any bar series has.
    int most = 0;
    TExtent data;
    const auto include = [&](const TSeries& bar) {
        most = std::max(most, bar.Count());
        for (const double x : bar.m_x)
            data.Include(x, 0);
    };
    include(*this);
    for (const TSeries* bar : VisibleBarSeries(Graph()))
        include(*bar);
    const TWorldRect& world = UsesXAxis2() ? Graph().World2() : Graph().World();
    double range = data.XMax - data.XMin;
    if (Graph().Zoom().Zoomed() || !(range > 0))
        range = std::abs(world.XMax - world.XMin);
    const double pixels = std::abs(Graph().XToScreen(range) - Graph().XToScreen(0));
    const double width = pixels * m_barWidth / std::max(most, 1);
    return std::isfinite(width) ? std::max(1, static_cast<int>(std::lround(std::min(width, MaxPixel)))) : 1;
}

// ---- TSeries: drawing

/// Walks the points as connected runs of segments, collecting each run's pixels in `chain`, and
/// hands each run with at least two distinct pixels to `paint` as one polyline. A run breaks where
/// a segment does not start at the previous point or a point cannot be mapped. With `steps` each
/// segment runs level at its start's Y first.
template <typename Chain, typename Paint>
void TSeries::TraceChains(Chain& chain, QPointF shift, bool steps, Paint paint) const {
    const TPointMapper mapper(Graph(), shift);
    const auto flush = [&] {
        if (chain.Size() >= 2)
            paint(chain.Polyline());
        chain.Clear();
    };
    const auto append = [&](double x, double y) {
        QPointF pixel;
        if (!mapper.Map(x, y, pixel)) {
            flush();
            return false;
        }
        chain.Add(pixel);
        return true;
    };
    bool previousMapped = false;
    for (std::size_t k = 0; k < m_x.size(); ++k) {
        const QPointF start = SegmentStart(k);
        const bool joined = previousMapped && k > 0 && m_x[k - 1] == start.x() && m_y[k - 1] == start.y();
        if (!joined) {
            flush();
            append(start.x(), start.y());
        }
        if (steps)
            append(m_x[k], start.y());
        previousMapped = append(m_x[k], m_y[k]);
    }
    flush();
}

QPen TSeries::LinePen(QPainter& painter, TColor color) const {
    int width = m_lineWidth;
    if (Graph().Printing()) {
        // Widths follow the printer's resolution: as wide as "a" in a font of that size.
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(std::max(width, 1));
        width = QFontMetrics(font, painter.device()).horizontalAdvance(QLatin1Char('a'));
    }
    const bool look3D = Graph().Depth3D() > 0;
    QPen pen(ToQColor(look3D ? Darkened(color, EdgeDarkening) : color));
    pen.setWidth(width);
    pen.setStyle(ToQtPenStyle(m_lineStyle));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void TSeries::Draw(QPainter& painter) {
    if (m_x.empty())
        return;
    const int depth = Graph().Depth3D();
    const QPointF shift(depth, -depth);
    painter.save();
    painter.setClipRect(Graph().PlotArea().adjusted(0, -depth, depth, 0), Qt::IntersectClip);
    painter.setPen(LinePen(painter, Color()));
    painter.setBrush(depth > 0 ? QBrush(ToQColor(Color())) : QBrush(Qt::NoBrush));
    switch (m_style) {
    case ssLine:
    case ssLineAndPoint:
        DrawLines(painter, shift, false);
        break;
    case ssPiecewiseConstant:
        DrawLines(painter, shift, true);
        break;
    case ssVolume:
        DrawVolume(painter, shift);
        break;
    case ssArea:
        DrawArea(painter, shift, QBrush(ToQColor(Color())));
        break;
    case ssBar:
        if (Graph().BarStyle == bsZOrdered)
            DrawBarGroup(Graph(), painter, {this});
        break;
    case ssPerPoint:
        DrawPerPoint(painter, shift);
        break;
    default:
        break;
    }
    painter.restore();
    // Markers are not cut by the lines' clip: only those on points inside the plot area are drawn.
    if (m_style == ssPoints || m_style == ssLineAndPoint || m_style == ssVolume || m_style == ssPerPoint)
        DrawMarkers(painter, shift);
}

void TSeries::DrawLines(QPainter& painter, QPointF shift, bool steps) const {
    if (shift.x() > 0) {
        TChain chain(m_x.size() * (steps ? 2 : 1) + 1);
        TraceChains(chain, shift, steps,
                    [&](std::span<const QPointF> polyline) { DrawRibbon(painter, polyline, shift); });
        return;
    }
    TThinnedChain chain;
    TraceChains(chain, shift, steps, [&](std::span<const QPointF> polyline) {
        painter.drawPolyline(polyline.data(), static_cast<int>(polyline.size()));
    });
}

void TSeries::DrawRibbon(QPainter& painter, std::span<const QPointF> chain, QPointF shift) const {
    // Each segment is a face from its place in front to its shifted place at the back.
    QPolygonF face(4);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        face[0] = chain[i - 1];
        face[1] = chain[i];
        face[2] = chain[i] - shift;
        face[3] = chain[i - 1] - shift;
        painter.drawPolygon(face);
    }
}

void TSeries::DrawArea(QPainter& painter, QPointF shift, const QBrush& brush) const {
    const double base = BaseRow(Graph()) + shift.y();
    const QPen pen = painter.pen();
    std::vector<QPointF> band;
    TChain outline(m_x.size() + 1);
    TraceChains(outline, shift, false, [&](std::span<const QPointF> chain) {
        band.clear();
        band.push_back(QPointF(chain.front().x(), base));
        band.insert(band.end(), chain.begin(), chain.end());
        band.push_back(QPointF(chain.back().x(), base));
        painter.setPen(Qt::NoPen);
        painter.setBrush(brush);
        painter.drawPolygon(band.data(), static_cast<int>(band.size()));
        painter.setPen(pen);
        painter.drawPolyline(chain.data(), static_cast<int>(chain.size()));
    });
}

void TSeries::DrawVolume(QPainter& painter, QPointF shift) const {
    // A band under the curve, full colour at the top of the plot area, darkening towards the foot.
    const QRect& area = Graph().PlotArea();
    QLinearGradient shade(0, area.top() + shift.y(), 0, BaseRow(Graph()) + shift.y());
    shade.setColorAt(0, ToQColor(Color()));
    shade.setColorAt(1, ToQColor(Darkened(Color(), VolumeDarkening)));
    painter.setPen(LinePen(painter, Darkened(Color(), EdgeDarkening)));
    DrawArea(painter, shift, QBrush(shade));
}

void TSeries::DrawPerPoint(QPainter& painter, QPointF shift) const {
    QPen pen = painter.pen();
    const bool look3D = shift.x() > 0;
    TColor penColor = -2; // no colour yet
    const TPointMapper mapper(Graph(), shift);
    for (std::size_t k = 0; k < m_x.size(); ++k) {
        const QPointF start = SegmentStart(k);
        QPointF from;
        QPointF to;
        if (!mapper.Map(start.x(), start.y(), from) || !mapper.Map(m_x[k], m_y[k], to) || from == to)
            continue;
        const TColor color = ColorAt(k);
        if (color != penColor) {
            penColor = color;
            pen.setColor(ToQColor(look3D ? Darkened(penColor, EdgeDarkening) : penColor));
            painter.setPen(pen);
        }
        painter.drawLine(from, to);
    }
}

void TSeries::DrawMarkers(QPainter& painter, QPointF shift) const {
    if (!m_markersVisible)
        return;
    const QRectF inside = QRectF(Graph().PlotArea()).adjusted(-1, -1, 1, 1).translated(shift);
    const TPointMapper mapper(Graph(), shift);
    const TMarker look = SeriesPointMarker();
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::optional<TMarker>* own = m_markers.Find(k);
        QPointF pixel;
        if ((own && !*own) || !HasMarkerAt(i, count, m_markerStep) || !mapper.Map(m_x[k], m_y[k], pixel) ||
            !inside.contains(pixel))
            continue;
        (own ? **own : look).Draw(painter, pixel.x(), pixel.y());
    }
}

void DrawBarGroup(TGraph& graph, QPainter& painter, const std::vector<TSeries*>& bars) {
    if (bars.empty())
        return;
    const int depth = graph.Depth3D();
    const double width = bars.front()->EffectiveMarkerSize();
    const double base = BaseRow(graph);
    painter.save();
    painter.setClipRect(graph.PlotArea().adjusted(0, -depth, depth, 0), Qt::IntersectClip);

    if (Stacking(graph.BarStyle)) {
        ForEachStackedBar(bars, graph.BarStyle == bs100Stacked,
                          [&](const TSeries& series, double x, double from, double to) {
                              const QRectF bar = BarRect(graph.DataXToScreen(x) - width / 2, width,
                                                         Row(graph, from), Row(graph, to));
                              PaintBar(painter, bar, series.Color(), depth);
                          });
    } else {
        // Clustered: the series share the bar width side by side; Z-ordered: each takes it whole.
        const bool clustered = graph.BarStyle == bsClustered;
        const double slot = clustered ? width / static_cast<double>(bars.size()) : width;
        for (std::size_t j = 0; j < bars.size(); ++j) {
            const double offset = clustered ? -width / 2 + static_cast<double>(j) * slot : -width / 2;
            for (int i = 0; i < bars[j]->Count(); ++i) {
                const QRectF bar = BarRect(graph.DataXToScreen(bars[j]->X(i)) + offset, slot, base,
                                           Row(graph, bars[j]->Y(i)));
                PaintBar(painter, bar, bars[j]->Color(), depth);
            }
        }
    }
    painter.restore();
}

// ---- TSeries: menu

void TSeries::BuildPopupMenu(QMenu& menu) {
    const auto add = [&menu](const char* text, const char* name) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        action->setObjectName(QString::fromUtf8(name));
        return action;
    };
    QObject::connect(add("&Select on/off", "miSelectOnOff"), &QAction::triggered, [this] {
        SetSelected(!Selected());
        Graph().Undo().Push(this, Selected() ? UndoSelectOn : UndoSelectOff);
        NotifyChanged();
    });
    QObject::connect(add("&Info", "miInfo"), &QAction::triggered, [this] { ShowInfo(); });
    // Deletes the point the mouse hit; the properties dialog deletes whole series.
    if (m_deletable)
        QObject::connect(add("&Delete  <Ctrl>", "miErase"), &QAction::triggered,
                         [this] { DeleteHitPoint(); });
    QObject::connect(add("&Unvisible  <Ctrl>", "miUnvisible"), &QAction::triggered, [this] {
        SetVisible(false);
        NotifyChanged();
    });
}

void TSeries::ShowInfo() {
    TGraphInfo& info = Graph().Info;
    info.Content = {info.SeriesName + ": " + Name()};
    const int hit = HitIndex();
    if (hit >= 0 && hit < Count()) {
        const std::string& name = PointName(hit);
        info.Content.push_back(info.PointName + ": " + (name.empty() ? std::to_string(hit + 1) : name));
        info.Content.push_back("X=" + QString::number(X(hit), 'g', info.NumberOfGeneralDigits).toStdString());
        info.Content.push_back("Y=" + QString::number(Y(hit), 'g', info.NumberOfGeneralDigits).toStdString());
    }
    NotifyChanged();
}

// ---- TMatrixSeries

TMatrixSeries::TMatrixSeries(TGraph& graph, const std::string& name, int rows, int columns)
    : TSeries(graph, name, ssMatrix, clRed), m_rows(std::max(rows, 0)), m_columns(std::max(columns, 0)),
      m_values(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns), 0.0),
      m_texts(m_values.size()) {
    SetMarkerStyle(msCircle);
    SetDeletable(false);
    m_positive.Color = clRed;
    m_positive.FillColor = clRed;
    m_positive.Style = msCircle;
    m_negative.Color = clBlue;
    m_negative.FillColor = clBlue;
    m_negative.Style = msDiamond;
    graph.ColorLegend().Source = this;
    const auto fix = [](TAxis& axis, double count) {
        axis.AutoMin = false;
        axis.AutoMax = false;
        axis.SetMin(0.5);
        axis.SetMax(count + 0.5);
    };
    fix(graph.XAxis(), m_columns);
    fix(graph.YAxis(), m_rows);
    // Two entries explain the marker colours; they belong to the legend, not to one series.
    for (const auto& [caption, marker] :
         {std::pair{"Positive", m_positive}, std::pair{"Negative", m_negative}}) {
        auto entry = std::make_unique<TLineLegend>(graph);
        entry->Caption = caption;
        entry->Marker.Color = marker.Color;
        entry->Marker.FillColor = marker.FillColor;
        entry->Marker.Style = marker.Style;
        entry->Color = marker.Color;
        entry->StyleCode = ssMatrix;
        graph.Legend().Add(std::move(entry));
    }
}

std::size_t TMatrixSeries::CellIndex(int row, int column) const {
    if (row < 1 || row > m_rows || column < 1 || column > m_columns)
        throw std::out_of_range("matrix cell outside the matrix");
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(m_columns) +
           static_cast<std::size_t>(column - 1);
}

double TMatrixSeries::Value(int row, int column) const {
    return m_values[CellIndex(row, column)];
}

void TMatrixSeries::SetValue(int row, int column, double value) {
    m_values[CellIndex(row, column)] = value;
}

const std::string& TMatrixSeries::Text(int row, int column) const {
    return m_texts[CellIndex(row, column)];
}

void TMatrixSeries::SetText(int row, int column, const std::string& text) {
    m_texts[CellIndex(row, column)] = text;
}

double TMatrixSeries::MinZ() const {
    return m_values.empty() ? TSeries::MinZ() : *std::min_element(m_values.begin(), m_values.end());
}

double TMatrixSeries::MaxZ() const {
    return m_values.empty() ? TSeries::MaxZ() : *std::max_element(m_values.begin(), m_values.end());
}

TExtent TMatrixSeries::GetExtent() const {
    TExtent extent;
    extent.Include(0, 0);
    extent.Include(m_columns + 1, m_rows + 1);
    return extent;
}

void TMatrixSeries::Draw(QPainter& painter) {
    const double largest = std::max(std::abs(MinZ()), std::abs(MaxZ()));
    if (m_values.empty() || !(largest > 0))
        return;
    const TGraph& graph = Graph();
    const double cell = std::min(std::abs(graph.DataXToScreen(1) - graph.DataXToScreen(0)),
                                 std::abs(graph.DataYToScreen(1) - graph.DataYToScreen(0)));
    // Row 1 is the top row, as the matrix is written.
    for (int row = 1; row <= m_rows; ++row)
        for (int column = 1; column <= m_columns; ++column) {
            const double value = Value(row, column);
            if (value == 0 || !std::isfinite(value))
                continue;
            const TMarker& marker = value > 0 ? m_positive : m_negative;
            // The largest magnitude fills a cell: a marker spans twice its size.
            const double size = std::abs(value) / largest * cell / 2;
            DrawMarkerShape(painter, marker.Style,
                            QPointF(graph.DataXToScreen(column), graph.DataYToScreen(m_rows + 1 - row)), size,
                            ToQColor(marker.Color), ToQColor(marker.FillColor));
        }
}

} // namespace mirla
