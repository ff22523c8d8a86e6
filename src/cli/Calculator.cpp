#include "cli/Calculator.h"

#include "engine/Engine.h"
#include "engine/EngineText.h"
#include "engine/InputPreparation.h"
#include "numbers/ComplexFormat.h"
#include "numbers/RealFormat.h"
#include "userdefs/UserFunctions.h"
#include "userdefs/UserVariables.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace mirla {

namespace {

/// A file that opens for reading; a folder opens too but cannot be read.
bool IsReadableFile(const std::string& fileName) {
    std::error_code error;
    return !std::filesystem::is_directory(fileName, error) && std::ifstream(fileName).good();
}

/// Loads one file through `load`; false when the file cannot be read at all.
template <typename Load> bool LoadFile(const std::string& fileName, std::string_view program, Load load) {
    if (fileName.empty()) {
        return true;
    }
    if (!IsReadableFile(fileName)) {
        std::cerr << program << ": Can't read file " << fileName << '\n';
        return false;
    }
    std::string message;
    if (!load(fileName, message)) {
        std::cerr << program << ": " << message << '\n';
    }
    return true;
}

/// Removes the blanks of `typed` and checks its parentheses, from a clear error state with no
/// argument list open.
void Prepare(EvalContext& ctx, const std::string& typed) {
    ctx.ClearError();
    ctx.ArgDepth = 0;
    PrepareInput(ctx, typed);
}

/// A new input line starts without a break request and without used variables.
void StartLine(EvalContext& ctx) {
    ctx.BreakRequested = false;
    ctx.UsedVariables.Clear();
}

/// The error line of the error held by ctx, its position moved from `blankFree` onto `typed`.
TLineResult Failure(EvalContext& ctx, const std::string& typed, const std::string& blankFree) {
    MapErrorPosition(ctx, typed, blankFree);
    return {false, ErrorLine(ctx)};
}

} // namespace

void ApplySettings(EvalContext& ctx, const TCliOptions& options) {
    ctx.NotationMode = options.Notation;
    ctx.DisplayWidth = options.Width;
    ctx.SetBase(options.Base);
    ctx.BitGroup = options.Bits;
    ctx.AngleMode = options.AngleMode;
    ctx.IntegralAgreement = static_cast<std::uint8_t>(options.Precision);
}

bool LoadUserFiles(EvalContext& ctx, const TCliOptions& options, std::string_view program) {
    return LoadFile(options.FunctionsFile, program,
                    [&](const std::string& name, std::string& message) {
                        return ctx.UserFunctions.LoadFunctions(name, message);
                    }) &&
           LoadFile(options.VariablesFile, program, [&](const std::string& name, std::string& message) {
               return LoadUserVariables(ctx, name, message);
           });
}

Extended PrepareAndEvaluate(EvalContext& ctx, const std::string& typed) {
    Prepare(ctx, typed);
    Extended value = 0;
    if (!ctx.ErrorFlag) {
        value = Evaluate(ctx);
    }
    if (ctx.ErrorFlag) {
        MapErrorPosition(ctx, typed, ctx.Input);
    }
    return value;
}

std::string ErrorLine(const EvalContext& ctx) {
    return "error: " + ctx.CurrentErrorText() + ": position " + std::to_string(ctx.ErrorPos);
}

TLineResult CalculateLine(EvalContext& ctx, int width, std::string_view utf8Line) {
    const std::string typed = EngineTextFromUtf8(utf8Line);
    StartLine(ctx);
    const Extended value = PrepareAndEvaluate(ctx, typed);
    if (ctx.ErrorFlag) {
        return {false, ErrorLine(ctx)};
    }
    std::string text = RealToText(ctx, width, value);
    if (ctx.ErrorFlag) {
        // A formatting error stands one place past the blank-free text; map it like the rest.
        return Failure(ctx, typed, ctx.Input);
    }
    ctx.PrevValue = value;
    return {true, std::move(text)};
}

TLineResult CalculateComplexLine(EvalContext& ctx, TComplexEvaluator& evaluator, int width,
                                 std::string_view utf8Line) {
    const std::string typed = EngineTextFromUtf8(utf8Line);
    StartLine(ctx);
    Prepare(ctx, typed);
    // The "comp(" arguments pass through the engine's input text; the evaluator hands the
    // prepared line back in its own copy, which error positions refer to.
    std::string prepared = ctx.Input;
    if (ctx.ErrorFlag) {
        return Failure(ctx, typed, prepared);
    }
    bool failed = false;
    int errorPos = 0;
    int errorLength = 0;
    ComplexValue value = CZero;
    evaluator.EvaluateComplex(prepared, failed, errorPos, value, errorLength);
    if (failed) {
        return Failure(ctx, typed, prepared);
    }
    evaluator.SetLastComplex(value);
    return {true, ComplexToText(ctx, value, width, evaluator.Form())};
}

} // namespace mirla
