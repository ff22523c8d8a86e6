#include "userdefs/UserVariables.h"

#include "TempDir.h"
#include "engine/EvalContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace mirla {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

/// The value of the variable with this name; NaN, equal to nothing, when there is none.
Extended ValueOf(EvalContext& ctx, std::string_view name) {
    const UserVariable* v = ctx.UserVariables.FindByName(name);
    return v ? v->Value : std::numeric_limits<Extended>::quiet_NaN();
}

/// A context whose list lines show plain decimals ("Fix", width 12).
class UserVariableModel : public testing::Test {
protected:
    UserVariableModel() {
        ctx.NotationMode = NotationFix;
        ctx.DisplayWidth = 12;
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < ctx.UserVariables.Count(); ++i) {
            names.push_back(ctx.UserVariables.At(i).Name);
        }
        return names;
    }

    /// The name of the variable with this code, "<none>" when no variable has it.
    std::string NameOfCode(int code) const {
        const UserVariable* v = ctx.UserVariables.FindByCode(code);
        return v ? v->Name : "<none>";
    }

    EvalContext ctx;
    TempDir dir;
    std::string message;
};

TEST_F(UserVariableModel, NewVariablesGoToTheFrontWithCountingCodes) {
    EXPECT_EQ(DefineUserVariable(ctx, "a", true, 1), 1000);
    EXPECT_EQ(DefineUserVariable(ctx, "b", true, 0.05L), 1001);
    EXPECT_EQ(DefineUserVariable(ctx, "c", true, -3), 1002);
    EXPECT_EQ(Names(), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(ctx.UserVariables.Lines(), (std::vector<std::string>{"c = -3.0", "b = 0.05", "a = 1.0"}));
    EXPECT_EQ(ctx.UserVariables.At(1).Value, 0.05L);
}

TEST_F(UserVariableModel, DefiningANameAgainReplacesInPlace) {
    const int rate = DefineUserVariable(ctx, "rate", true, 0.05L);
    DefineUserVariable(ctx, "x", true, 1);
    EXPECT_EQ(DefineUserVariable(ctx, "rate", true, 0.07L), rate);
    EXPECT_EQ(ctx.UserVariables.Lines(), (std::vector<std::string>{"x = 1.0", "rate = 0.07"}));
    EXPECT_EQ(ValueOf(ctx, "rate"), 0.07L);

    // Names are case-sensitive: Rate is another variable.
    const int upper = DefineUserVariable(ctx, "Rate", true, 2);
    EXPECT_NE(upper, rate);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Rate", "x", "rate"}));
    EXPECT_EQ(ValueOf(ctx, "rate"), 0.07L);
}

TEST_F(UserVariableModel, HiddenDefinitionMakesNoLineUntilUpdated) {
    DefineUserVariable(ctx, "h", false, 2);
    EXPECT_EQ(ctx.UserVariables.Lines(), (std::vector<std::string>{""}));
    DefineUserVariable(ctx, "h", false, 3);
    EXPECT_EQ(ctx.UserVariables.Lines(), (std::vector<std::string>{"h = 3.0"}));
}

TEST_F(UserVariableModel, NamesAreCutToTwentyCharacters) {
    const std::string longName = "abcdefghijklmnopqrstuvwxyz";
    const int code = DefineUserVariable(ctx, longName, true, 1);
    EXPECT_EQ(DefineUserVariable(ctx, longName, true, 2), code);
    ASSERT_EQ(ctx.UserVariables.Count(), 1);
    EXPECT_EQ(ctx.UserVariables.At(0).Name, "abcdefghijklmnopqrst");
    EXPECT_EQ(ctx.UserVariables.At(0).Line, "abcdefghijklmnopqrst = 2.0");
}

TEST_F(UserVariableModel, CodesFindTheirVariablesBeforeAndAfterDeletions) {
    std::vector<std::string> names = {"v0", "v1", "v2", "v3", "v4"};
    std::vector<int> codes;
    for (const std::string& n : names) {
        codes.push_back(DefineUserVariable(ctx, n, true, 1));
    }
    const auto expectCodesFind = [&](const std::string& when) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(NameOfCode(codes[i]), names[i].empty() ? "<none>" : names[i])
                << when << ": code " << codes[i];
        }
    };
    expectCodesFind("no deletion");

    ctx.UserVariables.Delete(2); // v2, in the middle of v4 v3 v2 v1 v0
    names[2].clear();
    expectCodesFind("middle deleted");

    // A variable made after the deletion gets a code that none of the others has.
    const int fresh = DefineUserVariable(ctx, "fresh", true, 2);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), fresh), 0);
    EXPECT_EQ(NameOfCode(fresh), "fresh");
    expectCodesFind("after a new variable");

    ctx.UserVariables.Delete(0); // fresh, at the front
    EXPECT_EQ(NameOfCode(fresh), "<none>");
    expectCodesFind("front deleted");

    EXPECT_EQ(NameOfCode(999), "<none>");
    EXPECT_EQ(NameOfCode(5000), "<none>");
}

TEST_F(UserVariableModel, ClearStartsTheCodesAgain) {
    DefineUserVariable(ctx, "a", true, 1);
    DefineUserVariable(ctx, "b", true, 1);
    ctx.UserVariables.Clear();
    EXPECT_EQ(ctx.UserVariables.Count(), 0);
    EXPECT_EQ(DefineUserVariable(ctx, "c", true, 1), 1000);
}

TEST_F(UserVariableModel, LoadKeepsTheFileOrderAndItsLines) {
    const std::string file = dir.File("vars.USR");
    WriteText(file, "a = 1\r\nb = 2\r\n");
    DefineUserVariable(ctx, "old", true, 9);
    ASSERT_TRUE(LoadUserVariables(ctx, file, message)) << message;
    EXPECT_EQ(ctx.UserVariables.Lines(), (std::vector<std::string>{"a = 1", "b = 2"}));
    EXPECT_EQ(ctx.UserVariables.FindByName("old"), nullptr);
    EXPECT_EQ(ctx.UserVariables.At(0).Value, 1);
    EXPECT_EQ(ctx.UserVariables.At(1).Value, 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ctx.UserVariables.FindByCode(ctx.UserVariables.At(i).Code), &ctx.UserVariables.At(i));
    }

    // Deleting the first line removes variable a.
    const int codeOfB = ctx.UserVariables.At(1).Code;
    ctx.UserVariables.Delete(0);
    EXPECT_EQ(ctx.UserVariables.FindByName("a"), nullptr);
    EXPECT_EQ(NameOfCode(codeOfB), "b");
}

TEST_F(UserVariableModel, LoadReadsExponentsAndSigns) {
    const std::string file = dir.File("vars.USR");
    WriteText(file, "big = 1.5E+3\nsmall = -2.5E-2\n\np = 3.14159265358979\ntiny = 1.0E-300\n");
    ASSERT_TRUE(LoadUserVariables(ctx, file, message)) << message;
    EXPECT_EQ(Names(), (std::vector<std::string>{"big", "small", "p", "tiny"}));
    EXPECT_EQ(ValueOf(ctx, "big"), 1500);
    EXPECT_EQ(ValueOf(ctx, "small"), -0.025L);
    EXPECT_EQ(ValueOf(ctx, "p"), 3.14159265358979L);
    EXPECT_EQ(ValueOf(ctx, "tiny"), 1.0E-300L);
}

TEST_F(UserVariableModel, LoadStopsAtAValueThatIsNotADecimalNumber) {
    const std::string file = dir.File("vars.USR");
    WriteText(file, "a = 1\nb = FF\nc = 3\n");
    EXPECT_FALSE(LoadUserVariables(ctx, file, message));
    EXPECT_EQ(message, "Can't read line 2 of " + file + ": b = FF");
    // Lines are read from the last, so c was defined before b stopped the load.
    EXPECT_EQ(Names(), (std::vector<std::string>{"c"}));
}

TEST_F(UserVariableModel, LoadRefusesALineWithoutSeparatorOrName) {
    for (const std::string bad : {"a=1", "a 1", " = 1", "a = "}) {
        const std::string file = dir.File("bad.USR");
        WriteText(file, bad + "\n");
        EXPECT_FALSE(LoadUserVariables(ctx, file, message)) << bad;
        EXPECT_EQ(message, "Can't read line 1 of " + file + ": " + bad);
    }
}

TEST_F(UserVariableModel, LoadOfAMissingFileChangesNothing) {
    DefineUserVariable(ctx, "kept", true, 1);
    const std::string file = dir.File("absent.USR");
    EXPECT_FALSE(LoadUserVariables(ctx, file, message));
    EXPECT_EQ(message, "Can't read file " + file);
    EXPECT_EQ(Names(), (std::vector<std::string>{"kept"}));
}

TEST_F(UserVariableModel, SavedValuesKeepEveryDigitWhileTheListShowsFew) {
    ctx.DisplayWidth = 4;
    DefineUserVariable(ctx, "p", true, 3.14159265L);
    DefineUserVariable(ctx, "q", true, 0.125L);
    EXPECT_EQ(ctx.UserVariables.Lines(), (std::vector<std::string>{"q = 0.13", "p = 3.1"}));
    const std::string file = dir.File("narrow.USR");
    ASSERT_TRUE(SaveLines(file, ctx.UserVariables.FileLines(), message)) << message;
    EXPECT_EQ(ReadText(file), "q = 0.125\np = 3.14159265\n");
}

TEST_F(UserVariableModel, SavedValuesLoadBackExactly) {
    const std::vector<Extended> values = {1E-4940L,
                                          1.18973E4932L,
                                          std::numeric_limits<Extended>::max(),
                                          -std::numeric_limits<Extended>::denorm_min(),
                                          std::numeric_limits<Extended>::min(),
                                          1.0L / 3,
                                          -0.1L,
                                          0};
    for (std::size_t i = 0; i < values.size(); ++i) {
        DefineUserVariable(ctx, "v" + std::to_string(i), true, values[i]);
    }
    const std::string file = dir.File("exact.USR");
    ASSERT_TRUE(SaveLines(file, ctx.UserVariables.FileLines(), message)) << message;
    EvalContext reloaded;
    ASSERT_TRUE(LoadUserVariables(reloaded, file, message)) << message;
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(ValueOf(reloaded, "v" + std::to_string(i)), values[i]) << ReadText(file);
    }
}

class UnchangedVariablesSave : public UserVariableModel, public testing::WithParamInterface<std::string> {};

TEST_P(UnchangedVariablesSave, WritesTheFileAsItWasRead) {
    const std::string file = dir.File("vars.USR");
    WriteText(file, GetParam());
    LoadUserVariables(ctx, file, message);
    ASSERT_TRUE(SaveLines(dir.File("saved.USR"), ctx.UserVariables.FileLines(), message)) << message;
    EXPECT_EQ(ReadText(dir.File("saved.USR")), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Files, UnchangedVariablesSave,
                         testing::Values("a = 1\nb = FF\nc = 3\n", "a = 1\nc = 3\nbad\n",
                                         "\n x = 1.50\n\n  \ny = 2\ny = 3\n\n"));

TEST_F(UserVariableModel, ChangesKeepTheLinesThatWereNotRead) {
    const std::string file = dir.File("vars.USR");
    WriteText(file, "a = 1\nb = FF\n\nc = 3\nd = 4\n");
    EXPECT_FALSE(LoadUserVariables(ctx, file, message));
    DefineUserVariable(ctx, "e", true, 5);
    DefineUserVariable(ctx, "d", true, 0.5L);
    ctx.UserVariables.Delete(1);
    EXPECT_EQ(ctx.UserVariables.FileLines(),
              (std::vector<std::string>{"a = 1", "b = FF", "", "e = 5", "d = 0.5"}));
}

TEST_F(UserVariableModel, RefusedLineIsQuotedShortAndAsText) {
    const std::string file = dir.File("long.USR");
    WriteText(file, "v = " + std::string(1000, '7') + "x\nw = \x01\xff\n");
    EXPECT_FALSE(LoadUserVariables(ctx, file, message));
    EXPECT_EQ(message, "Can't read line 2 of " + file + ": w = ??");
    WriteText(file, "v = " + std::string(1000, '7') + "x\n");
    EXPECT_FALSE(LoadUserVariables(ctx, file, message));
    EXPECT_EQ(message, "Can't read line 1 of " + file + ": v = " + std::string(76, '7') + "...");
}

TEST_F(UserVariableModel, FailedSaveKeepsTheOldFile) {
    const std::string file = dir.File("kept.USR");
    WriteText(file, "a = 1\n");
    std::filesystem::create_directory(file + ".saving~");
    EXPECT_FALSE(SaveLines(file, {"b = 2"}, message));
    EXPECT_EQ(message, "Can't create file " + file);
    EXPECT_EQ(ReadText(file), "a = 1\n");
}

TEST_F(UserVariableModel, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    // Both models keep what they could not read: the variables' table and the functions.
    const std::string variables = dir.File("utf16.USR");
    const std::string functions = dir.File("utf16.FNC");
    const std::string utf16("\xFF\xFE"
                            "a\0 \0=\0 \0"
                            "1\0",
                            12);
    WriteText(variables, utf16);
    WriteText(functions, utf16);
    EXPECT_FALSE(LoadUserVariables(ctx, variables, message));
    EXPECT_FALSE(ctx.UserFunctions.LoadFunctions(functions, message));
    DefineUserVariable(ctx, "b", true, 2);
    ASSERT_TRUE(ctx.UserFunctions.AddDefinition("f(x) = x", message));
    EXPECT_FALSE(ctx.UserVariables.Save(variables, message));
    EXPECT_TRUE(message.starts_with("Cannot load " + variables + "!")) << message;
    EXPECT_FALSE(ctx.UserFunctions.Save(functions, message));
    EXPECT_TRUE(message.starts_with("Cannot load " + functions + "!")) << message;
    EXPECT_EQ(ReadText(variables), utf16);
    EXPECT_EQ(ReadText(functions), utf16);
    // Another file takes what was defined.
    ASSERT_TRUE(ctx.UserVariables.Save(dir.File("other.USR"), message)) << message;
    EXPECT_EQ(ReadText(dir.File("other.USR")), "b = 2\n");
}

TEST_F(UserVariableModel, SaveOverAFolderFailsAndLeavesNoTemporaryFile) {
    const std::string folder = dir.File("folder.USR");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(SaveLines(folder, {"b = 2"}, message));
    EXPECT_EQ(message, "Can't create file " + folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(std::filesystem::exists(folder + ".saving~"));
}

struct NumberCase {
    std::string text;
    bool valid;
    Extended value;
};

/// Names the case in failure messages.
void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.text;
}

class DecimalNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(DecimalNumber, ReadsOnlyPlainAndExponentForms) {
    const NumberCase& c = GetParam();
    Extended value = -777;
    EXPECT_EQ(ParseDecimalNumber(c.text, value), c.valid) << "'" << c.text << "'";
    EXPECT_EQ(value, c.valid ? c.value : -777) << "'" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalNumber,
    testing::Values(NumberCase{"1", true, 1}, NumberCase{"-1.5", true, -1.5L}, NumberCase{"+2", true, 2},
                    NumberCase{" 2.5E+0003 ", true, 2500},
                    NumberCase{"1.23454321000000E-0001", true, UndefinedValue}, NumberCase{".5", true, 0.5L},
                    NumberCase{"7.", true, 7}, NumberCase{"1e2", true, 100}, NumberCase{"0.0E+0", true, 0},
                    NumberCase{"", false, 0}, NumberCase{"   ", false, 0}, NumberCase{"-", false, 0},
                    NumberCase{".", false, 0}, NumberCase{"E5", false, 0}, NumberCase{"1E", false, 0},
                    NumberCase{"1E+", false, 0}, NumberCase{"0x1F", false, 0}, NumberCase{"FF", false, 0},
                    NumberCase{"inf", false, 0}, NumberCase{"nan", false, 0}, NumberCase{"1,5", false, 0},
                    NumberCase{"1.2.3", false, 0}, NumberCase{"1:30:0", false, 0},
                    NumberCase{"00000101 00000000", false, 0}, NumberCase{"--1", false, 0},
                    NumberCase{"+-1", false, 0}, NumberCase{"-+1", false, 0}, NumberCase{"1e5x", false, 0},
                    NumberCase{"1-2", false, 0}, NumberCase{"1E5.5", false, 0},
                    NumberCase{"1E+99999", false, 0}, NumberCase{"1.0E-4940", true, 1E-4940L},
                    NumberCase{"3.6E-4951", true, std::numeric_limits<Extended>::denorm_min()},
                    NumberCase{"1E-5000", false, 0}, NumberCase{"1.2E+4932", false, 0},
                    NumberCase{"++1", false, 0}));

} // namespace
} // namespace mirla
