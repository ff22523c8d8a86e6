#pragma once

#include "plotlib/core/PlotTypes.h"

#include <array>

namespace mirla {

/// Number of palettes a contour map can use.
inline constexpr int PaletteCount = 8;
/// Palette index of `MissingValue`.
inline constexpr int MissingIndex = -2;
/// Palette index of -`MissingValue`.
inline constexpr int NegativeMissingIndex = -3;
/// Palette index of a value outside the scale (drawn white).
inline constexpr int OutsideIndex = -1;

/// The colour of palette index `index` (0..255, or one of the special indices) in palette
/// `palette` (0 Rainbow, 1 Black, 2 Red, 3 Blue, 4 Yellow, 5 Green, 6 Aqua, 7 Fuchsia).
TColor PaletteColor(int palette, int index);

/// The value-to-palette scale of a contour map: eight breakpoints from the top value (index 254)
/// down to the bottom value (index 9), value(k) = top - (k - 1)(top - bottom)/7 and
/// index(k) = 289 - 35k for k = 1..8.
class TColorScale {
public:
    /// A scale from `bottom` to `top`; `fixedMinimum` makes values below the bottom fall outside
    /// the scale instead of taking the bottom colour.
    TColorScale(double bottom, double top, bool fixedMinimum);
    double Bottom() const { return m_values[7]; }
    double Top() const { return m_values[0]; }
    /// The palette index of a value: the special indices for missing values, `OutsideIndex` above
    /// the top (and below the bottom with a fixed minimum), else interpolated between breakpoints.
    int Index(double value) const;

private:
    std::array<double, 8> m_values{};
    bool m_fixedMinimum;
};

} // namespace mirla
