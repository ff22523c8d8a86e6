#include "numbers/RealFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace mirla {

namespace {

/// The largest magnitude that base and sexagesimal output can show: the 32-bit signed range.
constexpr Extended MaxShownInteger = 2147483647.0L;
/// Exclusive bounds of the fixed form of a real value in "Fix".
constexpr Extended RealFixedLow = 1e-4L;
constexpr Extended RealFixedHigh = 1e7L;
/// Significant digits of the decimal rendering of an extended value.
constexpr int FullDigits = 18;
constexpr std::string_view DigitChars = "0123456789ABCDEF";

/// A value as FullDigits significant decimal digits d0.d1d2... times ten to Exponent.
struct DecimalDigits {
    std::array<char, FullDigits> Digits{};
    int Exponent = 0;
};

/// Records a formatting error the way the engine does, pointing just past the input text.
void RaiseFormatError(EvalContext& ctx, int code) {
    ctx.ErrorFlag = true;
    ctx.ErrorCode = code;
    ctx.ErrorPos = static_cast<int>(ctx.Input.size()) + 1;
    ctx.ErrorLength = 1;
}

std::string NonFiniteText(Extended a) {
    return std::isnan(a) ? "NaN" : "Infinity";
}

/// The 18 significant digits of a finite a >= 0, correctly rounded from the extended value
/// itself (the C library's conversion is exact, so no double rounding through double).
DecimalDigits ToDecimalDigits(Extended a) {
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%.17Le", a); // "d.ddddddddddddddddde+x..."
    DecimalDigits v;
    v.Digits[0] = text[0];
    std::copy_n(text.begin() + 2, FullDigits - 1, v.Digits.begin() + 1);
    v.Exponent = static_cast<int>(std::strtol(text.data() + FullDigits + 2, nullptr, 10));
    return v;
}

/// Keeps `keep` significant digits, rounding half up on the decimal digits; a carry out of the
/// first digit raises the exponent. keep <= 0 leaves zero unless the first digit rounds up.
void RoundHalfUp(DecimalDigits& v, int keep) {
    if (keep >= FullDigits) {
        return;
    }
    const bool up = keep >= 0 && v.Digits[static_cast<std::size_t>(keep)] >= '5';
    std::fill(v.Digits.begin() + std::max(keep, 0), v.Digits.end(), '0');
    if (!up) {
        return;
    }
    int i = keep - 1;
    while (i >= 0 && v.Digits[static_cast<std::size_t>(i)] == '9') {
        v.Digits[static_cast<std::size_t>(i--)] = '0';
    }
    if (i >= 0) {
        ++v.Digits[static_cast<std::size_t>(i)];
    } else {
        v.Digits[0] = '1';
        ++v.Exponent;
    }
}

/// An exponent magnitude as exactly four digits (extended exponents never need more).
std::string FourDigits(int magnitude) {
    std::string digits = std::to_string(magnitude);
    digits.insert(0, digits.size() < 4 ? 4 - digits.size() : 0, '0');
    return digits;
}

std::string PadLeft(std::string t, int width) {
    if (static_cast<int>(t.size()) < width) {
        t.insert(0, static_cast<std::size_t>(width) - t.size(), ' ');
    }
    return t;
}

/// Places kept for sign, integer digit and point: one more decimal for a positive fraction,
/// one fewer for a negative value above 1.
int FixedReserve(Extended a, std::string_view sign) {
    if (sign.empty() && a < 1) {
        return 2;
    }
    if (sign == "-" && a > 1) {
        return 4;
    }
    return 3;
}

std::string ScientificPass(int notation, Extended a, int width) {
    std::string t = ScientificField(a, width);
    return notation == NotationEng ? EngineeringShift(std::move(t)) : t;
}

/// Rounds to the nearest integer, ties to even, whatever the floating-point rounding mode.
std::int64_t RoundHalfEven(Extended v) {
    const Extended whole = std::floor(v);
    const Extended fraction = v - whole;
    auto n = static_cast<std::int64_t>(whole);
    if (fraction > 0.5L || (fraction == 0.5L && n % 2 != 0)) {
        ++n;
    }
    return n;
}

/// Left-pads base-2 digits to a multiple of the group length and ends every group with a
/// blank; a group length below 1 makes the digits one group.
std::string GroupBits(const std::string& digits, int group) {
    const std::size_t g = group > 0 ? static_cast<std::size_t>(group) : digits.size();
    const std::size_t padded = (digits.size() + g - 1) / g * g;
    const std::string bits = std::string(padded - digits.size(), '0') + digits;
    std::string t;
    for (std::size_t i = 0; i < padded; i += g) {
        t.append(bits, i, g);
        t += ' ';
    }
    return t;
}

std::string BaseText(EvalContext& ctx, Extended a, const std::string& sign) {
    if (a > MaxShownInteger) {
        RaiseFormatError(ctx, ErrOverflow);
        return "0.0";
    }
    const auto n = static_cast<std::uint32_t>(a);
    if (ctx.Base == BaseHex) {
        return sign + BaseDigits(n, 16);
    }
    return sign + GroupBits(BaseDigits(n, 2), ctx.BitGroup);
}

} // namespace

std::string StoredValueText(Extended x) {
    // Without a precision to_chars writes the shortest digits that read back to the same value,
    // in the C locale's form whatever the user's.
    std::array<char, 64> buffer{};
    char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x).ptr;
    std::string text(buffer.data(), end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

std::string ScientificField(Extended a, int w) {
    if (!std::isfinite(a)) {
        return NonFiniteText(a);
    }
    const int digits = std::clamp(w - 8, 2, FullDigits);
    DecimalDigits v = ToDecimalDigits(std::fabs(a));
    RoundHalfUp(v, digits);
    std::string t = " ";
    t += v.Digits[0];
    t += '.';
    t.append(v.Digits.data() + 1, static_cast<std::size_t>(digits - 1));
    t += v.Exponent >= 0 ? "E+" : "E-";
    t += FourDigits(std::abs(v.Exponent));
    return PadLeft(std::move(t), w);
}

std::string FixedField(Extended a, int w, int d) {
    if (d < 0) {
        return ScientificField(a, w);
    }
    if (!std::isfinite(a)) {
        return NonFiniteText(a);
    }
    DecimalDigits v = ToDecimalDigits(std::fabs(a));
    RoundHalfUp(v, v.Exponent + 1 + d);
    // Digits past the 18 significant ones are zeros of the decimal rendering.
    const auto digitAt = [&v](int power) {
        const int i = v.Exponent - power;
        return i >= 0 && i < FullDigits ? v.Digits[static_cast<std::size_t>(i)] : '0';
    };
    std::string t;
    for (int power = std::max(v.Exponent, 0); power >= 0; --power) {
        t += digitAt(power);
    }
    if (d > 0) {
        t += '.';
        for (int power = -1; power >= -d; --power) {
            t += digitAt(power);
        }
    }
    return PadLeft(std::move(t), w);
}

int TrimNumberText(std::string& t, int notation) {
    const std::size_t blanks = std::min(t.find_first_not_of(' '), t.size());
    t.erase(0, blanks);
    std::size_t e = t.find('E');
    if (e == std::string::npos) {
        if (t.find('.') != std::string::npos) {
            while (t.size() >= 2 && t.back() == '0' && t[t.size() - 2] != '.') {
                t.pop_back();
            }
        }
    } else {
        while (e >= 2 && t[e - 1] == '0' && t[e - 2] != '.') {
            t.erase(--e, 1);
        }
        const std::size_t zeroExponent = t.find("E+0000");
        if (notation == NotationFix && zeroExponent != std::string::npos) {
            t.erase(zeroExponent, 6);
        }
    }
    return static_cast<int>(blanks);
}

int ShortenExponent(std::string& t) {
    const std::size_t e = t.find('E');
    if (e == std::string::npos) {
        return 0;
    }
    // The zero is the first exponent digit after the sign; one digit always stays.
    const std::size_t first = e + 2;
    int dropped = 0;
    while (dropped < 3 && first + 1 < t.size() && t[first] == '0') {
        t.erase(first, 1);
        ++dropped;
    }
    return dropped;
}

std::string EngineeringShift(std::string t) {
    t.erase(0, std::min(t.find_first_not_of(' '), t.size()));
    const std::size_t e = t.find('E');
    if (e == std::string::npos || t.size() != e + 6) {
        return t;
    }
    const bool negative = t[e + 1] == '-';
    const int magnitude = std::atoi(t.c_str() + e + 2);
    const int r = magnitude % 3;
    if (r == 0) {
        return t;
    }
    const int shift = negative ? 3 - r : r;
    const int newMagnitude = negative ? magnitude + shift : magnitude - r;
    std::string digits = t.substr(0, e);
    const std::size_t point = std::min(digits.find('.'), digits.size());
    digits.erase(point, 1);
    const std::size_t newPoint = point + static_cast<std::size_t>(shift);
    // A mantissa with too few digits for the shift is filled up with zeros.
    digits.append(digits.size() < newPoint ? newPoint - digits.size() : 0, '0');
    return digits.substr(0, newPoint) + "." + digits.substr(newPoint) + "E" + t[e + 1] +
           FourDigits(newMagnitude);
}

std::string SexagesimalText(EvalContext& ctx, Extended a) {
    if (ctx.ErrorFlag) {
        return "0:0:0";
    }
    const Extended hours = std::fabs(a);
    const Extended seconds = hours * 3600;
    if (!(hours <= MaxShownInteger && seconds <= MaxShownInteger)) {
        ctx.PrevValue = 0;
        RaiseFormatError(ctx, ErrChangeNotation);
        return "0:0:0";
    }
    const std::int64_t s = RoundHalfEven(seconds);
    return std::to_string(s / 3600) + ":" + std::to_string(s / 60 % 60) + ":" + std::to_string(s % 60);
}

std::string BaseDigits(std::uint32_t n, int base) {
    const auto b = static_cast<std::uint32_t>(std::clamp(base, 2, 16));
    std::string digits;
    do {
        digits += DigitChars[n % b];
        n /= b;
    } while (n != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string DecimalText(int notation, int width, Extended a, std::string_view sign, Extended fixLow,
                        Extended fixHigh) {
    if (notation == NotationFix && fixLow < a && a < fixHigh) {
        std::string t = FixedField(a, width, width - FixedReserve(a, sign));
        TrimNumberText(t, notation);
        ShortenExponent(t);
        return t;
    }
    // First pass at the asked width; the blanks and exponent zeros it frees widen the second.
    const int neg = sign.empty() ? 0 : 1;
    std::string t = ScientificPass(notation, a, width);
    int freed = TrimNumberText(t, notation);
    if (t.find('E') != std::string::npos) {
        freed += ShortenExponent(t);
        t = ScientificPass(notation, a, width + freed - neg);
    }
    TrimNumberText(t, notation);
    ShortenExponent(t);
    return t;
}

std::string RealToText(EvalContext& ctx, int width, Extended x) {
    const std::string sign = x < 0 ? "-" : "";
    const Extended a = std::fabs(x);
    if (!std::isfinite(a)) {
        return sign + NonFiniteText(a);
    }
    if (ctx.Base == BaseHex || ctx.Base == BaseBinary) {
        return BaseText(ctx, a, sign);
    }
    if (ctx.NotationMode == NotationSxg) {
        std::string t = SexagesimalText(ctx, a);
        return ctx.ErrorFlag ? t : sign + t;
    }
    return sign + DecimalText(ctx.NotationMode, width, a, sign, RealFixedLow, RealFixedHigh);
}

} // namespace mirla
