#include "userdefs/UserFunctions.h"

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

std::vector<std::string> Names(const TUserFunctions& functions) {
    std::vector<std::string> names;
    for (int i = 0; i < functions.Count(); ++i) {
        names.push_back(functions.Function(i).Name());
    }
    return names;
}

struct MessageCase {
    std::string line;
    std::string message;
};

/// Names the case in failure messages.
void PrintTo(const MessageCase& c, std::ostream* os) {
    *os << c.line;
}

class AddDefinitionMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(AddDefinitionMessage, RefusesWithTheReason) {
    const MessageCase& c = GetParam();
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.AddDefinition("keep(x) = x", message));
    EXPECT_FALSE(functions.AddDefinition(c.line, message)) << c.line;
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(functions.Count(), 1) << c.line;
}

INSTANTIATE_TEST_SUITE_P(Lines, AddDefinitionMessage,
                         testing::Values(MessageCase{"f(x,x) = x", "Dublicate parametrs (x,x)"},
                                         MessageCase{"f( x , x ) = x", "Dublicate parametrs (x,x)"},
                                         MessageCase{"f(x,y) = x", "Parametr missing f(x,y) = x"},
                                         MessageCase{"f() = 1", "Invalid functions f() = 1"},
                                         MessageCase{"f(x) = ", "Invalid functions f(x) = "},
                                         MessageCase{"f(x,) = x", "Invalid functions f(x,) = x"},
                                         MessageCase{"f(x,y) = x;\x80\t", "Parametr missing f(x,y) = x;??"},
                                         MessageCase{"f(x,y) = x;" + std::string(100, 'c'),
                                                     "Parametr missing f(x,y) = x;" + std::string(69, 'c') +
                                                         "..."}));

TEST(UserFunctionsAdd, AppendsValidDefinitionsInOrder) {
    TUserFunctions functions;
    std::string message;
    EXPECT_TRUE(functions.AddDefinition("f(x,y) = x*y", message));
    EXPECT_TRUE(functions.AddDefinition(";remark", message));
    EXPECT_TRUE(functions.AddDefinition("g(t) = t+1", message));
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"f(", "", "g("}));
    EXPECT_EQ(functions.ListLines(), (std::vector<std::string>{"f(x,y) = x*y", ";remark", "g(t) = t+1"}));
}

TEST(UserFunctionsAdd, ModifyReplacesTheSameNameAndMovesItToTheFront) {
    TUserFunctions functions;
    std::string message;
    for (const char* line : {"f(x) = x", "g(x) = 2*x", "h(x) = 3*x"}) {
        ASSERT_TRUE(functions.AddDefinition(line, message)) << line;
    }
    ASSERT_TRUE(functions.AddUserFunction("g(x,y) = x+y", message));
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"g(", "f(", "h("}));
    EXPECT_EQ(functions.Function(0).ParameterCount(), 2);
    EXPECT_EQ(functions.Function(0).Body(), "x+y");

    // A new name goes to the front as well, ahead of everything loaded.
    ASSERT_TRUE(functions.AddUserFunction("k(a) = a", message));
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"k(", "g(", "f(", "h("}));
}

TEST(UserFunctionsAdd, ModifyLeavesCommentLinesAlone) {
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.AddDefinition(";first", message));
    ASSERT_TRUE(functions.AddDefinition("f(x) = x", message));
    ASSERT_TRUE(functions.AddUserFunction("f(x) = -x", message));
    EXPECT_EQ(functions.ListLines(), (std::vector<std::string>{"f(x) = -x", ";first"}));
}

TEST(UserFunctionsAdd, InvalidModifyChangesNothing) {
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.AddDefinition("f(x) = x", message));
    EXPECT_FALSE(functions.AddUserFunction("f(x,y) = x", message));
    EXPECT_EQ(message, "Invalid user function f(x,y) = x");
    ASSERT_EQ(functions.Count(), 1);
    EXPECT_EQ(functions.Function(0).ListLine(), "f(x) = x");
}

TEST(UserFunctionsDelete, RemovesTheFunctionAtTheIndex) {
    TUserFunctions functions;
    std::string message;
    for (const char* line : {"a(x) = x", "b(x) = x", "c(x) = x"}) {
        ASSERT_TRUE(functions.AddDefinition(line, message)) << line;
    }
    functions.Delete(1);
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"a(", "c("}));
    functions.Delete(-1);
    functions.Delete(2);
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"a(", "c("}));
}

TEST(UserFunctionsValueStack, PopsInReverseOrderAndZeroWhenEmpty) {
    TUserFunctions functions;
    functions.PushValue(1.5L);
    functions.PushValue(-2);
    EXPECT_EQ(functions.PopValue(), -2);
    EXPECT_EQ(functions.PopValue(), 1.5L);
    EXPECT_EQ(functions.PopValue(), 0);
}

TEST(UserFunctionsClear, EmptiesFunctionsValuesAndLines) {
    TempDir dir;
    const std::string file = dir.File("f.FNC");
    WriteText(file, "f(x) = x\n");
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.LoadFunctions(file, message));
    functions.PushValue(7);
    functions.ClearFunctions();
    EXPECT_EQ(functions.Count(), 0);
    EXPECT_TRUE(functions.Lines().empty());
    EXPECT_EQ(functions.PopValue(), 0);
}

TEST(UserFunctionsLoad, ReadsDefinitionsAndCommentsSkippingEmptyLines) {
    TempDir dir;
    const std::string file = dir.File("user.FNC");
    WriteText(file, "f(x) = x^2\r\n\r\n; squares and sums\r\n   \r\ndist(x,y) = sqrt(x^2+y^2) ;Euclid\r\n");
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.LoadFunctions(file, message)) << message;
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(functions.FileName(), file);
    EXPECT_EQ(functions.Lines(), (std::vector<std::string>{"f(x) = x^2", "", "; squares and sums", "   ",
                                                           "dist(x,y) = sqrt(x^2+y^2) ;Euclid"}));
    EXPECT_EQ(functions.ListLines(), (std::vector<std::string>{"f(x) = x^2", "; squares and sums",
                                                               "dist(x,y) = sqrt(x^2+y^2);Euclid"}));
}

TEST(UserFunctionsLoad, StopsAtTheFirstRefusedLine) {
    TempDir dir;
    const std::string file = dir.File("user.FNC");
    WriteText(file, "f(x) = x\ng(x) = 2*x\nh(x,y) = x\nk(x) = 4*x\n");
    TUserFunctions functions;
    std::string message;
    EXPECT_FALSE(functions.LoadFunctions(file, message));
    EXPECT_EQ(message, "Parametr missing h(x,y) = x");
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"f(", "g("}));
    EXPECT_EQ(functions.Lines().size(), 4u);
}

TEST(UserFunctionsLoad, ReplacesWhatWasLoadedBefore) {
    TempDir dir;
    const std::string first = dir.File("first.FNC");
    const std::string second = dir.File("second.FNC");
    WriteText(first, "a(x) = x\nb(x) = x\n");
    WriteText(second, "c(x) = x\n");
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.LoadFunctions(first, message));
    functions.PushValue(3);
    ASSERT_TRUE(functions.LoadFunctions(second, message));
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"c("}));
    EXPECT_EQ(functions.FileName(), second);
    EXPECT_EQ(functions.PopValue(), 0);
}

TEST(UserFunctionsLoad, MissingFileChangesNothing) {
    TempDir dir;
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.AddDefinition("f(x) = x", message));
    EXPECT_TRUE(functions.LoadFunctions(dir.File("absent.FNC"), message));
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(Names(functions), (std::vector<std::string>{"f("}));
    EXPECT_TRUE(functions.FileName().empty());
}

TEST(UserFunctionsLoad, UnreadableFileEmptiesTheContainer) {
    TempDir dir;
    const std::string folder = dir.File("folder.FNC");
    std::filesystem::create_directory(folder);
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.AddDefinition("f(x) = x", message));
    EXPECT_FALSE(functions.LoadFunctions(folder, message));
    EXPECT_EQ(message, "Cannot load " + folder + "!");
    EXPECT_EQ(functions.Count(), 0);
}

TEST(UserFunctionsSave, WritesListLinesThatLoadBack) {
    TempDir dir;
    const std::string file = dir.File("saved.FNC");
    TUserFunctions functions;
    std::string message;
    ASSERT_TRUE(functions.AddDefinition("f(x,y) = x * y ; product", message));
    ASSERT_TRUE(functions.AddDefinition("; remark", message));
    ASSERT_TRUE(functions.Save(file, message)) << message;
    EXPECT_EQ(ReadText(file), "f(x,y) = x*y; product\n; remark\n");

    TUserFunctions loaded;
    ASSERT_TRUE(loaded.LoadFunctions(file, message)) << message;
    EXPECT_EQ(loaded.ListLines(), functions.ListLines());
}

class UnchangedSave : public testing::TestWithParam<std::string> {};

TEST_P(UnchangedSave, WritesTheFileAsItWasRead) {
    TempDir dir;
    const std::string file = dir.File("user.FNC");
    const std::string saved = dir.File("saved.FNC");
    WriteText(file, GetParam());
    TUserFunctions functions;
    std::string message;
    functions.LoadFunctions(file, message);
    ASSERT_TRUE(functions.Save(saved, message)) << message;
    EXPECT_EQ(ReadText(saved), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnchangedSave,
    testing::Values("f(x) = x\ng(x,y) = x\nh(x) = 2*x\n", "bad\nf(x) = x\n",
                    "\nf(x) = x^2\n\n; squares\n   \ndist(x,y) = sqrt(x^2+y^2) ;Euclid\n\n"));

TEST(UserFunctionsSave, ChangesKeepTheLinesThatWereNotLoaded) {
    TempDir dir;
    const std::string file = dir.File("user.FNC");
    WriteText(file, "f(x) = x\n\ng( x ) = x+1\nbad(x,y) = x\nk(x) = 3\n");
    TUserFunctions functions;
    std::string message;
    EXPECT_FALSE(functions.LoadFunctions(file, message));
    ASSERT_TRUE(functions.AddUserFunction("t(a) = a / 2", message));
    functions.Delete(1);
    ASSERT_TRUE(functions.Save(file, message)) << message;
    EXPECT_EQ(ReadText(file), "t(a) = a/2\n\ng( x ) = x+1\nbad(x,y) = x\nk(x) = 3\n");
}

} // namespace
} // namespace mirla
