#include "EngineTestSupport.h"

#include "engine/NameTable.h"
#include "engine/RealFunctions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mirla {
namespace {

using test::Outcome;
using test::RunLine;

struct Approximate {
    const char* line;
    Extended expected;
    Extended tolerance;
};

void ExpectNear(EvalContext& ctx, std::initializer_list<Approximate> cases) {
    for (const Approximate& c : cases) {
        const Outcome outcome = RunLine(ctx, c.line);
        EXPECT_FALSE(outcome.failed) << c.line << " failed with code " << outcome.code;
        EXPECT_NEAR(static_cast<double>(outcome.value), static_cast<double>(c.expected),
                    static_cast<double>(c.tolerance))
            << c.line;
    }
}

struct DomainCase {
    const char* line;
    int code;
    int position;
    int length;
};

void ExpectDomainErrors(EvalContext& ctx, std::initializer_list<DomainCase> cases) {
    for (const DomainCase& c : cases) {
        ctx.PrevValue = 42;
        const Outcome outcome = RunLine(ctx, c.line);
        EXPECT_TRUE(outcome.failed) << c.line;
        EXPECT_EQ(outcome.code, c.code) << c.line;
        EXPECT_EQ(outcome.position, c.position) << c.line;
        EXPECT_EQ(outcome.length, c.length) << c.line;
    }
}

TEST(RealFunctions, DegreeModeTrigonometry) {
    EvalContext ctx;
    ctx.AngleMode = 1;
    EXPECT_NEAR(static_cast<double>(RunLine(ctx, "sin(30)").value), 0.5, 1e-18);
    EXPECT_EQ(RunLine(ctx, "arcsin(1)").value, 90);
    EXPECT_EQ(RunLine(ctx, "arcsin(-1)").value, -90);
    EXPECT_EQ(RunLine(ctx, "arccos(-1)").value, 180);
    EXPECT_EQ(RunLine(ctx, "arccos(0)").value, 90);
    ExpectNear(ctx, {{"cos(60)", 0.5L, 1e-18L},
                     {"tan(45)", 1, 1e-18L},
                     {"arctan(1)", 45, 1e-15L},
                     {"arcsin(0.5)", 30, 1e-15L},
                     {"arccos(0.5)", 60, 1e-15L},
                     {"arccos(-0.5)", 120, 1e-15L}});
}

TEST(RealFunctions, RadianModeAndElementaryFunctions) {
    EvalContext ctx;
    ctx.AngleMode = 0;
    ExpectNear(ctx, {{"sin(pi/6)", 0.5L, 1e-18L},
                     {"cos(pi)", -1, 1e-18L},
                     {"arcsin(1)", Pi / 2, 0},
                     {"arccos(-1)", Pi, 0},
                     {"exp(1)", EulerE, 1e-18L},
                     {"ln(e)", 1, 1e-18L},
                     {"log(1000)", 3, 1e-18L},
                     {"sqrt(2)^2", 2, 1e-18L},
                     {"sinh(1)", 1.1752011936438014569L, 1e-18L},
                     {"cosh(1)", 1.5430806348152437785L, 1e-18L},
                     {"tanh(0.5)", 0.46211715726000975850L, 1e-18L},
                     {"arcsinh(1)", 0.88137358701954302523L, 1e-18L},
                     {"arccosh(2)", 1.3169578969248167086L, 1e-18L},
                     {"arctanh(0.5)", 0.54930614433405484570L, 1e-18L},
                     {"sqr(-3)", 9, 0},
                     {"abs(-2.5)", 2.5L, 0}});
    EXPECT_EQ(RunLine(ctx, "sin(1E30)").value, 0) << "arguments beyond 2^63 give 0";
}

TEST(RealFunctions, SmallArgumentsKeepTheirPrecision) {
    EvalContext ctx;
    ctx.AngleMode = 0;
    ExpectNear(ctx, {{"sinh(1E-10)", 1E-10L, 1E-28L},
                     {"arcsin(1E-10)", 1E-10L, 1E-28L},
                     {"arcsinh(-1E10)", -23.718998110500402149L, 1E-15L},
                     {"arctanh(1E-12)", 1E-12L, 1E-30L}});
}

TEST(RealFunctions, RoundingFunctions) {
    EvalContext ctx;
    ExpectNear(ctx, {{"round(0.5)", 1, 0},
                     {"round(1.5)", 2, 0},
                     {"round(2.5)", 2, 0},
                     {"round(-0.5)", 0, 0},
                     {"round(-2.7)", -3, 0},
                     {"frac(-2.75)", -0.75L, 0},
                     {"trunc(-2.75)", -2, 0},
                     {"trunc(2147483647.9)", 2147483647, 0}});
}

TEST(RealFunctions, DomainErrorsCoverTheCallAndResetThePreviousAnswer) {
    EvalContext ctx;
    ExpectDomainErrors(ctx, {{"arcsin(1.0000001)", ErrArgument, 1, 17},
                             {"arccos(2)", ErrArgument, 1, 9},
                             {"arccosh(0.5)", ErrArgument, 1, 12},
                             {"arctanh(1)", ErrArgument, 1, 10},
                             {"sqrt(-1)", ErrArgumentNegative, 1, 8},
                             {"1+ln(0)", ErrArgumentNegative, 3, 5},
                             {"log(0)", ErrArgumentNegative, 1, 6},
                             {"gauss(5)", ErrCommaExpected, 1, 8},
                             {"(-4)\xBD", ErrArgumentNegative, 1, 5}});
    EXPECT_EQ(ctx.PrevValue, 0);
}

TEST(RealFunctions, ArgumentCountsAreChecked) {
    EvalContext ctx;
    EXPECT_EQ(RunLine(ctx, "sin(1,2)").code, ErrSyntax);
    EXPECT_EQ(RunLine(ctx, "Jn(1,2,3)").code, ErrSyntax);
}

TEST(RealFunctions, UnitConversions) {
    EvalContext ctx;
    EXPECT_EQ(RunLine(ctx, "ft_m(1)").value, 0.30480000000122L);
    EXPECT_EQ(RunLine(ctx, "cm_bigl(2)").value, 2 * 219.96885224677355L);
    EXPECT_EQ(ConversionFactor(FnFirstConversion), 0.30480000000122L);
    EXPECT_EQ(ConversionFactor(FnLastConversion), 219.96885224677355L);
    ExpectNear(ctx, {{"km_ml(ml_km(10))", 10, 1e-9L}, {"g_lb(lb_g(3))", 3, 1e-9L}});
}

TEST(RealFunctions, RandomNumbers) {
    EvalContext ctx;
    EXPECT_FALSE(ctx.RandomSeeded);
    Extended sum = 0;
    for (int i = 0; i < 2000; ++i) {
        const Extended r = RunLine(ctx, "random").value;
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 1);
        sum += r;
    }
    EXPECT_TRUE(ctx.RandomSeeded);
    EXPECT_NEAR(static_cast<double>(sum / 2000), 0.5, 0.05);
    Extended gaussSum = 0;
    for (int i = 0; i < 2000; ++i)
        gaussSum += RunLine(ctx, "gauss(10,2)").value;
    EXPECT_NEAR(static_cast<double>(gaussSum / 2000), 10, 0.3);
}

// Arithmetic faults become ordinary errors at the operation where they happen.
TEST(ArithmeticFaults, BecomeErrorsWithTheirSpans) {
    EvalContext ctx;
    struct FaultCase {
        const char* line;
        int code;
        int position;
        int length;
    };
    const FaultCase cases[] = {
        {"1E4000*1E4000", ErrOverflow, 1, 13}, {"1+1E4932+1E4932", ErrOverflow, 1, 15},
        {"exp(20000)", ErrOverflow, 1, 10},    {"2+sinh(1E5)", ErrOverflow, 3, 9},
        {"10^5000", ErrOverflow, 1, 7},        {"1E5000", ErrOverflow, 1, 6},
        {"(1E3000)\xB2", ErrOverflow, 1, 9},   {"0^-1", ErrDivisionByZero, 1, 4},
        {"round(3E9)", ErrOutOfRange, 1, 10},  {"trunc(-3E9)", ErrOutOfRange, 1, 11},
        {"1+(5E9&1)", ErrOutOfRange, 4, 5},    {"1E12|1", ErrOutOfRange, 1, 6},
        {"n!(1755)", ErrOverflow, 1, 8},
    };
    for (const FaultCase& c : cases) {
        const Outcome outcome = RunLine(ctx, c.line);
        EXPECT_TRUE(outcome.failed) << c.line << " gave " << static_cast<double>(outcome.value);
        EXPECT_EQ(outcome.code, c.code) << c.line;
        EXPECT_EQ(outcome.position, c.position) << c.line;
        EXPECT_EQ(outcome.length, c.length) << c.line;
    }
}

TEST(ArithmeticFaults, TangentAtAZeroCosineIsASingularity) {
    EvalContext ctx;
    ctx.AngleMode = 0;
    // cos of the extended value nearest pi/2 is not 0, so the fault needs an exact zero:
    // there is none among representable arguments, and the value stays finite.
    const Outcome nearPole = RunLine(ctx, "tan(pi/2)");
    EXPECT_FALSE(nearPole.failed);
    EXPECT_TRUE(std::isfinite(nearPole.value));
}

TEST(ArithmeticFaults, NoNonFiniteValueEverComesOut) {
    EvalContext ctx;
    for (const char* line : {"1E4932*10", "exp(1E10)", "cosh(-1E6)", "gamma(3000)", "2^1E10", "(-2)^1E10",
                             "10^(1E6)", "1/1E-4940"}) {
        const Outcome outcome = RunLine(ctx, line);
        EXPECT_TRUE(outcome.failed) << line << " gave " << static_cast<double>(outcome.value);
        EXPECT_TRUE(std::isfinite(outcome.value)) << line;
    }
}

TEST(CharacterSet, CharactersOutsideTheEngineSetAreSyntaxErrors) {
    EvalContext ctx;
    for (const char* line : {"1+\x80", "2*\x01", "3\x7F+1", "1+\xE9"}) {
        const Outcome outcome = RunLine(ctx, line);
        EXPECT_TRUE(outcome.failed) << line;
        EXPECT_EQ(outcome.code, ErrSyntax) << line;
    }
    EXPECT_EQ(RunLine(ctx, "3\x7F+1").position, 2);
    EXPECT_EQ(RunLine(ctx, "2*\x01").position, 3);
}

TEST(Nesting, DeepNestingIsAStackOverflowNotACrash) {
    EvalContext ctx;
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(RunLine(ctx, deep).code, ErrStackOverflow);
    std::string powers = "2";
    for (int i = 0; i < 3000; ++i)
        powers += "^1";
    EXPECT_EQ(RunLine(ctx, powers).code, ErrStackOverflow);
    const std::string moderate = std::string(100, '(') + "1" + std::string(100, ')');
    EXPECT_EQ(RunLine(ctx, moderate).value, 1);
}

} // namespace
} // namespace mirla
