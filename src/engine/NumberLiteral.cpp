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

int LastReadPosition(const EvalContext& ctx) {
    return ctx.Current == EndMarker ? ctx.ReadPos : ctx.ReadPos - 1;
}

/// Decimal digits and exponent of a literal, converted with one correctly rounded step.
struct DecimalLiteral {
    std::string digits; // integer and fraction digits, without the point
    int fractionDigits = 0;
    int exponent = 0;

    Extended Value() const {
        std::size_t first = digits.find_first_not_of('0');
        if (first == std::string::npos)
            return 0;
        const int scale = exponent - fractionDigits;
        if (digits.size() - first <= MaxExactDigits && std::abs(scale) <= MaxExactPowerOfTen) {
            std::uint64_t mantissa = 0;
            for (std::size_t i = first; i < digits.size(); ++i)
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(digits[i] - '0');
            const Extended m = static_cast<Extended>(mantissa);
            return scale >= 0 ? m * PowersOfTen[static_cast<std::size_t>(scale)]
                              : m / PowersOfTen[static_cast<std::size_t>(-scale)];
        }
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        const std::string text = digits.substr(first) + "e" + std::to_string(scale);
        return strtold_l(text.c_str(), nullptr, cLocale);
    }
};

/// Reads an integer part in the current base while the current character is one of its digits.
Extended ReadIntegerPart(EvalContext& ctx, std::string* decimalDigits) {
    const Extended base = BaseValue(ctx.Base);
    Extended value = 0;
    while (IsDigitChar(ctx, ctx.Current) && ctx.Current != '.') {
        if (decimalDigits)
            decimalDigits->push_back(ctx.Current == '$' ? '0' : ctx.Current);
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
        value += ReadIntegerPart(ctx, nullptr) * unit;
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

} // namespace

bool IsDigitChar(const EvalContext& ctx, char c) {
    switch (ctx.Base) {
    case BaseHex:
        return c == '$' || c == '.' || IsPlainDigit(c) || (c >= 'A' && c <= 'F');
    case BaseBinary:
        return c == '$' || c == '.' || c == '0' || c == '1';
    default:
        return c == '$' || c == '.' || IsPlainDigit(c);
    }
}

Extended ReadNumber(EvalContext& ctx) {
    const int start = ctx.ReadPos;
    const bool decimal = ctx.Base == BaseDecimal;
    DecimalLiteral literal;
    Extended value = ReadIntegerPart(ctx, decimal ? &literal.digits : nullptr);
    if (ctx.Current == ':')
        return ReadSexagesimal(ctx, value);
    if (ctx.Current == '.') {
        NextChar(ctx);
        const Extended base = BaseValue(ctx.Base);
        Extended scale = 1;
        while (IsDigitChar(ctx, ctx.Current) && ctx.Current != '.') {
            scale /= base;
            value += DigitValue(ctx.Current) * scale;
            if (decimal)
                literal.digits.push_back(ctx.Current == '$' ? '0' : ctx.Current);
            ++literal.fractionDigits;
            NextChar(ctx);
        }
    }
    if (ctx.Current == 'E' && ctx.Base != BaseHex) {
        literal.exponent = ReadExponent(ctx);
        if (ctx.ErrorFlag)
            return 0;
        if (!decimal)
            value = std::ldexp(value, literal.exponent);
    }
    if (decimal)
        value = literal.Value();
    if (!std::isfinite(value)) {
        RaiseEvalErrorSpan(ctx, ErrOverflow, start, LastReadPosition(ctx));
        return 0;
    }
    return value;
}

} // namespace mirla
