#pragma once

#include "cli/CommandLine.h"
#include "engine/EvalContext.h"
#include "numbers/ComplexEvaluator.h"

#include <string>
#include <string_view>

namespace mirla {

/// What one input line produced: the line to print and whether it was a result.
struct TLineResult {
    bool Ok = false;
    std::string Output;
};

/// Puts the notation, width, base, bit grouping and angle unit of `options` into the engine.
void ApplySettings(EvalContext& ctx, const TCliOptions& options);

/// Loads the user-function and user-variable files named in `options`. A refused line is
/// reported on standard error, after the name of the `program`, and loading goes on; false
/// (with a message on standard error) when a file cannot be read.
bool LoadUserFiles(EvalContext& ctx, const TCliOptions& options, std::string_view program);

/// Removes the blanks of `typed` (engine characters), checks its parentheses and evaluates
/// it from a clear error state with no argument list open. On error the position and length
/// in ctx are moved onto `typed`.
Extended PrepareAndEvaluate(EvalContext& ctx, const std::string& typed);

/// "error: ", the message of the error held by ctx, ": position " and its position.
std::string ErrorLine(const EvalContext& ctx);

/// One evaluation cycle of the input line: a UTF-8 line in, the result text as the result box
/// shows it (or the error line) out. A result becomes the previous value "?".
TLineResult CalculateLine(EvalContext& ctx, int width, std::string_view utf8Line);

/// The same cycle in complex mode: the line goes to `evaluator` and its result is shown in the
/// evaluator's form; a result becomes the previous complex value "?".
TLineResult CalculateComplexLine(EvalContext& ctx, TComplexEvaluator& evaluator, int width,
                                 std::string_view utf8Line);

} // namespace mirla
