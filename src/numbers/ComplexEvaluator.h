#pragma once

#include "engine/EvalContext.h"
#include "engine/NameTable.h"
#include "numbers/ComplexArithmetic.h"
#include "numbers/ComplexValue.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mirla {

/// Name code of "comp(", the complex literal built from two real expressions.
constexpr int CompCode = 17;

/// The 88 names of complex mode, with the codes and argument counts of the engine's table;
/// rows without a complex meaning hold a placeholder that no name can match.
const std::array<NameEntry, NameTableSize>& ComplexNameTable();

/// Looks a name buffer up in `ComplexNameTable`: a row without arguments matches the buffer
/// less its terminator, any other row the whole buffer; the last matching row wins. Returns
/// the code or `NotFoundCode`.
int LookUpComplexName(std::string_view buffer);

/// Reads and evaluates complex-mode lines: operands are "comp(" literals whose two real
/// expressions go to the engine, "?" (the previous result) and the complex functions; the
/// operators are + - * / and the postfix ^ ² ½ ³. One lives for the whole run, next to the
/// engine context it shares the error code and argument depth with.
class TComplexEvaluator {
public:
    /// An evaluator over the engine context `ctx`, building values in rectangular form.
    explicit TComplexEvaluator(EvalContext& ctx);

    /// Evaluates `text` (blank-free). On failure `failed` is set, the error code is in the
    /// engine context and `errorPos`/`errorLength` (1-based, in `text`) mark the offending
    /// characters; the value is then `CZero`, as it is for an empty text. `text` may be the
    /// engine's input text: it holds the line again on return. The engine context's error
    /// flag, position and length are set to the same result.
    void EvaluateComplex(std::string& text, bool& failed, int& errorPos, ComplexValue& value,
                         int& errorLength);

    /// The form in which "comp(" builds its values: `FormRect` (real, imaginary) or `FormPolar`
    /// (modulus, argument in radians); also the form of "abs(" results.
    std::uint8_t Form() const { return m_form; }
    /// Sets the form of "comp(" values.
    void SetForm(std::uint8_t form) { m_form = form; }

    /// The previous result, read by "?"; the application stores each successful result here,
    /// and an error inside a function resets it to `CZero`.
    const ComplexValue& LastComplex() const { return m_lastComplex; }
    /// Stores the result that "?" reads.
    void SetLastComplex(const ComplexValue& z) { m_lastComplex = z; }

    /// The code the last complex function call reported (0 for none).
    int ComplexError() const { return m_complexError; }

private:
    char NextChar();
    int LastConsumedPosition() const;
    void Fail(int errorPos, int errorLength);
    void RaiseError(int code);
    void RaiseErrorSpan(int code, int start, int end);
    bool CheckResult(int error, const ComplexValue& value, int start, int end);

    void Expression(ComplexValue& value);
    void Term(ComplexValue& value);
    bool TermMayEndHere();
    void Operand(ComplexValue& value);
    void ParenthesisedOperand(ComplexValue& value, bool& complete);
    void NamedOperand(ComplexValue& value);
    void CompLiteral(int nameStart, ComplexValue& value);
    bool CutArgument(char stop, std::string& text, int& start);
    bool EvaluateArgument(const std::string& text, int start, Extended& part);
    void ApplyFunction(int code, int nameStart, const ComplexValue& argument, ComplexValue& value);
    void PostfixOperators(ComplexValue& value, int operandStart);

    EvalContext& m_ctx;
    std::uint8_t m_form = FormRect;
    ComplexValue m_lastComplex = CZero;
    int m_complexError = 0;

    // Cursor over the line being evaluated; positions count from 1.
    std::string m_input;
    char m_current = EndMarker;
    int m_readPos = 0;
    int m_subExprStart = 1;
    int m_nesting = 0;
    bool m_failed = false;
    int m_errorPos = 0;
    int m_errorLength = 0;
};

} // namespace mirla
