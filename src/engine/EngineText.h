#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirla {

// The engine reads 8-bit text in which "²", "³", "½" and "¶" are the single characters B2, B3,
// BD and B6. Files and the keyboard deliver UTF-8 (older files Windows-1252); these routines
// convert between the two and read and write text files safely.

/// Marks a byte sequence that is not well-formed UTF-8.
constexpr char32_t InvalidCodePoint = 0xFFFFFFFF;
/// The engine character that stands for anything the engine has no character for; it is in
/// no part of the grammar, so the engine reports a syntax error at its position.
constexpr char RejectedChar = '\x80';

/// Number of bytes a UTF-8 sequence starting with `lead` claims (1 to 4), 0 for a byte that
/// cannot start a sequence.
int Utf8SequenceLength(unsigned char lead);

/// Decodes the character at `pos` of `bytes` and moves `pos` past it. A malformed sequence
/// gives `InvalidCodePoint` and consumes its longest well-formed prefix (at least one byte),
/// so every malformed part counts as one character.
char32_t DecodeUtf8(std::string_view bytes, std::size_t& pos);

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

/// The text of a file as UTF-8: kept when it is valid UTF-8 (a leading byte-order mark
/// dropped), otherwise decoded as Windows-1252.
std::string Utf8FromFileBytes(std::string_view bytes);

/// Reads a whole file as bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);
/// Writes bytes to a temporary file beside `path` and renames it over `path`; on failure the
/// old file is untouched and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

/// Reads a text file as engine text lines (CR LF or LF); false when it cannot be read.
bool ReadEngineTextLines(const std::string& path, std::vector<std::string>& lines);
/// Writes engine text lines as UTF-8 through a temporary file renamed over `path`, so that a
/// failed write keeps the old file.
bool WriteEngineTextLines(const std::string& path, const std::vector<std::string>& lines);

} // namespace mirla
