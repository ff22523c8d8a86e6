#include "app/ChartSampling.h"

#include "engine/Engine.h"
#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "numbers/ComplexEvaluator.h"
#include "numbers/RealFormat.h"
#include "plotlib/core/VtChartData.h"

#include <cmath>
#include <numbers>

namespace mirla {

namespace {

constexpr int VariableX = 1;
constexpr int VariableY = 2;
constexpr int LabelWidth = 7;

/// Holds the engine in radian mode for as long as it lives.
class TRadianMode {
public:
    explicit TRadianMode(EvalContext& engine) : m_engine(engine), m_mode(engine.AngleMode) {
        engine.AngleMode = 0;
    }
    ~TRadianMode() { m_engine.AngleMode = m_mode; }
    TRadianMode(const TRadianMode&) = delete;
    TRadianMode& operator=(const TRadianMode&) = delete;

private:
    EvalContext& m_engine;
    decltype(EvalContext::AngleMode) m_mode;
};

} // namespace

bool SamplePoint(EvalContext& engine, TComplexEvaluator* complex, double& value) {
    PumpMessages(engine);
    // Stop is honoured at every point, not only inside the engine's own long loops.
    if (CheckBreak(engine))
        return false;
    Extended result = 0;
    if (complex) {
        bool failed = false;
        int errorPos = 0;
        int errorLength = 0;
        ComplexValue z;
        // The evaluator hands the real parts of "comp(" to the engine, which reads them from its
        // input text; given that very text, it puts the line back there for the next point.
        complex->EvaluateComplex(engine.Input, failed, errorPos, z, errorLength);
        result = z.X;
    } else {
        result = Evaluate(engine);
    }
    if (engine.ErrorFlag)
        return false;
    value = static_cast<double>(result);
    // Charts keep doubles: a value beyond their range would turn into infinity there.
    if (!std::isfinite(value)) {
        RaiseEvalError(engine, ErrOverflow);
        return false;
    }
    return true;
}

bool SampleSurface(EvalContext& engine, TComplexEvaluator* complex, const TSurfaceGrid& grid,
                   TVtChartData& chart, const TSamplingProgress& progress) {
    if (engine.ErrorFlag) // the parentheses did not match
        return false;
    chart.SetRowCount(grid.Nx);
    chart.SetColumnCount(grid.Ny);
    const double points = static_cast<double>(grid.Nx + 1) * (grid.Ny + 1);
    for (int row = 1; row <= grid.Nx; ++row) {
        const Extended x = grid.A + (row - 1) * grid.Hx;
        chart.SetRow(row);
        chart.SetRowLabel(RealToText(engine, LabelWidth, x));
        for (int column = 1; column <= grid.Ny; ++column) {
            const Extended y = grid.P + (column - 1) * grid.Hy;
            chart.SetColumn(column);
            if (row == 1)
                chart.SetColumnLabel(RealToText(engine, LabelWidth, y));
            // Set before each point: the expression may assign X or Y itself.
            engine.Variable(VariableX).Value = x;
            engine.Variable(VariableY).Value = y;
            double value = 0;
            if (!SamplePoint(engine, complex, value))
                return false;
            chart.SetCell(row, column, value);
            progress(static_cast<int>(std::lround(100.0 * (column + (row - 1) * (grid.Ny + 1)) / points)));
        }
    }
    return true;
}

bool SamplePolar(EvalContext& engine, Extended a, Extended h, int n, std::vector<double>& angles,
                 std::vector<double>& radii, const TSamplingProgress& progress) {
    if (engine.ErrorFlag)
        return false;
    // X holds radians, so the trigonometric functions take radians too while the curve is sampled.
    const TRadianMode radians(engine);
    const Extended radiansPerDegree = std::numbers::pi_v<Extended> / 180;
    for (int k = 1; k <= n; ++k) {
        const Extended t = a + (k - 1) * h;
        engine.Variable(VariableX).Value = t * radiansPerDegree;
        double r = 0;
        if (!SamplePoint(engine, nullptr, r))
            return false;
        angles.push_back(static_cast<double>(t));
        radii.push_back(r);
        progress(static_cast<int>(std::lround(100.0 * k / (n + 1))));
    }
    return true;
}

} // namespace mirla
