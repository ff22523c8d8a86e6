#include "plotlib/core/AxisMapping.h"

#include <algorithm>
#include <cmath>

namespace mirla {

TAxisMapping MapX(int left, int right, double xMin, double xMax) {
    WidenDegenerateRange(xMin, xMax);
    const double denominator = xMin - xMax;
    return {(right * xMin - left * xMax) / denominator, (left - right) / denominator};
}

TAxisMapping MapY(int top, int bottom, double yMin, double yMax) {
    WidenDegenerateRange(yMin, yMax);
    const double scale = (top - bottom) / (yMax - yMin);
    return {bottom - scale * yMin, scale};
}

double LogValue(double value, double minimumLogValue) {
    return std::log10(std::max(value, minimumLogValue));
}

void WidenDegenerateRange(double& low, double& high) {
    if (low != high)
        return;
    // 0 (and a value so small that a tenth of it vanishes) widens by one unit.
    double margin = std::abs(low) * 0.1;
    if (margin == 0)
        margin = 1;
    low -= margin;
    high += margin;
}

} // namespace mirla
