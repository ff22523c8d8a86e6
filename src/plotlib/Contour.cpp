#include "plotlib/Contour.h"

#include "plotlib/Graph.h"
#include "plotlib/Legend.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace mirla {

namespace {

/// How far in pixels from a line a click still picks it.
constexpr double HitPixels = 8;
/// Blank space in pixels left and right of a label's text, where the line stops.
constexpr double LabelPadding = 2;
/// Shading lets window events run after this many rows of squares.
constexpr int PumpEveryRows = 5;

/// The part t0..t1 (0 <= t0 <= t1 <= 1) of the line a + t (b - a) inside `box`, if any.
std::optional<std::pair<double, double>> InsideSpan(QPointF a, QPointF b, const QRectF& box) {
    double t0 = 0;
    double t1 = 1;
    const double d[2] = {b.x() - a.x(), b.y() - a.y()};
    const double low[2] = {box.left() - a.x(), box.top() - a.y()};
    const double high[2] = {box.right() - a.x(), box.bottom() - a.y()};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0) {
            if (low[axis] > 0 || high[axis] < 0)
                return std::nullopt;
            continue;
        }
        double enter = low[axis] / d[axis];
        double leave = high[axis] / d[axis];
        if (enter > leave)
            std::swap(enter, leave);
        t0 = std::max(t0, enter);
        t1 = std::min(t1, leave);
    }
    if (t0 > t1)
        return std::nullopt;
    return std::pair{t0, t1};
}

QPointF At(QPointF a, QPointF b, double t) {
    return a + t * (b - a);
}

/// A label's angle on the screen, so that it follows its line whatever the axes' scales.
double ScreenAngle(QPointF a, QPointF b) {
    if (a.x() == b.x())
        return -90;
    return std::atan((b.y() - a.y()) / (b.x() - a.x())) * 180 / 3.14159265358979323846;
}

/// A data X under a column of the current X axis (its value, not its log, on a logarithmic axis).
double WorldX(const TGraph& graph, int column) {
    const double x = graph.ScreenToX(column);
    return graph.CurrentXAxis().Log() ? std::pow(10.0, x) : x;
}

double WorldY(const TGraph& graph, int row) {
    const double y = graph.ScreenToY(row);
    return graph.CurrentYAxis().Log() ? std::pow(10.0, y) : y;
}

/// Where the squares along one side of the plot area fall on the grid: the data coordinate of
/// each square's first pixel, its cell (-1 outside the grid) and the fraction across that cell.
struct TGridPlace {
    std::vector<double> Worlds;
    std::vector<int> Cells;
    std::vector<double> Fractions;
};

template <typename World, typename Cell, typename Bounds>
TGridPlace PlaceSquares(int length, int square, World world, Cell cellOf, Bounds bounds) {
    TGridPlace place;
    for (int offset = 0; offset < length; offset += square) {
        const double value = world(offset);
        const int cell = cellOf(value);
        place.Worlds.push_back(value);
        place.Cells.push_back(cell);
        if (cell < 0) {
            place.Fractions.push_back(0);
            continue;
        }
        const auto [low, high] = bounds(cell);
        place.Fractions.push_back(high != low ? (value - low) / (high - low) : 0);
    }
    return place;
}

} // namespace

TContour::TContour(TGraph& graph, bool shading, int levels, const TContourGrid& grid)
    : TLayer(graph), Shading(shading), m_grid(grid) {
    Levels.Count = levels;
    if (Levels.MinLimit == 0 && Levels.MaxLimit == 0 && m_grid.DataMin() <= m_grid.DataMax()) {
        Levels.MinLimit = m_grid.DataMin();
        Levels.MaxLimit = m_grid.DataMax();
    }
    Recompute();
}

TContour::TContour(TGraph& graph) : TContour(graph, false, TLevelOptions().Count, TContourGrid()) {}

void TContour::Recompute() {
    m_shadingKey.reset();
    m_lines = TraceContours(m_grid, ContourLevels(Levels, m_grid.DataMin(), m_grid.DataMax()));
    PlaceLabels(m_lines, LabelDigits);
}

TColorScale TContour::Scale() const {
    return TColorScale(Levels.FixedMin ? Levels.MinLimit : m_grid.DataMin(),
                       Levels.FixedMax ? Levels.MaxLimit : m_grid.DataMax(), Levels.FixedMin);
}

TColor TContour::ValueColor(double value) const {
    return PaletteColor(Palette, Scale().Index(value));
}

QCursor TContour::EditCursor() const {
    switch (m_editMode) {
    case emAddContour:
    case emAddLabel:
        return PlotCursor(TPlotCursor::SerAdd);
    case emDeleteContour:
    case emRemoveLabel:
        return PlotCursor(TPlotCursor::SerDel);
    case emMoveLabel:
        return PlotCursor(TPlotCursor::MoveIt);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

std::optional<QCursor> TContour::MouseCursor() const {
    if (!WantsMouse())
        return std::nullopt;
    return EditCursor();
}

double TContour::MinZ() const {
    return Scale().Bottom();
}

double TContour::MaxZ() const {
    return Scale().Top();
}

QColor TContour::ScaleColor(double fraction) const {
    const TColorScale scale = Scale();
    return ToQColor(
        PaletteColor(Palette, scale.Index(scale.Bottom() + fraction * (scale.Top() - scale.Bottom()))));
}

std::optional<double> TContour::ValueAt(double x, double y) const {
    return m_grid.ValueAt(x, y);
}

TExtent TContour::GetExtent() const {
    return m_grid.Extent();
}

int TContour::PointCount() const {
    return m_grid.Nx() * m_grid.Ny();
}

// ---- drawing

void TContour::Draw(QPainter& painter) {
    if (Shading) {
        DrawShading(painter);
        return;
    }
    DrawLines(painter);
    if (LabelsOn)
        DrawLabels(painter);
}

QRectF TContour::LabelBox(QPainter& painter, const TContourLabel& label) const {
    const QFontMetricsF metrics(ToQFont(LabelFont), painter.device());
    const double width = metrics.horizontalAdvance(QString::fromStdString(label.Text)) + 2 * LabelPadding;
    const double height = metrics.height();
    return QRectF(-width / 2, -height / 2, width, height);
}

void TContour::DrawLines(QPainter& painter) {
    const TGraph& graph = Graph();
    const QRectF area(graph.PlotArea());
    const auto screen = [&graph](const TContourPoint& p) {
        return QPointF(graph.DataXToScreen(p.X), graph.DataYToScreen(p.Y));
    };
    std::vector<QLineF> pieces;
    for (const TContourLine& line : m_lines) {
        pieces.clear();
        const bool split = LabelsOn && line.Label && line.Label->Visible;
        QTransform toLabel;
        QRectF box;
        if (split) {
            const QPointF a = screen(line.Label->A);
            const QPointF b = screen(line.Label->B);
            const QPointF centre = (a + b) / 2;
            toLabel.rotate(-ScreenAngle(a, b));
            toLabel.translate(-centre.x(), -centre.y());
            box = LabelBox(painter, *line.Label);
        }
        for (std::size_t k = 0; k + 1 < line.Points.size(); ++k) {
            QPointF a = screen(line.Points[k]);
            QPointF b = screen(line.Points[k + 1]);
            const auto inside = InsideSpan(a, b, area);
            if (!inside)
                continue;
            std::tie(a, b) = std::pair{At(a, b, inside->first), At(a, b, inside->second)};
            const auto hidden = split ? InsideSpan(toLabel.map(a), toLabel.map(b), box) : std::nullopt;
            if (!hidden) {
                pieces.emplace_back(a, b);
                continue;
            }
            if (hidden->first > 0)
                pieces.emplace_back(a, At(a, b, hidden->first));
            if (hidden->second < 1)
                pieces.emplace_back(At(a, b, hidden->second), b);
        }
        painter.setPen(QPen(ToQColor(ColorLines ? ValueColor(line.Level) : MonoColor), 0));
        painter.drawLines(pieces.data(), static_cast<int>(pieces.size()));
    }
}

void TContour::DrawLabels(QPainter& painter) {
    const TGraph& graph = Graph();
    painter.save();
    painter.setFont(ToQFont(LabelFont));
    painter.setPen(ToQColor(LabelFont.Color));
    for (const TContourLine& line : m_lines) {
        if (!line.Label || !line.Label->Visible)
            continue;
        const TContourLabel& label = *line.Label;
        const QPointF a(graph.DataXToScreen(label.A.X), graph.DataYToScreen(label.A.Y));
        const QPointF b(graph.DataXToScreen(label.B.X), graph.DataYToScreen(label.B.Y));
        painter.save();
        painter.translate((a + b) / 2);
        painter.rotate(ScreenAngle(a, b));
        painter.drawText(LabelBox(painter, label), Qt::AlignCenter, QString::fromStdString(label.Text));
        painter.restore();
    }
    painter.restore();
}

TContour::TShadingKey TContour::ShadingKey(const QRect& area, int square, bool mask) const {
    const TGraph& graph = Graph();
    const TColorScale scale = Scale();
    return {area,
            square,
            mask,
            Palette,
            scale.Bottom(),
            scale.Top(),
            Levels.FixedMin,
            graph.World(),
            graph.CurrentXAxis().Log(),
            graph.CurrentYAxis().Log()};
}

void TContour::DrawShading(QPainter& painter) {
    const QRect area = Graph().PlotArea();
    if (area.isEmpty())
        return;
    const int square = Graph().Printing() ? (SquareSize + 1) * (SquareSize + 1) : std::max(1, SquareSize);
    const TGraph& graph = Graph();
    // A mask pen keeps the grid lines under the map visible: each square is ANDed with what lies
    // below, where the device can do that. The two colours of missing values stay opaque.
    const bool mask = (MaskGrid || graph.XAxis().Grid || graph.YAxis().Grid) && painter.paintEngine() &&
                      painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    // Redraws of an unchanged view (a legend toggled, the window uncovered) reuse the picture.
    const TShadingKey key = ShadingKey(area, square, mask);
    if (m_shadingKey != key) {
        // A grid that covers the whole view leaves no pixel unpainted: its picture needs no alpha.
        const TExtent extent = m_grid.Extent();
        const TWorldRect& world = graph.World();
        const bool covered = !key.LogX && !key.LogY && !m_grid.HasNodeY() && extent.XMin <= world.XMin &&
                             extent.XMax >= world.XMax && extent.YMin <= world.YMin &&
                             extent.YMax >= world.YMax;
        const bool opaque = mask || covered;
        m_shading = QImage(area.size(), opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        m_shading.fill(opaque ? Qt::white : Qt::transparent);
        m_special = QImage();
        if (mask) {
            m_special = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
            m_special.fill(Qt::transparent);
        }
        FillShading(m_shading, mask ? m_special : m_shading, area, square);
        m_shadingKey = key;
    }
    painter.save();
    if (mask)
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(area.topLeft(), m_shading);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (mask)
        painter.drawImage(area.topLeft(), m_special);
    painter.restore();
}

void TContour::FillShading(QImage& image, QImage& special, const QRect& area, int square) const {
    const TGraph& graph = Graph();
    const TColorScale scale = Scale();
    std::array<QRgb, 256> palette{};
    for (int index = 0; index < 256; ++index)
        palette[static_cast<std::size_t>(index)] = ToQColor(PaletteColor(Palette, index)).rgba();
    const auto colourOf = [&](int index) {
        return index >= 0 && index < 256 ? palette[static_cast<std::size_t>(index)]
                                         : ToQColor(PaletteColor(Palette, index)).rgba();
    };
    // Each square takes the value at its lower left corner. The cells under the columns and rows
    // of squares are found once; only per-node Y coordinates need a search per square.
    const TGridPlace xs = PlaceSquares(
        area.width(), square, [&](int c) { return WorldX(graph, area.left() + c); },
        [&](double x) { return m_grid.CellColumn(x); },
        [&](int i) {
            return std::pair{m_grid.X(i), m_grid.X(i + 1)};
        });
    const TGridPlace ys = PlaceSquares(
        area.height(), square, [&](int r) { return WorldY(graph, area.bottom() - r); },
        [&](double y) { return m_grid.CellRow(y); },
        [&](int j) {
            return std::pair{m_grid.Y(0, j), m_grid.Y(0, j + 1)};
        });
    const bool pump = graph.PumpMessages && !graph.Printing() && !graph.Exporting() && !graph.SilentDraw;
    const bool separate = &special != &image;
    const QRgb blank = image.pixel(0, 0);
    // One row of squares is computed into a line of pixels, then copied to each of its rows.
    std::vector<QRgb> line(static_cast<std::size_t>(area.width()));
    std::vector<QRgb> specialLine(separate ? line.size() : 0);
    for (std::size_t r = 0; r < ys.Cells.size(); ++r) {
        if (!m_grid.HasNodeY() && ys.Cells[r] < 0)
            continue;
        std::fill(line.begin(), line.end(), blank);
        std::fill(specialLine.begin(), specialLine.end(), qRgba(0, 0, 0, 0));
        for (std::size_t c = 0; c < xs.Cells.size(); ++c) {
            if (xs.Cells[c] < 0)
                continue;
            const double value = m_grid.HasNodeY() ? m_grid.ValueAt(xs.Worlds[c], ys.Worlds[r])
                                                   : m_grid.CellValue(xs.Cells[c], ys.Cells[r],
                                                                      xs.Fractions[c], ys.Fractions[r]);
            const int index = scale.Index(value);
            const bool isSpecial = index == MissingIndex || index == NegativeMissingIndex;
            QRgb* target = isSpecial && separate ? specialLine.data() : line.data();
            const std::size_t left = c * static_cast<std::size_t>(square);
            std::fill(target + left, target + std::min(line.size(), left + static_cast<std::size_t>(square)),
                      colourOf(index));
        }
        const int bottom = area.height() - 1 - static_cast<int>(r) * square;
        for (int row = std::max(0, bottom - square + 1); row <= bottom; ++row) {
            std::copy(line.begin(), line.end(), reinterpret_cast<QRgb*>(image.scanLine(row)));
            if (separate)
                std::copy(specialLine.begin(), specialLine.end(),
                          reinterpret_cast<QRgb*>(special.scanLine(row)));
        }
        if (pump && (r + 1) % PumpEveryRows == 0)
            graph.PumpMessages();
    }
}

// ---- editing

bool TContour::MouseDown(const TLayerMouse& mouse) {
    // In an edit mode the click belongs to the map, not to zoom or pan.
    return m_editMode != emNone && (mouse.buttons & Qt::LeftButton);
}

bool TContour::MouseUp(const TLayerMouse& mouse) {
    switch (m_editMode) {
    case emAddContour:
        AddContourAt(mouse);
        break;
    case emDeleteContour:
        DeleteContourAt(mouse);
        break;
    case emMoveLabel:
        PlaceLabelAt(mouse, false);
        break;
    case emAddLabel:
        PlaceLabelAt(mouse, true);
        break;
    case emRemoveLabel:
        HideLabelAt(mouse);
        break;
    default:
        return false;
    }
    if (Graph().Changed)
        Graph().Changed();
    return true;
}

std::optional<TSegmentHit> TContour::SegmentAt(const TLayerMouse& mouse) const {
    const TGraph& graph = Graph();
    return NearestSegment(
        m_lines, {mouse.x, mouse.y},
        [&graph](TContourPoint p) {
            return TContourPoint{graph.DataXToScreen(p.X), graph.DataYToScreen(p.Y)};
        },
        HitPixels);
}

namespace {

/// A label on segment `segment` of `line`.
TContourLabel LabelOn(const TContourLine& line, int segment, int digits) {
    const TContourPoint& a = line.Points[static_cast<std::size_t>(segment)];
    const TContourPoint& b = line.Points[static_cast<std::size_t>(segment) + 1];
    return {a, b, ContourLabelText(line.Level, digits), ContourLabelAngle(a, b), true};
}

} // namespace

void TContour::AddContourAt(const TLayerMouse& mouse) {
    const double z = m_grid.ValueAt(mouse.x, mouse.y);
    if (IsMissingZ(z))
        return;
    std::vector<TContourLine> added = TraceContours(m_grid, {z});
    const auto identity = [](TContourPoint p) { return p; };
    for (TContourLine& line : added) {
        const std::vector<TContourLine> one{line};
        const auto hit =
            NearestSegment(one, {mouse.x, mouse.y}, identity, std::numeric_limits<double>::infinity());
        if (hit)
            line.Label = LabelOn(line, hit->Segment, LabelDigits);
    }
    m_lines.insert(m_lines.begin(), std::make_move_iterator(added.begin()),
                   std::make_move_iterator(added.end()));
}

void TContour::DeleteContourAt(const TLayerMouse& mouse) {
    if (const auto hit = SegmentAt(mouse)) {
        const double level = m_lines[static_cast<std::size_t>(hit->Line)].Level;
        std::erase_if(m_lines, [level](const TContourLine& line) { return line.Level == level; });
    }
}

void TContour::PlaceLabelAt(const TLayerMouse& mouse, bool show) {
    const auto hit = SegmentAt(mouse);
    if (!hit)
        return;
    TContourLine& line = m_lines[static_cast<std::size_t>(hit->Line)];
    if (!line.Label && !show)
        return;
    const bool visible = show || line.Label->Visible;
    line.Label = LabelOn(line, hit->Segment, LabelDigits);
    line.Label->Visible = visible;
}

void TContour::HideLabelAt(const TLayerMouse& mouse) {
    if (const auto hit = SegmentAt(mouse)) {
        TContourLine& line = m_lines[static_cast<std::size_t>(hit->Line)];
        if (line.Label)
            line.Label->Visible = false;
    }
}

void FixMapAxes(TGraph& graph, double xMin, double xMax, double yMin, double yMax) {
    const auto fix = [](TAxis& axis, double low, double high) {
        axis.AutoMin = false;
        axis.AutoMax = false;
        axis.SetMin(low);
        axis.SetMax(high);
    };
    fix(graph.XAxis(), xMin, xMax);
    fix(graph.YAxis(), yMin, yMax);
    graph.ClipMarkers = false;
}

TContour& AddMapWithLegends(TGraph& graph, std::unique_ptr<TContour> map) {
    TContour& added = *map;
    graph.AddLayer(std::move(map));
    graph.ColorLegend().Source = &added;
    if (!added.Shading) {
        auto entry = std::make_unique<TContourLegend>(graph);
        entry->Caption = added.Name();
        graph.Legend().Add(std::move(entry));
    }
    return added;
}

} // namespace mirla
