#include "engine/EngineText.h"

#include "engine/EvalContext.h"
#include "runtime/FileBytes.h"
#include "runtime/TextEncoding.h"

#include <cstdint>

namespace mirla {

namespace {

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
        // Every carriage return before the line feed belongs to the line end (CR CR LF too).
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

} // namespace

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

std::string EngineTextFromUtf8(std::string_view utf8Line) {
    std::string text;
    text.reserve(utf8Line.size());
    std::size_t pos = 0;
    while (pos < utf8Line.size()) {
        text.push_back(EngineCharFor(DecodeUtf8(utf8Line, pos)));
    }
    return text;
}

std::string Utf8FromEngineText(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    AppendUtf8FromEngineText(utf8, text);
    return utf8;
}

std::string EngineTextFromFileBytes(std::string_view bytes) {
    // Line ends and tabs stay as they are; the lines are split afterwards.
    const std::string utf8 = Utf8FromFileBytes(bytes);
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = DecodeUtf8(utf8, pos);
        text.push_back(c == '\n' || c == '\r' || c == '\t' ? static_cast<char>(c) : EngineCharFor(c));
    }
    return text;
}

std::vector<std::string> EngineTextLinesFromFileBytes(std::string_view bytes) {
    return SplitLines(EngineTextFromFileBytes(bytes));
}

bool ReadEngineTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (!ReadTextFileBytes(path, bytes)) {
        return false;
    }
    lines = EngineTextLinesFromFileBytes(bytes);
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
