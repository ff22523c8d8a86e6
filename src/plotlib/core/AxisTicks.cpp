#include "plotlib/core/AxisTicks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace mirla {

namespace {

/// Significant digits a tick value keeps when accumulation error is stripped from it.
constexpr int NormalisingDigits = std::numeric_limits<double>::digits10;
/// Values at or below this magnitude (and from `GeneralFormatAbove` on) are labelled in general format.
constexpr double GeneralFormatBelow = 0.001;
constexpr double GeneralFormatAbove = 1000000;
/// A value this many times smaller than the step is a rounding residue of zero.
constexpr double ResidueRatio = 1000000;

/// Whether a scaled value can be rounded as a 32-bit signed integer.
bool FitsInt32(double x) {
    return x > -2147483648.0 && x < 2147483647.0;
}

std::string ToChars(double x, std::chars_format format, int precision) {
    // Wide enough for any double in fixed format with the digits a tick layout can ask for (at most 309
    // integer digits and about 330 decimals).
    std::array<char, 1024> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, format, precision);
    return std::string(buffer.data(), result.ptr);
}

double ReadBack(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

/// x rounded to `decimals` decimals, when the scaled value fits a 32-bit integer.
std::optional<double> RoundToDecimals(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    if (!FitsInt32(scaled))
        return std::nullopt;
    return RoundHalfEven(scaled) / scale;
}

/// A positive range brought into [1, 10): the normalised value, its power of ten and how many times it was
/// multiplied by 10 on the way up.
struct TNormalisedRange {
    double R;
    double Multiplier;
    int Shifts;
};

TNormalisedRange Normalise(double r) {
    int exponent = 0;
    int shifts = 0;
    while (r < 1) {
        r *= 10;
        --exponent;
        ++shifts;
    }
    while (r >= 10) {
        r *= 0.1;
        ++exponent;
    }
    return {r, std::pow(10.0, exponent), shifts};
}

/// How a normalised range is divided: tick count, minor steps per major tick, step as a fraction of the
/// range's power of ten.
struct TStepRule {
    int Count;
    int MinorPerMajor;
    double StepFactor;
};

TStepRule StepRule(double r) {
    if (r < 2)
        return {static_cast<int>(RoundHalfEven(r * 10)) + 1, 5, 0.1};
    if (r > 5)
        return {static_cast<int>(RoundHalfEven(r * 2)) + 1, 4, 0.5};
    return {static_cast<int>(RoundHalfEven(r * 5)) + 1, 5, 0.2};
}

TTickLayout DecimalTicks(const TTickRequest& request, double min, double max) {
    const double range = max - min;
    const TNormalisedRange normalised = Normalise(range);
    const TStepRule rule = StepRule(normalised.R);
    TTickLayout layout;
    // Ranges above 100 are labelled without decimals; small ranges get one more decimal per power of ten.
    layout.Digits = (range <= 100 ? 1 : 0) + normalised.Shifts;
    layout.Count = rule.Count;
    layout.MinorPerMajor = rule.MinorPerMajor;
    layout.Step = normalised.Multiplier * rule.StepFactor;
    layout.RoundedMax = max;
    if (request.AutoMax && !request.Zoomed)
        layout.RoundedMax = RoundToDecimals(max, layout.Digits + 1).value_or(max);
    const std::optional<double> roundedMin = RoundToDecimals(min, layout.Digits + 1);
    layout.First = roundedMin ? *roundedMin : ReadBack(ToChars(min, std::chars_format::fixed, layout.Digits));
    return layout;
}

TTickLayout IntegerTicks(double min, double max) {
    const double range = max - min;
    TTickLayout layout;
    layout.IntegerLabels = true;
    layout.First = RoundHalfEven(min - 0.5);
    layout.RoundedMax = max;
    layout.MinorPerMajor = 1;
    if (range < 2) {
        layout.Count = 3;
        layout.Step = 1;
    } else if (range <= 5) {
        layout.Count = static_cast<int>(RoundHalfEven(range)) + 2;
        layout.Step = 1;
    } else if (range <= 10) {
        layout.Count = static_cast<int>(RoundHalfEven(range * 0.5)) + 2;
        layout.Step = 2;
    } else {
        const TNormalisedRange normalised = Normalise(range);
        const TStepRule rule = StepRule(normalised.R);
        layout.Count = rule.Count;
        layout.MinorPerMajor = rule.MinorPerMajor;
        layout.Step = RoundHalfEven(normalised.Multiplier * rule.StepFactor);
        layout.Digits = 0;
    }
    return layout;
}

/// |v| in general format with `precision` significant digits, the exponent written as "E", an optional "-"
/// and its digits without leading zeros, and a mantissa that always has a decimal point ("1.0E-5").
std::string GeneralText(double magnitude, int precision) {
    std::string text = ToChars(magnitude, std::chars_format::general, std::clamp(precision, 1, 17));
    const auto e = text.find('e');
    if (e == std::string::npos)
        return text;
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') == std::string::npos)
        mantissa += ".0";
    return mantissa + "E" + std::to_string(std::stoi(text.substr(e + 1)));
}

/// |v| in fixed format with `digits` decimals, trailing zeros removed down to one after the point.
std::string FixedText(double magnitude, int digits) {
    std::string text = ToChars(magnitude, std::chars_format::fixed, std::max(digits, 0));
    if (text.find('.') == std::string::npos)
        return text;
    while (text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
    return text;
}

/// How many multiplications by 10 bring a magnitude to at least 1 (0 for 0 and for magnitudes >= 1).
int ShiftsToOne(double magnitude) {
    int shifts = 0;
    for (; magnitude > 0 && magnitude < 1; magnitude *= 10)
        ++shifts;
    return shifts;
}

} // namespace

double RoundHalfEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

TTickLayout ComputeTicks(const TTickRequest& request) {
    double min = request.Min;
    double max = request.Max;
    if (min > max)
        std::swap(min, max);
    const double range = max - min;
    if (!(range > 0) || !std::isfinite(range)) {
        TTickLayout unchanged;
        unchanged.First = min;
        unchanged.RoundedMax = max;
        return unchanged;
    }
    const bool integerLabels =
        request.LabelStyle == asInteger && (request.Zoomed || !request.GraphHasData || range <= 10);
    return integerLabels ? IntegerTicks(min, max) : DecimalTicks(request, min, max);
}

std::vector<TLogTick> LogTicks(double logMin, double logMax) {
    if (logMin > logMax)
        std::swap(logMin, logMax);
    std::vector<TLogTick> ticks;
    if (!std::isfinite(logMin) || !std::isfinite(logMax))
        return ticks;
    // log10 of a tick is compared with a little slack, so a limit like log10(100) computed a hair low still
    // keeps its tick. Decades beyond the range of doubles hold no ticks.
    constexpr double slack = 1e-9;
    const int firstDecade = static_cast<int>(std::floor(std::max(logMin - slack, -325.0)));
    const int lastDecade = static_cast<int>(std::floor(std::min(logMax + slack, 309.0)));
    for (int exponent = firstDecade; exponent <= lastDecade; ++exponent) {
        const double decade = std::pow(10.0, exponent);
        for (int multiple = 1; multiple <= 9; ++multiple) {
            const double value = multiple * decade;
            const double position = std::log10(value);
            if (position >= logMin - slack && position <= logMax + slack)
                ticks.push_back({value, multiple == 1, exponent});
        }
    }
    return ticks;
}

std::string AxisLabelText(double value, int digits, double step, bool linear) {
    const double v = ReadBack(ToChars(value, std::chars_format::general, NormalisingDigits));
    if (linear && v != 0 && std::abs(step / v) > ResidueRatio)
        return "0.0";
    const double magnitude = std::abs(v);
    std::string text;
    if (v != 0 && (magnitude <= GeneralFormatBelow || magnitude >= GeneralFormatAbove))
        text = GeneralText(magnitude, digits - ShiftsToOne(magnitude) + 2);
    else
        text = FixedText(magnitude, digits);
    if (text.size() >= 2 && text.ends_with(".0"))
        text.resize(text.size() - 2);
    // A magnitude that rounds to zero is labelled "0", never "-0".
    const bool negative = v < 0 && text.find_first_not_of("0.") != std::string::npos;
    return negative ? "-" + text : text;
}

} // namespace mirla
