#include "engine/CharClasses.h"
#include "engine/Engine.h"
#include "engine/Grammar.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace mirla {

namespace {

constexpr int MaxExactDigits = 19;     // below 10^19 every digit string fits a 64-bit integer
constexpr int MaxExactPowerOfTen = 27; // 10^27 is still exact in the 64-bit significand
constexpr int ExponentLimit = 100000;  // far beyond the extended range either way

constexpr std::array<Extended, MaxExactPowerOfTen + 1> PowersOfTen = [] {
    std::array<Extended, MaxExactPowerOfTen + 1> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}();

constexpr Extended OneSixtieth = 1.0L / 60;
constexpr Extended OneThirtySixHundredth = 1.0L / 3600;

Extended BaseValue(int base) {
    return base == BaseHex ? 16 : base == BaseBinary ? 2 : 10;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0; // "$" counts as 0
}

bool IsPlainDigit(char c) {
    return c >= '0' && c <= '9';
}

/// A decimal literal read as a 64-bit integer of up to 19 significant digits and a power of
/// ten; such values convert with one correctly rounded operation.
struct DecimalLiteral {
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    int scale = 0;     ///< power of ten to apply
    bool exact = true; ///< false when a non-zero digit did not fit the mantissa

    /// Adds one digit; `fraction` tells whether it stands after the point.
    void AddDigit(int d, bool fraction) {
        if (significantDigits == 0 && d == 0) {
            scale -= fraction ? 1 : 0;
            return;
        }
        if (significantDigits < MaxExactDigits) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(d);
            ++significantDigits;
            scale -= fraction ? 1 : 0;
            return;
        }
        scale += fraction ? 0 : 1;
        exact = exact && d == 0;
    }

    bool FitsOneOperation() const { return exact && std::abs(scale) <= MaxExactPowerOfTen; }

    Extended Value() const {
        const Extended m = static_cast<Extended>(mantissa);
        return scale >= 0 ? m * PowersOfTen[static_cast<std::size_t>(scale)]
                          : m / PowersOfTen[static_cast<std::size_t>(-scale)];
    }
};

/// Converts the literal text at [start, end) with the C library, for the literals that need
/// more than one operation; "$" stands for 0.
Extended ConvertLiteralText(const EvalContext& ctx, int start, int end) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    std::string text =
        ctx.Input.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(end - start));
    for (char& c : text)
        c = c == '$' ? '0' : c;
    return strtold_l(text.c_str(), nullptr, cLocale);
}

/// The value of a decimal literal that began at `start` and ends before the current character.
Extended DecimalValue(const EvalContext& ctx, const DecimalLiteral& literal, int start) {
    return literal.FitsOneOperation() ? literal.Value()
                                      : ConvertLiteralText(ctx, start, LastReadPosition(ctx) + 1);
}

/// Reads an integer part in the current base while the current character is one of its digits.
Extended ReadIntegerPart(EvalContext& ctx) {
    const Extended base = BaseValue(ctx.Base);
    Extended value = 0;
    while (IsDigitChar(ctx, ctx.Current) && ctx.Current != '.') {
        value = value * base + DigitValue(ctx.Current);
        NextChar(ctx);
    }
    return value;
}

/// h:m or h:m:s after the hours; the parts are whole numbers in the current base.
Extended ReadSexagesimal(EvalContext& ctx, Extended hours) {
    Extended value = hours;
    for (const Extended unit : {OneSixtieth, OneThirtySixHundredth}) {
        if (ctx.Current != ':')
            break;
        NextChar(ctx);
        if (!IsDigitChar(ctx, ctx.Current) || ctx.Current == '.' || ctx.Current == '$') {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        value += ReadIntegerPart(ctx) * unit;
    }
    if (ctx.Current == '.' || ctx.Current == 'E')
        RaiseEvalError(ctx, ErrSyntax);
    return value;
}

/// Reads "E", an optional sign and decimal digits; returns the signed exponent, saturated far
/// beyond the extended range. A non-integer exponent ("1E2.5") is a syntax error.
int ReadExponent(EvalContext& ctx) {
    NextChar(ctx);
    int sign = 1;
    if (ctx.Current == '+' || ctx.Current == '-') {
        sign = ctx.Current == '-' ? -1 : 1;
        NextChar(ctx);
    }
    if (!IsPlainDigit(ctx.Current)) {
        RaiseEvalError(ctx, ErrSyntax);
        return 0;
    }
    int n = 0;
    while (IsDigitChar(ctx, ctx.Current)) {
        if (!IsPlainDigit(ctx.Current)) {
            RaiseEvalError(ctx, ErrSyntax);
            return 0;
        }
        n = std::min(n * 10 + (ctx.Current - '0'), ExponentLimit);
        NextChar(ctx);
    }
    return sign * n;
}

/// A whole decimal number of at most 18 digits, the most common literal, read in one loop;
/// false (with nothing read) when the literal is anything else. The digits come back as an
/// integer, which the caller converts in one instruction.
bool ReadShortInteger(EvalContext& ctx, std::int64_t& digits) {
    const std::string& text = ctx.Input;
    const auto size = static_cast<int>(text.size());
    int end = ctx.ReadPos - 1; // index of the current character
    // Up to 18 digits, so that the signed 64-bit integer converts in one instruction.
    std::int64_t mantissa = 0;
    while (end < size && text[static_cast<std::size_t>(end)] >= '0' &&
           text[static_cast<std::size_t>(end)] <= '9' && end - ctx.ReadPos + 1 < MaxExactDigits - 1) {
        mantissa = mantissa * 10 + (text[static_cast<std::size_t>(end)] - '0');
        ++end;
    }
    const char next = end < size ? text[static_cast<std::size_t>(end)] : EndMarker;
    if (end == ctx.ReadPos - 1 || HasClass(next, ClassDecimalDigit) || next == 'E' || next == ':')
        return false;
    ctx.ReadPos = end;
    NextChar(ctx);
    digits = mantissa;
    return true;
}

} // namespace

Extended ReadNumber(EvalContext& ctx) {
    const int start = ctx.ReadPos;
    std::int64_t shortInteger = 0;
    if (ctx.Base == BaseDecimal && ReadShortInteger(ctx, shortInteger))
        return static_cast<Extended>(shortInteger);
    const bool decimal = ctx.Base == BaseDecimal;
    DecimalLiteral literal;
    Extended value = 0;
    if (decimal) {
        while (HasClass(ctx.Current, ClassDecimalDigit) && ctx.Current != '.') {
            literal.AddDigit(DigitValue(ctx.Current), false);
            NextChar(ctx);
        }
    } else {
        value = ReadIntegerPart(ctx);
    }
    if (ctx.Current == ':')
        return ReadSexagesimal(ctx, decimal ? DecimalValue(ctx, literal, start) : value);
    if (ctx.Current == '.') {
        NextChar(ctx);
        const Extended base = BaseValue(ctx.Base);
        Extended unit = 1;
        while (IsDigitChar(ctx, ctx.Current) && ctx.Current != '.') {
            if (decimal) {
                literal.AddDigit(DigitValue(ctx.Current), true);
            } else {
                unit /= base;
                value += DigitValue(ctx.Current) * unit;
            }
            NextChar(ctx);
        }
    }
    if (ctx.Current == 'E' && ctx.Base != BaseHex) {
        const int exponent = ReadExponent(ctx);
        if (ctx.ErrorFlag)
            return 0;
        literal.scale += exponent;
        if (!decimal)
            value = std::ldexp(value, exponent);
    }
    if (decimal)
        value = DecimalValue(ctx, literal, start);
    if (!std::isfinite(value)) {
        RaiseEvalErrorSpan(ctx, ErrOverflow, start, LastReadPosition(ctx));
        return 0;
    }
    return value;
}

} // namespace mirla
