#include "plotlib/core/NiceNumbers.h"

#include "plotlib/core/PlotTypes.h"

#include <algorithm>
#include <cmath>

namespace mirla {

TNiceNumbers::TNiceNumbers(int tickCount, double a, double b)
    : m_tickCount(tickCount), m_min(std::min(a, b)), m_max(std::max(a, b)) {}

double TNiceNumbers::NiceNum(double x, bool round) {
    if (!(x > 0) || !std::isfinite(x))
        return MissingValue;
    const double exponent = std::floor(std::log10(x));
    const double power = std::pow(10.0, exponent);
    const double fraction = x / power;
    double niceFraction;
    if (round)
        niceFraction = fraction < 1.50001 ? 1 : fraction < 3.0001 ? 2 : fraction < 7.0001 ? 5 : 10;
    else
        niceFraction = fraction < 1.0001 ? 1 : fraction < 2.0001 ? 2 : fraction <= 5.0001 ? 5 : 10;
    const double result = niceFraction * power;
    return std::isfinite(result) && result > 0 ? result : MissingValue;
}

void TNiceNumbers::Compute() {
    if (m_min == m_max)
        return;
    const double range = NiceNum(m_max - m_min, false);
    if (range == MissingValue)
        return;
    const double step = NiceNum(range / (m_tickCount - 1), true);
    if (step == MissingValue)
        return;
    m_step = step;
    m_graphMin = std::floor(m_min / step) * step;
    m_graphMax = std::ceil(m_max / step) * step;
}

} // namespace mirla
