#include "plotlib/FitSeries.h"

#include "plotlib/core/ColorChoice.h"
#include "plotlib/core/DataText.h"
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

TFitSeries::TFitSeries(TGraph& graph) : TSeries(graph, std::string(), ssLine, clBlack), m_degree(0) {}

void TFitSeries::SaveToText(std::string& out) const {
    TSeries::SaveToText(out);
    out += std::to_string(m_degree);
    for (const double c : m_coefficients)
        out += ' ' + ExactNumberText(c);
    out += '\n';
}

void TFitSeries::LoadFromText(const TLayerHeader& header, TLayerTextReader& reader) {
    TSeries::LoadFromText(header, reader);
    const std::vector<std::string> fields = reader.Fields(m_coefficients.size() + 1);
    const long long degree = reader.IntegerOf(fields[0]);
    if (degree < 0 || degree > MaxFitDegree)
        reader.Fail("degree " + std::to_string(degree) + " is out of range");
    m_degree = static_cast<int>(degree);
    for (std::size_t k = 0; k < m_coefficients.size(); ++k)
        m_coefficients[k] = reader.NumberOf(fields[k + 1]);
}

} // namespace mirla
