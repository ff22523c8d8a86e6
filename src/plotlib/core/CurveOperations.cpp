#include "plotlib/core/CurveOperations.h"

#include "plotlib/core/PlotTypes.h"

#include <cmath>

namespace mirla {

std::vector<TCurvePoint> Derivative(std::span<const double> x, std::span<const double> y) {
    std::vector<TCurvePoint> points;
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
        const double slope = (y[i + 1] - y[i]) / (x[i + 1] - x[i]);
        if (std::isfinite(slope))
            points.push_back({(x[i] + x[i + 1]) * 0.5, slope});
    }
    return points;
}

const char* OperationSign(TCurveOperation operation) {
    switch (operation) {
    case TCurveOperation::Add:
        return "+";
    case TCurveOperation::Subtract:
        return "-";
    case TCurveOperation::Multiply:
        return "x";
    case TCurveOperation::Divide:
        return "/";
    }
    return "";
}

namespace {

double Apply(TCurveOperation operation, double a, double b) {
    switch (operation) {
    case TCurveOperation::Add:
        return a + b;
    case TCurveOperation::Subtract:
        return a - b;
    case TCurveOperation::Multiply:
        return a * b;
    case TCurveOperation::Divide:
        return a / b;
    }
    return a;
}

} // namespace

std::optional<std::vector<TCurvePoint>> Combine(std::span<const double> x, std::span<const double> y,
                                                const std::function<double(double)>& valueOfB,
                                                TCurveOperation operation) {
    std::vector<TCurvePoint> points;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double b = valueOfB(x[i]);
        if (b == MissingValue)
            continue;
        const double result = Apply(operation, y[i], b);
        if (!std::isfinite(result))
            return std::nullopt;
        points.push_back({x[i], result});
    }
    return points;
}

} // namespace mirla
