#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirla {

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

/// Converts a UTF-8 line into engine text, one engine character per typed character, so that
/// positions in the result are positions in the line as typed.
std::string ToEngineText(std::string_view utf8Line);

} // namespace mirla
