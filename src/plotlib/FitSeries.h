#pragma once

#include "plotlib/Series.h"

#include <array>

namespace mirla {

/// Highest degree of a fitted polynomial.
inline constexpr int MaxFitDegree = 40;

/// A least-squares polynomial fitted to a source series, drawn as a line through points evenly
/// spaced over the source's X range.
class TFitSeries : public TSeries {
public:
    /// Fits a polynomial of degree `degree` (0 .. `MaxFitDegree`) to `source` and samples it at
    /// `pointCount` (>= 2) points; named after the source with "Fit" and the degree, drawn as a line
    /// in the source's colour darkened by 64. It has no points when the fit has no single solution
    /// (fewer distinct X values than degree + 1). The host adds it to the graph.
    TFitSeries(TGraph& graph, const TSeries& source, int pointCount, int degree);
    /// An empty fit of degree 0, for `LoadFromText` to fill.
    explicit TFitSeries(TGraph& graph);

    std::string TextClassName() const override { return "TFitSeries"; }
    /// Writes the series, then the degree and c0 .. c40 on one line.
    void SaveToText(std::string& out) const override;
    void LoadFromText(const TLayerHeader& header, TLayerTextReader& reader) override;

    /// The degree of the polynomial.
    int Degree() const { return m_degree; }
    /// The coefficients c0 .. c40 of X^0 .. X^40; those above the degree, and all of them when the
    /// fit has no solution, are 0.
    const std::array<double, MaxFitDegree + 1>& Coefficients() const { return m_coefficients; }

private:
    int m_degree;
    std::array<double, MaxFitDegree + 1> m_coefficients{};
};

} // namespace mirla
