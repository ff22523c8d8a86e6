#pragma once

#include <string>
#include <string_view>

namespace mirla {

// Files and the keyboard deliver UTF-8; older files come in Windows-1252. These routines decode
// UTF-8 strictly and turn either coding into UTF-8.

/// Marks a byte sequence that is not well-formed UTF-8.
constexpr char32_t InvalidCodePoint = 0xFFFFFFFF;

/// Number of bytes a UTF-8 sequence starting with `lead` claims (1 to 4), 0 for a byte that
/// cannot start a sequence.
int Utf8SequenceLength(unsigned char lead);

/// Decodes the character at `pos` of `bytes` and moves `pos` past it. A malformed sequence
/// gives `InvalidCodePoint` and consumes its longest well-formed prefix (at least one byte),
/// so every malformed part counts as one character.
char32_t DecodeUtf8(std::string_view bytes, std::size_t& pos);

/// Appends the UTF-8 form of the code point `c`.
void AppendUtf8(std::string& out, char32_t c);

/// The text of a file as UTF-8: kept when it is valid UTF-8 (leading byte-order marks
/// dropped), otherwise decoded as Windows-1252.
std::string Utf8FromFileBytes(std::string_view bytes);

} // namespace mirla
