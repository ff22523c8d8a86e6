#include "engine/NameResolution.h"

#include "engine/CharClasses.h"
#include "engine/Engine.h"
#include "engine/Grammar.h"
#include "engine/NameTable.h"

#include <algorithm>
#include <string_view>

namespace mirla {

namespace {

constexpr int NameBufferSize = 21;
constexpr std::string_view LoopName = "forJtoKstepMdo(";

bool IsNameTerminator(char c) {
    return HasClass(c, ClassNameEnd);
}

/// Codes of the one-letter built-in names (the variables and "e"), -1 for other characters.
constexpr std::array<int, 256> SingleLetterCodes = [] {
    std::array<int, 256> codes{};
    codes.fill(-1);
    for (std::size_t k = 0; k < VariableLetters.size(); ++k) {
        codes[static_cast<unsigned char>(VariableLetters[k])] = FnFirstUpperVariable + static_cast<int>(k);
        codes[static_cast<unsigned char>(VariableLetters[k] - 'A' + 'a')] =
            FnFirstLowerVariable + static_cast<int>(k);
    }
    codes['e'] = FnE;
    return codes;
}();

/// The name read so far: at most 21 characters are kept, the rest is only skipped.
class NameBuffer {
public:
    void Append(char c) {
        if (m_length < NameBufferSize)
            m_chars[static_cast<std::size_t>(m_length++)] = c;
    }
    std::string_view Text() const { return {m_chars.data(), static_cast<std::size_t>(m_length)}; }
    char Last() const { return m_length > 0 ? m_chars[static_cast<std::size_t>(m_length - 1)] : '\0'; }

private:
    std::array<char, NameBufferSize> m_chars{};
    int m_length = 0;
};

/// A syntax error covering the name that began at nameStart.
void RaiseNameError(EvalContext& ctx, int nameStart) {
    RaiseEvalErrorSpan(ctx, ErrSyntax, nameStart, std::max(LastReadPosition(ctx), nameStart));
}

/// name=expression inside an expression: stores a user variable and returns its code.
int AssignUserVariable(EvalContext& ctx, std::string_view buffer, int nameStart) {
    NextChar(ctx);
    const Extended value = ExprLevel(ctx);
    if (ctx.ErrorFlag)
        return NotFoundCode;
    const int code = DefineUserVariable(ctx, buffer.substr(0, buffer.size() - 1), true, value);
    if (ctx.ErrorFlag)
        return NotFoundCode;
    if (ctx.Current != ')') {
        RaiseEvalErrorSpan(ctx, ErrSyntax, nameStart, std::max(ctx.ReadPos - 1, nameStart));
        return NotFoundCode;
    }
    return code;
}

/// Evaluates the prepared body of `function` in place of the input text; the cursor comes back
/// afterwards. Returns false when the body failed.
bool EvaluateBody(EvalContext& ctx, const TUserFunc& function, Extended& value) {
    CursorGuard guard(ctx);
    StartSeparateText(ctx, function.WorkingBody());
    value = ExprLevel(ctx);
    return !ctx.ErrorFlag;
}

/// Longest body a user-function call may grow to by its arguments (about a megabyte).
constexpr std::size_t MaxSubstitutedBody = 1 << 20;
/// User-function calls between two checks for a break.
constexpr int UserCallsPerPump = 256;

/// Length of `body` once `argument` replaces the placeholder of parameter `k`.
std::size_t SubstitutedLength(std::string_view body, int k, std::string_view argument) {
    const auto uses = static_cast<std::size_t>(std::ranges::count(body, static_cast<char>(k)));
    return body.size() - uses + uses * argument.size();
}

/// Lets window events through every so many calls and asks about a requested break; true when
/// the calculation stops ("User break").
bool CallInterrupted(EvalContext& ctx) {
    if (++ctx.UserCallsSincePump < UserCallsPerPump)
        return false;
    ctx.UserCallsSincePump = 0;
    PumpMessages(ctx);
    return CheckBreak(ctx);
}

TUserFunc* FindUserFunction(EvalContext& ctx, std::string_view name) {
    for (int i = 0; i < ctx.UserFunctions.Count(); ++i) {
        TUserFunc& function = ctx.UserFunctions.Function(i);
        if (!function.Name().empty() && function.Name() == name)
            return &function;
    }
    return nullptr;
}

} // namespace

bool SplitArgument(EvalContext& ctx, std::string& argument) {
    argument.clear();
    int depth = 1;
    for (;;) {
        const char c = NextChar(ctx);
        if (c == EndMarker)
            return false;
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (c == ',' && depth == 1)
            depth = 0;
        if (depth == 0)
            break;
        argument += c;
    }
    return !argument.empty();
}

bool CallUserFunction(EvalContext& ctx, std::string_view name, int nameStart) {
    TUserFunc* function = FindUserFunction(ctx, name);
    if (!function)
        return false;
    if (CallInterrupted(ctx))
        return true;
    function->PrepareBody();
    std::string argument;
    for (int k = 1; k <= function->ParameterCount(); ++k) {
        const int argumentStart = ctx.ReadPos + 1;
        if (!SplitArgument(ctx, argument)) {
            RaiseEvalErrorSpan(ctx, ErrMissingArgument, argumentStart, ctx.ReadPos);
            return true;
        }
        // Arguments are text: calls nested in arguments could otherwise grow a body without end.
        if (SubstitutedLength(function->WorkingBody(), k, argument) > MaxSubstitutedBody) {
            RaiseEvalErrorSpan(ctx, ErrStackOverflow, nameStart, ctx.ReadPos);
            return true;
        }
        function->SubstituteArgument(k, argument);
    }
    Extended value = 0;
    if (!EvaluateBody(ctx, *function, value)) {
        // The innermost error is quoted in the message (a nesting overflow and a user break keep
        // their own codes); the span covers the whole call.
        const int code = ctx.ErrorCode;
        const bool keepsItsCode = code == ErrStackOverflow || code == ErrUserBreak;
        if (code != ErrUserFunction && !keepsItsCode) {
            ctx.InnerErrorCode = code;
            ctx.InnerErrorPos = ctx.ErrorPos - 1;
        }
        RaiseEvalErrorSpan(ctx, keepsItsCode ? code : ErrUserFunction, nameStart, ctx.ReadPos);
        return true;
    }
    ctx.UserFunctions.PushValue(value);
    NextChar(ctx);
    return true;
}

int ReadName(EvalContext& ctx, int& nameStart) {
    nameStart = ctx.ReadPos;
    NameBuffer buffer;
    buffer.Append(ctx.Current);
    const int singleLetter = SingleLetterCodes[static_cast<unsigned char>(ctx.Current)];
    char c = NextChar(ctx);
    // A variable letter or "e" standing alone resolves without a table search.
    if (singleLetter >= 0 && IsNameTerminator(c))
        return singleLetter;
    buffer.Append(c);
    while (!IsNameTerminator(c)) {
        c = NextChar(ctx);
        buffer.Append(c);
    }
    const std::string_view text = buffer.Text();
    if (text == LoopName)
        return LoopCode;
    const int builtin = LookUpBuiltinName(text);
    if (builtin != NotFoundCode)
        return builtin;
    if (CallUserFunction(ctx, text, nameStart))
        return ctx.ErrorFlag ? NotFoundCode : UserFunctionCode;
    if (buffer.Last() == '=')
        return AssignUserVariable(ctx, text, nameStart);
    if (const UserVariable* variable = ctx.UserVariables.FindByName(text.substr(0, text.size() - 1)))
        return variable->Code;
    RaiseNameError(ctx, nameStart);
    return NotFoundCode;
}

} // namespace mirla
