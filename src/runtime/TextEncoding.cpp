#include "runtime/TextEncoding.h"

#include <array>
#include <cstdint>

namespace mirla {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

/// Windows-1252 characters 0x80-0x9F as Unicode code points (0 where the code page has none).
constexpr std::array<char32_t, 32> Windows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

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

bool IsValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (DecodeUtf8(text, pos) == InvalidCodePoint)
            return false;
    }
    return true;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<std::uint8_t>(b);
        char32_t c = byte;
        if (byte >= 0x80 && byte < 0xA0) {
            // The five bytes the code page leaves undefined stand for the control characters
            // of the same number, as the platform's own conversion does.
            c = Windows1252High[byte - 0x80] != 0 ? Windows1252High[byte - 0x80] : byte;
        }
        AppendUtf8(out, c);
    }
    return out;
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

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf8FromFileBytes(std::string_view bytes) {
    // Editors that do not know the mark add one more each time they save.
    while (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
    }
    return IsValidUtf8(bytes) ? std::string(bytes) : Utf8FromWindows1252(bytes);
}
} // namespace mirla
