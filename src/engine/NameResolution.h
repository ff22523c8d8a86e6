#pragma once

#include "engine/EvalContext.h"

#include <string_view>

namespace mirla {

/// Reads the name whose first letter is current and resolves it: a built-in code, the loop
/// (99), a user-function call whose value is ready (999) or a user variable (1000 and above).
/// `nameStart` receives the read position where the name began.
int ReadName(EvalContext& ctx, int& nameStart);

/// Calls the user function whose name equals `name` (terminator "(" included), read from
/// position nameStart; false when no function has that name. Errors are raised in ctx.
bool CallUserFunction(EvalContext& ctx, std::string_view name, int nameStart);

/// Reads one argument text of a call up to its "," or ")" at depth 0 (consumed). False at the
/// end of the text or for an empty argument.
bool SplitArgument(EvalContext& ctx, std::string& argument);

} // namespace mirla
