#pragma once

#include "plotlib/core/PlotTypes.h"

#include <optional>
#include <vector>

namespace mirla {

/// The current world rectangles of the primary and secondary axis pairs.
struct TZoomViews {
    TWorldRect Primary;   ///< X and Y axes
    TWorldRect Secondary; ///< X2 and Y2 axes
    bool operator==(const TZoomViews&) const = default;
};

/// A world point on both axis pairs.
struct TZoomPoint {
    double X = 0, Y = 0;   ///< on the primary axes
    double X2 = 0, Y2 = 0; ///< on the secondary axes
};

/// The zoom state machine in world units (logarithmic axes in log10 units): rubber-band zoom, animated zoom,
/// panning, wheel zoom and the stack of earlier views.
class TZoom {
public:
    bool Enabled = false;            ///< zoom mode: mouse gestures zoom instead of editing
    bool ZoomAutoStop = false;       ///< zoom mode ends after one zoom
    int Steps = 3;                   ///< redraws of one animated zoom
    double ChangePerStep = 0.033333; ///< fraction of width and height one animated step takes or adds
    TZoomStyle Style = zsIn;         ///< direction of the animated zoom
    TColor Color = 10940137;         ///< rubber band colour
    bool PanMode = false;            ///< drags shift the view instead of spanning a rubber band

    /// The number of stacked views.
    int Depth() const { return static_cast<int>(m_stack.size()); }
    /// Whether the plot shows a zoomed view (the stack is not empty).
    bool Zoomed() const { return Depth() > 0; }
    /// Mouse down: in pan mode pushes the current views; stores the anchor.
    void BeginDrag(const TZoomViews& current, const TZoomPoint& anchor);
    /// Mouse up of a rubber band: the rectangle spanning anchor and release on both pairs; accepted when
    /// width >= 1e-4 of the current X range and height >= 1e-4 of the current Y range: pushes `current`,
    /// updates `current`, returns true (Enabled := false when ZoomAutoStop). Rejected: Enabled := false,
    /// returns false, `current` unchanged. An axis running backwards (min > max) keeps its direction.
    bool FinishRubberBand(TZoomViews& current, const TZoomPoint& release);
    /// The views of the drag start `start` shifted by anchor - `to` (what a pan shows while the mouse moves).
    TZoomViews Panned(const TZoomViews& start, const TZoomPoint& to) const;
    /// Mouse up in pan mode: shifts both rectangles of `current` (the views the drag started from, `release`
    /// in their world units) by anchor - release.
    void FinishPan(TZoomViews& current, const TZoomPoint& release);
    /// Animated zoom: the views after each of the Steps steps around `click` (shares computed once, d=+1
    /// zsIn, -1 zsOut); the caller draws each. The stack is not touched.
    std::vector<TZoomViews> AnimatedSteps(const TZoomViews& current, const TZoomPoint& click) const;
    /// Zoom around a point by a factor (mouse wheel): pushes the current views and returns the new ones where
    /// `centre` keeps its place; factor < 1 zooms in.
    TZoomViews ZoomAround(const TZoomViews& current, const TZoomPoint& centre, double factor);
    /// Back to the full view (the views before the first stacked zoom or pan); clears the stack; nullopt when
    /// not zoomed.
    std::optional<TZoomViews> ZoomOut();
    /// What `ZoomPrevious` did: whether views were restored and whether stacked views remain.
    struct TPreviousResult {
        bool Restored;  ///< views were popped into `current`
        bool Remaining; ///< the stack still holds views
    };
    /// The views before the first stacked zoom (the full view); nullopt when not zoomed.
    std::optional<TZoomViews> FullView() const;
    /// Pops the last views into `current`; {false, false} and nothing changes when the stack is empty.
    TPreviousResult ZoomPrevious(TZoomViews& current);
    /// Pushes views (pan start, wheel zoom) so ZoomPrevious can step back.
    void Push(const TZoomViews& views);

private:
    std::vector<TZoomViews> m_stack;
    TZoomPoint m_anchor;
};

} // namespace mirla
