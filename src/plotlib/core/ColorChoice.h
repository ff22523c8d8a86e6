#pragma once

#include "plotlib/core/PlotTypes.h"

#include <array>
#include <vector>

namespace mirla {

/// The 16 colours handed to new layers, in order.
extern const std::array<TColor, 16> DefaultColors;

/// Each channel reduced by `amount`, floored at 0.
TColor Darkened(TColor color, int amount);
/// Each channel raised by `amount`, capped at 255.
TColor Lightened(TColor color, int amount);

/// FreeColor: first table colour no layer uses and != plotColor; else first darkened-by-32 unused and !=
/// plotColor; else first lightened-by-32 unused and != plotColor; else -1.
TColor ChooseFreeColor(const std::vector<TColor>& layerColors, TColor plotColor);

/// Highest marker style number `ChooseFreeMarker` hands out.
inline constexpr int FreeMarkerLast = 50;
/// FreeMarker: smallest marker style 1..50 not in `usedStyles`; 1 when all are used.
int ChooseFreeMarker(const std::vector<int>& usedStyles);

/// Whether point `index` of `count` gets a marker with marker step `step` (below 1 treated as 1):
/// 3*step >= count, or index % step == 0, or the last point.
bool HasMarkerAt(int index, int count, int step);

/// a*b/c computed in 64 bits and rounded to the nearest integer (halves away from zero); -1 when c is 0 or
/// the result does not fit an int.
int MulDiv(int a, int b, int c);

/// One band of the background gradient: pixel stretch [From, To) measured from the left (or top) edge, and
/// its colour.
struct TGradientBand {
    int From;     ///< first pixel
    int To;       ///< one past the last pixel
    TColor Color; ///< fill colour
    bool operator==(const TGradientBand&) const = default;
};

/// The bands for a gradient of `size` pixels (N = min(size,256) bands, none when N < 2): band i (1..N-1)
/// covers MulDiv(i,size,N)..MulDiv(i+1,size,N) measured from the right/bottom edge, colour
/// End + MulDiv(i, Start-End, N-1) per channel; band 0, at the right/bottom edge, is left to the
/// background. Returned measured from the left/top edge, ordered from that edge on.
std::vector<TGradientBand> GradientBands(int size, TColor start, TColor end);

} // namespace mirla
