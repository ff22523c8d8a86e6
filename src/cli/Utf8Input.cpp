#include "cli/Utf8Input.h"

#include "engine/EvalContext.h"

namespace mirla {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

/// The range the second byte of a sequence must lie in; it excludes overlong forms,
/// surrogates and code points above U+10FFFF.
struct SecondByteRange {
    unsigned char Low;
    unsigned char High;
};

SecondByteRange SecondByteRangeFor(unsigned char lead) {
    switch (lead) {
    case 0xE0:
        return {0xA0, 0xBF};
    case 0xED:
        return {0x80, 0x9F};
    case 0xF0:
        return {0x90, 0xBF};
    case 0xF4:
        return {0x80, 0x8F};
    default:
        return {0x80, 0xBF};
    }
}

} // namespace

int Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

char32_t DecodeUtf8(std::string_view bytes, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos++]);
    const int length = Utf8SequenceLength(lead);
    if (length == 1) {
        return lead;
    }
    if (length == 0) {
        return InvalidCodePoint;
    }
    const SecondByteRange second = SecondByteRangeFor(lead);
    char32_t codePoint = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if (pos >= bytes.size()) {
            return InvalidCodePoint;
        }
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        const bool fits = i == 1 ? byte >= second.Low && byte <= second.High : IsContinuation(byte);
        if (!fits) {
            return InvalidCodePoint;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
        ++pos;
    }
    return codePoint;
}

char EngineCharFor(char32_t codePoint) {
    // Control characters cannot be typed into the input line; the engine uses some of them
    // internally (parameter placeholders, the end marker), so they must never reach it.
    if (codePoint >= 0x20 && codePoint < 0x7F) {
        return static_cast<char>(codePoint);
    }
    for (const char engineChar : {SquareChar, CubeChar, RootChar, PiChar}) {
        if (codePoint == static_cast<unsigned char>(engineChar)) {
            return engineChar;
        }
    }
    return RejectedChar;
}

std::string ToEngineText(std::string_view utf8Line) {
    std::string text;
    text.reserve(utf8Line.size());
    std::size_t pos = 0;
    while (pos < utf8Line.size()) {
        text.push_back(EngineCharFor(DecodeUtf8(utf8Line, pos)));
    }
    return text;
}

} // namespace mirla
