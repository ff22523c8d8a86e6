#pragma once

#include "engine/EvalContext.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace mirla {

/// Character classes of the engine's grammar, looked up in one table per character.
enum CharClass : std::uint16_t {
    ClassAdditive = 1 << 0,       ///< + - & | backslash
    ClassMultiplicative = 1 << 1, ///< * / %
    ClassFollow = 1 << 2,         ///< may follow a number, "?", a call or a variable
    ClassTermFollow = 1 << 3,     ///< may follow a complete term
    ClassLetter = 1 << 4,         ///< A-Z, a-z
    ClassNameEnd = 1 << 5,        ///< ends a name
    ClassDecimalDigit = 1 << 6,   ///< "$", ".", 0-9
    ClassHexDigit = 1 << 7,       ///< "$", ".", 0-9, A-F
    ClassBinaryDigit = 1 << 8,    ///< "$", ".", 0, 1
    ClassForbidden = 1 << 9,      ///< control characters and the end marker inside a text
    ClassPostfix = 1 << 10,       ///< ^ and the square, root and cube characters
    ClassOperandOpener = 1 << 11, ///< "(", "?", pi, letters and additive operators
};

/// The class bits of every character.
constexpr std::array<std::uint16_t, 256> CharClassTable = [] {
    std::array<std::uint16_t, 256> t{};
    auto add = [&t](unsigned char c, std::uint16_t bits) { t[c] = static_cast<std::uint16_t>(t[c] | bits); };
    using Chars = std::initializer_list<unsigned char>;
    for (unsigned char c : Chars{'+', '-', '&', '|', '\\'})
        add(c, ClassAdditive | ClassFollow | ClassTermFollow | ClassNameEnd);
    for (unsigned char c : Chars{'*', '/', '%'})
        add(c, ClassMultiplicative | ClassFollow | ClassTermFollow | ClassNameEnd);
    for (unsigned char c : Chars{')', static_cast<unsigned char>(EndMarker)})
        add(c, ClassFollow | ClassTermFollow | ClassNameEnd);
    for (unsigned char c : Chars{',', '^', static_cast<unsigned char>(SquareChar),
                                 static_cast<unsigned char>(CubeChar), static_cast<unsigned char>(RootChar)})
        add(c, ClassFollow | ClassNameEnd);
    add('(', ClassNameEnd | ClassOperandOpener);
    for (unsigned char c : Chars{'^', static_cast<unsigned char>(SquareChar),
                                 static_cast<unsigned char>(CubeChar), static_cast<unsigned char>(RootChar)})
        add(c, ClassPostfix);
    for (unsigned char c : Chars{'?', static_cast<unsigned char>(PiChar), '+', '-', '&', '|', '\\'})
        add(c, ClassOperandOpener);
    add('=', ClassNameEnd);
    for (unsigned char c = 'A'; c <= 'Z'; ++c)
        add(c, ClassLetter | ClassOperandOpener);
    for (unsigned char c = 'a'; c <= 'z'; ++c)
        add(c, ClassLetter | ClassOperandOpener);
    for (unsigned char c : Chars{'$', '.', '0', '1'})
        add(c, ClassDecimalDigit | ClassHexDigit | ClassBinaryDigit);
    for (unsigned char c = '2'; c <= '9'; ++c)
        add(c, ClassDecimalDigit | ClassHexDigit);
    for (unsigned char c = 'A'; c <= 'F'; ++c)
        add(c, ClassHexDigit);
    for (unsigned char c = 0; c < 0x20; ++c)
        add(c, ClassForbidden);
    add(static_cast<unsigned char>(EndMarker), ClassForbidden);
    return t;
}();

/// True when c belongs to any of the classes in `bits`.
constexpr bool HasClass(char c, std::uint16_t bits) {
    return (CharClassTable[static_cast<unsigned char>(c)] & bits) != 0;
}

/// The digit class of a base mode.
constexpr std::uint16_t DigitClass(int base) {
    return base == BaseHex ? ClassHexDigit : base == BaseBinary ? ClassBinaryDigit : ClassDecimalDigit;
}

/// True when c may stand in a number literal of the current base ("$" and "." included).
inline bool IsDigitChar(const EvalContext& ctx, char c) {
    return HasClass(c, DigitClass(ctx.Base));
}

} // namespace mirla
