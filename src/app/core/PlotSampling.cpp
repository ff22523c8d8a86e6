#include "app/core/PlotSampling.h"

#include "engine/Engine.h"
#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "engine/InputPreparation.h"
#include "numbers/ComplexEvaluator.h"

#include <algorithm>
#include <cmath>

namespace mirla {

namespace {

constexpr int VariableX = 1;
constexpr int VariableY = 2;
constexpr int AbsPrefix = 4; ///< the characters of "abs("

/// Lets events through and tells whether the user stopped the sampling.
bool Interrupted(EvalContext& engine) {
    PumpMessages(engine);
    return CheckBreak(engine);
}

/// A sampled value kept as a double, or an overflow raised when it does not fit in one.
bool KeepsAsDouble(EvalContext& engine, Extended value) {
    if (std::isfinite(static_cast<double>(value))) {
        return true;
    }
    RaiseEvalError(engine, ErrOverflow);
    return false;
}

/// f at the engine's current X and Y: the prepared input, or |text| through the complex evaluator.
bool EvaluatePoint(EvalContext& engine, TComplexEvaluator* complex, std::string& absText, double& value) {
    Extended result = 0;
    if (complex == nullptr) {
        result = Evaluate(engine);
    } else {
        bool failed = false;
        int errorPos = 0;
        int errorLength = 0;
        ComplexValue z;
        complex->EvaluateComplex(absText, failed, errorPos, z, errorLength);
        result = z.X;
        if (failed) {
            // Positions count in the caller's text, not in the "abs(" around it.
            engine.ErrorPos =
                std::clamp(engine.ErrorPos - AbsPrefix, 1, static_cast<int>(absText.size()) - AbsPrefix);
        }
    }
    if (engine.ErrorFlag || !KeepsAsDouble(engine, result)) {
        return false;
    }
    value = static_cast<double>(result);
    return true;
}

} // namespace

Extended SamplePoint(Extended low, Extended high, int steps, int i) {
    return low + i * ((high - low) / (steps - 1));
}

bool SampleCurve(EvalContext& engine, Extended a, Extended b, int steps, const TSampleProgress& progress,
                 const std::function<void(double x, double y)>& addPoint) {
    if (engine.ErrorFlag) { // the parentheses did not match
        return false;
    }
    for (int i = 0; i < steps; ++i) {
        const Extended x = SamplePoint(a, b, steps, i);
        engine.Variable(VariableX).Value = x;
        progress(static_cast<int>(std::lround(100.0 * (i + 1) / (steps + 1))));
        // Stop is honoured at every point, not only inside the engine's own long loops.
        if (Interrupted(engine)) {
            return false;
        }
        const Extended y = Evaluate(engine);
        if (engine.ErrorFlag || !KeepsAsDouble(engine, y)) {
            return false;
        }
        addPoint(static_cast<double>(x), static_cast<double>(y));
    }
    // The variable is left one step past the end, where the next point would be.
    engine.Variable(VariableX).Value = SamplePoint(a, b, steps, steps);
    return true;
}

bool SampleGrid(EvalContext& engine, TComplexEvaluator* complex, const std::string& text,
                const TSampleAxis& x, const TSampleAxis& y, const TSampleProgress& progress,
                TSampledGrid& grid) {
    engine.ClearError();
    std::string absText = "abs(" + text + ")";
    if (complex == nullptr) {
        PrepareInput(engine, text);
        if (engine.ErrorFlag) {
            return false;
        }
    }
    grid.X.assign(static_cast<std::size_t>(x.Steps), 0.0);
    grid.Y.assign(static_cast<std::size_t>(y.Steps), 0.0);
    grid.Z.assign(grid.X.size() * grid.Y.size(), 0.0);
    const double points = static_cast<double>(y.Steps + 1) * (x.Steps + 1);
    std::size_t cell = 0;
    for (int i = 0; i < x.Steps; ++i) {
        const Extended xi = SamplePoint(x.Low, x.High, x.Steps, i);
        engine.Variable(VariableX).Value = xi;
        grid.X[static_cast<std::size_t>(i)] = static_cast<double>(xi);
        for (int j = 0; j < y.Steps; ++j, ++cell) {
            const Extended yj = SamplePoint(y.Low, y.High, y.Steps, j);
            engine.Variable(VariableY).Value = yj;
            grid.Y[static_cast<std::size_t>(j)] = static_cast<double>(yj);
            if (Interrupted(engine) || !EvaluatePoint(engine, complex, absText, grid.Z[cell])) {
                return false;
            }
            progress(static_cast<int>(std::lround(100.0 * (j + 1 + i * (y.Steps + 1)) / points)));
        }
    }
    return true;
}

} // namespace mirla
