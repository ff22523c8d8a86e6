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

/// Every power but the common one of a non-zero base and a small whole exponent.
[[gnu::noinline]] Extended GeneralPower(EvalContext& ctx, Extended base, Extended exponent) {
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

/// PowerOp, inlined where the grammar reads "^": passing extended values to a call costs more
/// than the common case itself.
[[gnu::always_inline]] inline Extended InlinePowerOp(EvalContext& ctx, Extended base, Extended exponent) {
    // The common case first: a non-zero base and a small whole exponent. The test runs on
    // the exponent as a double, which holds such exponents exactly; converting that to an
    // integer avoids the slow switch of the x87 rounding mode that a direct conversion needs.
    constexpr double SmallExponent = 64;
    const double wholeCandidate = static_cast<double>(exponent);
    if (wholeCandidate >= 0 && wholeCandidate <= SmallExponent && base != 0) {
        const int n = static_cast<int>(wholeCandidate);
        if (n == wholeCandidate && wholeCandidate == exponent) {
            const Extended result = WholePower(base, static_cast<unsigned long long>(n));
            if (std::isfinite(result))
                return base > 0 && result < SmallestPower ? 0 : result;
        }
    }
    return GeneralPower(ctx, base, exponent);
}

/// The postfix operators after an operand: "^" with its exponent, then the square, root and
/// cube characters. Returns the operand's new value. Out of line, so that the operand reader
/// keeps its value in a register when no postfix operator follows.
[[gnu::noinline]] Extended ApplyPostfix(EvalContext& ctx, Extended value, int operandStart) {
    if (ctx.Current == '^') {
        NextChar(ctx);
        if (RefusedAfterPower(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        const Extended exponent = FactorLevel(ctx);
        if (ctx.ErrorFlag)
            return 0;
        const int end = LastReadPosition(ctx);
        value = InlinePowerOp(ctx, value, exponent);
        if (ctx.ErrorFlag) {
            WidenError(ctx, operandStart, end);
            return 0;
        }
    }
    if (ctx.Current == SquareChar) {
        NextChar(ctx);
        value = value * value;
        if (!CheckFinite(ctx, value, operandStart))
            return 0;
    }
    if (ctx.Current == RootChar) {
        NextChar(ctx);
        if (value < 0) {
            const int end = LastReadPosition(ctx);
            RaiseDomainError(ctx, ErrArgumentNegative);
            WidenError(ctx, operandStart, end);
            return 0;
        }
        value = std::sqrt(value);
    }
    if (ctx.Current == CubeChar) {
        NextChar(ctx);
        value = value * value * value;
        CheckFinite(ctx, value, operandStart);
    }
    return value;
}

/// "(" expression ")".
Extended ReadParenthesized(EvalContext& ctx) {
    NextChar(ctx);
    ctx.SubExprStart = ctx.ReadPos;
    const Extended value = ExprLevel(ctx);
    if (ctx.ErrorFlag)
        return 0;
    const char c = ctx.Current;
    if (c != ')' && c != EndMarker && !(ctx.ArgDepth != 0 && c == ',')) {
        RaiseEvalError(ctx, ErrMissingClose);
        ++ctx.ErrorPos;
        return 0;
    }
    NextChar(ctx);
    return value;
}

/// Evaluates the definition text of an unset variable into it; the cursor is kept.
bool ReevaluateDefinition(EvalContext& ctx, PredefinedVariable& variable, int nameStart) {
    Extended value = 0;
    {
        CursorGuard guard(ctx);
        StartSeparateText(ctx, variable.Definition);
        value = ExprLevel(ctx);
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
    const Extended value = ExprLevel(ctx);
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

Extended ReadVariable(EvalContext& ctx, int code, int nameStart) {
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
        return 0;
    ctx.UsedVariables.Add(VariableLetters.substr(static_cast<std::size_t>(k - 1), 1), variable.Value);
    return variable.Value;
}

Extended ReadUserVariable(EvalContext& ctx, int code) {
    const UserVariable* variable = ctx.UserVariables.FindByCode(code);
    if (!variable) {
        RaiseEvalError(ctx, ErrSyntax);
        return 0;
    }
    ctx.UsedVariables.Add(variable->Name, variable->Value);
    return variable->Value;
}

/// The arguments and the value of a built-in function of one or two arguments; CallBuiltin
/// counts the argument list around it.
Extended ReadBuiltinCall(EvalContext& ctx, const NameEntry& entry, int nameStart) {
    NextChar(ctx);
    Extended a = ExprLevel(ctx);
    if (ctx.ErrorFlag)
        return 0;
    Extended b = UndefinedValue;
    if (ctx.Current == ',') {
        if (entry.argc == 1) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        NextChar(ctx);
        b = ExprLevel(ctx);
        if (ctx.ErrorFlag)
            return 0;
        if (ctx.Current == ',') {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
    }
    // The returned result, rather than `a` read back, stays in a register.
    const Extended result = EvaluateFunction(ctx, entry.code, a, b);
    if (!ctx.ErrorFlag && !std::isfinite(result))
        RaiseEvalError(ctx, ErrOverflow);
    if (ctx.ErrorFlag) {
        WidenError(ctx, nameStart, ctx.ErrorPos);
        return 0;
    }
    NextChar(ctx);
    return result;
}

/// The generic call of a built-in function of one or two arguments.
Extended CallBuiltin(EvalContext& ctx, const NameEntry& entry, int nameStart) {
    // The one spot that counts the argument list of a built-in call. It counts by hand, not
    // with a DepthLevel: this runs on the hot path inlined into the operand reader, where a
    // guard's clean-up makes every return pass its value through memory (about 20% slower
    // engine benchmark). Like a DepthLevel it puts the outer depth back however the call
    // ends; only an exception thrown through it skips that, and a new evaluation sets the
    // depth anew.
    const int outerDepth = ctx.ArgDepth++;
    const Extended result = ReadBuiltinCall(ctx, entry, nameStart);
    ctx.ArgDepth = outerDepth;
    return result;
}

/// "integral(", "solve(", "min(" and "max(": the procedure reads its own arguments. Out of
/// line, so that the clean-up of its DepthLevel stays out of the operand reader (see
/// CallBuiltin).
[[gnu::noinline]] Extended CallSearchProcedure(EvalContext& ctx, int code) {
    const DepthLevel arguments(ctx.ArgDepth);
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
        return 0;
    NextChar(ctx);
    return result;
}

/// "mean(", "std(", "sum(", "poly(" and "stat(".
Extended CallListProcedure(EvalContext& ctx, int code) {
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
        return 0;
    NextChar(ctx);
    return result;
}

/// forJtoKstepMdo(body): evaluates the body for J from J to K in steps of M.
Extended RunLoop(EvalContext& ctx) {
    constexpr int J = 7, K = 8, M = 9;
    do {
        for (const int k : {J, K, M}) {
            if (!IsSet(ctx.Variable(k).Value) && !AskVariable(ctx, k))
                return 0;
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
        result = ExprLevel(ctx);
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
        return 0;
    NextChar(ctx);
    return result;
}

/// The value of a name at the cursor: constants, variables, calls, procedures, the loop.
/// `followCheck` is cleared when the operand is complete without the follow check (user-function
/// calls).
Extended ReadNamedOperand(EvalContext& ctx, bool& followCheck) {
    int nameStart = 0;
    const int code = ReadName(ctx, nameStart);
    if (ctx.ErrorFlag)
        return 0;
    if (code >= FirstUserVariableCode)
        return ReadUserVariable(ctx, code);
    if (code == UserFunctionCode) {
        followCheck = false;
        return ctx.UserFunctions.PopValue();
    }
    if (code == LoopCode)
        return RunLoop(ctx);
    if (code >= FnFirstLowerVariable && code < FnPowerOfTen)
        return ReadVariable(ctx, code, nameStart);
    switch (code) {
    case FnMean:
    case FnStd:
    case FnSum:
    case FnPoly:
    case FnStat:
        return CallListProcedure(ctx, code);
    case FnMin:
    case FnMax:
    case FnSolve:
    case FnIntegral:
        return CallSearchProcedure(ctx, code);
    default:
        break;
    }
    const NameEntry& entry = NameTable()[static_cast<std::size_t>(code)];
    if (entry.argc == 0) {
        Extended a = 0;
        return EvaluateFunction(ctx, code, a, UndefinedValue);
    }
    return CallBuiltin(ctx, entry, nameStart);
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

Extended ReadNumberOperand(EvalContext& ctx) {
    if (ctx.Current == '$') {
        if (ctx.Base != BaseHex) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        NextChar(ctx);
    }
    return ReadNumber(ctx);
}

/// The operand at the cursor, without a sign: a parenthesis, "?", a number or a name.
/// `followCheck` is cleared when no follow check applies after it.
Extended ReadOperand(EvalContext& ctx, bool& followCheck) {
    const char c = ctx.Current;
    if (c == '(') {
        followCheck = false;
        return ReadParenthesized(ctx);
    }
    if (c == '?') {
        NextChar(ctx);
        return ctx.PrevValue;
    }
    if (StartsNumber(ctx, c))
        return ReadNumberOperand(ctx);
    if (IsLetter(c) || c == PiChar)
        return ReadNamedOperand(ctx, followCheck);
    RaiseEvalError(ctx, ErrSyntax);
    return 0;
}

/// FactorLevel within the nesting bound.
Extended ReadFactor(EvalContext& ctx) {
    const int operandStart = ctx.ReadPos;
    if (!IsOperandStart(ctx, ctx.Current)) {
        RaiseEvalError(ctx, ErrSyntax);
        return 0;
    }
    bool negative = false;
    if (IsSign(ctx.Current)) {
        negative = ctx.Current == '-';
        NextChar(ctx);
        if (IsSign(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
    }
    bool followCheck = true;
    Extended value = ReadOperand(ctx, followCheck);
    if (ctx.ErrorFlag)
        return 0;
    if (negative)
        value = -value;
    if (followCheck && !InFollowSet(ctx.Current)) {
        RaiseEvalError(ctx, ErrSyntax);
        return 0;
    }
    // Most operands have no postfix operator; they return without their value leaving the
    // processor's registers.
    if (!HasClass(ctx.Current, ClassPostfix))
        return value;
    return ApplyPostfix(ctx, value, operandStart);
}

} // namespace

Extended FactorLevel(EvalContext& ctx) {
    // The one spot that counts operand nesting. It counts by hand around the reading, not
    // with a DepthLevel: a guard's clean-up makes every return of the operand reader pass its
    // value through memory (about 20% slower engine benchmark); this way the value read comes
    // back in a register.
    if (++ctx.Nesting > MaxNesting)
        RaiseEvalError(ctx, ErrStackOverflow);
    const Extended value = ctx.ErrorFlag ? 0 : ReadFactor(ctx);
    --ctx.Nesting;
    return value;
}

Extended TermLevel(EvalContext& ctx) {
    if (ctx.ReadPos == ctx.SubExprStart && NeedsLeftOperand(ctx.Current)) {
        RaiseEvalError(ctx, ErrSyntax);
        return 0;
    }
    const int termStart = ctx.ReadPos;
    Extended value = 0;
    if (IsSign(ctx.Current)) {
        const bool negative = ctx.Current == '-';
        NextChar(ctx);
        if (IsAdditive(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        value = FactorLevel(ctx);
        if (negative)
            value = -value;
    } else {
        value = FactorLevel(ctx);
    }
    if (ctx.ErrorFlag)
        return 0;
    if (!InTermFollowSet(ctx.Current)) {
        if (ctx.ArgDepth == 0)
            RaiseEvalError(ctx, ErrSyntax);
        return value;
    }
    while (IsMultiplicative(ctx.Current)) {
        const char op = ctx.Current;
        const int operatorPos = ctx.ReadPos;
        NextChar(ctx);
        if (ctx.Current == '^' || IsAdditive(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        const Extended right = FactorLevel(ctx);
        if (ctx.ErrorFlag)
            return 0;
        if (op == '/') {
            if (right == 0) {
                RaiseEvalErrorSpan(ctx, ErrDivisionByZero, operatorPos + 1, LastReadPosition(ctx));
                return 0;
            }
            value /= right;
        } else if (op == '*') {
            value *= right;
        } else {
            value = value * right * Percent;
        }
        if (!CheckFinite(ctx, value, termStart))
            return 0;
    }
    return value;
}

Extended ExprLevel(EvalContext& ctx) {
    const int start = ctx.ReadPos;
    Extended value = TermLevel(ctx);
    if (ctx.ErrorFlag)
        return 0;
    while (IsAdditive(ctx.Current)) {
        const char op = ctx.Current;
        NextChar(ctx);
        if (ctx.Current == '^' || IsAdditive(ctx.Current) || IsMultiplicative(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        const Extended right = TermLevel(ctx);
        if (ctx.ErrorFlag)
            return 0;
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
                return 0;
            }
            value = op == '&' ? (left & other) : op == '|' ? (left | other) : (left ^ other);
        }
        if (!CheckFinite(ctx, value, start))
            return 0;
    }
    return value;
}

Extended PowerOp(EvalContext& ctx, Extended base, Extended exponent) {
    return InlinePowerOp(ctx, base, exponent);
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
