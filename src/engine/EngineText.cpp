#include "engine/EngineText.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace mirla {

namespace {

constexpr char RefusedCharacter = static_cast<char>(0x80);
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

/// Windows-1252 characters 0x80-0x9F as Unicode code points (0 where the code page has none).
constexpr std::array<char32_t, 32> Windows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsCalculatorSymbol(char32_t c) {
    return c == 0xB2 || c == 0xB3 || c == 0xBD || c == 0xB6;
}

char EngineCharacter(char32_t c) {
    return c < 0x80 || IsCalculatorSymbol(c) ? static_cast<char>(c) : RefusedCharacter;
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

/// Decodes the UTF-8 character at `pos`; returns its length, or 0 when the bytes there are not
/// a well-formed character (overlong forms, surrogates and values above U+10FFFF included).
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[pos + i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return c < minimum || c > 0x10FFFF || surrogate ? 0 : length;
}

bool IsValidUtf8(std::string_view text) {
    char32_t c = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = DecodeUtf8(text, pos, c);
        if (length == 0) {
            return false;
        }
        pos += length;
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

void AppendUtf8FromEngineText(std::string& utf8, std::string_view text) {
    for (const char b : text) {
        AppendUtf8(utf8, static_cast<std::uint8_t>(b));
    }
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

} // namespace

std::string EngineTextFromUtf8(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(utf8, pos, c);
        text += length == 0 ? RefusedCharacter : EngineCharacter(c);
        pos += length == 0 ? 1 : length;
    }
    return text;
}

std::string Utf8FromEngineText(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    AppendUtf8FromEngineText(utf8, text);
    return utf8;
}

std::string Utf8FromFileBytes(std::string_view bytes) {
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
    }
    return IsValidUtf8(bytes) ? std::string(bytes) : Utf8FromWindows1252(bytes);
}

std::string EngineTextFromFileBytes(std::string_view bytes) {
    return EngineTextFromUtf8(Utf8FromFileBytes(bytes));
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::error_code ec;
    if (path.empty() || std::filesystem::is_directory(path, ec)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    bytes = std::move(content).str();
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    if (path.empty()) {
        return false;
    }
    const fs::path temporary = path + ".saving~";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::error_code ec;
    if (out.fail() || (fs::rename(temporary, fs::path(path), ec), ec)) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool ReadEngineTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        return false;
    }
    lines = SplitLines(EngineTextFromFileBytes(bytes));
    return true;
}

bool WriteEngineTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 1;
    }
    std::string utf8;
    utf8.reserve(size + size / 8);
    for (const std::string& line : lines) {
        AppendUtf8FromEngineText(utf8, line);
        utf8 += '\n';
    }
    return WriteFileAtomically(path, utf8);
}

} // namespace mirla
