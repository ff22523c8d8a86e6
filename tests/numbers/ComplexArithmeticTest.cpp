#include "numbers/ComplexArithmetic.h"
#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "engine/NameTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iomanip>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace mirla {
namespace {

using StdComplex = std::complex<long double>;

constexpr long double PiL = std::numbers::pi_v<long double>;

ComplexValue Rect(long double x, long double y) {
    return {FormRect, x, y};
}
ComplexValue Polar(long double r, long double a) {
    return {FormPolar, r, a};
}
StdComplex AsStd(const ComplexValue& z) {
    return {CRe(z), CIm(z)};
}

std::string Describe(const ComplexValue& z) {
    return std::string(z.Form == FormRect ? "rect(" : "polar(") + std::to_string(static_cast<double>(z.X)) +
           ", " + std::to_string(static_cast<double>(z.Y)) + ")";
}

/// `actual` within `tolerance` of `expected`, compared in extended precision.
void ExpectClose(long double actual, long double expected, long double tolerance,
                 const std::string& what = "") {
    EXPECT_LE(std::fabs(actual - expected), tolerance)
        << what << std::setprecision(21) << " is " << actual << ", expected " << expected;
}

/// Both parts of `actual` within `tolerance` of `expected`, relative to the larger modulus
/// (absolute below 1), so that a part that should be 0 may hold rounding noise.
void ExpectNear(const ComplexValue& actual, StdComplex expected, long double tolerance = 1e-17L) {
    const long double scale = std::max(1.0L, std::abs(expected));
    ExpectClose(CRe(actual), expected.real(), tolerance * scale, "real part of " + Describe(actual));
    ExpectClose(CIm(actual), expected.imag(), tolerance * scale, "imaginary part of " + Describe(actual));
}

/// Sign/exponent word and significand of an extended value.
std::pair<std::uint16_t, std::uint64_t> Bits(Extended v) {
    std::uint64_t significand = 0;
    std::uint16_t signExponent = 0;
    std::memcpy(&significand, &v, sizeof significand);
    std::memcpy(&signExponent, reinterpret_cast<const char*>(&v) + sizeof significand, sizeof signExponent);
    return {signExponent, significand};
}

TEST(ComplexConstants, HoldTheirExactBitPatterns) {
    EXPECT_EQ(Bits(ComplexHuge), std::make_pair(std::uint16_t{0x7FFE}, std::uint64_t{0xFFFFFFFFFFFFD37A}));
    EXPECT_EQ(Bits(CHalfPi.X), std::make_pair(std::uint16_t{0x3FFF}, std::uint64_t{0xC90FDAA22168C234}));
    ExpectClose(ComplexHuge / 1e4932L, 1.1897314953572310L, 1e-15L);
    ExpectClose(CHalfPi.X, PiL / 2, 1e-18L);
}

TEST(ComplexConstants, AreRectangularWithTheirValues) {
    const std::vector<std::pair<ComplexValue, StdComplex>> cases = {
        {CZero, {0, 0}}, {COne, {1, 0}}, {CI, {0, 1}}, {CErrorValue, {ComplexHuge, ComplexHuge}}};
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(Describe(value));
        EXPECT_EQ(value.Form, FormRect);
        EXPECT_EQ(value.X, expected.real());
        EXPECT_EQ(value.Y, expected.imag());
    }
}

TEST(ComplexAuxiliary, NormalizeAngleReducesIntoTheHalfOpenTurn) {
    const std::vector<std::pair<long double, long double>> cases = {{0.5L, 0.5L},
                                                                    {7.0L, 7.0L - 2 * PiL},
                                                                    {-7.0L, -7.0L + 2 * PiL},
                                                                    {20.0L, 20.0L - 6 * PiL},
                                                                    {-PiL, PiL},
                                                                    {PiL, PiL},
                                                                    {-20.0L, -20.0L + 6 * PiL}};
    for (const auto& [angle, expected] : cases) {
        SCOPED_TRACE(std::to_string(static_cast<double>(angle)));
        ExpectClose(NormalizeAngle(angle), expected, 1e-17L);
    }
}

TEST(ComplexAuxiliary, NormalizeAngleEndsForHugeAndInfiniteAngles) {
    for (const long double angle : {1e30L, -1e4000L, 123456789.0L}) {
        SCOPED_TRACE(std::to_string(static_cast<double>(angle)));
        const long double reduced = NormalizeAngle(angle);
        EXPECT_GT(reduced, -PiL - 1e-18L);
        EXPECT_LE(reduced, PiL + 1e-18L);
    }
    EXPECT_FALSE(std::isfinite(NormalizeAngle(std::numeric_limits<long double>::infinity())));
}

TEST(ComplexAuxiliary, HypotAvoidsIntermediateOverflow) {
    EXPECT_EQ(Hypot(3, 4), 5);
    EXPECT_EQ(Hypot(-5, 12), 13);
    EXPECT_EQ(Hypot(0, 0), 0);
    ExpectClose(Hypot(1e4000L, 1e4000L) / 1e4000L, std::numbers::sqrt2_v<long double>, 1e-18L);
    ExpectClose(Hypot(1e-4000L, 1e-4000L) / 1e-4000L, std::numbers::sqrt2_v<long double>, 1e-18L);
}

TEST(ComplexAuxiliary, Atan2CoversEveryQuadrantAndTheAxes) {
    const std::vector<std::pair<long double, long double>> points = {
        {1, 1}, {1, -1}, {-1, -1}, {-1, 1}, {0, 1}, {0, -1}, {1, 0}, {-1, 0}, {2.5L, -0.1L}, {-3, 1e-9L}};
    for (const auto& [ordinate, abscissa] : points) {
        SCOPED_TRACE(std::to_string(static_cast<double>(ordinate)) + ", " +
                     std::to_string(static_cast<double>(abscissa)));
        ExpectClose(Atan2(ordinate, abscissa), std::atan2(ordinate, abscissa), 1e-18L);
    }
    EXPECT_EQ(Atan2(0, 0), 0);
    // A negative zero ordinate on the negative real axis still counts as the upper side.
    ExpectClose(Atan2(-0.0L, -1), PiL, 1e-18L);
}

TEST(ComplexAuxiliary, RealRoutinesReportTheirDomainErrors) {
    struct Case {
        std::string name;
        std::function<long double(int&)> call;
        long double expected;
        int error;
    };
    const std::vector<Case> cases = {
        {"arcsin 1.5", [](int& e) { return RealArcSin(1.5L, e); }, 0, ErrArgument},
        {"arcsin 1", [](int& e) { return RealArcSin(1, e); }, PiL / 2, 0},
        {"arcsin -1", [](int& e) { return RealArcSin(-1, e); }, -PiL / 2, 0},
        {"arcsin 0.5", [](int& e) { return RealArcSin(0.5L, e); }, PiL / 6, 0},
        {"ln 0", [](int& e) { return RealLn(0, e); }, ComplexHuge, ErrSingularity},
        {"ln -1", [](int& e) { return RealLn(-1, e); }, 0, ErrArgument},
        {"ln e", [](int& e) { return RealLn(std::numbers::e_v<long double>, e); }, 1, 0},
        {"exp -20000", [](int& e) { return RealExp(-20000, e); }, 0, ErrUnderflow},
        {"exp 20000", [](int& e) { return RealExp(20000, e); }, ComplexHuge, ErrOverflow},
        {"exp 1", [](int& e) { return RealExp(1, e); }, std::numbers::e_v<long double>, 0},
        {"0^-2", [](int& e) { return IntPower(0, -2, e); }, ComplexHuge, ErrSingularity},
        {"0^0", [](int& e) { return IntPower(0, 0, e); }, 1, 0},
        {"0^3", [](int& e) { return IntPower(0, 3, e); }, 0, 0},
        {"2^10", [](int& e) { return IntPower(2, 10, e); }, 1024, 0},
        {"2^-3", [](int& e) { return IntPower(2, -3, e); }, 0.125L, 0},
        {"-1.5^3", [](int& e) { return IntPower(-1.5L, 3, e); }, -3.375L, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int error = -1;
        const long double value = c.call(error);
        EXPECT_EQ(error, c.error);
        ExpectClose(value, c.expected, 1e-18L * std::max(1.0L, std::fabs(c.expected)));
    }
}

TEST(ComplexAuxiliary, SinhCoshSaturatesBeyondTheExponentRange) {
    long double sh = 0;
    long double ch = 0;
    int error = -1;
    SinhCosh(-20000, sh, ch, error);
    EXPECT_EQ(error, ErrOverflow);
    EXPECT_EQ(sh, -ComplexHuge);
    EXPECT_EQ(ch, ComplexHuge);
    SinhCosh(1e-12L, sh, ch, error);
    EXPECT_EQ(error, 0);
    // Full relative accuracy near zero: sinh x = x + x^3/6.
    ExpectClose(sh / 1e-12L, 1.0L, 1e-18L);
    EXPECT_EQ(ch, 1);
}

TEST(ComplexForms, ToFormConvertsBetweenRectangularAndPolar) {
    struct Case {
        ComplexValue from;
        ComplexValue to;
    };
    const std::vector<Case> cases = {
        {Rect(3, 4), Polar(5, std::atan2(4.0L, 3.0L))},
        {Rect(0, -2), Polar(2, -PiL / 2)},
        {Rect(0, 0), Polar(0, 0)},
        {Rect(-1, 0), Polar(1, PiL)},
        {Polar(2, PiL / 2), Rect(0, 2)},
        {Polar(-2, 0), Rect(-2, 0)},
        {Polar(1, PiL), Rect(-1, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.from));
        const ComplexValue converted = ToForm(c.from, c.to.Form);
        EXPECT_EQ(converted.Form, c.to.Form);
        ExpectClose(converted.X, c.to.X, 1e-18L);
        ExpectClose(converted.Y, c.to.Y, 1e-18L);
    }
}

TEST(ComplexForms, ToFormKeepsAValueAlreadyInThatForm) {
    const ComplexValue typed = Polar(-3, 10);
    const ComplexValue same = ToForm(typed, FormPolar);
    EXPECT_EQ(same.X, -3);
    EXPECT_EQ(same.Y, 10);
}

TEST(ComplexForms, PartsModulusSignAndEqualityReadEitherForm) {
    ExpectClose(CRe(Polar(2, PiL / 3)), 1.0L, 1e-18L);
    ExpectClose(CIm(Polar(2, PiL / 6)), 1.0L, 1e-18L);
    EXPECT_EQ(CModulus(Rect(-6, 8)), 10);
    EXPECT_EQ(CModulus(Polar(-2, 1)), 2) << "a typed negative modulus counts by its size";
    EXPECT_FALSE(CEqual(Rect(-1, 0), Polar(1, 0)));
    EXPECT_TRUE(CEqual(Rect(0, 0), Polar(0, 2.5L)));
    EXPECT_TRUE(CEqual(Rect(2, 0), Polar(2, 0)));
    const std::vector<std::pair<ComplexValue, int>> signs = {{Rect(2, -5), 1}, {Rect(-2, 5), -1},
                                                             {Rect(0, 3), 1},  {Rect(0, -3), -1},
                                                             {Rect(0, 0), 0},  {Polar(1, PiL), -1}};
    for (const auto& [z, sign] : signs) {
        SCOPED_TRACE(Describe(z));
        EXPECT_EQ(CSign(z), sign);
    }
}

TEST(ComplexArithmetic, NegationAndConjugateKeepTheForm) {
    const ComplexValue negRect = CNeg(Rect(1, -2));
    EXPECT_EQ(negRect.Form, FormRect);
    EXPECT_EQ(negRect.X, -1);
    EXPECT_EQ(negRect.Y, 2);
    const ComplexValue negPolar = CNeg(Polar(2, 3.1415926535897932385L));
    EXPECT_EQ(negPolar.Form, FormPolar);
    EXPECT_EQ(negPolar.X, 2);
    ExpectClose(negPolar.Y, 0, 1e-18L, "pi + pi reduced");
    const ComplexValue conjPolar = CConj(Polar(2, 0.5L));
    EXPECT_EQ(conjPolar.Form, FormPolar);
    EXPECT_EQ(conjPolar.Y, -0.5L);
    EXPECT_EQ(CConj(Rect(1, 2)).Y, -2);
}

TEST(ComplexArithmetic, FourOperationsMatchTheStandardLibraryInBothForms) {
    const std::vector<ComplexValue> operands = {Rect(3, 4),      Rect(-1.5L, 0.25L), Polar(2, 2.5L),
                                                Polar(0.5L, -1), Rect(0, -7),        Rect(1e-3L, 1e3L)};
    for (const ComplexValue& a : operands) {
        for (const ComplexValue& b : operands) {
            SCOPED_TRACE(Describe(a) + " with " + Describe(b));
            const StdComplex sa = AsStd(a);
            const StdComplex sb = AsStd(b);
            int error = -1;
            ExpectNear(CAdd(a, b), sa + sb);
            ExpectNear(CSub(a, b), sa - sb);
            ExpectNear(CMul(a, b), sa * sb);
            ExpectNear(CDiv(a, b, error), sa / sb);
            EXPECT_EQ(error, 0);
            EXPECT_EQ(CAdd(a, b).Form, FormRect);
            EXPECT_EQ(CMul(a, b).Form, a.Form);
            EXPECT_EQ(CDiv(a, b, error).Form, a.Form);
        }
    }
}

TEST(ComplexArithmetic, DivisionByZeroGivesTheErrorValue) {
    for (const ComplexValue& zero : {Rect(0, 0), Polar(0, 1.5L)}) {
        SCOPED_TRACE(Describe(zero));
        int error = 0;
        const ComplexValue q = CDiv(Rect(1, 1), zero, error);
        EXPECT_EQ(error, ErrOverflow);
        EXPECT_EQ(q.X, ComplexHuge);
        EXPECT_EQ(q.Y, ComplexHuge);
    }
}

TEST(ComplexArithmetic, DivisionByAVerySmallOrLargeDivisorStaysExact) {
    int error = -1;
    ExpectNear(CDiv(Rect(1, 0), Rect(1e-2500L, 1e-2500L), error), {0.5e2500L, -0.5e2500L}, 1e-18L);
    EXPECT_EQ(error, 0);
    const ComplexValue small = CDiv(Rect(3e2500L, 0), Rect(1e2500L, 0), error);
    ExpectClose(small.X, 3.0L, 1e-18L);
    EXPECT_EQ(small.Y, 0);
}

TEST(ComplexFunctions, ElementaryFunctionsMatchTheStandardLibrary) {
    struct Function {
        std::string name;
        std::function<ComplexValue(const ComplexValue&, int&)> complex;
        std::function<StdComplex(StdComplex)> reference;
    };
    const std::vector<Function> functions = {
        {"exp", CExp, [](StdComplex z) { return std::exp(z); }},
        {"ln", CLn, [](StdComplex z) { return std::log(z); }},
        {"sqrt", CSqrt, [](StdComplex z) { return std::sqrt(z); }},
        {"sin", CSin, [](StdComplex z) { return std::sin(z); }},
        {"cos", CCos, [](StdComplex z) { return std::cos(z); }},
        {"tan", CTan, [](StdComplex z) { return std::tan(z); }},
        {"arcsin",
         [](const ComplexValue& z, int& e) {
             e = 0;
             return CArcSin(z);
         },
         [](StdComplex z) { return std::asin(z); }},
        {"arccos",
         [](const ComplexValue& z, int& e) {
             e = 0;
             return CArcCos(z);
         },
         [](StdComplex z) { return std::acos(z); }},
        {"arctan", CArcTan, [](StdComplex z) { return std::atan(z); }},
        {"arcsinh",
         [](const ComplexValue& z, int& e) {
             e = 0;
             return CArcSinh(z);
         },
         [](StdComplex z) { return std::asinh(z); }},
        {"arctanh", CArcTanh, [](StdComplex z) { return std::atanh(z); }},
    };
    const std::vector<ComplexValue> points = {Rect(0.5L, 0.25L),   Rect(-0.75L, 1.5L), Rect(2, -3),
                                              Rect(-1.25L, -0.5L), Polar(1.5L, 2),     Rect(0.1L, 0)};
    for (const Function& f : functions) {
        for (const ComplexValue& z : points) {
            SCOPED_TRACE(f.name + " of " + Describe(z));
            int error = -1;
            const ComplexValue result = f.complex(z, error);
            EXPECT_EQ(error, 0);
            ExpectNear(result, f.reference(AsStd(z)), 1e-16L);
        }
    }
}

TEST(ComplexFunctions, PowersMatchTheStandardLibrary) {
    int error = -1;
    ExpectNear(CPower(Rect(2, 0), Rect(3, 0), error), {8, 0});
    EXPECT_EQ(error, 0);
    ExpectNear(CPower(Rect(1, 1), Rect(0.5L, -2), error), std::pow(StdComplex(1, 1), StdComplex(0.5L, -2)));
    ExpectNear(CPower(Rect(0, 1), Rect(0, 1), error), {std::exp(-PiL / 2), 0});
    ExpectNear(CIntPower(Rect(1, 2), 3, error), std::pow(StdComplex(1, 2), 3));
    ExpectNear(CIntPower(Rect(1, 2), -2, error), std::pow(StdComplex(1, 2), -2));
    ExpectNear(CIntPower(Rect(0, 1), 2, error), {-1, 0});
    EXPECT_EQ(CIntPower(Rect(0, 1), 2, error).Form, FormPolar);
}

TEST(ComplexFunctions, PowersOfZero) {
    int error = -1;
    const ComplexValue zeroToZero = CPower(CZero, Polar(0, 1), error);
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(CEqual(zeroToZero, COne));
    EXPECT_TRUE(CEqual(CPower(CZero, Rect(2, -5), error), CZero));
    EXPECT_EQ(error, 0);
    for (const ComplexValue& exponent : {Rect(-1, 0), Rect(0, 1), Rect(-0.5L, 3)}) {
        SCOPED_TRACE(Describe(exponent));
        CPower(CZero, exponent, error);
        EXPECT_EQ(error, ErrSingularity) << "zero to a power without positive real part has no value";
    }
    EXPECT_TRUE(CEqual(CIntPower(CZero, 0, error), COne));
    EXPECT_TRUE(CEqual(CIntPower(CZero, 4, error), CZero));
    const ComplexValue pole = CIntPower(CZero, -1, error);
    EXPECT_EQ(error, ErrSingularity);
    EXPECT_EQ(pole.X, ComplexHuge);
}

TEST(ComplexBranchCuts, LogarithmAndRootOnTheNegativeRealAxis) {
    struct Case {
        ComplexValue z;
        StdComplex ln;
        StdComplex root;
    };
    const std::vector<Case> cases = {
        {Rect(-1, 0), {0, PiL}, {0, 1}},
        {Rect(-4, 0), {std::log(4.0L), PiL}, {0, 2}},
        {Rect(-4, 1e-30L), std::log(StdComplex(-4, 1e-30L)), std::sqrt(StdComplex(-4, 1e-30L))},
        {Rect(-4, -1e-30L), std::log(StdComplex(-4, -1e-30L)), std::sqrt(StdComplex(-4, -1e-30L))},
        {Rect(0, 2), std::log(StdComplex(0, 2)), std::sqrt(StdComplex(0, 2))},
        {Rect(0, -2), std::log(StdComplex(0, -2)), std::sqrt(StdComplex(0, -2))},
        {Polar(1, 3 * PiL - 0.5L), {0, PiL - 0.5L}, std::polar(1.0L, (PiL - 0.5L) / 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.z));
        int error = -1;
        ExpectNear(CLn(c.z, error), c.ln);
        EXPECT_EQ(error, 0);
        ExpectNear(CSqrt(c.z, error), c.root);
        EXPECT_EQ(error, 0);
    }
}

TEST(ComplexBranchCuts, ArcSineCutsTurnCounterClockwise) {
    // On (1, inf) the value is that of the lower half-plane, on (-inf, -1) that of the upper.
    const std::vector<std::pair<ComplexValue, StdComplex>> cases = {
        {Rect(2, 0), std::asin(StdComplex(2, -0.0L))},
        {Rect(-2, 0), std::asin(StdComplex(-2, 0.0L))},
        {Rect(3, 1e-30L), std::asin(StdComplex(3, 1e-30L))},
        {Rect(3, -1e-30L), std::asin(StdComplex(3, -1e-30L))},
        {Rect(-3, -1e-30L), std::asin(StdComplex(-3, -1e-30L))},
        {Rect(1.1L, 0), std::asin(StdComplex(1.1L, -0.0L))},
        {Rect(0, 3), std::asin(StdComplex(0, 3))},
        {Rect(0, -3), std::asin(StdComplex(0, -3))},
        {Rect(0.5L, 0), {PiL / 6, 0}},
    };
    for (const auto& [z, expected] : cases) {
        SCOPED_TRACE(Describe(z));
        ExpectNear(CArcSin(z), expected, 1e-16L);
    }
}

TEST(ComplexBranchCuts, ArcTangentCutsOnTheImaginaryAxis) {
    const std::vector<std::pair<ComplexValue, StdComplex>> cases = {
        {Rect(0, 2), std::atan(StdComplex(0.0L, 2))},
        {Rect(0, -2), std::atan(StdComplex(-0.0L, -2))},
        {Rect(1e-30L, 2), std::atan(StdComplex(1e-30L, 2))},
        {Rect(-1e-30L, 2), std::atan(StdComplex(-1e-30L, 2))},
        {Rect(1e-30L, -5), std::atan(StdComplex(1e-30L, -5))},
        {Rect(0, 0.5L), std::atan(StdComplex(0, 0.5L))},
        {Rect(-2, 0), {-std::atan(2.0L), 0}},
    };
    for (const auto& [z, expected] : cases) {
        SCOPED_TRACE(Describe(z));
        int error = -1;
        ExpectNear(CArcTan(z, error), expected, 1e-16L);
        EXPECT_EQ(error, 0);
    }
}

TEST(ComplexFunctions, ArcCoshInvertsCosh) {
    for (const ComplexValue& z : {Rect(2, 0), Rect(0.5L, 0), Rect(2, 1), Rect(-1.5L, -0.5L), Rect(0, 3)}) {
        SCOPED_TRACE(Describe(z));
        const StdComplex w = AsStd(CArcCosh(z));
        const StdComplex back = std::cosh(w);
        ExpectClose(back.real(), CRe(z), 1e-16L);
        ExpectClose(back.imag(), CIm(z), 1e-16L);
    }
    ExpectNear(CArcCosh(Rect(2, 0)), {std::acosh(2.0L), 0});
    ExpectNear(CArcCosh(Rect(-1.5L, -0.5L)), std::acosh(StdComplex(-1.5L, -0.5L)), 1e-16L);
}

TEST(ComplexFunctions, SingularitiesAndOverflowsReportTheirCodes) {
    struct Case {
        std::string name;
        std::function<ComplexValue(int&)> call;
        int error;
        StdComplex value;
    };
    const std::vector<Case> cases = {
        {"ln 0", [](int& e) { return CLn(CZero, e); }, ErrSingularity, {-ComplexHuge, 0}},
        {"ln of negative modulus",
         [](int& e) { return CLn(Polar(-2, 0), e); },
         ErrArgument,
         {-ComplexHuge, 0}},
        {"arctan i", [](int& e) { return CArcTan(Rect(0, 1), e); }, ErrSingularity, {0, ComplexHuge}},
        {"arctan -i", [](int& e) { return CArcTan(Rect(0, -1), e); }, ErrSingularity, {0, -ComplexHuge}},
        {"arctanh 1", [](int& e) { return CArcTanh(Rect(1, 0), e); }, ErrSingularity, {ComplexHuge, 0}},
        {"arctanh -1", [](int& e) { return CArcTanh(Rect(-1, 0), e); }, ErrSingularity, {-ComplexHuge, 0}},
        {"tan pole", [](int& e) { return CTan(Rect(Pi / 2, 0), e); }, ErrSingularity, {ComplexHuge, 0}},
        {"sqrt of negative modulus",
         [](int& e) { return CSqrt(Polar(-4, 0), e); },
         ErrArgument,
         {ComplexHuge, ComplexHuge}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int error = -1;
        const ComplexValue value = c.call(error);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(value.X, c.value.real());
        EXPECT_EQ(value.Y, c.value.imag());
    }
    int error = -1;
    CSin(Rect(0, 20000), error);
    EXPECT_EQ(error, ErrOverflow);
    CCos(Rect(1, -20000), error);
    EXPECT_EQ(error, ErrOverflow);
    CExp(Rect(20000, 0), error);
    EXPECT_EQ(error, ErrOverflow) << "e^20000 is beyond the extended range";
}

TEST(ComplexFunctions, LimitsThatStayFiniteGiveNoError) {
    int error = -1;
    ExpectNear(CSin(Rect(0, 1), error), {0, std::sinh(1.0L)});
    EXPECT_EQ(error, 0);
    ExpectNear(CTan(Rect(0.3L, 20000), error), {0, 1});
    EXPECT_EQ(error, 0) << "tan tends to i, there is no overflow";
    ExpectNear(CTan(Rect(0.3L, -20000), error), {0, -1});
    ExpectNear(CExp(Rect(-20000, 1), error), {0, 0});
    EXPECT_EQ(error, 0) << "underflow to zero is not an error";
    ExpectNear(CArcSin(Rect(1, 0)), {PiL / 2, 0});
    ExpectNear(CArcSin(Rect(-1, 0)), {-PiL / 2, 0});
}

TEST(ComplexLnGamma, KnownValues) {
    const long double lnSqrtPi = 0.572364942924700087071713675677L;
    struct Case {
        ComplexValue z;
        StdComplex expected;
    };
    const std::vector<Case> cases = {
        {Rect(1, 0), {0, 0}},
        {Rect(2, 0), {0, 0}},
        {Rect(0.5L, 0), {lnSqrtPi, 0}},
        {Rect(10, 0), {std::log(362880.0L), 0}},
        {Rect(20, 0), {std::log(121645100408832000.0L), 0}},
        {Rect(-0.5L, 0), {std::log(2.0L) + lnSqrtPi, -PiL}},
        // Published values of the principal log-gamma.
        {Rect(1, 1), {-0.650923199301856338885216831504L, -0.301640320467533197887531657797L}},
        {Rect(0.5L, 1), {-0.652790644204372915273065071221L, -0.955007724342569109563225128734L}},
        {Rect(3, -4), {-1.75662678460378411053060418162L, -4.74266443803465792819488940755L}},
        {Rect(2, 10), {-11.3301719298266408830817923189L, 15.274040648533635285867450392L}},
        {Rect(-2.5L, 0.5L), {-0.935085621298277478682588384941L, -8.87096288524745919864582471649L}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.z));
        int error = -1;
        ExpectNear(CLnGamma(c.z, error), c.expected, 1e-16L);
        EXPECT_EQ(error, 0);
    }
}

TEST(ComplexLnGamma, ModulusOnTheCriticalLinesFollowsTheReflectionFormula) {
    for (const long double y : {0.5L, 1.0L, 3.0L, 7.5L}) {
        SCOPED_TRACE(std::to_string(static_cast<double>(y)));
        int error = -1;
        // |Gamma(1/2 + iy)|^2 = pi / cosh(pi y) and |Gamma(1 + iy)|^2 = pi y / sinh(pi y).
        ExpectClose(CLnGamma(Rect(0.5L, y), error).X, std::log(PiL / std::cosh(PiL * y)) / 2, 1e-16L);
        ExpectClose(CLnGamma(Rect(1, y), error).X, std::log(PiL * y / std::sinh(PiL * y)) / 2, 1e-16L);
    }
}

TEST(ComplexLnGamma, RecurrenceAcrossTheSeriesBoundaryAndConjugateSymmetry) {
    for (const ComplexValue& z : {Rect(8.5L, 2), Rect(8.999L, -0.5L), Rect(3, 4), Rect(-4.5L, 1)}) {
        SCOPED_TRACE(Describe(z));
        int error = -1;
        const StdComplex next = AsStd(CLnGamma(CAdd(z, COne), error));
        const StdComplex here = AsStd(CLnGamma(z, error));
        const StdComplex step = next - here;
        const StdComplex lnZ = std::log(AsStd(z));
        ExpectClose(step.real(), lnZ.real(), 1e-15L);
        ExpectClose(step.imag(), lnZ.imag(), 1e-15L);
        const ComplexValue mirrored = CLnGamma(CConj(z), error);
        EXPECT_EQ(mirrored.X, here.real());
        EXPECT_EQ(mirrored.Y, -here.imag());
    }
}

TEST(ComplexLnGamma, PolesAndUnreachableArguments) {
    for (const long double pole : {0.0L, -1.0L, -2.0L, -7.0L, -1e25L}) {
        SCOPED_TRACE(std::to_string(static_cast<double>(pole)));
        int error = -1;
        const ComplexValue value = CLnGamma(Rect(pole, 0), error);
        EXPECT_EQ(error, ErrSingularity);
        EXPECT_EQ(value.X, ComplexHuge);
    }
    int error = -1;
    CLnGamma(Rect(-1e30L, 1), error);
    EXPECT_EQ(error, ErrOutOfRange) << "the walk to the series would never end";
    CLnGamma(Rect(-2.5L, 0), error);
    EXPECT_EQ(error, 0) << "between the poles the value exists";
}

TEST(ComplexDispatcher, HyperbolicFunctionsMatchTheStandardLibrary) {
    EvalContext ctx;
    const std::vector<std::pair<int, std::function<StdComplex(StdComplex)>>> functions = {
        {FnSinh, [](StdComplex z) { return std::sinh(z); }},
        {FnCosh, [](StdComplex z) { return std::cosh(z); }},
        {FnTanh, [](StdComplex z) { return std::tanh(z); }},
        {FnSqr, [](StdComplex z) { return z * z; }},
        {FnGamma, [](StdComplex z) { return StdComplex(std::lgamma(z.real()), 0); }},
    };
    for (const auto& [code, reference] : functions) {
        for (const ComplexValue& z : {Rect(0.5L, 0), Rect(1.5L, 0), Rect(3, 0)}) {
            SCOPED_TRACE(std::to_string(code) + " of " + Describe(z));
            int error = -1;
            ExpectNear(CallComplexFunction(ctx, z, code, FormRect, error), reference(AsStd(z)), 1e-16L);
            EXPECT_EQ(error, 0);
        }
    }
    for (const int code : {FnSinh, FnCosh, FnTanh}) {
        for (const ComplexValue& z : {Rect(0.5L, -2), Rect(-1.5L, 0.75L)}) {
            SCOPED_TRACE(std::to_string(code) + " of " + Describe(z));
            int error = -1;
            const StdComplex s = AsStd(z);
            const StdComplex expected = code == FnSinh   ? std::sinh(s)
                                        : code == FnCosh ? std::cosh(s)
                                                         : std::tanh(s);
            ExpectNear(CallComplexFunction(ctx, z, code, FormRect, error), expected, 1e-16L);
        }
    }
}

TEST(ComplexDispatcher, ConstantsAbsRandomAndUnknownCodes) {
    EvalContext ctx;
    int error = -1;
    const ComplexValue pi = CallComplexFunction(ctx, CZero, FnPi, FormRect, error);
    EXPECT_EQ(pi.X, Pi);
    EXPECT_EQ(CallComplexFunction(ctx, CZero, FnPiChar, FormRect, error).X, Pi);
    EXPECT_EQ(CallComplexFunction(ctx, CZero, FnE, FormRect, error).X, EulerE);
    const ComplexValue absolute = CallComplexFunction(ctx, Rect(-3, 4), FnAbs, FormPolar, error);
    EXPECT_EQ(absolute.Form, FormPolar);
    EXPECT_EQ(absolute.X, 5);
    EXPECT_EQ(absolute.Y, 0);

    EXPECT_FALSE(ctx.RandomSeeded);
    std::vector<ComplexValue> draws;
    for (int k = 0; k < 200; ++k) {
        draws.push_back(CallComplexFunction(ctx, CZero, FnRandom, FormRect, error));
        EXPECT_GE(draws.back().X, 0);
        EXPECT_LT(draws.back().X, 1);
        EXPECT_GE(draws.back().Y, 0);
        EXPECT_LT(draws.back().Y, 1);
    }
    EXPECT_TRUE(ctx.RandomSeeded);
    EXPECT_NE(draws[0].X, draws[0].Y);
    EXPECT_NE(draws[0].X, draws[1].X);

    for (const int code : std::vector<int>{FnLog, FnMin, FnJn, 87, 200}) {
        SCOPED_TRACE(code);
        const ComplexValue value = CallComplexFunction(ctx, COne, code, FormRect, error);
        EXPECT_EQ(error, 1);
        EXPECT_TRUE(CEqual(value, CZero));
    }
}

TEST(ComplexDispatcher, FunctionErrorsReachTheCaller) {
    EvalContext ctx;
    const std::vector<std::tuple<int, ComplexValue, int>> cases = {
        {FnLn, CZero, ErrSingularity},          {FnArcTan, CI, ErrSingularity},
        {FnArcTanh, COne, ErrSingularity},      {FnSin, Rect(0, 20000), ErrOverflow},
        {FnCos, Rect(0, 20000), ErrOverflow},   {FnSinh, Rect(20000, 0), ErrOverflow},
        {FnGamma, Rect(-2, 0), ErrSingularity}, {FnExp, Rect(20000, 0), ErrOverflow},
    };
    for (const auto& [code, z, expected] : cases) {
        SCOPED_TRACE(std::to_string(code) + " of " + Describe(z));
        int error = -1;
        CallComplexFunction(ctx, z, code, FormRect, error);
        EXPECT_EQ(error, expected);
    }
}

} // namespace
} // namespace mirla
