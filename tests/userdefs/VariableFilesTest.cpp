#include "userdefs/VariableFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace mirla {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

struct ValueCase {
    Extended value;
    std::string text;
};

/// Names the case in failure messages.
void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.text;
}

class VariableValue : public testing::TestWithParam<ValueCase> {};

TEST_P(VariableValue, IsWrittenInTwentyThreeCharacters) {
    const ValueCase& c = GetParam();
    const std::string text = VariableValueText(c.value);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(text.size(), 23u) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Values, VariableValue,
                         testing::Values(ValueCase{0, " 0.00000000000000E+0000"},
                                         ValueCase{2.5L, " 2.50000000000000E+0000"},
                                         ValueCase{-2.5L, "-2.50000000000000E+0000"},
                                         ValueCase{1.0L / 3, " 3.33333333333333E-0001"},
                                         ValueCase{-2.0L / 3, "-6.66666666666667E-0001"},
                                         ValueCase{1234.5678L, " 1.23456780000000E+0003"},
                                         ValueCase{6.02214076E23L, " 6.02214076000000E+0023"},
                                         ValueCase{-1.0E-300L, "-1.00000000000000E-0300"},
                                         ValueCase{UndefinedValue, " 1.23454321000000E-0001"}));

/// Sets some variables, some with definitions, and leaves the rest unset.
void SetSomeVariables(EvalContext& ctx) {
    ctx.Variable(1) = {2.5L, "5/2"};            // X
    ctx.Variable(3) = {-1.0E-300L, ""};         // Z: a value without definition
    ctx.Variable(6) = {1.0L / 3, "1/3"};        // I
    ctx.Variable(10) = {UndefinedValue, "Y+1"}; // N: defined but not computed
}

TEST(VariableFile, HasTenValuesThenTenDefinitions) {
    EvalContext ctx;
    SetSomeVariables(ctx);
    const std::vector<std::string> lines = VariableFileLines(ctx);
    const std::string unset = " 1.23454321000000E-0001";
    EXPECT_EQ(lines, (std::vector<std::string>{" 2.50000000000000E+0000",
                                               unset,
                                               "-1.00000000000000E-0300",
                                               unset,
                                               unset,
                                               " 3.33333333333333E-0001",
                                               unset,
                                               unset,
                                               unset,
                                               unset,
                                               "5/2",
                                               "",
                                               "",
                                               "",
                                               "",
                                               "1/3",
                                               "",
                                               "",
                                               "",
                                               "Y+1"}));
}

TEST(VariableFile, RoundTripRestoresValuesDefinitionsAndUnsetVariables) {
    TempDir dir;
    const std::string file = dir.File("vars.VAR");
    EvalContext saved;
    SetSomeVariables(saved);
    std::string message;
    ASSERT_TRUE(SaveVariableFile(saved, file, message)) << message;

    EvalContext loaded;
    loaded.Variable(2) = {42, "6*7"};
    ASSERT_TRUE(LoadVariableFile(loaded, file, message)) << message;
    const std::vector<Extended> values = {2.5L,           UndefinedValue,     -1.0E-300L,     UndefinedValue,
                                          UndefinedValue, 0.333333333333333L, UndefinedValue, UndefinedValue,
                                          UndefinedValue, UndefinedValue};
    const std::vector<std::string> definitions = {"5/2", "", "", "", "", "1/3", "", "", "", "Y+1"};
    for (int k = 1; k <= VariableCount; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        EXPECT_EQ(loaded.Variable(k).Value, values[i]) << "variable " << VariableLetters[i];
        EXPECT_EQ(loaded.Variable(k).Definition, definitions[i]) << "variable " << VariableLetters[i];
    }
    EXPECT_FALSE(IsSet(loaded.Variable(2).Value));
}

TEST(VariableFile, ToleratesWindowsLineEndsAndDroppedTrailingEmptyLines) {
    TempDir dir;
    const std::string file = dir.File("short.VAR");
    std::string text;
    for (int k = 1; k <= VariableCount; ++k) {
        text += " " + std::to_string(k) + ".00000000000000E+0000\r\n";
    }
    text += "X*2\r\n";
    WriteText(file, text);
    EvalContext ctx;
    std::string message;
    ASSERT_TRUE(LoadVariableFile(ctx, file, message)) << message;
    for (int k = 1; k <= VariableCount; ++k) {
        EXPECT_EQ(ctx.Variable(k).Value, k) << "variable " << k;
        EXPECT_EQ(ctx.Variable(k).Definition, k == 1 ? "X*2" : "") << "variable " << k;
    }
}

struct MalformedCase {
    std::string name;
    std::vector<std::string> lines;
    int badLine;
};

/// Names the case in failure messages.
void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

class MalformedVariableFile : public testing::TestWithParam<MalformedCase> {};

std::vector<std::string> GoodLines() {
    std::vector<std::string> lines(20);
    for (int i = 0; i < VariableCount; ++i) {
        lines[static_cast<std::size_t>(i)] = " 1.00000000000000E+0000";
    }
    return lines;
}

TEST_P(MalformedVariableFile, IsRefusedWithoutChangingAnyVariable) {
    const MalformedCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.File("bad.VAR");
    std::string text;
    for (const std::string& line : c.lines) {
        text += line + "\n";
    }
    WriteText(file, text);
    EvalContext ctx;
    ctx.Variable(1) = {7, "7"};
    std::string message;
    EXPECT_FALSE(LoadVariableFile(ctx, file, message)) << c.name;
    EXPECT_EQ(message, "Invalid variables file " + file + ": line " + std::to_string(c.badLine)) << c.name;
    EXPECT_EQ(ctx.Variable(1).Value, 7) << c.name;
    EXPECT_EQ(ctx.Variable(1).Definition, "7") << c.name;
    EXPECT_FALSE(IsSet(ctx.Variable(2).Value)) << c.name;
}

MalformedCase WithLine(std::string name, std::size_t index, std::string line) {
    std::vector<std::string> lines = GoodLines();
    lines[index] = std::move(line);
    return {std::move(name), lines, static_cast<int>(index) + 1};
}

MalformedCase Truncated(std::size_t count) {
    std::vector<std::string> lines = GoodLines();
    lines.resize(count);
    return {"only " + std::to_string(count) + " lines", lines, static_cast<int>(count) + 1};
}

MalformedCase WithExtraLine() {
    std::vector<std::string> lines = GoodLines();
    lines.push_back("surplus");
    return {"a 21st line", lines, 21};
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedVariableFile,
                         testing::Values(WithLine("text value", 0, "abc"), WithLine("empty value", 4, ""),
                                         WithLine("hexadecimal value", 9, "FF"),
                                         WithLine("definition in place of a value", 3, "X+1"), Truncated(0),
                                         Truncated(5), WithExtraLine()));

TEST(VariableFile, MissingFileCannotBeOpened) {
    TempDir dir;
    const std::string file = dir.File("absent.VAR");
    EvalContext ctx;
    std::string message;
    EXPECT_FALSE(LoadVariableFile(ctx, file, message));
    EXPECT_EQ(message, "Can't open file " + file);
}

TEST(VariableFile, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string file = dir.File("kept.VAR");
    WriteText(file, "old content\n");
    std::filesystem::create_directory(file + ".saving~");
    EvalContext ctx;
    SetSomeVariables(ctx);
    std::string message;
    EXPECT_FALSE(SaveVariableFile(ctx, file, message));
    EXPECT_EQ(message, "Can't create file " + file);
    EXPECT_EQ(ReadText(file), "old content\n");
}

} // namespace
} // namespace mirla
