#pragma once

#include "engine/EvalContext.h"

namespace mirla {

/// Deepest nesting of operands (parentheses, powers, function and user-function calls)
/// before the engine reports "Stack overflow".
constexpr int MaxNesting = 250;

// The three levels return the value read; after an error (ErrorFlag set) the value is
// meaningless. Returning it rather than writing it through a reference keeps it in a register:
// an extended value stored and read straight back costs more than the arithmetic around it.

/// Reads one expression (sums, differences and bitwise operators of terms).
Extended ExprLevel(EvalContext& ctx);
/// Reads one term: an optionally signed operand followed by "*", "/" and "%" operands.
Extended TermLevel(EvalContext& ctx);
/// Reads one operand with its own sign and postfix operators.
Extended FactorLevel(EvalContext& ctx);

/// The power b^y; may raise "Argument Negative", "Overflow" or "Division by zero".
Extended PowerOp(EvalContext& ctx, Extended base, Extended exponent);

/// x^n by repeated squaring: exact whenever the result is representable.
Extended WholePower(Extended x, unsigned long long n);

/// Reads a number literal at the cursor in the current base: integer part, then an "h:m:s"
/// tail, or a fraction and an exponent. Decimal literals are rounded correctly.
Extended ReadNumber(EvalContext& ctx);

/// Converts a value to a 32-bit signed integer by truncation; values outside the range raise
/// "Argument out of range" and give 0.
int TruncateToInt32(EvalContext& ctx, Extended v);

} // namespace mirla
