#include "engine/SpecialFunctions.h"

#include "EngineTestSupport.h"
#include "engine/Engine.h"
#include "engine/ErrorCodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace mirla {
namespace {

constexpr Extended TruePi = 3.14159265358979323846264338327950288L;
const Extended SqrtPi = sqrtl(TruePi);

using Unary = Extended (*)(EvalContext&, Extended);
using Binary = Extended (*)(EvalContext&, Extended, Extended);

template <Unary F> Extended OneArgument(EvalContext& ctx, Extended a, Extended /*unused*/) {
    return F(ctx, a);
}

/// One call with its expected value; `tolerance` is relative, or absolute when `absolute`.
struct ValueCase {
    std::string name;
    Binary function;
    Extended a;
    Extended b;
    Extended expected;
    Extended tolerance;
    bool absolute = false;
};

/// One call that must fail with `code`.
struct ErrorCase {
    std::string name;
    Binary function;
    Extended a;
    Extended b;
    int code;
};

void ExpectValues(const std::vector<ValueCase>& cases, int agreement = 9) {
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        EvalContext ctx;
        ctx.IntegralAgreement = static_cast<std::uint8_t>(agreement);
        const Extended actual = c.function(ctx, c.a, c.b);
        EXPECT_FALSE(ctx.ErrorFlag) << "code " << ctx.ErrorCode;
        const Extended scale = c.absolute ? 1 : fabsl(c.expected);
        EXPECT_LE(fabsl(actual - c.expected), c.tolerance * scale)
            << "actual " << static_cast<double>(actual) << " expected " << static_cast<double>(c.expected);
    }
}

void ExpectErrors(const std::vector<ErrorCase>& cases) {
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        EvalContext ctx;
        ctx.PrevValue = 7;
        const Extended actual = c.function(ctx, c.a, c.b);
        EXPECT_TRUE(ctx.ErrorFlag);
        EXPECT_EQ(ctx.ErrorCode, c.code);
        EXPECT_EQ(actual, 0);
        EXPECT_EQ(ctx.PrevValue, 0);
    }
}

constexpr auto GammaF = OneArgument<Gamma>;
constexpr auto FactorialF = OneArgument<Factorial>;
constexpr auto SiF = OneArgument<IntegralSine>;
constexpr auto CiF = OneArgument<IntegralCosine>;
constexpr auto ErfF = OneArgument<ErrorFunction>;

TEST(GammaFunction, MatchesClosedFormsAndTables) {
    ExpectValues({
        {"gamma(5)", GammaF, 5, 0, 24, 0},
        {"gamma(1)", GammaF, 1, 0, 1, 0},
        {"gamma(0.5)", GammaF, 0.5L, 0, SqrtPi, 1e-16L},
        {"gamma(10.5)", GammaF, 10.5L, 0, 654729075.0L / 1024 * SqrtPi, 1e-16L},
        {"gamma(12.5)", GammaF, 12.5L, 0, 316234143225.0L / 4096 * SqrtPi, 1e-16L},
        {"gamma(1/3)", GammaF, 1.0L / 3, 0, 2.6789385347077476337L, 1e-16L},
        {"gamma(100.5)", GammaF, 100.5L, 0, 9.3209631040827166083e156L, 1e-15L},
        {"gamma(-0.5)", GammaF, -0.5L, 0, -2 * SqrtPi, 1e-16L},
        {"gamma(-2.5)", GammaF, -2.5L, 0, -8 * SqrtPi / 15, 1e-16L},
        // Near 0, gamma(x) = 1/x - Euler's constant + O(x).
        {"gamma(-1E-30)", GammaF, -1e-30L, 0, -1e30L - 0.5772156649015328606L, 1e-16L},
    });
}

TEST(GammaFunction, FailsAtPolesAndOverflow) {
    ExpectErrors({
        {"gamma(0)", GammaF, 0, 0, ErrDivisionByZero},
        {"gamma(-1)", GammaF, -1, 0, ErrDivisionByZero},
        {"gamma(-3)", GammaF, -3, 0, ErrDivisionByZero},
        {"gamma(2000)", GammaF, 2000, 0, ErrOverflow},
        {"gamma(1800.5)", GammaF, 1800.5L, 0, ErrOverflow},
    });
}

TEST(FactorialFunction, IsExactUpTo20) {
    std::uint64_t exact = 1;
    for (int n = 0; n <= 20; ++n) {
        SCOPED_TRACE(n);
        exact *= static_cast<std::uint64_t>(std::max(n, 1));
        EvalContext ctx;
        EXPECT_EQ(Factorial(ctx, n), static_cast<Extended>(exact));
        EXPECT_FALSE(ctx.ErrorFlag);
    }
}

TEST(FactorialFunction, LargeValuesAndErrors) {
    ExpectValues({
        {"100!", FactorialF, 100, 0, 9.33262154439441526817e157L, 1e-17L},
        {"170!", FactorialF, 170, 0, 7.25741561530799896740e306L, 1e-17L},
        {"1754!", FactorialF, 1754, 0, 1.97926189010501005538e4930L, 1e-17L},
    });
    ExpectErrors({
        {"n!(3.5)", FactorialF, 3.5L, 0, ErrArgument},
        {"n!(-1)", FactorialF, -1, 0, ErrArgument},
        {"n!(1755)", FactorialF, 1755, 0, ErrOverflow},
    });
}

std::vector<ValueCase> BesselCases(Extended tolerance) {
    const Extended rootTwoOverPi = sqrtl(2 / TruePi);
    return {
        {"Jn(0,1)", BesselJ, 0, 1, 0.76519768655796655145L, tolerance},
        {"Jn(1,2.5)", BesselJ, 1, 2.5L, 0.49709410246427403801L, tolerance},
        {"Jn(2.5,10)", BesselJ, 2.5L, 10, 0.19665848358181841265L, tolerance},
        {"Jn(0.5,1)", BesselJ, 0.5L, 1, rootTwoOverPi * sinl(1), tolerance},
        {"Yn(0,1)", BesselY, 0, 1, 0.088256964215676957983L, tolerance},
        {"Yn(1,2)", BesselY, 1, 2, -0.10703243154093754689L, tolerance},
        {"Yn(0.5,1)", BesselY, 0.5L, 1, -rootTwoOverPi * cosl(1), tolerance},
        {"In(0,1)", BesselI, 0, 1, 1.2660658777520083356L, tolerance},
        {"In(1,2)", BesselI, 1, 2, 1.5906368546373290634L, tolerance},
        {"In(0.5,1)", BesselI, 0.5L, 1, rootTwoOverPi * sinhl(1), tolerance},
        {"Kn(0,1)", BesselK, 0, 1, 0.42102443824070833334L, tolerance},
        {"Kn(1,2)", BesselK, 1, 2, 0.13986588181652242728L, tolerance},
        {"Kn(0.5,1)", BesselK, 0.5L, 1, sqrtl(TruePi / 2) * expl(-1), tolerance},
    };
}

TEST(BesselFunctions, MatchesTablesToTheAgreedDigits) {
    // Seven agreed digits at the default comparison length, fourteen at 16 characters.
    ExpectValues(BesselCases(1e-6L));
    ExpectValues(BesselCases(1e-13L), 16);
}

TEST(BesselFunctions, ValuesAtZero) {
    EvalContext ctx;
    EXPECT_EQ(BesselJ(ctx, 0, 0), 1);
    EXPECT_EQ(BesselJ(ctx, 1, 0), 0);
    EXPECT_EQ(BesselI(ctx, 0, 0), 1);
    EXPECT_EQ(BesselI(ctx, 2, 0), 0);
    EXPECT_FALSE(ctx.ErrorFlag);
}

TEST(BesselFunctions, DomainErrors) {
    ExpectErrors({
        {"Kn(0,0)", BesselK, 0, 0, ErrOutOfRange},
        {"Yn(0,0)", BesselY, 0, 0, ErrOutOfRange},
        {"Jn(-1,2)", BesselJ, -1, 2, ErrOutOfRange},
        {"In(1,-2)", BesselI, 1, -2, ErrOutOfRange},
        {"Kn(-0.5,1)", BesselK, -0.5L, 1, ErrOutOfRange},
        {"Jn(1)", BesselJ, 1, UndefinedValue, ErrCommaExpected},
        {"Yn(1)", BesselY, 1, UndefinedValue, ErrCommaExpected},
        {"In(0,20000)", BesselI, 0, 20000, ErrOverflow},
    });
}

TEST(IntegralSineCosine, MatchesTables) {
    // Up to 1 the integral is exact to the format; above 1 the rational auxiliary functions
    // are accurate to 5E-7 (f) and 3E-7 (g).
    constexpr Extended Rational = 8e-7L;
    ExpectValues({
        {"Si(0)", SiF, 0, 0, 0, 0, true},
        {"Si(1)", SiF, 1, 0, 0.94608307036718301494L, 1e-18L, true},
        {"Ci(1)", CiF, 1, 0, 0.33740392290096813466L, 1e-18L, true},
        {"Ci(0.5)", CiF, 0.5L, 0, -0.17778407880661290134L, 1e-18L, true},
        {"Si(2)", SiF, 2, 0, 1.6054129768026948486L, Rational, true},
        {"Si(5)", SiF, 5, 0, 1.5499312449446741373L, Rational, true},
        {"Si(10)", SiF, 10, 0, 1.6583475942188740493L, Rational, true},
        {"Si(20)", SiF, 20, 0, 1.5482417010434398402L, Rational, true},
        {"Ci(2)", CiF, 2, 0, 0.42298082877486499570L, Rational, true},
        {"Ci(5)", CiF, 5, 0, -0.19002974965664387862L, Rational, true},
        {"Ci(10)", CiF, 10, 0, -0.045456433004455372635L, Rational, true},
        {"Ci(20)", CiF, 20, 0, 0.044419820845353316541L, Rational, true},
        // Huge arguments reach the limits pi/2 and 0 without overflowing x^2.
        {"Si(1E3000)", SiF, 1e3000L, 0, TruePi / 2, 1e-18L, true},
        {"Ci(1E3000)", CiF, 1e3000L, 0, 0, 0, true},
    });
    ExpectErrors({
        {"Si(-1)", SiF, -1, 0, ErrArgument},
        {"Ci(0)", CiF, 0, 0, ErrOutOfRange},
        {"Ci(-1)", CiF, -1, 0, ErrArgument},
    });
}

TEST(ErrorFunction, MatchesTables) {
    // The rational tail approximation is good to about 1E-14.
    constexpr Extended Rational = 2e-14L;
    ExpectValues({
        {"erf(0)", ErfF, 0, 0, 0, 0, true},
        {"erf(20)", ErfF, 20, 0, 1, 0, true},
        {"erf(0.1)", ErfF, 0.1L, 0, 0.11246291601828489220L, Rational, true},
        {"erf(0.5)", ErfF, 0.5L, 0, 0.52049987781304653768L, Rational, true},
        {"erf(-0.5)", ErfF, -0.5L, 0, -0.52049987781304653768L, Rational, true},
        {"erf(1)", ErfF, 1, 0, 0.84270079294971486934L, Rational, true},
        {"erf(2)", ErfF, 2, 0, 0.99532226501895273416L, Rational, true},
        {"erf(3)", ErfF, 3, 0, 0.99997790950300141456L, Rational, true},
    });
}

std::vector<ValueCase> FermiDiracCases(Extended tolerance) {
    const Extended ln2 = logl(2);
    return {
        // The integral runs to 23: of 1/(e^t + 1) that is ln 2 - ln(1 + e^-23).
        {"eFD(0,0)", FermiDirac, 0, 0, ln2 - log1pl(expl(-23)), tolerance},
        {"eFD(0,-30)", FermiDirac, 0, -30, log1pl(expl(-30)) - log1pl(expl(-53)), tolerance},
    };
}

TEST(FermiDiracIntegral, MatchesClosedForms) {
    ExpectValues(FermiDiracCases(1e-6L));
    ExpectValues(FermiDiracCases(1e-13L), 16);
    // Against the untruncated integrals; the tails beyond 23 are below 3E-9 of the values.
    ExpectValues({
        {"eFD(0,0)", FermiDirac, 0, 0, logl(2), 1e-6L},
        {"eFD(1,0)", FermiDirac, 1, 0, TruePi * TruePi / 12, 1e-6L},
        {"eFD(0.5,2)", FermiDirac, 0.5L, 2, 2.5024578260071403336L, 1e-6L},
        {"eFD(0.5,-30)", FermiDirac, 0.5L, -30, SqrtPi / 2 * expl(-30), 1e-6L},
    });
    ExpectErrors({
        {"eFD(1)", FermiDirac, 1, UndefinedValue, ErrCommaExpected},
        {"eFD(-1,0)", FermiDirac, -1, 0, ErrOutOfRange},
    });
}

TEST(FermiDiracIntegral, PowerBeyondTheRangeIsOverflow) {
    EvalContext ctx;
    EXPECT_EQ(FermiDirac(ctx, 5000, 0), 0); // 23^5000 exceeds the extended range
    EXPECT_EQ(ctx.ErrorCode, ErrOverflow);
}

// --- Integrate ----------------------------------------------------------------------------------

int g_calls = 0;

Extended Cubic(EvalContext& /*ctx*/, Extended t, Extended x, Extended n) {
    ++g_calls;
    return x * t * t * t + n;
}
/// Never settles: each call returns a larger value.
Extended Growing(EvalContext& /*ctx*/, Extended /*t*/, Extended /*x*/, Extended /*n*/) {
    return ++g_calls;
}
Extended Infinite(EvalContext& /*ctx*/, Extended /*t*/, Extended /*x*/, Extended /*n*/) {
    ++g_calls;
    return HUGE_VALL;
}
Extended FailsOnThirdCall(EvalContext& ctx, Extended /*t*/, Extended /*x*/, Extended /*n*/) {
    if (++g_calls == 3) {
        RaiseEvalError(ctx, ErrArgumentNegative);
    }
    return 1;
}

/// A scripted host installed in `ctx` that requests a break from pump `breakAt` on (-1: never).
struct InstalledHost : test::ScriptedHost {
    InstalledHost(EvalContext& ctx, int breakAt, bool confirm) {
        context = &ctx;
        breakAfterPumps = breakAt;
        confirmBreak = confirm;
        ctx.SetHost(this);
    }
};

TEST(GaussLegendreIntegration, StopsWhenTwoPassesAgree) {
    // The 10-point rule is exact for a cubic, so the passes of 1 and 2 parts agree at once.
    EvalContext ctx;
    g_calls = 0;
    EXPECT_NEAR(Integrate(ctx, Cubic, 2, 1, 3, 1), 2 * (81 - 1) / 4.0L + 2, 1e-17L);
    EXPECT_EQ(g_calls, 30);
    EXPECT_NEAR(Integrate(ctx, Cubic, 1, 0, 0, 2), -4, 1e-17L); // reversed bounds
    EXPECT_FALSE(ctx.ErrorFlag);
}

TEST(GaussLegendreIntegration, LongerAgreementNeedsMorePasses) {
    auto partsComputed = [](int agreement) {
        EvalContext ctx;
        ctx.IntegralAgreement = static_cast<std::uint8_t>(agreement);
        InstalledHost host(ctx, -1, false);
        BesselK(ctx, 1, 2);
        return host.pumps;
    };
    EXPECT_LT(partsComputed(4), partsComputed(16));
}

TEST(GaussLegendreIntegration, GivesUpAfterTheFinestPass) {
    EvalContext ctx;
    InstalledHost host(ctx, -1, false);
    g_calls = 0;
    const Extended value = Integrate(ctx, Growing, 0, 0, 1, 0);
    EXPECT_FALSE(ctx.ErrorFlag);
    EXPECT_TRUE(std::isfinite(value));
    constexpr int FinestPass = 1 << 24;
    EXPECT_EQ(host.pumps, 2 * FinestPass - 1); // one pump per part of passes 1, 2, 4 ... 2^24
}

TEST(GaussLegendreIntegration, ConfirmedBreakEndsWithUserBreak) {
    EvalContext ctx;
    InstalledHost host(ctx, 5, true);
    g_calls = 0;
    EXPECT_EQ(Integrate(ctx, Growing, 0, 0, 1, 0), 0);
    EXPECT_TRUE(ctx.ErrorFlag);
    EXPECT_EQ(ctx.ErrorCode, ErrUserBreak);
    EXPECT_EQ(g_calls, 5 * 10); // nothing is evaluated after the fifth part
}

TEST(GaussLegendreIntegration, BreakDuringBesselFunction) {
    EvalContext ctx;
    InstalledHost host(ctx, 1, true);
    EXPECT_EQ(BesselJ(ctx, 2.5L, 10), 0);
    EXPECT_EQ(ctx.ErrorCode, ErrUserBreak);
    EXPECT_EQ(host.confirmations, 1);
}

TEST(GaussLegendreIntegration, DeclinedBreakGoesOn) {
    EvalContext ctx;
    InstalledHost host(ctx, 1, false);
    EXPECT_NEAR(BesselK(ctx, 1, 2), 0.13986588181652242728L, 1e-6L);
    EXPECT_FALSE(ctx.ErrorFlag);
    EXPECT_FALSE(ctx.BreakRequested); // each declined request is withdrawn
    EXPECT_EQ(host.confirmations, host.pumps);
}

TEST(GaussLegendreIntegration, IntegrandErrorStopsAtOnce) {
    EvalContext ctx;
    g_calls = 0;
    EXPECT_EQ(Integrate(ctx, FailsOnThirdCall, 0, 0, 1, 0), 0);
    EXPECT_EQ(ctx.ErrorCode, ErrArgumentNegative);
    EXPECT_EQ(g_calls, 10); // the part under way is finished, no further one is started
}

TEST(GaussLegendreIntegration, NonFiniteSumIsOverflow) {
    EvalContext ctx;
    g_calls = 0;
    EXPECT_EQ(Integrate(ctx, Infinite, 0, 0, 1, 0), 0);
    EXPECT_EQ(ctx.ErrorCode, ErrOverflow);
    EXPECT_EQ(g_calls, 10);
}

} // namespace
} // namespace mirla
