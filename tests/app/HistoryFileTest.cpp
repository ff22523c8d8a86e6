#include "app/core/HistoryFile.h"

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
using Lines = std::vector<std::string>;

struct ReadCase {
    const char* name;
    std::string text;
    Lines inputs;
    Lines results;
};

TEST(HistoryFile, ReadsWhatIsConsistentAndNeverPastTheEnd) {
    const std::vector<ReadCase> cases = {
        {"two entries, no results", "2\nsin(1)\n2+2\n0\n", {"sin(1)", "2+2"}, {}},
        {"both lists", "1\n1+1\n2\n 2.0\n 3.0\n", {"1+1"}, {" 2.0", " 3.0"}},
        {"CR LF lines, none final", "1\r\na\r\n1\r\nb", {"a"}, {"b"}},
        {"empty lists", "0\n0\n", {}, {}},
        {"blank entries kept", "2\n\n\n1\n\n", {"", ""}, {""}},
        {"no result count", "1\nx\n", {"x"}, {}},
        {"history count past the end", "5\na\nb\n", {"a", "b"}, {}},
        {"result count past the end", "1\na\n9\nr\n", {"a"}, {"r"}},
        {"result count unreadable", "1\na\nlots\nr\n", {"a"}, {}},
        {"result count negative", "1\na\n-2\nr\n", {"a"}, {}},
        {"blanks around counts", " 1 \na\n 1\nr\n", {"a"}, {"r"}},
        {"lines after the results ignored", "0\n1\nr\nmore\n", {}, {"r"}},
        {"Windows-1252 symbols", "1\nX\xB2+\xBD\n0\n", {"X\xB2+\xBD"}, {}},
    };
    TempDir dir;
    for (const ReadCase& c : cases) {
        const std::string path = dir.File("Mirla.HST");
        WriteText(path, c.text);
        THistory history;
        ASSERT_TRUE(ReadHistoryFile(path, history)) << c.name;
        EXPECT_EQ(history.Inputs, c.inputs) << c.name;
        EXPECT_EQ(history.Results, c.results) << c.name;
    }
}

TEST(HistoryFile, AFileThatDoesNotBeginWithACountLeavesTheHistory) {
    const std::vector<std::string> texts = {"", "\n", "x\n1+1\n", "-1\na\n", "1.5\na\n", "2x\na\nb\n"};
    TempDir dir;
    for (const std::string& text : texts) {
        const std::string path = dir.File("Mirla.HST");
        WriteText(path, text);
        THistory history{{"kept"}, {"1"}};
        EXPECT_FALSE(ReadHistoryFile(path, history)) << text;
        EXPECT_EQ(history.Inputs, Lines{"kept"}) << text;
        EXPECT_EQ(history.Results, Lines{"1"}) << text;
    }
    THistory history{{"kept"}, {}};
    EXPECT_FALSE(ReadHistoryFile(dir.File("missing.HST"), history));
    EXPECT_EQ(history.Inputs, Lines{"kept"});
}

TEST(HistoryFile, LongLinesAreCutTo255Characters) {
    TempDir dir;
    const std::string path = dir.File("Mirla.HST");
    const std::string input(300, '1');
    const std::string result(256, '2');
    WriteText(path, "1\n" + input + "\n1\n" + result + "\n");
    THistory history;
    ASSERT_TRUE(ReadHistoryFile(path, history));
    ASSERT_EQ(history.Inputs.size(), 1U);
    EXPECT_EQ(history.Inputs[0], std::string(255, '1'));
    ASSERT_EQ(history.Results.size(), 1U);
    EXPECT_EQ(history.Results[0], std::string(255, '2'));
}

TEST(HistoryFile, WritesCountsAndLinesNewestFirstInUtf8) {
    TempDir dir;
    const std::string path = dir.File("Mirla.HST");
    const THistory history{{"X\xB2+1", "sin(30)"}, {" 0.5"}};
    ASSERT_TRUE(WriteHistoryFile(path, history));
    EXPECT_EQ(ReadText(path), "2\nX\xC2\xB2+1\nsin(30)\n1\n 0.5\n");
    THistory back;
    ASSERT_TRUE(ReadHistoryFile(path, back));
    EXPECT_EQ(back.Inputs, history.Inputs);
    EXPECT_EQ(back.Results, history.Results);
}

TEST(HistoryFile, AnEntryWithALineBreakCannotUpsetTheCounts) {
    TempDir dir;
    const std::string path = dir.File("Mirla.HST");
    ASSERT_TRUE(WriteHistoryFile(path, {{"1+\n2", "3"}, {"r"}}));
    THistory back;
    ASSERT_TRUE(ReadHistoryFile(path, back));
    EXPECT_EQ(back.Inputs, (Lines{"1+ 2", "3"}));
    EXPECT_EQ(back.Results, Lines{"r"});
}

TEST(HistoryFile, AFailedWriteKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("Mirla.HST");
    WriteText(path, "1\nold\n0\n");
    EXPECT_FALSE(WriteHistoryFile(dir.File("no-folder/Mirla.HST"), {{"new"}, {}}));
    const std::string blocked = dir.File("blocked.HST");
    std::filesystem::create_directory(blocked);
    EXPECT_FALSE(WriteHistoryFile(blocked, {{"new"}, {}}));
    std::filesystem::create_directory(path + ".saving~");
    EXPECT_FALSE(WriteHistoryFile(path, {{"new"}, {}}));
    EXPECT_EQ(ReadText(path), "1\nold\n0\n");
}

TEST(HistoryFile, OnlyAFileThatCannotBeReadHasSomethingToLose) {
    struct Case {
        const char* Name;
        std::string Text; ///< the file's content; "/" makes a folder in its place, "-" no file
        std::string Reason;
    };
    const std::vector<Case> cases = {
        {"missing", "-", ""},
        {"empty", "", ""},
        {"blank", " \r\n", ""},
        {"history", "1\n1+1\n1\n2\n", ""},
        {"no count", "x\n1+1\n", "it does not begin with the number of its lines"},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "1\0\n\0",
                     6),
         "it is not a text file"},
        {"folder", "/", "it is a folder"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.File("Mirla.HST");
        if (c.Text == "/") {
            std::filesystem::create_directory(path);
        } else if (c.Text != "-") {
            WriteText(path, c.Text);
        }
        THistory history;
        EXPECT_EQ(LoadHistoryFile(path, history), c.Reason) << c.Name;
    }
}

} // namespace
} // namespace mirla
