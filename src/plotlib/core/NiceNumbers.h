#pragma once

namespace mirla {

/// Loose axis labelling: round limits and a round step that cover a range with about a given number of ticks.
class TNiceNumbers {
public:
    /// A calculator for `tickCount` ticks over the range between a and b (in either order).
    TNiceNumbers(int tickCount, double a, double b);
    /// The nice number 1, 2, 5 or 10 times a power of ten near x (rounded to the nearest when `round`,
    /// else the next at or above it); MissingValue when x <= 0 or not finite.
    static double NiceNum(double x, bool round);
    /// Computes graph limits and step; leaves them unchanged when the range is empty or cannot be computed.
    void Compute();
    /// The lower graph limit (0 before `Compute`).
    double GraphMin() const { return m_graphMin; }
    /// The upper graph limit (1 before `Compute`).
    double GraphMax() const { return m_graphMax; }
    /// The step between labels (0.1 before `Compute`).
    double Step() const { return m_step; }

private:
    int m_tickCount;
    double m_min;
    double m_max;
    double m_graphMin = 0;
    double m_graphMax = 1;
    double m_step = 0.1;
};

} // namespace mirla
