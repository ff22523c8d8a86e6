#include "app/core/PlotSampling.h"

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
constexpr std::chrono::milliseconds GridPumpInterval{15};

/// Shows the progress and lets window messages through at most every `interval`: for grids every
/// few milliseconds rather than at every point, where a progress bar drawn anew and the messages
/// would cost more than a short expression. The first point passes them at once; a requested break
/// is honoured at every point.
class TMessagePump {
public:
    TMessagePump(EvalContext& engine, const TSampleProgress& progress,
                 std::chrono::milliseconds interval = GridPumpInterval)
        : m_engine(engine), m_progress(progress), m_interval(interval) {}
    /// False when the user broke off (the engine then holds "User break").
    bool Pass(int percent) {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last >= m_interval) {
            m_progress(percent);
            PumpMessages(m_engine);
            m_last = now;
        }
        return !CheckBreak(m_engine);
    }

private:
    EvalContext& m_engine;
    const TSampleProgress& m_progress;
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now() - m_interval;
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

int Percent(double done, double total) {
    return static_cast<int>(std::lround(100.0 * done / total));
}

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

bool SampleCurve(EvalContext& engine, const TSampleAxis& x, const TSampleProgress& progress,
                 const std::function<void(double x, double y)>& addPoint) {
    if (engine.ErrorFlag) // the parentheses did not match
        return false;
    // A curve has few points, each worth a step of the progress bar.
    TMessagePump pump(engine, progress, std::chrono::milliseconds(0));
    for (int i = 0; i < x.Count; ++i) {
        const Extended xi = x.At(i);
        engine.Variable(VariableX).Value = xi;
        double y = 0;
        if (!pump.Pass(Percent(i + 1, x.Count + 1)) || !EvaluatePoint(engine, nullptr, y))
            return false;
        addPoint(static_cast<double>(xi), y);
    }
    // X is left one step past the end, where the next point would be.
    engine.Variable(VariableX).Value = x.At(x.Count);
    return true;
}

bool SampleGrid(EvalContext& engine, TComplexEvaluator* complex, const TSampleGrid& grid,
                const TSampleProgress& progress,
                const std::function<void(int i, int j, Extended x, Extended y, double z)>& addPoint) {
    if (engine.ErrorFlag)
        return false;
    TMessagePump pump(engine, progress);
    const double points = static_cast<double>(grid.X.Count + 1) * (grid.Y.Count + 1);
    for (int i = 0; i < grid.X.Count; ++i) {
        const Extended x = grid.X.At(i);
        for (int j = 0; j < grid.Y.Count; ++j) {
            const Extended y = grid.Y.At(j);
            // Set before each point: the expression may assign X or Y itself.
            engine.Variable(VariableX).Value = x;
            engine.Variable(VariableY).Value = y;
            double z = 0;
            if (!pump.Pass(Percent(j + 1 + i * (grid.Y.Count + 1), points)) ||
                !EvaluatePoint(engine, complex, z))
                return false;
            addPoint(i, j, x, y, z);
        }
    }
    return true;
}

bool SampleGridValues(EvalContext& engine, TComplexEvaluator* complex, const TSampleGrid& grid,
                      const TSampleProgress& progress, TSampledGrid& sampled) {
    sampled.X.assign(static_cast<std::size_t>(grid.X.Count), 0.0);
    sampled.Y.assign(static_cast<std::size_t>(grid.Y.Count), 0.0);
    sampled.Z.assign(sampled.X.size() * sampled.Y.size(), 0.0);
    const std::size_t columns = sampled.Y.size();
    return SampleGrid(engine, complex, grid, progress, [&](int i, int j, Extended x, Extended y, double z) {
        const auto row = static_cast<std::size_t>(i);
        const auto column = static_cast<std::size_t>(j);
        sampled.X[row] = static_cast<double>(x);
        sampled.Y[column] = static_cast<double>(y);
        sampled.Z[row * columns + column] = z;
    });
}

bool SampleSurface(EvalContext& engine, TComplexEvaluator* complex, const TSampleGrid& grid,
                   TVtChartData& chart, const TSampleProgress& progress) {
    chart.SetRowCount(grid.X.Count);
    chart.SetColumnCount(grid.Y.Count);
    return SampleGrid(engine, complex, grid, progress, [&](int i, int j, Extended x, Extended y, double z) {
        const int row = i + 1;
        const int column = j + 1;
        if (j == 0) {
            chart.SetRow(row);
            chart.SetRowLabel(RealToText(engine, LabelWidth, x));
        }
        chart.SetColumn(column);
        if (i == 0)
            chart.SetColumnLabel(RealToText(engine, LabelWidth, y));
        chart.SetCell(row, column, z);
    });
}

bool SamplePolar(EvalContext& engine, const TSampleAxis& degrees, std::vector<double>& angles,
                 std::vector<double>& radii, const TSampleProgress& progress) {
    if (engine.ErrorFlag)
        return false;
    // X holds radians, so the trigonometric functions take radians too while the curve is sampled.
    const TRadianMode radians(engine);
    TMessagePump pump(engine, progress);
    const Extended radiansPerDegree = std::numbers::pi_v<Extended> / 180;
    for (int k = 0; k < degrees.Count; ++k) {
        const Extended t = degrees.At(k);
        engine.Variable(VariableX).Value = t * radiansPerDegree;
        double r = 0;
        if (!pump.Pass(Percent(k + 1, degrees.Count + 1)) || !EvaluatePoint(engine, nullptr, r))
            return false;
        angles.push_back(static_cast<double>(t));
        radii.push_back(r);
    }
    return true;
}

} // namespace mirla
