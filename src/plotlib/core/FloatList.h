#pragma once

#include <vector>

namespace mirla {

/// A growing list of doubles that keeps the smallest and largest value added.
class TFloatList {
public:
    /// Appends x, widening the running minimum and maximum (the first value sets both); returns its index.
    int Add(double x);
    /// The value at index i; throws std::out_of_range for an index outside 0..Count()-1.
    double Get(int i) const;
    /// Replaces the value at index i (minimum and maximum stay as they are); throws std::out_of_range for an
    /// index outside 0..Count()-1.
    void Put(int i, double x);
    /// Removes every value; minimum and maximum return to 0 until the next Add.
    void Clear();
    /// The number of values.
    int Count() const { return static_cast<int>(m_values.size()); }
    /// The smallest value added (0 while the list is empty).
    double Min() const { return m_min; }
    /// The largest value added (0 while the list is empty).
    double Max() const { return m_max; }

private:
    std::vector<double> m_values;
    double m_min = 0;
    double m_max = 0;
};

} // namespace mirla
