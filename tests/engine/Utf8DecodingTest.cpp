#include "engine/EngineText.h"
#include "engine/EvalContext.h"
#include "runtime/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirla {
namespace {

/// A typed UTF-8 line and the engine text it must become.
struct ConversionCase {
    const char* Name;
    std::string Typed;
    std::string Engine;
};

TEST(Utf8Input, TypedLinesBecomeOneEngineCharacterPerTypedCharacter) {
    const std::vector<ConversionCase> cases = {
        {"plain ASCII", "1 + sin(30)*?", "1 + sin(30)*?"},
        {"empty line", "", ""},
        {"square", "3\xC2\xB2", "3\xB2"},
        {"cube", "2\xC2\xB3", "2\xB3"},
        {"square root", "4\xC2\xBD", "4\xBD"},
        {"pi", "\xC2\xB6*2", "\xB6*2"},
        {"euro sign (3 bytes)", "1+\xE2\x82\xAC", "1+\x80"},
        {"e acute (2 bytes)", "\xC3\xA9+1", "\x80+1"},
        {"emoji (4 bytes)", "\xF0\x9F\x98\x80-1", "\x80-1"},
        {"no-break space is not a blank", "1\xC2\xA0+2", "1\x80+2"},
        {"Latin-1 byte of the square is not UTF-8", "3\xB2", "3\x80"},
        {"lone continuation byte", "\x80\x80", "\x80\x80"},
        {"byte never used in UTF-8", "1\xFF", "1\x80"},
        {"overlong form of slash", "\xC0\xAF", "\x80\x80"},
        {"overlong three-byte form", "\xE0\x80\xAF", "\x80\x80\x80"},
        {"surrogate", "\xED\xA0\x80", "\x80\x80\x80"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "\x80\x80\x80\x80"},
        {"truncated sequence then ASCII", "\xE2\x82+1", "\x80+1"},
        {"truncated at the end", "1+\xF0\x9F\x98", "1+\x80"},
        {"tab", "1\t+2", "1\x80+2"},
        {"delete character (the engine's end marker)",
         "1\x7F"
         "2",
         "1\x80"
         "2"},
        {"NUL",
         std::string("1\0"
                     "2",
                     3),
         "1\x80"
         "2"},
        {"placeholder character of user functions", "f(\x01)", "f(\x80)"},
    };
    for (const ConversionCase& c : cases) {
        EXPECT_EQ(EngineTextFromUtf8(c.Typed), c.Engine) << c.Name;
    }
}

TEST(Utf8Input, DecodingGivesCodePointsAndAdvances) {
    const std::string text = "a\xC2\xB2\xE2\x82\xAC\xF0\x9F\x98\x80";
    std::size_t pos = 0;
    EXPECT_EQ(DecodeUtf8(text, pos), U'a');
    EXPECT_EQ(pos, 1U);
    EXPECT_EQ(DecodeUtf8(text, pos), U'\u00B2');
    EXPECT_EQ(pos, 3U);
    EXPECT_EQ(DecodeUtf8(text, pos), U'\u20AC');
    EXPECT_EQ(pos, 6U);
    EXPECT_EQ(DecodeUtf8(text, pos), U'\U0001F600');
    EXPECT_EQ(pos, 10U);
}

TEST(Utf8Input, MalformedSequenceConsumesOnlyItsWellFormedPrefix) {
    const std::string text = "\xE2\x82Z";
    std::size_t pos = 0;
    EXPECT_EQ(DecodeUtf8(text, pos), InvalidCodePoint);
    EXPECT_EQ(pos, 2U);
    EXPECT_EQ(DecodeUtf8(text, pos), U'Z');
}

TEST(Utf8Input, SequenceLengthFollowsTheLeadByte) {
    EXPECT_EQ(Utf8SequenceLength('A'), 1);
    EXPECT_EQ(Utf8SequenceLength(0xC2), 2);
    EXPECT_EQ(Utf8SequenceLength(0xE2), 3);
    EXPECT_EQ(Utf8SequenceLength(0xF0), 4);
    EXPECT_EQ(Utf8SequenceLength(0x80), 0);
    EXPECT_EQ(Utf8SequenceLength(0xC1), 0);
    EXPECT_EQ(Utf8SequenceLength(0xF5), 0);
}

TEST(Utf8Input, OnlyTheFourCalculatorSymbolsPassBeyondAscii) {
    EXPECT_EQ(EngineCharFor(U'\u00B2'), '\xB2');
    EXPECT_EQ(EngineCharFor(U'\u00B3'), '\xB3');
    EXPECT_EQ(EngineCharFor(U'\u00BD'), '\xBD');
    EXPECT_EQ(EngineCharFor(U'\u00B6'), '\xB6');
    EXPECT_EQ(EngineCharFor(U'\u00B1'), RejectedChar);
    EXPECT_EQ(EngineCharFor(U'\u00B9'), RejectedChar);
    EXPECT_EQ(EngineCharFor(InvalidCodePoint), RejectedChar);
    EXPECT_EQ(EngineCharFor(U' '), ' ');
    EXPECT_EQ(EngineCharFor(U'~'), '~');
}

} // namespace
} // namespace mirla
