#include "plotlib/FitSeries.h"

#include "plotlib/core/ColorChoice.h"
#include "plotlib/core/PolynomialFit.h"

#include <algorithm>
#include <string>

namespace mirla {

namespace {

/// How much darker a fitted curve is than its source.
constexpr int FitDarkening = 64;

} // namespace

TFitSeries::TFitSeries(TGraph& graph, const TSeries& source, int pointCount, int degree)
    : TSeries(graph, source.Name() + "Fit" + std::to_string(degree), ssLine,
              Darkened(source.Color(), FitDarkening)),
      m_degree(degree) {
    if (degree > MaxFitDegree)
        return;
    const std::optional<TPolynomialFit> fit = FitPolynomial(source.XValues(), source.YValues(), degree);
    if (!fit)
        return;
    std::copy(fit->Coefficients.begin(), fit->Coefficients.end(), m_coefficients.begin());
    const TExtent extent = source.GetExtent();
    for (const TCurvePoint& point : SampleFit(*fit, extent.XMin, extent.XMax, pointCount))
        AddPoint(Color(), "", point.X, point.Y);
}

} // namespace mirla
