#include "app/ChartSampling.h"

#include "engine/Engine.h"
#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "numbers/ComplexEvaluator.h"
#include "numbers/RealFormat.h"
#include "plotlib/core/VtChartData.h"

#include <chrono>
#include <cmath>
#include <numbers>

namespace mirla {

namespace {

constexpr int VariableX = 1;
constexpr int VariableY = 2;
constexpr int LabelWidth = 7;

/// Shows the progress and lets window messages through every few milliseconds rather than at
/// every point, where a progress bar drawn anew and the messages would cost more than a short
/// expression. The first point passes them at once; a requested break is honoured at every point.
class TMessagePump {
public:
    TMessagePump(EvalContext& engine, const TSamplingProgress& progress)
        : m_engine(engine), m_progress(progress) {}
    /// False when the user broke off (the engine then holds "User break").
    bool Pass(int percent) {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last >= PumpInterval) {
            m_progress(percent);
            PumpMessages(m_engine);
            m_last = now;
        }
        return !CheckBreak(m_engine);
    }

private:
    static constexpr std::chrono::milliseconds PumpInterval{15};
    EvalContext& m_engine;
    const TSamplingProgress& m_progress;
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now() - PumpInterval;
};

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

bool EvaluatePoint(EvalContext& engine, TComplexEvaluator* complex, double& value) {
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
    // Plots keep doubles: a value beyond their range would turn into infinity there.
    if (!std::isfinite(value)) {
        RaiseEvalError(engine, ErrOverflow);
        return false;
    }
    return true;
}

bool SamplePoint(EvalContext& engine, double& value) {
    PumpMessages(engine);
    // Stop is honoured at every point, not only inside the engine's own long loops.
    return !CheckBreak(engine) && EvaluatePoint(engine, nullptr, value);
}

bool SampleSurface(EvalContext& engine, TComplexEvaluator* complex, const TSurfaceGrid& grid,
                   TVtChartData& chart, const TSamplingProgress& progress) {
    if (engine.ErrorFlag) // the parentheses did not match
        return false;
    TMessagePump pump(engine, progress);
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
            const int percent =
                static_cast<int>(std::lround(100.0 * (column + (row - 1) * (grid.Ny + 1)) / points));
            if (!pump.Pass(percent) || !EvaluatePoint(engine, complex, value))
                return false;
            chart.SetCell(row, column, value);
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
    TMessagePump pump(engine, progress);
    const Extended radiansPerDegree = std::numbers::pi_v<Extended> / 180;
    for (int k = 1; k <= n; ++k) {
        const Extended t = a + (k - 1) * h;
        engine.Variable(VariableX).Value = t * radiansPerDegree;
        double r = 0;
        if (!pump.Pass(static_cast<int>(std::lround(100.0 * k / (n + 1)))) ||
            !EvaluatePoint(engine, nullptr, r))
            return false;
        angles.push_back(static_cast<double>(t));
        radii.push_back(r);
    }
    return true;
}

} // namespace mirla
