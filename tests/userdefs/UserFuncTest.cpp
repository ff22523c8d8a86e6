#include "userdefs/UserFunctions.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace mirla {
namespace {

/// The placeholder character of parameter k.
std::string P(int k) {
    return std::string(1, static_cast<char>(k));
}

/// A definition with n parameters p1..pn whose body adds them all.
std::string DefinitionWithParameters(int n) {
    std::string params;
    std::string body;
    for (int i = 1; i <= n; ++i) {
        const std::string name = "p" + std::to_string(i);
        params += (i > 1 ? "," : "") + name;
        body += (i > 1 ? "+" : "") + name;
    }
    return "f(" + params + ") = " + body;
}

struct ValidCase {
    std::string definition;
    std::string name;
    std::string parameterText;
    std::string body;
    std::string comment;
    int count;
    std::string workingBody;
    std::string listLine;
};

/// Names the case in failure messages.
void PrintTo(const ValidCase& c, std::ostream* os) {
    *os << c.definition;
}

class ValidDefinition : public testing::TestWithParam<ValidCase> {};

TEST_P(ValidDefinition, SplitsAndPreparesTheBody) {
    const ValidCase& c = GetParam();
    const TUserFunc f(c.definition);
    SCOPED_TRACE(c.definition);
    ASSERT_TRUE(f.Valid());
    EXPECT_EQ(f.Name(), c.name);
    EXPECT_EQ(f.ParameterText(), c.parameterText);
    EXPECT_EQ(f.Body(), c.body);
    EXPECT_EQ(f.Comment(), c.comment);
    EXPECT_EQ(f.ParameterCount(), c.count);
    EXPECT_EQ(f.WorkingBody(), c.workingBody);
    EXPECT_EQ(f.ListLine(), c.listLine);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, ValidDefinition,
    testing::Values(
        ValidCase{"f(x,y) = x*y", "f(", "x,y", "x*y", "", 2, P(1) + "*" + P(2), "f(x,y) = x*y"},
        ValidCase{"f(x) = x^2", "f(", "x", "x^2", "", 1, P(1) + "^2", "f(x) = x^2"},
        // The longer name goes first, and neither replacement touches the other name.
        ValidCase{"f(ab,a) = ab+a", "f(", "ab,a", "ab+a", "", 2, P(1) + "+" + P(2), "f(ab,a) = ab+a"},
        ValidCase{"f(a,ab) = ab+a", "f(", "a,ab", "ab+a", "", 2, P(2) + "+" + P(1), "f(a,ab) = ab+a"},
        // Only whole words: the x of max and the x of x2 stay.
        ValidCase{"g(x) = max(x,1)+x2", "g(", "x", "max(x,1)+x2", "", 1, "max(" + P(1) + ",1)+x2",
                  "g(x) = max(x,1)+x2"},
        // Blanks go before the comment and stay inside it.
        ValidCase{"dist(x,y) = sqrt(x^2+y^2) ;Euclidean distance", "dist(", "x,y", "sqrt(x^2+y^2)",
                  ";Euclidean distance", 2, "sqrt(" + P(1) + "^2+" + P(2) + "^2)",
                  "dist(x,y) = sqrt(x^2+y^2);Euclidean distance"},
        ValidCase{"h (a, b, c) = c-b/a ; two  blanks", "h(", "a,b,c", "c-b/a", "; two  blanks", 3,
                  P(3) + "-" + P(2) + "/" + P(1), "h(a,b,c) = c-b/a; two  blanks"},
        // Every occurrence of a parameter becomes its placeholder.
        ValidCase{"sq(t) = t*t+(t)", "sq(", "t", "t*t+(t)", "", 1, P(1) + "*" + P(1) + "+(" + P(1) + ")",
                  "sq(t) = t*t+(t)"},
        // Equal lengths: the selection sort keeps definition order, so ab is replaced before ba.
        ValidCase{"f(ab,ba) = ab*ba", "f(", "ab,ba", "ab*ba", "", 2, P(1) + "*" + P(2), "f(ab,ba) = ab*ba"},
        // A comment line: no name, so no call can find it; it lists as its own text.
        ValidCase{"  ; a remark", "", "", "", "; a remark", 0, "", "; a remark"},
        ValidCase{";", "", "", "", ";", 0, "", ";"}));

struct RefusedCase {
    std::string definition;
    bool duplicate;
    bool missing;
};

/// Names the case in failure messages.
void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.definition;
}

class RefusedDefinition : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedDefinition, IsInvalidWithItsReason) {
    const RefusedCase& c = GetParam();
    const TUserFunc f(c.definition);
    SCOPED_TRACE(c.definition);
    EXPECT_FALSE(f.Valid());
    EXPECT_EQ(f.DuplicateParameter(), c.duplicate);
    EXPECT_EQ(f.MissingParameter(), c.missing);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, RefusedDefinition,
    testing::Values(RefusedCase{"f(x,x) = x", true, false}, RefusedCase{"f(a,b,a) = a+b", true, false},
                    RefusedCase{"f(x,y) = x", false, true}, RefusedCase{"f(ab,a) = ab", false, true},
                    RefusedCase{"f(a,ab) = ab", false, true}, RefusedCase{"f() = 1", false, false},
                    RefusedCase{"f(x) = ", false, false}, RefusedCase{"f(x) = ;only a comment", false, false},
                    RefusedCase{"f(x,) = x", false, false}, RefusedCase{"f(,x) = x", false, false},
                    RefusedCase{"f(x,,y) = x+y", false, false}, RefusedCase{"f(x) x+1", false, false},
                    RefusedCase{"f x = x", false, false}, RefusedCase{"(x) = x", false, false},
                    RefusedCase{"fx = sin(x)", false, false}, RefusedCase{"f(x)g = x", false, false},
                    RefusedCase{"f(x = x", false, false}, RefusedCase{"f(x) = x\t+1", false, false},
                    RefusedCase{"", false, false}));

TEST(UserFuncParameters, ThirtyOneParametersAreTheMost) {
    const TUserFunc most(DefinitionWithParameters(31));
    ASSERT_TRUE(most.Valid());
    EXPECT_EQ(most.ParameterCount(), 31);
    EXPECT_NE(most.WorkingBody().find(P(31)), std::string::npos);

    // Placeholder 32 would be the blank, so such a definition is refused.
    const TUserFunc tooMany(DefinitionWithParameters(32));
    EXPECT_FALSE(tooMany.Valid());
}

TEST(UserFuncSubstitution, ArgumentsGoInAsTextWithoutParentheses) {
    TUserFunc f("f(x) = x^2");
    ASSERT_TRUE(f.Valid());
    EXPECT_TRUE(f.SubstituteArgument(1, "1+2"));
    EXPECT_EQ(f.WorkingBody(), "1+2^2");

    f.PrepareBody();
    EXPECT_TRUE(f.SubstituteArgument(1, "(1+2)"));
    EXPECT_EQ(f.WorkingBody(), "(1+2)^2");
}

TEST(UserFuncSubstitution, EachParameterGetsItsOwnArgument) {
    TUserFunc f("dist(x,y) = sqrt(x^2+y^2)");
    ASSERT_TRUE(f.Valid());
    EXPECT_TRUE(f.SubstituteArgument(2, "4"));
    EXPECT_TRUE(f.SubstituteArgument(1, "2*(1+1)"));
    EXPECT_EQ(f.WorkingBody(), "sqrt(2*(1+1)^2+4^2)");
}

TEST(UserFuncSubstitution, PrepareBodyRestoresThePlaceholders) {
    TUserFunc f("sq(t) = t*t");
    ASSERT_TRUE(f.SubstituteArgument(1, "3"));
    EXPECT_EQ(f.WorkingBody(), "3*3");
    f.PrepareBody();
    EXPECT_EQ(f.WorkingBody(), P(1) + "*" + P(1));
    ASSERT_TRUE(f.SubstituteArgument(1, "y"));
    EXPECT_EQ(f.WorkingBody(), "y*y");
}

TEST(UserFuncSubstitution, RefusesParameterNumbersOutOfRange) {
    TUserFunc f("f(a,b) = a-b");
    for (int k : {-1, 0, 3, 31}) {
        EXPECT_FALSE(f.SubstituteArgument(k, "1")) << "k = " << k;
        EXPECT_FALSE(f.MissingParameter()) << "k = " << k;
    }
    EXPECT_EQ(f.WorkingBody(), P(1) + "-" + P(2));
}

TEST(UserFuncSubstitution, SecondSubstitutionOfTheSameParameterIsMissing) {
    TUserFunc f("f(a) = a+1");
    ASSERT_TRUE(f.SubstituteArgument(1, "2"));
    EXPECT_FALSE(f.SubstituteArgument(1, "3"));
    EXPECT_TRUE(f.MissingParameter());
    EXPECT_EQ(f.WorkingBody(), "2+1");
}

TEST(UserFuncSubstitution, AnArgumentHoldingThePlaceholderIsInsertedOnce) {
    TUserFunc f("f(a) = a*a");
    const std::string argument = "(" + P(1) + ")";
    ASSERT_TRUE(f.SubstituteArgument(1, argument));
    EXPECT_EQ(f.WorkingBody(), argument + "*" + argument);
}

struct WholeWordCase {
    std::string word;
    std::string text;
    int position;
};

/// Names the case in failure messages.
void PrintTo(const WholeWordCase& c, std::ostream* os) {
    *os << "'" << c.word << "' in '" << c.text << "'";
}

class WholeWord : public testing::TestWithParam<WholeWordCase> {};

TEST_P(WholeWord, FindsTheFirstOccurrenceBetweenNonAlphanumerics) {
    const WholeWordCase& c = GetParam();
    EXPECT_EQ(TUserFunc::FindWholeWord(c.word, c.text), c.position)
        << "word '" << c.word << "' in '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeWord,
                         testing::Values(WholeWordCase{"x", "x", 1}, WholeWordCase{"x", "max(x,1)+x2", 5},
                                         WholeWordCase{"x", "x2+max", 0}, WholeWordCase{"x", "2x", 0},
                                         WholeWordCase{"x", "X", 0}, WholeWordCase{"x", "(x)", 2},
                                         WholeWordCase{"x", "x_", 1}, WholeWordCase{"ab", "cab+ab", 5},
                                         WholeWordCase{"ab", "ab", 1}, WholeWordCase{"ab", "a", 0},
                                         WholeWordCase{"a",
                                                       "\x01"
                                                       "a\x02",
                                                       2},
                                         WholeWordCase{"x", "", 0}, WholeWordCase{"", "x", 0}));

} // namespace
} // namespace mirla
