#include "runtime/IniFile.h"

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

TIniFile LoadText(const TempDir& dir, const std::string& text) {
    const std::string path = dir.File("test.ini");
    WriteText(path, text);
    TIniFile ini;
    std::string message;
    EXPECT_TRUE(ini.Load(path, message)) << message;
    return ini;
}

TEST(IniFile, ReadsNamesWithBlanksWithoutRegardToCase) {
    TempDir dir;
    const TIniFile ini = LoadText(dir, "[Calc Settings]\r\nDigits=14\r\r\n[Graphics]\r\nXx min = -5 \r\n"
                                       "  Title=  f(X)  \r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"Calc Settings", "Digits", "14"},  {"calc settings", "DIGITS", "14"}, {"Graphics", "Xx min", "-5"},
        {"GRAPHICS", "xX MIN", "-5"},       {"Graphics", "Title", "f(X)"},     {"Graphics", "Xxmin", "none"},
        {"CalcSettings", "Digits", "none"}, {"Graphics", "Digits", "none"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.ReadString(c.section, c.key, "none"), c.expected) << c.section << " / " << c.key;
    }
}

TEST(IniFile, NumbersThatDoNotReadGiveTheDefault) {
    TempDir dir;
    const TIniFile ini = LoadText(dir, "[S]\nplain=42\nnegative=-7\nplus=+3\nblank=\ntext=abc\n"
                                       "trailing=12abc\nreal=1.5\nhuge=99999999999\nbool0=0\nbool2=2\n");
    struct Case {
        const char* key;
        int expected;
    };
    const std::vector<Case> cases = {{"plain", 42}, {"negative", -7}, {"plus", 3},
                                     {"blank", 99}, {"text", 99},     {"trailing", 99},
                                     {"real", 99},  {"huge", 99},     {"missing", 99}};
    for (const Case& c : cases) {
        EXPECT_EQ(ini.ReadInteger("S", c.key, 99), c.expected) << c.key;
    }
    EXPECT_FALSE(ini.ReadBool("S", "bool0", true));
    EXPECT_TRUE(ini.ReadBool("S", "bool2", false));
    EXPECT_TRUE(ini.ReadBool("S", "text", true));
    EXPECT_FALSE(ini.ReadBool("S", "missing", false));
}

TEST(IniFile, TheFirstOfRepeatedKeysCounts) {
    TempDir dir;
    const TIniFile ini = LoadText(dir, "[S]\nk=1\nK=2\n");
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
}

TEST(IniFile, KeepsUnknownSectionsKeysAndCommentsInOrder) {
    TempDir dir;
    const std::string text = "; written by hand\n[Plot_Graph]\nPlot_Color=255\n; a comment\n\n"
                             "[Calc]\nLeft=10\nOther key=x y\n";
    TIniFile ini = LoadText(dir, text);
    ini.WriteInteger("calc", "left", 20);
    ini.WriteInteger("Calc", "Top", 30);
    ini.WriteString("Graphics", "Xx min", "-3");
    std::string message;
    const std::string path = dir.File("out.ini");
    ASSERT_TRUE(ini.Save(path, message)) << message;
    EXPECT_EQ(ReadText(path), "; written by hand\n[Plot_Graph]\nPlot_Color=255\n; a comment\n\n"
                              "[Calc]\nLeft=20\nOther key=x y\nTop=30\n\n[Graphics]\nXx min=-3\n");
}

TEST(IniFile, ANewKeyGoesBeforeTheBlankLinesThatCloseItsSection) {
    TempDir dir;
    TIniFile ini = LoadText(dir, "[A]\na=1\n\n[B]\nb=2\n");
    ini.WriteBool("A", "flag", true);
    std::string message;
    const std::string path = dir.File("out.ini");
    ASSERT_TRUE(ini.Save(path, message)) << message;
    EXPECT_EQ(ReadText(path), "[A]\na=1\nflag=1\n\n[B]\nb=2\n");
}

TEST(IniFile, RoundTripsEveryKindOfValue) {
    TempDir dir;
    TIniFile ini;
    ini.WriteString("Calc Settings", "Name with blanks", "a = b ; c");
    ini.WriteInteger("Calc Settings", "Negative", -123);
    ini.WriteBool("fmPlot2D", "On", true);
    ini.WriteBool("fmPlot2D", "Off", false);
    ini.WriteString("Files", "Variables", "/home/jos\xC3\xA9/Mirla.USR");
    ini.WriteString("Graphics", "Legend", "two\nlines");
    const std::string path = dir.File("round.ini");
    std::string message;
    ASSERT_TRUE(ini.Save(path, message)) << message;
    TIniFile read;
    ASSERT_TRUE(read.Load(path, message)) << message;
    EXPECT_EQ(read.ReadString("Calc Settings", "Name with blanks", ""), "a = b ; c");
    EXPECT_EQ(read.ReadInteger("Calc Settings", "Negative", 0), -123);
    EXPECT_TRUE(read.ReadBool("fmPlot2D", "On", false));
    EXPECT_FALSE(read.ReadBool("fmPlot2D", "Off", true));
    EXPECT_EQ(read.ReadString("Files", "Variables", ""), "/home/jos\xC3\xA9/Mirla.USR");
    // A line break would split the value into a second line and is written as a blank.
    EXPECT_EQ(read.ReadString("Graphics", "Legend", ""), "two lines");
}

TEST(IniFile, ReadsAWindows1252FileAsUtf8) {
    TempDir dir;
    const TIniFile ini = LoadText(dir, "[Files]\nVariables=C:\\Jos\xE9\\Mirla.USR\n");
    EXPECT_EQ(ini.ReadString("Files", "Variables", ""), "C:\\Jos\xC3\xA9\\Mirla.USR");
}

TEST(IniFile, AMissingFileIsEmptyAndAFolderCannotBeRead) {
    TempDir dir;
    TIniFile ini;
    ini.WriteInteger("S", "k", 5);
    std::string message;
    EXPECT_TRUE(ini.Load(dir.File("missing.ini"), message));
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 0);
    std::filesystem::create_directory(dir.File("folder.ini"));
    EXPECT_FALSE(ini.Load(dir.File("folder.ini"), message));
    EXPECT_EQ(message, "Can't read file " + dir.File("folder.ini") + ": it is a folder");
}

TEST(IniFile, AFailedSaveKeepsTheOldFileAndSaysSo) {
    TempDir dir;
    const std::string path = dir.File("Mirla.INI");
    WriteText(path, "[S]\nk=old\n");
    TIniFile ini;
    ini.WriteString("S", "k", "new");
    std::string message;
    const std::string unreachable = dir.File("no-folder/Mirla.INI");
    EXPECT_FALSE(ini.Save(unreachable, message));
    EXPECT_EQ(message, "Can't create file " + unreachable + ": No such file or directory");
    // A folder in the way of the rename: the temporary is written, the rename fails.
    const std::string blocked = dir.File("blocked.ini");
    std::filesystem::create_directory(blocked);
    EXPECT_FALSE(ini.Save(blocked, message));
    EXPECT_EQ(message, "Can't create file " + blocked + ": Is a directory");
    EXPECT_EQ(ReadText(path), "[S]\nk=old\n");
    // The temporary beside the file cannot be created: the file itself stays as it was.
    std::filesystem::create_directory(path + ".saving~");
    EXPECT_FALSE(ini.Save(path, message));
    EXPECT_EQ(message, "Can't create file " + path + ": Is a directory");
    EXPECT_EQ(ReadText(path), "[S]\nk=old\n");
    std::filesystem::remove(path + ".saving~");
    ASSERT_TRUE(ini.Save(path, message));
    EXPECT_EQ(ReadText(path), "[S]\nk=new\n");
}

} // namespace
} // namespace mirla
