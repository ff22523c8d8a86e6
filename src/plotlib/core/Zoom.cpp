#include "plotlib/core/Zoom.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace mirla {

namespace {

/// The smallest rubber band accepted, as a fraction of the current width and height.
constexpr double MinimumBandFraction = 1e-4;

/// The interval between a and b, ordered backwards when the axis runs backwards.
std::pair<double, double> Span(double a, double b, bool backwards) {
    const auto [low, high] = std::minmax(a, b);
    return backwards ? std::pair(high, low) : std::pair(low, high);
}

/// The rectangle spanning two points, running in the same directions as `current`.
TWorldRect Spanned(const TWorldRect& current, double x1, double y1, double x2, double y2) {
    const auto [xMin, xMax] = Span(x1, x2, current.XMin > current.XMax);
    const auto [yMin, yMax] = Span(y1, y2, current.YMin > current.YMax);
    return {xMin, yMin, xMax, yMax};
}

bool LargeEnough(const TWorldRect& band, const TWorldRect& current) {
    return std::abs(band.XMax - band.XMin) >= MinimumBandFraction * std::abs(current.XMax - current.XMin) &&
           std::abs(band.YMax - band.YMin) >= MinimumBandFraction * std::abs(current.YMax - current.YMin);
}

TWorldRect Shifted(TWorldRect rect, double dx, double dy) {
    rect.XMin += dx;
    rect.XMax += dx;
    rect.YMin += dy;
    rect.YMax += dy;
    return rect;
}

/// The rectangle scaled by `factor` around (x, y), which keeps its relative place.
TWorldRect ScaledAround(const TWorldRect& rect, double x, double y, double factor) {
    return {x + (rect.XMin - x) * factor, y + (rect.YMin - y) * factor, x + (rect.XMax - x) * factor,
            y + (rect.YMax - y) * factor};
}

/// How an animated zoom step splits its change among the four sides of a rectangle.
struct TShares {
    double Left, Right, Bottom, Top;
};

/// part / whole with direction d; 0 for an empty range, which then stays as it is.
double Share(double part, double whole, double direction) {
    return whole == 0 ? 0 : part * direction / whole;
}

TShares SharesAround(const TWorldRect& rect, double x, double y, double direction) {
    const double width = rect.XMax - rect.XMin;
    const double height = rect.YMax - rect.YMin;
    return {Share(x - rect.XMin, width, direction), Share(rect.XMax - x, width, direction),
            Share(y - rect.YMin, height, direction), Share(rect.YMax - y, height, direction)};
}

void ApplyStep(TWorldRect& rect, const TShares& shares, double change) {
    const double w = (rect.XMax - rect.XMin) * change;
    const double h = (rect.YMax - rect.YMin) * change;
    rect.XMin += w * shares.Left;
    rect.XMax -= w * shares.Right;
    rect.YMin += h * shares.Bottom;
    rect.YMax -= h * shares.Top;
}

} // namespace

void TZoom::BeginDrag(const TZoomViews& current, const TZoomPoint& anchor) {
    if (PanMode)
        Push(current);
    m_anchor = anchor;
}

bool TZoom::FinishRubberBand(TZoomViews& current, const TZoomPoint& release) {
    const TZoomViews band{Spanned(current.Primary, m_anchor.X, m_anchor.Y, release.X, release.Y),
                          Spanned(current.Secondary, m_anchor.X2, m_anchor.Y2, release.X2, release.Y2)};
    if (!LargeEnough(band.Primary, current.Primary)) {
        Enabled = false;
        return false;
    }
    Push(current);
    current = band;
    if (ZoomAutoStop)
        Enabled = false;
    return true;
}

TZoomViews TZoom::Panned(const TZoomViews& start, const TZoomPoint& to) const {
    return {Shifted(start.Primary, m_anchor.X - to.X, m_anchor.Y - to.Y),
            Shifted(start.Secondary, m_anchor.X2 - to.X2, m_anchor.Y2 - to.Y2)};
}

void TZoom::FinishPan(TZoomViews& current, const TZoomPoint& release) {
    current = Panned(current, release);
}

std::vector<TZoomViews> TZoom::AnimatedSteps(const TZoomViews& current, const TZoomPoint& click) const {
    const double direction = Style == zsIn ? 1 : -1;
    const TShares primaryShares = SharesAround(current.Primary, click.X, click.Y, direction);
    const TShares secondaryShares = SharesAround(current.Secondary, click.X2, click.Y2, direction);
    std::vector<TZoomViews> steps;
    TZoomViews views = current;
    for (int step = 0; step < Steps; ++step) {
        ApplyStep(views.Primary, primaryShares, ChangePerStep);
        ApplyStep(views.Secondary, secondaryShares, ChangePerStep);
        steps.push_back(views);
    }
    return steps;
}

TZoomViews TZoom::ZoomAround(const TZoomViews& current, const TZoomPoint& centre, double factor) {
    Push(current);
    return {ScaledAround(current.Primary, centre.X, centre.Y, factor),
            ScaledAround(current.Secondary, centre.X2, centre.Y2, factor)};
}

std::optional<TZoomViews> TZoom::FullView() const {
    if (m_stack.empty())
        return std::nullopt;
    // The oldest entry holds the views from before the first zoom of the series: the unzoomed view.
    return m_stack.front();
}

std::optional<TZoomViews> TZoom::ZoomOut() {
    const std::optional<TZoomViews> unzoomed = FullView();
    m_stack.clear();
    return unzoomed;
}

TZoom::TPreviousResult TZoom::ZoomPrevious(TZoomViews& current) {
    if (m_stack.empty())
        return {false, false};
    current = m_stack.back();
    m_stack.pop_back();
    return {true, !m_stack.empty()};
}

void TZoom::Push(const TZoomViews& views) {
    m_stack.push_back(views);
}

} // namespace mirla
