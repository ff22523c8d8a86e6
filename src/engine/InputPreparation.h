#pragma once

#include "engine/EvalContext.h"

#include <string>
#include <string_view>

namespace mirla {

/// Copies a typed line into ctx.Input without blanks and checks its parentheses: too many ")"
/// is error 16, a missing ")" error 18, a ")" before its "(" a syntax error.
void PrepareInput(EvalContext& ctx, std::string_view typed);

/// Moves the error position and length of ctx from the blank-free text to the text as typed.
void MapErrorPosition(EvalContext& ctx, std::string_view typed, std::string_view blankFree);

} // namespace mirla
