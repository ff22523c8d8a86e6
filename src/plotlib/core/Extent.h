#pragma once

#include <algorithm>

namespace mirla {

/// The data range of a layer: XMin..XMax and YMin..YMax. An extent with no data has its minima at
/// +1e38 and its maxima at -1e38, so that including any point or merging any extent replaces them.
struct TExtent {
    double XMin = 1e38;
    double YMin = 1e38;
    double XMax = -1e38;
    double YMax = -1e38;

    /// True while no point has been included.
    bool Empty() const { return XMin > XMax || YMin > YMax; }
    /// Widens the extent to hold the point (x, y).
    void Include(double x, double y) {
        XMin = std::min(XMin, x);
        XMax = std::max(XMax, x);
        YMin = std::min(YMin, y);
        YMax = std::max(YMax, y);
    }
    /// Widens the extent to hold another one (an empty one changes nothing).
    void Merge(const TExtent& other) {
        XMin = std::min(XMin, other.XMin);
        XMax = std::max(XMax, other.XMax);
        YMin = std::min(YMin, other.YMin);
        YMax = std::max(YMax, other.YMax);
    }
};

} // namespace mirla
