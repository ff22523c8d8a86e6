#include "numbers/ComplexEvaluator.h"

#include "engine/Engine.h"
#include "engine/ErrorCodes.h"
#include "engine/Grammar.h"

#include <algorithm>
#include <cmath>

namespace mirla {

namespace {

bool IsAdditive(char c) {
    return c == '+' || c == '-';
}
bool IsMultiplicative(char c) {
    return c == '*' || c == '/';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsPostfix(char c) {
    return c == SquareChar || c == CubeChar || c == RootChar;
}

bool IsOperandStart(char c) {
    return c == '(' || c == '?' || IsLetter(c) || c == PiChar || IsAdditive(c) || c == '$' || c == '.' ||
           (c >= '0' && c <= '9');
}

/// What may follow a complete operand: the end of a term or of the whole line.
bool IsOperandFollow(char c) {
    return c == ')' || c == EndMarker || IsAdditive(c) || IsMultiplicative(c);
}

/// What may follow a value operand ("?" or a constant) before its postfix operators.
bool IsValueFollow(char c) {
    return IsOperandFollow(c) || c == ',' || c == '^' || IsPostfix(c);
}

/// Characters that end a name; the name keeps the one that ended it.
bool IsNameStop(char c) {
    return c == '(' || c == ')' || c == ',' || c == '=' || c == '^' || c == EndMarker || IsPostfix(c) ||
           IsAdditive(c) || IsMultiplicative(c);
}

/// Operators that need a left operand and so cannot begin an expression.
bool NeedsLeftOperand(char c) {
    return c == '%' || c == '&' || c == '\\' || c == '^' || c == '|' || c == SquareChar || c == CubeChar;
}

/// Characters that cannot begin the exponent of "^".
bool CannotBeginExponent(char c) {
    return c == '*' || c == '/' || c == '%' || c == '&' || c == '\\' || c == '^' || c == '|' || IsPostfix(c);
}

bool IsFinite(const ComplexValue& z) {
    return std::isfinite(z.X) && std::isfinite(z.Y);
}

bool IsOneLetterName(int code) {
    return code >= FnFirstLowerVariable && code < FnPowerOfTen;
}

} // namespace

const std::array<NameEntry, NameTableSize>& ComplexNameTable() {
    static constexpr std::array<NameEntry, NameTableSize> Table = {{
        {"___(", 0, 3},     {"sin(", 1, 1},      {"arcsin(", 2, 1},  {"arccos(", 3, 1}, {"arctan(", 4, 1},
        {"arcsinh(", 5, 1}, {"arccosh(", 6, 1},  {"arctanh(", 7, 1}, {"sinh(", 8, 1},   {"cosh(", 9, 1},
        {"tanh(", 10, 1},   {"random", 11, 0},   {"cos(", 12, 1},    {"tan(", 13, 1},   {"exp(", 14, 1},
        {"sqrt(", 15, 1},   {"ln(", 16, 1},      {"comp(", 17, 2},   {"___(", 18, 2},   {"___(", 19, 2},
        {"___(", 20, 2},    {"___(", 21, 2},     {"___(", 22, 3},    {"___(", 23, 1},   {"___(", 24, 1},
        {"___(", 25, 1},    {"LnGamma(", 26, 1}, {"___(", 27, 3},    {"\xB6", 28, 0},   {"pi", 29, 0},
        {"e", 30, 0},       {"___(", 31, 1},     {"___(", 32, 2},    {"abs(", 33, 1},   {"___(", 34, 1},
        {"___(", 35, 1},    {"___(", 36, 1},     {"___(", 37, 3},    {"___(", 38, 1},   {"___(", 39, 1},
        {"sqr(", 40, 1},    {"___(", 41, 1},     {"___(", 42, 2},    {"___(", 43, 1},   {"___(", 44, 2},
        {"____(", 45, 1},   {"___(", 46, 1},     {"___(", 47, 1},    {"___(", 48, 1},   {"___(", 49, 1},
        {"___(", 50, 1},    {"___(", 51, 1},     {"___(", 52, 1},    {"___(", 53, 1},   {"___(", 54, 1},
        {"___(", 55, 1},    {"___(", 56, 1},     {"___(", 57, 1},    {"___(", 58, 1},   {"___(", 59, 1},
        {"___(", 60, 1},    {"___(", 61, 1},     {"___(", 62, 1},    {"___(", 63, 1},   {"___(", 64, 1},
        {"___(", 65, 1},    {"___(", 66, 1},     {"x", 67, 0},       {"y", 68, 0},      {"z", 69, 0},
        {"v", 70, 0},       {"w", 71, 0},        {"i", 72, 0},       {"j", 73, 0},      {"k", 74, 0},
        {"m", 75, 0},       {"n", 76, 0},        {"X", 77, 0},       {"Y", 78, 0},      {"Z", 79, 0},
        {"V", 80, 0},       {"W", 81, 0},        {"I", 82, 0},       {"J", 83, 0},      {"K", 84, 0},
        {"M", 85, 0},       {"N", 86, 0},        {"___(", 87, 1},
    }};
    return Table;
}

int LookUpComplexName(std::string_view buffer) {
    // The placeholder rows share one name that no buffer can hold (names begin with a letter).
    static const TNameIndex index(ComplexNameTable());
    return index.LookUp(buffer);
}

TComplexEvaluator::TComplexEvaluator(EvalContext& ctx) : m_ctx(ctx) {}

void TComplexEvaluator::EvaluateComplex(std::string& text, bool& failed, int& errorPos, ComplexValue& value,
                                        int& errorLength) {
    value = CZero;
    failed = false;
    errorPos = 0;
    errorLength = 0;
    if (text.empty())
        return;
    m_input = text;
    m_readPos = 0;
    m_subExprStart = 1;
    m_nesting = 0;
    m_failed = false;
    m_errorPos = 0;
    m_errorLength = 0;
    m_ctx.ClearError();
    NextChar();
    ComplexValue result = CZero;
    Expression(result);
    // Only a ")" without its "(" can stop the top level before the end of the line.
    if (!m_failed && m_current != EndMarker)
        RaiseError(m_current == ')' ? ErrTooManyClosing : ErrSyntax);
    text = m_input;
    failed = m_failed;
    errorPos = m_errorPos;
    errorLength = m_errorLength;
    value = m_failed ? CZero : result;
    m_ctx.ErrorFlag = m_failed;
    m_ctx.ErrorPos = m_errorPos;
    m_ctx.ErrorLength = m_errorLength;
}

char TComplexEvaluator::NextChar() {
    if (m_readPos >= static_cast<int>(m_input.size())) {
        m_current = EndMarker;
        return m_current;
    }
    ++m_readPos;
    m_current = m_input[static_cast<std::size_t>(m_readPos - 1)];
    return m_current;
}

int TComplexEvaluator::LastConsumedPosition() const {
    // At the end the cursor stays on the last character instead of moving past it.
    return m_current == EndMarker ? m_readPos : m_readPos - 1;
}

void TComplexEvaluator::Fail(int errorPos, int errorLength) {
    m_failed = true;
    m_errorPos = errorPos;
    m_errorLength = errorLength;
    m_readPos = static_cast<int>(m_input.size());
    m_current = EndMarker;
    m_ctx.ArgDepth = 0;
}

void TComplexEvaluator::RaiseError(int code) {
    m_ctx.ErrorCode = code;
    Fail(m_readPos, 1);
}

void TComplexEvaluator::RaiseErrorSpan(int code, int start, int end) {
    m_ctx.ErrorCode = code;
    start = std::max(start, 1);
    Fail(start, std::max(end - start + 1, 1));
}

bool TComplexEvaluator::CheckResult(int error, const ComplexValue& value, int start, int end) {
    if (error == 0 && IsFinite(value))
        return true;
    RaiseErrorSpan(error != 0 ? error : ErrOverflow, start, end);
    return false;
}

void TComplexEvaluator::Expression(ComplexValue& value) {
    Term(value);
    while (!m_failed && IsAdditive(m_current)) {
        const char op = m_current;
        const int opPos = m_readPos;
        NextChar();
        if (IsAdditive(m_current) || IsMultiplicative(m_current) || m_current == '^') {
            RaiseError(ErrSyntax);
            return;
        }
        ComplexValue right = CZero;
        Term(right);
        if (m_failed)
            return;
        value = op == '+' ? CAdd(value, right) : CSub(value, right);
        CheckResult(0, value, opPos, LastConsumedPosition());
    }
}

void TComplexEvaluator::Term(ComplexValue& value) {
    if (m_readPos == m_subExprStart && NeedsLeftOperand(m_current)) {
        RaiseError(ErrSyntax);
        return;
    }
    const bool negate = m_current == '-';
    if (IsAdditive(m_current)) {
        NextChar();
        if (IsAdditive(m_current)) {
            RaiseError(ErrSyntax);
            return;
        }
    }
    Operand(value);
    if (m_failed)
        return;
    if (negate)
        value = CNeg(value);
    if (TermMayEndHere())
        return;
    while (IsMultiplicative(m_current)) {
        const char op = m_current;
        const int opPos = m_readPos;
        NextChar();
        if (IsAdditive(m_current) || m_current == '^') {
            RaiseError(ErrSyntax);
            return;
        }
        ComplexValue right = CZero;
        Operand(right);
        if (m_failed)
            return;
        int error = 0;
        if (op == '*') {
            value = CMul(value, right);
        } else if (CEqual(right, CZero)) {
            RaiseErrorSpan(ErrDivisionByZero, opPos + 1, LastConsumedPosition());
            return;
        } else {
            value = CDiv(value, right, error);
        }
        if (!CheckResult(error, value, opPos, LastConsumedPosition()) || TermMayEndHere())
            return;
    }
}

bool TComplexEvaluator::TermMayEndHere() {
    // Operands are written next to each other only with an operator between them.
    if (IsOperandFollow(m_current))
        return false;
    if (m_ctx.ArgDepth == 0)
        RaiseError(ErrSyntax);
    return true;
}

void TComplexEvaluator::Operand(ComplexValue& value) {
    const DepthLevel level(m_nesting);
    if (level.Depth() > MaxNesting) {
        RaiseError(ErrStackOverflow);
        return;
    }
    const int operandStart = m_readPos;
    if (!IsOperandStart(m_current)) {
        RaiseError(ErrSyntax);
        return;
    }
    const bool negate = m_current == '-';
    if (IsAdditive(m_current)) {
        NextChar();
        if (IsAdditive(m_current)) {
            RaiseError(ErrSyntax);
            return;
        }
    }
    bool complete = false;
    if (m_current == '(') {
        ParenthesisedOperand(value, complete);
    } else if (m_current == '?') {
        NextChar();
        value = m_lastComplex;
        if (!IsValueFollow(m_current))
            RaiseError(ErrSyntax);
    } else if (IsLetter(m_current) || m_current == PiChar) {
        NamedOperand(value);
    } else {
        // Numbers stand only inside "comp(", where the engine reads them.
        RaiseError(ErrSyntax);
    }
    if (m_failed)
        return;
    if (negate)
        value = CNeg(value);
    if (!complete)
        PostfixOperators(value, operandStart);
}

void TComplexEvaluator::ParenthesisedOperand(ComplexValue& value, bool& complete) {
    NextChar();
    m_subExprStart = m_readPos;
    Expression(value);
    if (m_failed)
        return;
    if (m_current != ')' && m_current != EndMarker && !(m_current == ',' && m_ctx.ArgDepth > 0)) {
        RaiseError(ErrMissingClose);
        ++m_errorPos;
        return;
    }
    // The end of the line closes every open parenthesis; nothing can follow then.
    complete = m_current == EndMarker;
    NextChar();
}

void TComplexEvaluator::NamedOperand(ComplexValue& value) {
    const int nameStart = m_readPos;
    std::string name(1, m_current);
    while (!IsNameStop(NextChar()))
        name += m_current;
    name += m_current;
    const int nameEnd = nameStart + static_cast<int>(name.size()) - 2;
    if (m_current == '=') {
        // Assignments have no meaning in complex mode.
        RaiseErrorSpan(ErrSyntax, nameStart, nameEnd + 1);
        return;
    }
    const int code = LookUpComplexName(name);
    if (code == NotFoundCode || IsOneLetterName(code)) {
        RaiseErrorSpan(ErrSyntax, nameStart, nameEnd);
        return;
    }
    if (code == CompCode) {
        CompLiteral(nameStart, value);
        return;
    }
    if (ComplexNameTable()[static_cast<std::size_t>(code)].argc == 0) {
        // pi, e and random are values: what follows them is left to the operators.
        if (!IsValueFollow(m_current)) {
            RaiseError(ErrSyntax);
            return;
        }
        ApplyFunction(code, nameStart, CZero, value);
        return;
    }
    NextChar();
    ComplexValue argument = CZero;
    Expression(argument);
    if (m_failed)
        return;
    ApplyFunction(code, nameStart, argument, value);
    if (!m_failed)
        NextChar();
}

void TComplexEvaluator::ApplyFunction(int code, int nameStart, const ComplexValue& argument,
                                      ComplexValue& value) {
    value = CallComplexFunction(m_ctx, argument, code, m_form, m_complexError);
    // A failing call is marked as a whole, from its name to its closing parenthesis.
    const int callEnd = m_readPos;
    if (!CheckResult(m_complexError, value, nameStart, callEnd)) {
        m_lastComplex = CZero;
        value = CZero;
    }
}

void TComplexEvaluator::CompLiteral(int nameStart, ComplexValue& value) {
    NextChar();
    std::string text;
    int start = 0;
    Extended first = 0;
    Extended second = 0;
    if (!CutArgument(',', text, start) || !EvaluateArgument(text, start, first) ||
        !CutArgument(')', text, start) || !EvaluateArgument(text, start, second))
        return;
    value = {m_form, first, second};
    CheckResult(0, value, nameStart, LastConsumedPosition());
}

bool TComplexEvaluator::CutArgument(char stop, std::string& text, int& start) {
    text.clear();
    start = m_readPos;
    int depth = 1;
    while (m_current != EndMarker) {
        if (m_current == '(') {
            ++depth;
        } else if (m_current == ')') {
            if (--depth == 0)
                break;
        } else if (m_current == ',' && stop == ',' && depth == 1) {
            break;
        }
        text += m_current;
        NextChar();
    }
    // The argument must end with its own separator: a "comp(" whose ")" comes before its
    // "," lacks the second argument, and one that runs into the end of the line is open.
    if (m_current != stop || text.empty()) {
        RaiseErrorSpan(ErrMissingArgument, start, m_readPos);
        return false;
    }
    NextChar();
    return true;
}

bool TComplexEvaluator::EvaluateArgument(const std::string& text, int start, Extended& part) {
    bool failed = false;
    int errorPos = 0;
    int errorLength = 0;
    part = EvaluateEx(m_ctx, text, failed, errorPos, errorLength);
    if (failed)
        Fail(start + std::max(errorPos, 1) - 1, errorLength);
    return !failed;
}

void TComplexEvaluator::PostfixOperators(ComplexValue& value, int operandStart) {
    int error = 0;
    if (m_current == '^') {
        NextChar();
        if (CannotBeginExponent(m_current)) {
            RaiseError(ErrSyntax);
            return;
        }
        ComplexValue exponent = CZero;
        Operand(exponent);
        if (m_failed)
            return;
        value = CPower(value, exponent, error);
        if (!CheckResult(error, value, operandStart, LastConsumedPosition()))
            return;
    }
    if (m_current == SquareChar) {
        NextChar();
        value = CMul(value, value);
        if (!CheckResult(0, value, operandStart, LastConsumedPosition()))
            return;
    }
    if (m_current == RootChar) {
        NextChar();
        value = CSqrt(value, error);
        if (!CheckResult(error, value, operandStart, LastConsumedPosition()))
            return;
    }
    if (m_current == CubeChar) {
        NextChar();
        value = CIntPower(value, 3, error);
        CheckResult(error, value, operandStart, LastConsumedPosition());
    }
}

} // namespace mirla
