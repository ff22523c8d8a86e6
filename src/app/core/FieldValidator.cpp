#include "app/core/FieldValidator.h"

#include <charconv>
#include <cmath>

namespace mirla {

namespace {

/// How far the reading of a number has come; the states with digits at their end are complete.
enum class TNumberState { Start, Sign, Whole, Point, Fraction, Exponent, ExponentSign, ExponentDigits };

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSign(char c) {
    return c == '+' || c == '-';
}
bool IsExponentLetter(char c) {
    return c == 'e' || c == 'E';
}

/// The state after `c`, or nullopt when `c` cannot follow in a number of `kind`.
std::optional<TNumberState> Next(TNumberState state, char c, TFieldKind kind) {
    const bool real = kind == TFieldKind::Real;
    switch (state) {
    case TNumberState::Start:
        if (IsSign(c))
            return TNumberState::Sign;
        [[fallthrough]];
    case TNumberState::Sign:
        if (IsDigit(c))
            return TNumberState::Whole;
        if (real && c == '.')
            return TNumberState::Point;
        return std::nullopt;
    case TNumberState::Whole:
        if (IsDigit(c))
            return TNumberState::Whole;
        if (real && c == '.')
            return TNumberState::Fraction;
        if (real && IsExponentLetter(c))
            return TNumberState::Exponent;
        return std::nullopt;
    case TNumberState::Point:
        if (IsDigit(c))
            return TNumberState::Fraction;
        return std::nullopt;
    case TNumberState::Fraction:
        if (IsDigit(c))
            return TNumberState::Fraction;
        if (IsExponentLetter(c))
            return TNumberState::Exponent;
        return std::nullopt;
    case TNumberState::Exponent:
        if (IsSign(c))
            return TNumberState::ExponentSign;
        [[fallthrough]];
    case TNumberState::ExponentSign:
    case TNumberState::ExponentDigits:
        if (IsDigit(c))
            return TNumberState::ExponentDigits;
        return std::nullopt;
    }
    return std::nullopt;
}

bool IsComplete(TNumberState state) {
    return state == TNumberState::Whole || state == TNumberState::Fraction ||
           state == TNumberState::ExponentDigits;
}

/// Reads `text` into `state`; returns the index of the first character that cannot stand.
std::optional<std::size_t> Scan(std::string_view text, TFieldKind kind, TNumberState& state) {
    state = TNumberState::Start;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto next = Next(state, text[i], kind);
        if (!next)
            return i;
        state = *next;
    }
    return std::nullopt;
}

} // namespace

TFieldValidator::TFieldValidator(std::string name, TFieldKind kind, double low, double high)
    : m_name(std::move(name)), m_kind(kind), m_low(low), m_high(high) {}

std::optional<std::size_t> TFieldValidator::FirstRefused(std::string_view text) const {
    TNumberState state;
    return Scan(text, m_kind, state);
}

std::optional<double> TFieldValidator::Value(std::string_view text) const {
    TNumberState state;
    if (Scan(text, m_kind, state) || !IsComplete(state))
        return std::nullopt;
    // from_chars ignores the locale (a window toolkit may set one with a decimal comma) but
    // takes no "+" sign.
    if (text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string TFieldValidator::Check(std::string_view text) const {
    const auto value = Value(text);
    if (value && *value >= m_low && *value <= m_high)
        return {};
    return RangeMessage();
}

std::string TFieldValidator::RangeMessage() const {
    const char* separator = m_kind == TFieldKind::Integer ? ".." : " ... ";
    return m_name + " must be in the range [" + LimitText(m_low) + separator + LimitText(m_high) + "]";
}

std::string TFieldValidator::LimitText(double limit) const {
    if (m_kind == TFieldKind::Integer)
        return std::to_string(static_cast<long long>(limit));
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, limit);
    std::string text(buffer, result.ptr);
    // Shortest form, with the exponent written as the calculator writes it: 1E30, 1E-5.
    const auto e = text.find('e');
    if (e == std::string::npos)
        return text;
    std::string exponent = text.substr(e + 1);
    const bool negative = exponent.front() == '-';
    if (IsSign(exponent.front()))
        exponent.erase(0, 1);
    exponent.erase(0, exponent.find_first_not_of('0'));
    return text.substr(0, e) + "E" + (negative ? "-" : "") + exponent;
}

} // namespace mirla
