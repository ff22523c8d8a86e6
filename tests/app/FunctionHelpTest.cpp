#include "app/core/FunctionHelp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace mirla {
namespace {

struct HelpCase {
    int code;
    bool complexMode;
    const char* text;
};

TEST(FunctionHelpTable, HoldsTheTextOfEachSampledCode) {
    const std::vector<HelpCase> cases = {
        {0, false, "Absolute minimum search of (..)"},
        {1, false, "Sine of (%A)"},
        {6, false, "Invers haperbolic cosine of (..)"},
        {9, false, " Hiperbolic cosine of ()"},
        {11, false, " 0.0 <= Random number <= 1.0"},
        {18, false, "Bessel function of the first kind J (..th,of ..)"},
        {22, false, "Solve equation of f(x)=0. Syntax: solve(Low, Up, equation f(x))"},
        {27, false, "Numerical Integration of f(x). Syntax: Integral(Low, Up, f(x))"},
        {28, false, "ratio of a circle's circumference to its diameter"},
        {29, false, "ratio of a circle's circumference to its diameter"},
        {31, false, "Factarial of (..)"},
        {32, false, "Fermi-Dirak function(..th, of..)"},
        {41, false, "Sum of the elements from  array (x1,x2,..xN)"},
        {43, false, "Evaluates a uniform polynomial of one variable ( Variable, a0, a1,..,aN) "},
        {44, false, "Statistical variance from array (x1,x2,..xN)"},
        {45, false, "Convert from feet to meters"},
        {52, false, "Convert from liters to pints"},
        {66, false, "Convert from cubic meters to British imperial gallons"},
        {1, true, "Complex Sine of (%A)"},
        {9, true, "Complex Hiperbolic cosine of ()"},
        {17, true, "Complex number of (..)"},
        {26, true, "Logarithm Gamma of (..)"},
        {40, true, "Complex Squared of (..)"},
        {11, true, " 0.0 <= Random number <= 1.0"},
        {43, true, "Evaluates a uniform polynomial of one variable ( Variable, a0, a1,..,aN) "},
        {0, true, ""},
        {18, true, ""},
        {22, true, ""},
        {45, true, ""},
    };
    for (const HelpCase& c : cases)
        EXPECT_EQ(FunctionHelpTable(c.code, c.complexMode), c.text)
            << "code " << c.code << (c.complexMode ? " complex" : " real");
}

TEST(FunctionHelpTable, ComplexModeSharesOnlyItsListedRealTexts) {
    const std::vector<int> shared = {11, 28, 29, 30, 33, 37, 41, 43};
    const std::vector<int> own = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 26, 40};
    for (int code = 0; code < FunctionHelpCount; ++code) {
        const bool isShared = std::find(shared.begin(), shared.end(), code) != shared.end();
        const bool isOwn = std::find(own.begin(), own.end(), code) != own.end();
        if (isShared)
            EXPECT_EQ(FunctionHelpTable(code, true), FunctionHelpTable(code, false)) << "code " << code;
        else if (isOwn)
            EXPECT_EQ(FunctionHelpTable(code, true).substr(0, 7), code == 26 ? "Logarit" : "Complex")
                << "code " << code;
        else
            EXPECT_TRUE(FunctionHelpTable(code, true).empty()) << "code " << code;
        EXPECT_FALSE(FunctionHelpTable(code, false).empty()) << "real code " << code;
    }
}

TEST(FunctionHelpTable, CodesOutsideTheTableHaveNoHelp) {
    for (int code : {-1, 67, 87, 1000})
        EXPECT_TRUE(FunctionHelpTable(code, false).empty()) << "code " << code;
}

TEST(FunctionHelpText, ReplacesTheAngleMarkerByTheUnit) {
    EXPECT_EQ(FunctionHelpText(1, false, 0), "Sine of (radian)");
    EXPECT_EQ(FunctionHelpText(1, false, 1), "Sine of (degree)");
    EXPECT_EQ(FunctionHelpText(13, false, 1), "Tangent of (degree)");
    EXPECT_EQ(FunctionHelpText(12, true, 0), "Complex Cosine of (radian)");
    EXPECT_EQ(FunctionHelpText(4, false, 0), "Arc tangent of (..)");
    EXPECT_EQ(FunctionHelpText(18, true, 0), "");
}

TEST(ArgumentTemplate, AppendsOneCommaLessThanTheArgumentCount) {
    EXPECT_EQ(ArgumentTemplate(0), "");
    EXPECT_EQ(ArgumentTemplate(1), ")");
    EXPECT_EQ(ArgumentTemplate(2), ",)");
    EXPECT_EQ(ArgumentTemplate(3), ",,)");
}

TEST(FunctionButtonText, IsTheRowNameFollowedByItsTemplate) {
    const std::vector<HelpCase> cases = {
        {1, false, "sin()"},         {22, false, "solve(,,)"}, {11, false, "random"}, {18, false, "Jn(,)"},
        {27, false, "integral(,,)"}, {87, false, "10^()"},     {0, false, "min(,,)"}, {17, false, "log()"},
        {17, true, "comp(,)"},       {26, true, "LnGamma()"},  {15, true, "sqrt()"},  {40, true, "sqr()"},
        {22, true, "___(,,)"},       {88, false, ""},
    };
    for (const HelpCase& c : cases)
        EXPECT_EQ(FunctionButtonText(c.code, c.complexMode), c.text)
            << "code " << c.code << (c.complexMode ? " complex" : " real");
}

struct WordCase {
    const char* line;
    int caret;
    int code;
};

TEST(AssistantCodeAt, FindsTheFirstTableNameInsideTheWordAtTheCaret) {
    const std::vector<WordCase> cases = {
        {"arcsin(", 7, 1},      // "sin(" is the first row inside "arcsin("
        {"Jn(", 3, 18},         // the caret after the parenthesis
        {"2+arccos(1)", 9, 3},  // caret after the parenthesis, text goes on
        {"arctanh(0.5)", 3, 7}, // caret inside the name: extends to "arctanh("
        {"cosh", 4, -1},        // no parenthesis: "cosh" holds no table name with "("
        {"2*random", 8, 11},    // a name without arguments
        {"exp(1)", 4, 14},      // caret after the parenthesis: the name to its left
        {"2*e", 3, -1},         // "e" (code 30) is never chosen
        {"sin(1", 5, 1},        // neither side qualifies: two places back is "("
        {"1+2", 3, -1},         // digits and operators: no word
        {"", 0, -1},            // empty line
        {"sin(1)+", 7, -1},     // "+", nothing after it, and ")" two places back
        {"(2)", 1, -1},         // a lone parenthesis holds no name
        {"x+sqrt(", 0, -1},     // caret at the start: "x" is a name character, no row name
        {"+sqrt(2)", 1, 15},    // after "+": the word starts with the next character
        {"mean(1,2)", 5, 38},   // "mean(" is found before any shorter row
        {"eFD(", 4, -1},        // capitals F and D are not name characters
    };
    for (const WordCase& c : cases)
        EXPECT_EQ(AssistantCodeAt(c.line, c.caret), c.code) << "\"" << c.line << "\" caret " << c.caret;
}

TEST(Greeting, DependsOnTheTimeOfDay) {
    const std::vector<std::pair<double, std::string>> cases = {
        {DayFraction(11, 59, 0), "Good morning Sir/Madam!"},
        {DayFraction(12, 0, 0), "Good afternoon Sir/Madam!"},
        {DayFraction(4, 47, 59), "Oh... Good ... night ... Sir/Madam!"},
        {DayFraction(4, 48, 0), "Good morning Sir/Madam!"},
        {DayFraction(17, 59, 59), "Good afternoon Sir/Madam!"},
        {DayFraction(18, 0, 0), "Good evening Sir/Madam!"},
        {DayFraction(23, 59, 59), "Good evening Sir/Madam!"},
        {DayFraction(0, 0, 1), "Oh... Good ... night ... Sir/Madam!"},
        {0.0, "What is the time?"},
        {1.0, "What is the time?"},
        {-0.1, "What is the time?"},
    };
    for (const auto& [t, text] : cases)
        EXPECT_EQ(GreetingText(t), text) << "t = " << t;
}

TEST(Greeting, DayFractionOfElevenFiftyNine) {
    EXPECT_NEAR(DayFraction(11, 59, 0), 0.4993, 0.00005);
    EXPECT_DOUBLE_EQ(DayFraction(12, 0, 0), 0.5);
}

} // namespace
} // namespace mirla
