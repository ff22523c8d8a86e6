#include "plotlib/core/ColorScale.h"

#include <cmath>

namespace mirla {

namespace {

constexpr int BreakpointCount = 8;

constexpr int BreakpointIndex(int k) {
    return 289 - 35 * k;
}

TColor Rainbow(int a) {
    if (a < 20)
        return RgbColor(60, 60, 180 + 3 * a);
    if (a < 80)
        return RgbColor(60, 3 * a, 240);
    if (a < 140)
        return RgbColor(60, 240, 480 - 3 * a);
    if (a < 180)
        return RgbColor(5 * a - 650, 240, 60);
    if (a < 240)
        return RgbColor(255, 780 - 3 * a, 60);
    return RgbColor(1455 - 5 * a, 60, 60);
}

} // namespace

TColor PaletteColor(int palette, int index) {
    if (index == MissingIndex)
        return 8421377;
    if (index == NegativeMissingIndex)
        return 32897;
    if (index < 0 || index > 255)
        return clWhite;
    const int fade = 255 - index;
    switch (palette) {
    case 0:
        return Rainbow(index);
    case 1:
        return RgbColor(fade, fade, fade);
    case 2:
        return RgbColor(255, fade, fade);
    case 3:
        return RgbColor(fade, fade, 255);
    case 4:
        return RgbColor(255, 255, fade);
    case 5:
        return RgbColor(fade, 255, fade);
    case 6:
        return RgbColor(fade, 255, 255);
    case 7:
        return RgbColor(255, fade, 255);
    default:
        return clWhite;
    }
}

TColorScale::TColorScale(double bottom, double top, bool fixedMinimum) : m_fixedMinimum(fixedMinimum) {
    for (int k = 1; k <= BreakpointCount; ++k)
        m_values[static_cast<std::size_t>(k - 1)] = top - (k - 1) * (top - bottom) / (BreakpointCount - 1);
}

int TColorScale::Index(double value) const {
    if (value == MissingValue)
        return MissingIndex;
    if (value == -MissingValue)
        return NegativeMissingIndex;
    if (value > Top() || std::isnan(value))
        return OutsideIndex;
    if (value < Bottom()) {
        if (m_fixedMinimum)
            return OutsideIndex;
        value = Bottom();
    }
    for (int k = 2; k <= BreakpointCount; ++k) {
        const double upper = m_values[static_cast<std::size_t>(k - 2)];
        const double lower = m_values[static_cast<std::size_t>(k - 1)];
        if (lower > value)
            continue;
        // A flat scale has equal breakpoints: every value there is the top.
        const double fraction = upper != lower ? (upper - value) / (upper - lower) : 0;
        // Indices here are positive, so adding a half and truncating rounds to the nearest.
        return static_cast<int>(BreakpointIndex(k - 1) +
                                fraction * (BreakpointIndex(k) - BreakpointIndex(k - 1)) + 0.5);
    }
    return BreakpointIndex(BreakpointCount);
}

} // namespace mirla
