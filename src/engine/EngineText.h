#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirla {

// The engine reads 8-bit text in which "²", "³", "½" and "¶" are the single characters B2, B3,
// BD and B6. Files and the keyboard deliver UTF-8 (older files Windows-1252); these routines
// convert between the two and read and write text files of engine lines.

/// The engine character for one typed character: printable ASCII as itself, the characters
/// square, cube, square root and pi as their engine bytes, anything else `RejectedChar`.
char EngineCharFor(char32_t codePoint);

/// UTF-8 to engine text, one engine character per character typed: ASCII stays, the four
/// calculator symbols become their bytes, anything else (and invalid UTF-8) becomes 0x80,
/// which the engine refuses as a syntax error.
std::string EngineTextFromUtf8(std::string_view utf8);
/// Engine text to UTF-8 (bytes 0x80-0xFF as their Latin-1 characters).
std::string Utf8FromEngineText(std::string_view text);
/// The text of a file as engine text: decoded as UTF-8 when it is valid UTF-8, otherwise as
/// Windows-1252.
std::string EngineTextFromFileBytes(std::string_view bytes);

/// The lines of a file's text as engine text (CR LF or LF).
std::vector<std::string> EngineTextLinesFromFileBytes(std::string_view bytes);
/// Reads a text file as engine text lines (CR LF or LF); false when it cannot be read or is no
/// text (it holds zero bytes).
bool ReadEngineTextLines(const std::string& path, std::vector<std::string>& lines);
/// Writes engine text lines as UTF-8 through a temporary file renamed over `path`, so that a
/// failed write keeps the old file.
bool WriteEngineTextLines(const std::string& path, const std::vector<std::string>& lines);

} // namespace mirla
