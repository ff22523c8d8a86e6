#include "engine/Grammar.h"

#include "engine/CharClasses.h"
#include "engine/Engine.h"
#include "engine/NameResolution.h"
#include "engine/NameTable.h"
#include "engine/Procedures.h"
#include "engine/RealFunctions.h"

#include <cmath>
#include <limits>

namespace mirla {

namespace {

constexpr Extended Percent = 0.01L;
/// Powers of a positive base below this are taken as 0, and its natural logarithm.
constexpr Extended SmallestPower = 3.4E-1000L;
constexpr Extended LnSmallestPower = -2301.3613175624235683L;

bool IsAdditive(char c) {
    return HasClass(c, ClassAdditive);
}
bool IsMultiplicative(char c) {
    return HasClass(c, ClassMultiplicative);
}
bool IsSign(char c) {
    return c == '+' || c == '-';
}
bool IsLetter(char c) {
    return HasClass(c, ClassLetter);
}
bool InFollowSet(char c) {
    return HasClass(c, ClassFollow);
}
bool InTermFollowSet(char c) {
    return HasClass(c, ClassTermFollow);
}

/// Operators that need a left operand and so cannot open a sub-expression.
bool NeedsLeftOperand(char c) {
    return c == '%' || c == '&' || c == '\\' || c == '^' || c == '|' || c == SquareChar || c == CubeChar;
}

/// Characters that cannot follow "^".
bool RefusedAfterPower(char c) {
    return c == '%' || c == '&' || c == '\\' || c == '^' || c == '|' || c == SquareChar || c == CubeChar ||
           c == RootChar || c == '*' || c == '/';
}

bool IsOperandStart(const EvalContext& ctx, char c) {
    return HasClass(c, static_cast<std::uint16_t>(ClassOperandOpener | DigitClass(ctx.Base)));
}

/// Raises "Overflow" over [start, last read] when an operation left the finite range.
bool CheckFinite(EvalContext& ctx, Extended value, int start) {
    if (std::isfinite(value))
        return true;
    RaiseEvalErrorSpan(ctx, ErrOverflow, start, LastReadPosition(ctx));
    return false;
}

/// Widens the span of an error just raised to [start, last read].
void WidenError(EvalContext& ctx, int start, int end) {
    ctx.ErrorPos = start;
    ctx.ErrorLength = std::max(end - start + 1, 1);
}

/// Counts one level of operand nesting; beyond the bound it raises "Stack overflow".
class NestingGuard {
public:
    explicit NestingGuard(EvalContext& ctx) : m_ctx(ctx) {
        if (++m_ctx.Nesting > MaxNesting)
            RaiseEvalError(m_ctx, ErrStackOverflow);
    }
    ~NestingGuard() { --m_ctx.Nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    EvalContext& m_ctx;
};

void ApplyPostfix(EvalContext& ctx, Extended& value, int operandStart) {
    if (!HasClass(ctx.Current, ClassPostfix))
        return;
    if (ctx.Current == '^') {
        NextChar(ctx);
        if (RefusedAfterPower(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
        Extended exponent = 0;
        FactorLevel(ctx, exponent);
        if (ctx.ErrorFlag)
            return;
        const int end = LastReadPosition(ctx);
        value = PowerOp(ctx, value, exponent);
        if (ctx.ErrorFlag) {
            WidenError(ctx, operandStart, end);
            return;
        }
    }
    if (ctx.Current == SquareChar) {
        NextChar(ctx);
        value = value * value;
        if (!CheckFinite(ctx, value, operandStart))
            return;
    }
    if (ctx.Current == RootChar) {
        NextChar(ctx);
        if (value < 0) {
            const int end = LastReadPosition(ctx);
            value = 0;
            RaiseDomainError(ctx, ErrArgumentNegative);
            WidenError(ctx, operandStart, end);
            return;
        }
        value = std::sqrt(value);
    }
    if (ctx.Current == CubeChar) {
        NextChar(ctx);
        value = value * value * value;
        CheckFinite(ctx, value, operandStart);
    }
}

/// "(" expression ")". Returns false when the text ends at the closing parenthesis, so that
/// no postfix operator can follow.
bool ReadParenthesized(EvalContext& ctx, Extended& value) {
    NextChar(ctx);
    ctx.SubExprStart = ctx.ReadPos;
    ExprLevel(ctx, value);
    if (ctx.ErrorFlag)
        return false;
    const char c = ctx.Current;
    if (c != ')' && c != EndMarker && !(ctx.ArgDepth != 0 && c == ',')) {
        RaiseEvalError(ctx, ErrMissingClose);
        ++ctx.ErrorPos;
        return false;
    }
    NextChar(ctx);
    return ctx.Current != EndMarker;
}

/// Evaluates the definition text of an unset variable into it; the cursor is kept.
bool ReevaluateDefinition(EvalContext& ctx, PredefinedVariable& variable, int nameStart) {
    Extended value = 0;
    {
        CursorGuard guard(ctx);
        StartSeparateText(ctx, variable.Definition);
        ExprLevel(ctx, value);
    }
    if (ctx.ErrorFlag) {
        const int code = ctx.ErrorCode;
        RaiseEvalErrorSpan(ctx, code, nameStart, nameStart);
        return false;
    }
    variable.Value = value;
    return true;
}

/// (X=expression): evaluates into X, records the definition text and consumes the ")".
void AssignVariable(EvalContext& ctx, PredefinedVariable& variable, int nameStart) {
    if (nameStart < 2 || ctx.Input[static_cast<std::size_t>(nameStart - 2)] != '(') {
        RaiseEvalError(ctx, ErrMissingOpen);
        return;
    }
    NextChar(ctx);
    const int definitionStart = ctx.ReadPos;
    // Evaluated into a temporary: the expression may read the variable being assigned.
    Extended value = 0;
    ExprLevel(ctx, value);
    if (ctx.ErrorFlag)
        return;
    if (ctx.Current != ')') {
        RaiseEvalError(ctx, ErrInterval);
        return;
    }
    variable.Value = value;
    variable.Definition = ctx.Input.substr(static_cast<std::size_t>(definitionStart - 1),
                                           static_cast<std::size_t>(ctx.ReadPos - definitionStart));
    NextChar(ctx);
}

void ReadVariable(EvalContext& ctx, int code, int nameStart, Extended sign, Extended& value) {
    const int k =
        code >= FnFirstUpperVariable ? code - FnFirstUpperVariable + 1 : code - FnFirstLowerVariable + 1;
    ctx.CurrentVariable = k;
    PredefinedVariable& variable = ctx.Variable(k);
    if (ctx.Current == '=') {
        AssignVariable(ctx, variable, nameStart);
    } else if (!IsSet(variable.Value)) {
        if (!variable.Definition.empty())
            ReevaluateDefinition(ctx, variable, nameStart);
        else
            AskVariable(ctx, k);
    }
    if (ctx.ErrorFlag)
        return;
    value = variable.Value * sign;
    ctx.UsedVariables.Add(VariableLetters.substr(static_cast<std::size_t>(k - 1), 1), variable.Value);
}

void ReadUserVariable(EvalContext& ctx, int code, Extended sign, Extended& value) {
    const UserVariable* variable = ctx.UserVariables.FindByCode(code);
    if (!variable) {
        RaiseEvalError(ctx, ErrSyntax);
        return;
    }
    value = variable->Value * sign;
    ctx.UsedVariables.Add(variable->Name, variable->Value);
}

/// The generic call of a built-in function of one or two arguments.
void CallBuiltin(EvalContext& ctx, const NameEntry& entry, int nameStart, Extended sign, Extended& value) {
    ++ctx.ArgDepth;
    NextChar(ctx);
    Extended a = 0;
    ExprLevel(ctx, a);
    if (ctx.ErrorFlag)
        return;
    Extended b = UndefinedValue;
    if (ctx.Current == ',') {
        if (entry.argc == 1) {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
        NextChar(ctx);
        ExprLevel(ctx, b);
        if (ctx.ErrorFlag)
            return;
        if (ctx.Current == ',') {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
    }
    EvaluateFunction(ctx, entry.code, a, b);
    if (!ctx.ErrorFlag && !std::isfinite(a))
        RaiseEvalError(ctx, ErrOverflow);
    if (ctx.ErrorFlag) {
        WidenError(ctx, nameStart, ctx.ErrorPos);
        return;
    }
    value = a * sign;
    NextChar(ctx);
    --ctx.ArgDepth;
}

/// "integral(", "solve(", "min(" and "max(": the procedure reads its own arguments.
void CallSearchProcedure(EvalContext& ctx, int code, Extended sign, Extended& value) {
    ++ctx.ArgDepth;
    NextChar(ctx);
    Extended result = 0;
    switch (code) {
    case FnIntegral:
        result = Integral(ctx);
        break;
    case FnSolve:
        result = Solve(ctx);
        break;
    default:
        result = SearchExtremum(ctx, code == FnMax);
        break;
    }
    if (ctx.ErrorFlag)
        return;
    value = result * sign;
    NextChar(ctx);
    --ctx.ArgDepth;
}

/// "mean(", "std(", "sum(", "poly(" and "stat(".
void CallListProcedure(EvalContext& ctx, int code, Extended sign, Extended& value) {
    Extended result = 0;
    switch (code) {
    case FnMean:
        result = ListMean(ctx);
        break;
    case FnStd:
        result = ListStd(ctx);
        break;
    case FnSum:
        result = ListSum(ctx);
        break;
    case FnPoly:
        result = ListPoly(ctx);
        break;
    default:
        result = ListStat(ctx);
        break;
    }
    if (ctx.ErrorFlag)
        return;
    value = result * sign;
    NextChar(ctx);
}

/// forJtoKstepMdo(body): evaluates the body for J from J to K in steps of M.
void RunLoop(EvalContext& ctx, Extended sign, Extended& value) {
    constexpr int J = 7, K = 8, M = 9;
    do {
        for (const int k : {J, K, M}) {
            if (!IsSet(ctx.Variable(k).Value) && !AskVariable(ctx, k))
                return;
        }
    } while (!IsSet(ctx.Variable(J).Value) && !IsSet(ctx.Variable(K).Value) && !IsSet(ctx.Variable(M).Value));
    NextChar(ctx);
    Extended& counter = ctx.Variable(J).Value;
    const Extended savedCounter = counter;
    const int bodyStart = ctx.ReadPos;
    const char bodyChar = ctx.Current;
    Extended result = 0;
    do {
        ctx.ReadPos = bodyStart;
        ctx.Current = bodyChar;
        ctx.SubExprStart = bodyStart;
        ExprLevel(ctx, result);
        if (ctx.ErrorFlag)
            break;
        ctx.PrevValue = result;
        PumpMessages(ctx);
        if (CheckBreak(ctx)) {
            result = 0;
            break;
        }
        counter += ctx.Variable(M).Value;
    } while (counter <= ctx.Variable(K).Value);
    counter = savedCounter;
    if (ctx.ErrorFlag)
        return;
    value = result * sign;
    NextChar(ctx);
}

/// A name at the cursor: constants, variables, calls, procedures, the loop. Returns false when
/// the operand is complete without the follow check (user-function calls).
bool ReadNamedOperand(EvalContext& ctx, Extended sign, Extended& value) {
    int nameStart = 0;
    const int code = ReadName(ctx, nameStart);
    if (ctx.ErrorFlag)
        return true;
    if (code >= FirstUserVariableCode) {
        ReadUserVariable(ctx, code, sign, value);
        return true;
    }
    if (code == UserFunctionCode) {
        value = ctx.UserFunctions.PopValue() * sign;
        return false;
    }
    if (code == LoopCode) {
        RunLoop(ctx, sign, value);
        return true;
    }
    if (code >= FnFirstLowerVariable && code < FnPowerOfTen) {
        ReadVariable(ctx, code, nameStart, sign, value);
        return true;
    }
    switch (code) {
    case FnMean:
    case FnStd:
    case FnSum:
    case FnPoly:
    case FnStat:
        CallListProcedure(ctx, code, sign, value);
        return true;
    case FnMin:
    case FnMax:
    case FnSolve:
    case FnIntegral:
        CallSearchProcedure(ctx, code, sign, value);
        return true;
    default:
        break;
    }
    const NameEntry& entry = NameTable()[static_cast<std::size_t>(code)];
    if (entry.argc == 0) {
        Extended a = 0;
        value = EvaluateFunction(ctx, code, a, UndefinedValue) * sign;
        return true;
    }
    CallBuiltin(ctx, entry, nameStart, sign, value);
    return true;
}

/// In hexadecimal mode numbers are written with a leading "$", and "Ci(" still reads as a name
/// although "C" is a digit there.
bool StartsNumber(EvalContext& ctx, char c) {
    if (!IsDigitChar(ctx, c))
        return false;
    if (ctx.Base == BaseHex && c == 'C') {
        const auto next = static_cast<std::size_t>(ctx.ReadPos);
        if (next < ctx.Input.size() && (ctx.Input[next] == 'i' || ctx.Input[next] == 'n'))
            return false;
    }
    return true;
}

void ReadNumberOperand(EvalContext& ctx, Extended sign, Extended& value) {
    if (ctx.Current == '$') {
        if (ctx.Base != BaseHex) {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
        NextChar(ctx);
    }
    value = ReadNumber(ctx) * sign;
}

} // namespace

void FactorLevel(EvalContext& ctx, Extended& value) {
    NestingGuard nesting(ctx);
    if (ctx.ErrorFlag)
        return;
    const int operandStart = ctx.ReadPos;
    if (!IsOperandStart(ctx, ctx.Current)) {
        RaiseEvalError(ctx, ErrSyntax);
        value = 0;
        return;
    }
    Extended sign = 1;
    if (IsSign(ctx.Current)) {
        sign = ctx.Current == '-' ? -1 : 1;
        NextChar(ctx);
        if (IsSign(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
    }
    bool followCheck = true;
    const char c = ctx.Current;
    if (c == '(') {
        const bool more = ReadParenthesized(ctx, value);
        value *= sign;
        if (!more)
            return;
        followCheck = false;
    } else if (c == '?') {
        NextChar(ctx);
        value = ctx.PrevValue * sign;
    } else if (StartsNumber(ctx, c)) {
        ReadNumberOperand(ctx, sign, value);
    } else if (IsLetter(c) || c == PiChar) {
        followCheck = ReadNamedOperand(ctx, sign, value);
    } else {
        RaiseEvalError(ctx, ErrSyntax);
    }
    if (ctx.ErrorFlag)
        return;
    if (followCheck && !InFollowSet(ctx.Current)) {
        RaiseEvalError(ctx, ErrSyntax);
        return;
    }
    ApplyPostfix(ctx, value, operandStart);
}

void TermLevel(EvalContext& ctx, Extended& value) {
    if (ctx.ReadPos == ctx.SubExprStart && NeedsLeftOperand(ctx.Current)) {
        RaiseEvalError(ctx, ErrSyntax);
        return;
    }
    const int termStart = ctx.ReadPos;
    if (IsSign(ctx.Current)) {
        const Extended sign = ctx.Current == '-' ? -1 : 1;
        NextChar(ctx);
        if (IsAdditive(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
        FactorLevel(ctx, value);
        value *= sign;
    } else {
        FactorLevel(ctx, value);
    }
    if (ctx.ErrorFlag)
        return;
    if (!InTermFollowSet(ctx.Current)) {
        if (ctx.ArgDepth == 0)
            RaiseEvalError(ctx, ErrSyntax);
        return;
    }
    while (IsMultiplicative(ctx.Current)) {
        const char op = ctx.Current;
        const int operatorPos = ctx.ReadPos;
        NextChar(ctx);
        if (ctx.Current == '^' || IsAdditive(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
        Extended right = 0;
        FactorLevel(ctx, right);
        if (ctx.ErrorFlag)
            return;
        if (op == '/') {
            if (right == 0) {
                RaiseEvalErrorSpan(ctx, ErrDivisionByZero, operatorPos + 1, LastReadPosition(ctx));
                return;
            }
            value /= right;
        } else if (op == '*') {
            value *= right;
        } else {
            value = value * right * Percent;
        }
        if (!CheckFinite(ctx, value, termStart))
            return;
    }
}

void ExprLevel(EvalContext& ctx, Extended& value) {
    const int start = ctx.ReadPos;
    TermLevel(ctx, value);
    if (ctx.ErrorFlag)
        return;
    while (IsAdditive(ctx.Current)) {
        const char op = ctx.Current;
        NextChar(ctx);
        if (ctx.Current == '^' || IsAdditive(ctx.Current) || IsMultiplicative(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return;
        }
        Extended right = 0;
        TermLevel(ctx, right);
        if (ctx.ErrorFlag)
            return;
        if (op == '+') {
            value += right;
        } else if (op == '-') {
            value -= right;
        } else {
            const int end = LastReadPosition(ctx);
            const int left = TruncateToInt32(ctx, value);
            const int other = ctx.ErrorFlag ? 0 : TruncateToInt32(ctx, right);
            if (ctx.ErrorFlag) {
                WidenError(ctx, start, end);
                return;
            }
            value = op == '&' ? (left & other) : op == '|' ? (left | other) : (left ^ other);
        }
        if (!CheckFinite(ctx, value, start))
            return;
    }
}

Extended PowerOp(EvalContext& ctx, Extended base, Extended exponent) {
    // The common case first: a non-zero base and a small whole exponent.
    constexpr Extended SmallExponent = 64;
    if (base != 0 && exponent >= 0 && exponent <= SmallExponent) {
        // A double holds such exponents exactly, and converting it to an integer avoids the
        // slow switch of the x87 rounding mode that a direct conversion needs.
        const int n = static_cast<int>(static_cast<double>(exponent));
        if (n == exponent) {
            const Extended result = WholePower(base, static_cast<unsigned long long>(n));
            if (std::isfinite(result))
                return base > 0 && result < SmallestPower ? 0 : result;
        }
    }
    const bool whole = exponent == std::trunc(exponent);
    if (base == 0) {
        if (exponent > 0)
            return 0;
        RaiseEvalError(ctx, ErrDivisionByZero);
        return 0;
    }
    if (base < 0 && !whole) {
        RaiseEvalError(ctx, ErrArgumentNegative);
        return 0;
    }
    const Extended magnitude = std::fabs(base);
    Extended result = 0;
    if (whole && std::fabs(exponent) < 0x1p63L) {
        const Extended power = WholePower(magnitude, static_cast<unsigned long long>(std::fabs(exponent)));
        result = exponent >= 0 ? power : std::isinf(power) ? 0 : 1 / power;
        if (base > 0 && result < SmallestPower)
            result = 0;
    } else {
        const Extended logResult = exponent * std::log(magnitude);
        result = base > 0 && logResult < LnSmallestPower ? 0 : std::exp(logResult);
    }
    if (base < 0 && std::fmod(exponent, 2.0L) != 0)
        result = -result;
    if (!std::isfinite(result)) {
        RaiseEvalError(ctx, ErrOverflow);
        return 0;
    }
    return result;
}

Extended WholePower(Extended x, unsigned long long n) {
    Extended result = 1;
    Extended square = x;
    while (n != 0) {
        if (n & 1U)
            result *= square;
        n >>= 1U;
        if (n != 0)
            square *= square;
    }
    return result;
}

int TruncateToInt32(EvalContext& ctx, Extended v) {
    const Extended t = std::trunc(v);
    if (t < std::numeric_limits<int>::min() || t > std::numeric_limits<int>::max()) {
        RaiseEvalError(ctx, ErrOutOfRange);
        return 0;
    }
    return static_cast<int>(t);
}

} // namespace mirla
