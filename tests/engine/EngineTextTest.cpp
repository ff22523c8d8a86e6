#include "engine/EngineText.h"
#include "runtime/TextEncoding.h"

#include "userdefs/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace mirla {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

// The four calculator symbols in UTF-8 and as the engine's single bytes.
const std::string SquareUtf8 = "\xC2\xB2", CubeUtf8 = "\xC2\xB3", HalfUtf8 = "\xC2\xBD",
                  PilcrowUtf8 = "\xC2\xB6";
const std::string Square = "\xB2", Cube = "\xB3", Half = "\xBD", Pilcrow = "\xB6";
const std::string Refused = "\x80";

TEST(EngineTextFromUtf8, TurnsEachTypedCharacterIntoOneEngineCharacter) {
    const std::vector<TextCase> cases = {
        {"ascii", "sin(X)+2*3", "sin(X)+2*3"},
        {"control characters are refused", "a\tb", "a" + Refused + "b"},
        {"square", "X" + SquareUtf8, "X" + Square},
        {"cube", "2" + CubeUtf8, "2" + Cube},
        {"half", "3" + HalfUtf8, "3" + Half},
        {"pilcrow", PilcrowUtf8 + "4", Pilcrow + "4"},
        {"e acute", "caf\xC3\xA9", "caf" + Refused},
        {"euro sign, three bytes", "1\xE2\x82\xAC", "1" + Refused},
        {"emoji, four bytes", "\xF0\x9F\x98\x80+1", Refused + "+1"},
        {"Latin-1 byte alone", "2\xB2", "2" + Refused},
        {"cut-off sequence counts as one character", "5\xE2\x82", "5" + Refused},
        {"overlong slash", "\xC0\xAF", Refused + Refused},
        {"surrogate", "\xED\xA0\x80", Refused + Refused + Refused},
        {"above U+10FFFF", "\xF4\x90\x80\x80", Refused + Refused + Refused + Refused},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(EngineTextFromUtf8(c.input), c.expected) << c.name;
    }
}

TEST(Utf8FromEngineText, WritesHighBytesAsTheirLatin1Characters) {
    EXPECT_EQ(Utf8FromEngineText("X" + Square + "+" + Cube + Half + Pilcrow),
              "X" + SquareUtf8 + "+" + CubeUtf8 + HalfUtf8 + PilcrowUtf8);
    EXPECT_EQ(Utf8FromEngineText("\xE9"), "\xC3\xA9");
    EXPECT_EQ(Utf8FromEngineText(Refused), "\xC2\x80");
    const std::string symbols = Square + Cube + Half + Pilcrow + "abc";
    EXPECT_EQ(EngineTextFromUtf8(Utf8FromEngineText(symbols)), symbols);
}

TEST(EngineTextFromFileBytes, ReadsWindows1252WhenTheFileIsNotUtf8) {
    const std::vector<TextCase> cases = {
        {"plain UTF-8", "X" + SquareUtf8 + " ; caf\xC3\xA9", "X" + Square + " ; caf" + Refused},
        {"byte-order mark dropped",
         "\xEF\xBB\xBF"
         "f(x) = x" +
             CubeUtf8,
         "f(x) = x" + Cube},
        {"Windows-1252 symbols keep their meaning", "X\xB2+Y\xB3+\xBD+\xB6",
         "X" + Square + "+Y" + Cube + "+" + Half + "+" + Pilcrow},
        {"Windows-1252 letters are refused", "caf\xE9 X\xB2", "caf" + Refused + " X" + Square},
        {"Windows-1252 euro and quotes", "\x80\x93\x94", Refused + Refused + Refused},
        {"undefined Windows-1252 byte",
         "\x81"
         "1",
         Refused + "1"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(EngineTextFromFileBytes(c.input), c.expected) << c.name;
    }
}

TEST(Utf8FromFileBytes, DecodesWindows1252ToUnicode) {
    EXPECT_EQ(Utf8FromFileBytes("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(Utf8FromFileBytes("\x80"
                                "5"),
              "\xE2\x82\xAC"
              "5");
    EXPECT_EQ(Utf8FromFileBytes("\x93q\x94"), "\xE2\x80\x9Cq\xE2\x80\x9D");
    EXPECT_EQ(Utf8FromFileBytes("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(Utf8FromFileBytes("\xEF\xBB\xBF\xEF\xBB\xBF"
                                "caf\xC3\xA9"),
              "caf\xC3\xA9");
}

TEST(ReadEngineTextLines, SplitsCrLfAndLfLinesAndKeepsALastLineWithoutNewline) {
    const std::vector<TextCase> cases = {
        {"LF", "a\nb\n", "a|b|"},
        {"CR LF", "a\r\nb\r\n", "a|b|"},
        {"CR CR LF", "a\r\r\nb\r\n", "a|b|"},
        {"mixed with blank line", "a\r\n\nb", "a||b|"},
        {"no final newline", "a\nlast", "a|last|"},
        {"empty file", "", ""},
        {"Windows-1252 file", "X\xB2\r\n\xBD\r\n", "X" + Square + "|" + Half + "|"},
    };
    TempDir dir;
    for (const TextCase& c : cases) {
        const std::string path = dir.File("lines.txt");
        WriteText(path, c.input);
        std::vector<std::string> lines;
        ASSERT_TRUE(ReadEngineTextLines(path, lines)) << c.name;
        std::string joined;
        for (const std::string& line : lines) {
            joined += line + "|";
        }
        EXPECT_EQ(joined, c.expected) << c.name;
    }
}

TEST(ReadEngineTextLines, FailsForMissingFilesFoldersAndFilesThatAreNoTextAndLeavesTheLines) {
    TempDir dir;
    std::vector<std::string> lines = {"kept"};
    EXPECT_FALSE(ReadEngineTextLines(dir.File("missing.txt"), lines));
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_FALSE(ReadEngineTextLines(dir.File("folder"), lines));
    WriteText(dir.File("utf16.txt"), std::string("\xFF\xFE"
                                                 "a\0",
                                                 4));
    EXPECT_FALSE(ReadEngineTextLines(dir.File("utf16.txt"), lines));
    EXPECT_EQ(lines, std::vector<std::string>{"kept"});
}

TEST(WriteEngineTextLines, WritesUtf8LinesThatReadBackTheSame) {
    TempDir dir;
    const std::string path = dir.File("out.txt");
    const std::vector<std::string> lines = {"X" + Square + "+1", "", Half + Pilcrow + Cube};
    ASSERT_TRUE(WriteEngineTextLines(path, lines));
    EXPECT_EQ(ReadText(path), "X" + SquareUtf8 + "+1\n\n" + HalfUtf8 + PilcrowUtf8 + CubeUtf8 + "\n");
    std::vector<std::string> read;
    ASSERT_TRUE(ReadEngineTextLines(path, read));
    EXPECT_EQ(read, lines);
}

TEST(WriteEngineTextLines, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string folder = dir.File("target");
    std::filesystem::create_directory(folder);
    WriteText(folder + "/inside.txt", "old");
    // A folder cannot be replaced by a file: the rename fails after the temporary was written.
    EXPECT_FALSE(WriteEngineTextLines(folder, {"new"}));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ReadText(folder + "/inside.txt"), "old");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File(""))) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(WriteEngineTextLines(dir.File("no-such-folder/out.txt"), {"new"}));
}

} // namespace
} // namespace mirla
