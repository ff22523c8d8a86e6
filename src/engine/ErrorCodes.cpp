#include "engine/ErrorCodes.h"

#include <array>
#include <string_view>

namespace mirla {

namespace {

constexpr int MaxErrorTextLength = 80;

std::string_view PlainMessage(int code) {
    static constexpr std::array<std::string_view, 29> Messages = {
        "Syntax error",
        "Undefined",
        "Stack overflow",
        "Dummy string",
        "No possibility",
        "Undefined",
        "Extremum not found",
        "Scale Overflow",
        "Argument Error",
        "Average undefined",
        "Argument Negative",
        "Overflow",
        "Function singularity",
        "Division by zero",
        "Empty",
        "working...",
        "Too many \")\"",
        "Missing \"(\"",
        "Missing \")\"",
        "String stack saved",
        "\",\" expected",
        "Interval Error",
        "User break",
        "Change notation",
        "Argument out of range",
        "Missing \";\"",
        "Missing argument",
        "Undefined",
        "Underflow",
    };
    if (code < 0 || code >= static_cast<int>(Messages.size()))
        return "Undefined";
    return Messages[static_cast<std::size_t>(code)];
}

} // namespace

std::string ErrorText(int code, int innerCode, int innerPos) {
    if (code != ErrUserFunction)
        return std::string(PlainMessage(code));
    std::string text = "User Function Error \"";
    text += PlainMessage(innerCode);
    text += " position: " + std::to_string(innerPos) + "\" ";
    if (text.size() > MaxErrorTextLength)
        text.resize(MaxErrorTextLength);
    return text;
}

} // namespace mirla
