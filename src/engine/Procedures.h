#pragma once

#include "engine/EvalContext.h"

namespace mirla {

// The procedures that read their own arguments from the input text. "integral(", "solve(",
// "min(" and "max(" are entered with the character after their "(" current and leave the
// closing ")" current; the list procedures are entered with their "(" current and leave the
// list's closing ")" current. The first four count their evaluations of f(X) in
// ctx.TrialEvaluations.

/// integral(lower, upper, f(X)).
Extended Integral(EvalContext& ctx);
/// solve(lower, upper, f(X)): a root of f in [lower, upper].
Extended Solve(EvalContext& ctx);
/// min(lower, upper, f(X)) or max(...): the absolute extremum; its position is kept in ctx.
Extended SearchExtremum(EvalContext& ctx, bool maximum);

/// mean(x1, ..., xN), std(...), sum(...), poly(x, a0, ..., aN), stat(...).
Extended ListMean(EvalContext& ctx);
Extended ListStd(EvalContext& ctx);
Extended ListSum(EvalContext& ctx);
Extended ListPoly(EvalContext& ctx);
Extended ListStat(EvalContext& ctx);

} // namespace mirla
