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
#include <cmath>
#include <cstdint>
#include <map>
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

/// Walks the points as connected runs of segments and hands each run with at least two distinct
/// pixels to `draw` as one polyline. A run breaks where a segment does not start at the previous
/// point or a point cannot be mapped. With `steps` each segment runs level at its start's Y first.
template <typename Draw>
void TraceChains(const TGraph& graph, const std::vector<TGraphData>& points, QPointF shift, bool steps,
                 Draw draw) {
    const TPointMapper mapper(graph, shift);
    QPolygonF chain;
    chain.reserve(static_cast<qsizetype>(points.size()) * (steps ? 2 : 1) + 1);
    const auto flush = [&] {
        if (chain.size() >= 2)
            draw(std::as_const(chain));
        chain.clear();
    };
    const auto append = [&](double x, double y) {
        QPointF pixel;
        if (!mapper.Map(x, y, pixel)) {
            flush();
            return false;
        }
        // A repeated pixel adds nothing to the picture (compared exactly: QPointF's own
        // comparison is fuzzy and costs more than the rest of the step).
        if (chain.isEmpty() || chain.constLast().x() != pixel.x() || chain.constLast().y() != pixel.y())
            chain.append(pixel);
        return true;
    };
    const TGraphData* previous = nullptr;
    for (const TGraphData& point : points) {
        const bool joined = previous && previous->X == point.PrevX && previous->Y == point.PrevY;
        if (!joined) {
            flush();
            append(point.PrevX, point.PrevY);
        }
        if (steps)
            append(point.X, point.PrevY);
        previous = append(point.X, point.Y) ? &point : nullptr;
    }
    flush();
}

/// A dense curve puts many points into one pixel column. Keeping only the first, lowest, highest
/// and last point of each such run (in their original order) paints the same pixels with far fewer
/// segments, which is what makes curves of many thousands of points quick to draw.
QPolygonF ThinnedByColumn(const QPolygonF& chain) {
    constexpr qsizetype worthThinning = 8;
    const qsizetype count = chain.size();
    if (count < worthThinning)
        return chain;
    // Mapped coordinates are held within +-MaxPixel, so a cast floors them safely.
    const auto columnOf = [](const QPointF& p) {
        const auto truncated = static_cast<std::int64_t>(p.x());
        return truncated - (p.x() < static_cast<double>(truncated) ? 1 : 0);
    };
    const QPointF* in = chain.constData();
    QPolygonF thin(count);
    QPointF* out = thin.data();
    qsizetype written = 0;
    for (qsizetype first = 0; first < count;) {
        const std::int64_t column = columnOf(in[first]);
        qsizetype last = first, lowest = first, highest = first;
        while (last + 1 < count && columnOf(in[last + 1]) == column) {
            ++last;
            if (in[last].y() < in[lowest].y())
                lowest = last;
            if (in[last].y() > in[highest].y())
                highest = last;
        }
        out[written++] = in[first];
        const qsizetype earlier = std::min(lowest, highest), later = std::max(lowest, highest);
        if (earlier != first && earlier != last)
            out[written++] = in[earlier];
        if (later != earlier && later != first && later != last)
            out[written++] = in[later];
        if (last != first)
            out[written++] = in[last];
        first = last + 1;
    }
    thin.resize(written);
    return thin;
}

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

/// Walks the points of stacked bar series in drawing order and hands each point with the value
/// range its bar covers: positive values pile up from 0, negative ones down, per X value. With
/// `percent` every value is first taken as a share of the sum of magnitudes at its X, times 100.
template <typename Visit>
void ForEachStackedBar(const std::vector<TSeries*>& bars, bool percent, Visit visit) {
    std::map<double, double> totals;
    if (percent)
        for (const TSeries* series : bars)
            for (int i = 0; i < series->Count(); ++i)
                totals[series->Point(i).X] += std::abs(series->Point(i).Y);
    std::map<double, std::pair<double, double>> piles; // X -> (top of positives, foot of negatives)
    for (TSeries* series : bars)
        for (int i = 0; i < series->Count(); ++i) {
            const TGraphData& point = series->Point(i);
            double value = point.Y;
            if (percent) {
                const double total = totals[point.X];
                value = total > 0 ? 100 * value / total : 0;
            }
            auto& [up, down] = piles[point.X];
            double& end = value >= 0 ? up : down;
            visit(*series, point, end, end + value);
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

TGraphData& TSeries::AddPoint(TColor color, const std::string& pointName, double x, double y) {
    TGraphData point;
    point.X = x;
    point.Y = y;
    point.PrevX = m_points.empty() ? x : m_points.back().X;
    point.PrevY = m_points.empty() ? y : m_points.back().Y;
    point.Name = pointName;
    point.Color = color;
    point.Marker = m_marker;
    point.Marker->Size = EffectiveMarkerSize();
    m_points.push_back(std::move(point));
    m_extentKnown = false;
    return m_points.back();
}

TGraphData& TSeries::Point(int index) {
    m_extentKnown = false; // the caller may move the point
    return const_cast<TGraphData&>(std::as_const(*this).Point(index));
}

const TGraphData& TSeries::Point(int index) const {
    return m_points.at(static_cast<std::size_t>(std::clamp(index, 0, std::max(Count() - 1, 0))));
}

void TSeries::DeletePoint(int index) {
    if (index < 0 || index >= Count())
        return;
    const auto k = static_cast<std::size_t>(index);
    if (k + 1 < m_points.size()) {
        TGraphData& next = m_points[k + 1];
        const TGraphData& joined = k > 0 ? m_points[k - 1] : next;
        next.PrevX = joined.X;
        next.PrevY = joined.Y;
    }
    m_points.erase(m_points.begin() + index);
    m_extentKnown = false;
}

void TSeries::DeleteHitPoint() {
    const int hit = HitIndex();
    if (hit < 0 || hit >= Count())
        return;
    DeletePoint(hit);
    SetHitIndex(-1);
    if (m_points.empty()) {
        Erase(); // this series no longer exists after this call
        return;
    }
    NotifyChanged();
}

void TSeries::Clear() {
    m_points.clear();
    m_extentKnown = false;
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
    const int size = EffectiveMarkerSize();
    for (TGraphData& point : m_points)
        if (point.Marker) {
            point.Marker->Style = m_marker.Style;
            point.Marker->Size = size;
            point.Marker->Color = m_marker.Color;
            point.Marker->FillColor = m_marker.FillColor;
        }
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
    for (const TGraphData& point : m_points) {
        if (x < std::min(point.PrevX, point.X) || x > std::max(point.PrevX, point.X))
            continue;
        if (m_style == ssPiecewiseConstant)
            return point.PrevY;
        if (point.X == point.PrevX)
            return point.Y;
        const double t = (x - point.PrevX) / (point.X - point.PrevX);
        if (!yAxis.Log())
            return point.PrevY + t * (point.Y - point.PrevY);
        const double from = Graph().LogValue(point.PrevY);
        return std::pow(10.0, from + t * (Graph().LogValue(point.Y) - from));
    }
    return MissingValue;
}

TExtent TSeries::GetExtent() const {
    TExtent extent;
    if (m_style == ssBar && Stacking(Graph().BarStyle)) {
        // A pile reaches beyond any single value, and every pile stands on 0.
        const auto bars = VisibleBarSeries(Graph());
        ForEachStackedBar(bars, Graph().BarStyle == bs100Stacked,
                          [&](const TSeries&, const TGraphData& point, double from, double to) {
                              extent.Include(point.X, from);
                              extent.Include(point.X, to);
                          });
        if (!extent.Empty())
            return extent;
    }
    if (!m_extentKnown) {
        m_extent = {};
        for (const TGraphData& point : m_points) {
            m_extent.Include(point.PrevX, point.PrevY);
            m_extent.Include(point.X, point.Y);
        }
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
        for (const TGraphData& point : bar.m_points)
            data.Include(point.X, 0);
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
    if (m_points.empty())
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
    const bool look3D = shift.x() > 0;
    TraceChains(Graph(), m_points, shift, steps, [&](const QPolygonF& chain) {
        if (look3D)
            DrawRibbon(painter, chain, shift);
        else
            painter.drawPolyline(ThinnedByColumn(chain));
    });
}

void TSeries::DrawRibbon(QPainter& painter, const QPolygonF& chain, QPointF shift) const {
    // Each segment is a face from its place in front to its shifted place at the back.
    QPolygonF face(4);
    for (qsizetype i = 1; i < chain.size(); ++i) {
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
    QPolygonF band;
    TraceChains(Graph(), m_points, shift, false, [&](const QPolygonF& chain) {
        band.clear();
        band.reserve(chain.size() + 2);
        band.append(QPointF(chain.constFirst().x(), base));
        band.append(chain);
        band.append(QPointF(chain.constLast().x(), base));
        painter.setPen(Qt::NoPen);
        painter.setBrush(brush);
        painter.drawPolygon(band);
        painter.setPen(pen);
        painter.drawPolyline(chain);
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
    for (const TGraphData& point : m_points) {
        QPointF from;
        QPointF to;
        if (!mapper.Map(point.PrevX, point.PrevY, from) || !mapper.Map(point.X, point.Y, to) || from == to)
            continue;
        if (point.Color != penColor) {
            penColor = point.Color;
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
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const TGraphData& point = m_points[static_cast<std::size_t>(i)];
        QPointF pixel;
        if (!point.Marker || !HasMarkerAt(i, count, m_markerStep) || !mapper.Map(point.X, point.Y, pixel) ||
            !inside.contains(pixel))
            continue;
        point.Marker->Draw(painter, pixel.x(), pixel.y());
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
    const auto column = [&](const TGraphData& point) { return graph.DataXToScreen(point.X); };
    if (Stacking(graph.BarStyle)) {
        ForEachStackedBar(bars, graph.BarStyle == bs100Stacked,
                          [&](const TSeries& series, const TGraphData& point, double from, double to) {
                              const QRectF bar =
                                  BarRect(column(point) - width / 2, width, Row(graph, from), Row(graph, to));
                              PaintBar(painter, bar, series.Color(), depth);
                          });
    } else {
        // Clustered: the series share the bar width side by side; Z-ordered: each takes it whole.
        const bool clustered = graph.BarStyle == bsClustered;
        const double slot = clustered ? width / static_cast<double>(bars.size()) : width;
        for (std::size_t j = 0; j < bars.size(); ++j) {
            const double offset = clustered ? -width / 2 + static_cast<double>(j) * slot : -width / 2;
            for (int i = 0; i < bars[j]->Count(); ++i) {
                const TGraphData& point = bars[j]->Point(i);
                const QRectF bar = BarRect(column(point) + offset, slot, base, Row(graph, point.Y));
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
        const TGraphData& point = Point(hit);
        info.Content.push_back(info.PointName + ": " +
                               (point.Name.empty() ? std::to_string(hit + 1) : point.Name));
        info.Content.push_back("X=" +
                               QString::number(point.X, 'g', info.NumberOfGeneralDigits).toStdString());
        info.Content.push_back("Y=" +
                               QString::number(point.Y, 'g', info.NumberOfGeneralDigits).toStdString());
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
