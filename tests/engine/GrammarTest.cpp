#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mirla {
namespace {

using test::Outcome;
using test::RunLine;

struct ValueCase {
    const char* line;
    Extended expected;
};

void ExpectValues(EvalContext& ctx, std::initializer_list<ValueCase> cases) {
    for (const ValueCase& c : cases) {
        const Outcome outcome = RunLine(ctx, c.line);
        EXPECT_FALSE(outcome.failed) << c.line << " failed with code " << outcome.code << " at "
                                     << outcome.position;
        EXPECT_EQ(outcome.value, c.expected) << c.line;
    }
}

struct ErrorCase {
    const char* line;
    int code;
    int position;
    int length;
};

void ExpectErrors(EvalContext& ctx, std::initializer_list<ErrorCase> cases) {
    for (const ErrorCase& c : cases) {
        const Outcome outcome = RunLine(ctx, c.line);
        EXPECT_TRUE(outcome.failed) << c.line << " gave " << static_cast<double>(outcome.value);
        EXPECT_EQ(outcome.code, c.code) << c.line;
        if (c.position >= 0) {
            EXPECT_EQ(outcome.position, c.position) << c.line;
        }
        if (c.length > 0) {
            EXPECT_EQ(outcome.length, c.length) << c.line;
        }
    }
}

TEST(Grammar, PrecedenceAndAssociativity) {
    EvalContext ctx;
    ExpectValues(ctx, {
                          {"2+3*4", 14},
                          {"2*3^2", 18},
                          {"-2^2", -4},
                          {"2^-2", 0.25L},
                          {"2^3^2", 512},
                          {"2^3\xB2", 512},
                          {"-3\xB2", -9},
                          {"10-4-3", 3},
                          {"64/4/2", 8},
                          {"1+2&3", 3},
                          {"(2+3)*4", 20},
                          {"200%15", 30},
                          {"2^-1", 0.5L},
                          {"2*(-3)", -6},
                          {"+5", 5},
                      });
}

TEST(Grammar, BitwiseOperatorsTruncateTo32Bits) {
    EvalContext ctx;
    ExpectValues(ctx, {{"5&3", 1}, {"5|3", 7}, {"5\\3", 6}, {"7.9&3", 3}, {"-1&255", 255}});
}

TEST(Grammar, PostfixOperators) {
    EvalContext ctx;
    ExpectValues(ctx, {{"4\xBD", 2}, {"3\xB2", 9}, {"2\xB3", 8}, {"2\xB2\xBD", 2}, {"(1+2)\xB2", 9}});
}

TEST(Grammar, LiteralsInDecimal) {
    EvalContext ctx;
    ExpectValues(ctx, {
                          {"1.5E2", 150},
                          {"1.5E-2", 0.015L},
                          {"1:30", 1.5L},
                          {"0:0:36", 36 * (1.0L / 3600)},
                          {".5", 0.5L},
                          {"0.1", 0.1L},
                          {"123456789012345678", 123456789012345678.0L},
                          {"3.14159265358979323846", 3.14159265358979323846L},
                          {"1E4000", 1E4000L},
                          {"2.5E+3", 2500},
                      });
}

TEST(Grammar, LongSexagesimalHoursAreRead) {
    EvalContext ctx;
    const std::string zeros(50, '0');
    EXPECT_EQ(RunLine(ctx, "1" + zeros + ":0").value, 1E50L);
    EXPECT_EQ(RunLine(ctx, "1" + std::string(50, '$') + ":30").value, 1E50L + 0.5L);
}

TEST(Grammar, DecimalLiteralsAreCorrectlyRounded) {
    EvalContext ctx;
    // Digits beyond what a 64-bit integer holds take the general conversion path.
    ExpectValues(ctx, {
                          {"0.12345678901234567890123", 0.12345678901234567890123L},
                          {"123456789012345678901234567890", 123456789012345678901234567890.0L},
                          {"1.7976931348623157E308", 1.7976931348623157E308L},
                          {"4.9E-324", 4.9E-324L},
                      });
}

TEST(Grammar, LiteralsInOtherBases) {
    EvalContext ctx;
    ctx.SetBase(BaseHex);
    ExpectValues(ctx, {{"$FF", 255}, {"$10+$1", 17}, {"$A.8", 10.5L}, {"FF", 255}});
    ctx.SetBase(BaseBinary);
    ExpectValues(ctx, {{"101", 5}, {"1.1", 1.5L}, {"1E11", 2048}});
    ctx.SetBase(BaseDecimal);
    ExpectErrors(ctx, {{"$5", ErrSyntax, 1, 1}});
}

TEST(Grammar, SyntaxErrorsAtTheirPositions) {
    EvalContext ctx;
    ExpectErrors(ctx, {
                          {"2*-3", ErrSyntax, 3, 1},
                          {"2+-3", ErrSyntax, 3, 1},
                          {"--3", ErrSyntax, 2, 1},
                          {"1E", ErrSyntax, 2, 1},
                          {"1:30.5", ErrSyntax, 5, 1},
                          {"2pi", ErrSyntax, 2, 1},
                          {"2(3)", ErrSyntax, 2, 1},
                          {"max(1,2)", ErrSyntax, -1, 0},
                          {"pie", ErrSyntax, 1, 3},
                          {"1+", ErrSyntax, 2, 1},
                          {"^2", ErrSyntax, 1, 1},
                          {"1,2", ErrSyntax, 2, 1},
                      });
}

TEST(Grammar, BlanksAreRemovedBeforeEvaluationButSignificantToTheEngine) {
    EvalContext ctx;
    EXPECT_EQ(RunLine(ctx, "2 + 3").value, 5);
    ctx.Input = "2 + 3";
    Evaluate(ctx);
    EXPECT_TRUE(ctx.ErrorFlag);
    EXPECT_EQ(ctx.ErrorCode, ErrSyntax);
    ctx.Input = "sin (0)";
    Evaluate(ctx);
    EXPECT_TRUE(ctx.ErrorFlag);
}

TEST(Grammar, DivisionByZeroCoversTheDivisor) {
    EvalContext ctx;
    ExpectErrors(ctx, {{"8/0", ErrDivisionByZero, 3, 1},
                       {"8/(1-1)", ErrDivisionByZero, 3, 5},
                       {"1 / 0", ErrDivisionByZero, 5, 1},
                       {"8/0+1", ErrDivisionByZero, 3, 1}});
}

TEST(Grammar, MissingClosingParenthesesAreAcceptedAtTheEnd) {
    EvalContext ctx;
    ctx.Input = "(2+3";
    EXPECT_EQ(Evaluate(ctx), 5);
    EXPECT_FALSE(ctx.ErrorFlag);
    ctx.Input = "sin(0";
    EXPECT_EQ(Evaluate(ctx), 0);
    EXPECT_FALSE(ctx.ErrorFlag);
    ctx.Input = "2)+5";
    EXPECT_EQ(Evaluate(ctx), 2);
    EXPECT_FALSE(ctx.ErrorFlag);
}

TEST(Grammar, EvaluateEntryState) {
    EvalContext ctx;
    ctx.Input = "";
    EXPECT_EQ(Evaluate(ctx), 0);
    EXPECT_FALSE(ctx.ErrorFlag);
    ctx.Input = "1+*2";
    Evaluate(ctx);
    EXPECT_TRUE(ctx.ErrorFlag);
    EXPECT_EQ(ctx.ReadPos, 4);
    EXPECT_EQ(ctx.Current, EndMarker);
    bool failed = true;
    int position = -1;
    int length = -1;
    EXPECT_EQ(EvaluateEx(ctx, "6*7", failed, position, length), 42);
    EXPECT_FALSE(failed);
    EvaluateEx(ctx, "6/0", failed, position, length);
    EXPECT_TRUE(failed);
    EXPECT_EQ(position, 3);
}

TEST(Grammar, PreviousAnswer) {
    EvalContext ctx;
    ctx.PrevValue = 21;
    ExpectValues(ctx, {{"?*2", 42}, {"-?", -21}, {"?\xB2", 441}});
}

TEST(Grammar, PowerOperatorRules) {
    EvalContext ctx;
    ExpectValues(ctx, {
                          {"(-2)^3", -8},
                          {"(-2)^2", 4},
                          {"0^2", 0},
                          {"2^0.5", std::sqrt(2.0L)},
                          {"10^(-2000)", 0},
                          {"2^64", 18446744073709551616.0L},
                          {"3^40", 12157665459056928801.0L},
                          {"0.5^3", 0.125L},
                      });
    ExpectErrors(ctx, {{"(-8)^(1/3)", ErrArgumentNegative, 1, 10}, {"0^0", ErrDivisionByZero, 1, 3}});
}

TEST(Grammar, WholeExponentsAreExact) {
    EvalContext ctx;
    ExpectValues(ctx, {{"2^3-8", 0}, {"10^(2)-100", 0}, {"10^18-1000000000000000000", 0}, {"1.5^2-2.25", 0}});
}

TEST(Grammar, LoopConstruct) {
    EvalContext ctx;
    ExpectValues(ctx, {{"(J=1)+(K=10)+(M=1)", 12}});
    ctx.PrevValue = 0;
    ExpectValues(ctx, {{"forJtoKstepMdo(?+J)", 55}});
    EXPECT_EQ(ctx.Variable(7).Value, 1) << "J is restored after the loop";
    ctx.PrevValue = 100;
    ExpectValues(ctx, {{"for J to K step M do(?+J)", 155}});
    ctx.Variable(7).Value = 5;
    ExpectValues(ctx, {{"forJtoKstepMdo(J*2)", 20}});
}

TEST(Grammar, LoopWithZeroStepRunsUntilTheUserBreaks) {
    EvalContext ctx;
    test::ScriptedHost host;
    host.context = &ctx;
    host.breakAfterPumps = 1000;
    ctx.SetHost(&host);
    RunLine(ctx, "(J=1)+(K=2)+(M=0)");
    const Outcome outcome = RunLine(ctx, "forJtoKstepMdo(J)");
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.code, ErrUserBreak);
    EXPECT_EQ(host.pumps, 1000);
    EXPECT_EQ(ctx.Variable(7).Value, 1);
}

TEST(Grammar, BreakAnsweredNoGoesOn) {
    EvalContext ctx;
    test::ScriptedHost host;
    host.context = &ctx;
    host.breakAfterPumps = 3;
    host.confirmBreak = false;
    ctx.SetHost(&host);
    RunLine(ctx, "(J=1)+(K=10)+(M=1)");
    const Outcome outcome = RunLine(ctx, "forJtoKstepMdo(J)");
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.value, 10);
    EXPECT_GE(host.confirmations, 1);
}

} // namespace
} // namespace mirla
