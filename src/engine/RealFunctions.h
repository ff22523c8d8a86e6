#pragma once

#include "engine/EvalContext.h"

namespace mirla {

/// Computes built-in function `code` of the already evaluated arguments a and b (b is
/// `UndefinedValue` when left out). Returns the result, also stored in a; a domain error
/// gives 0 and raises its code.
Extended EvaluateFunction(EvalContext& ctx, int code, Extended& a, Extended b);

/// A uniform random number in [0, 1) from the engine's generator, seeded from the clock on
/// its first use in the run.
Extended UniformRandom(EvalContext& ctx);

/// The unit-conversion factor of codes 45..66.
Extended ConversionFactor(int code);

} // namespace mirla
