#include "numbers/ComplexEvaluator.h"
#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "engine/NameTable.h"
#include "numbers/ComplexArithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <iomanip>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace mirla {
namespace {

using StdComplex = std::complex<long double>;

constexpr long double PiL = std::numbers::pi_v<long double>;

/// Everything one evaluation reports.
struct Outcome {
    bool failed = false;
    int errorPos = 0;
    int errorLength = 0;
    int code = 0;
    ComplexValue value;
};

class ComplexEvaluatorTest : public ::testing::Test {
protected:
    Outcome Run(std::string text, std::uint8_t form = FormRect) {
        evaluator.SetForm(form);
        Outcome outcome;
        evaluator.EvaluateComplex(text, outcome.failed, outcome.errorPos, outcome.value, outcome.errorLength);
        outcome.code = ctx.ErrorCode;
        return outcome;
    }

    void ExpectValue(const std::string& text, StdComplex expected, std::uint8_t form = FormRect,
                     long double tolerance = 1e-17L) {
        SCOPED_TRACE(text);
        const Outcome outcome = Run(text, form);
        ASSERT_FALSE(outcome.failed) << "error " << outcome.code << " at " << outcome.errorPos;
        const long double scale = std::max(1.0L, std::abs(expected));
        EXPECT_LE(std::fabs(CRe(outcome.value) - expected.real()), tolerance * scale)
            << std::setprecision(21) << "real part " << CRe(outcome.value) << ", expected "
            << expected.real();
        EXPECT_LE(std::fabs(CIm(outcome.value) - expected.imag()), tolerance * scale)
            << std::setprecision(21) << "imaginary part " << CIm(outcome.value) << ", expected "
            << expected.imag();
    }

    void ExpectError(const std::string& text, int code, int errorPos, int errorLength,
                     std::uint8_t form = FormRect) {
        SCOPED_TRACE(text);
        const Outcome outcome = Run(text, form);
        EXPECT_TRUE(outcome.failed);
        EXPECT_EQ(outcome.code, code);
        EXPECT_EQ(outcome.errorPos, errorPos);
        EXPECT_EQ(outcome.errorLength, errorLength);
        EXPECT_TRUE(CEqual(outcome.value, CZero));
    }

    EvalContext ctx;
    TComplexEvaluator evaluator{ctx};
};

const std::string Square = "\xB2";
const std::string Cube = "\xB3";
const std::string Root = "\xBD";
const std::string PiSign = "\xB6";

TEST(ComplexNameTableTest, HasTheEngineLayoutWithPlaceholders) {
    const auto& table = ComplexNameTable();
    ASSERT_EQ(table.size(), 88U);
    const std::set<int> named = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                 13, 14, 15, 16, 17, 26, 28, 29, 30, 33, 40};
    for (int code = 0; code < 88; ++code) {
        SCOPED_TRACE(code);
        const NameEntry& row = table[static_cast<std::size_t>(code)];
        EXPECT_EQ(row.code, code);
        if (code >= FnFirstLowerVariable && code < FnPowerOfTen) {
            EXPECT_EQ(row.name, NameTable()[static_cast<std::size_t>(code)].name);
            EXPECT_EQ(row.argc, 0);
        } else if (!named.contains(code)) {
            EXPECT_EQ(row.name, code == 45 ? "____(" : "___(");
            const int argc = (code == 0 || code == 22 || code == 27 || code == 37)                  ? 3
                             : (code >= 18 && code <= 21) || code == 32 || code == 42 || code == 44 ? 2
                                                                                                    : 1;
            EXPECT_EQ(row.argc, argc);
        }
    }
    EXPECT_EQ(table[CompCode].name, "comp(");
    EXPECT_EQ(table[CompCode].argc, 2);
    EXPECT_EQ(table[26].name, "LnGamma(");
    EXPECT_EQ(table[28].name, PiSign);
}

TEST(ComplexNameTableTest, LookUpMatchesValuesWithoutTheirTerminator) {
    EXPECT_EQ(LookUpComplexName("sin("), FnSin);
    EXPECT_EQ(LookUpComplexName("comp("), CompCode);
    EXPECT_EQ(LookUpComplexName("pi*"), FnPi);
    EXPECT_EQ(LookUpComplexName("e\x7F"), FnE);
    EXPECT_EQ(LookUpComplexName("random)"), FnRandom);
    EXPECT_EQ(LookUpComplexName("X+"), FnFirstUpperVariable);
    EXPECT_EQ(LookUpComplexName("sin*"), NotFoundCode);
    EXPECT_EQ(LookUpComplexName("log("), NotFoundCode);
    EXPECT_EQ(LookUpComplexName("gamma("), NotFoundCode);
    EXPECT_EQ(LookUpComplexName("pie+"), NotFoundCode);
    EXPECT_EQ(LookUpComplexName(""), NotFoundCode);
}

TEST_F(ComplexEvaluatorTest, LiteralsFollowTheComplexForm) {
    ExpectValue("comp(3,4)", {3, 4});
    const Outcome polar = Run("comp(3,4)", FormPolar);
    ASSERT_FALSE(polar.failed);
    EXPECT_EQ(polar.value.Form, FormPolar);
    EXPECT_EQ(polar.value.X, 3);
    EXPECT_EQ(polar.value.Y, 4);
    ExpectValue("comp(2,pi/2)", {0, 2}, FormPolar);
    ExpectValue("comp(2*3,sqrt(16)-1.5E1)", {6, -11});
}

TEST_F(ComplexEvaluatorTest, OperatorsAndPrecedence) {
    ExpectValue("comp(1,0)+comp(2,0)*comp(3,0)", {7, 0});
    ExpectValue("(comp(1,0)+comp(2,0))*comp(3,0)", {9, 0});
    ExpectValue("comp(1,2)*comp(3,4)", {-5, 10});
    ExpectValue("comp(1,2)/comp(3,4)", StdComplex(1, 2) / StdComplex(3, 4));
    ExpectValue("comp(1,2)-comp(3,4)-comp(1,1)", {-3, -3});
    ExpectValue("comp(2,0)^comp(3,0)", {8, 0});
    ExpectValue("comp(2,0)^comp(3,0)^comp(2,0)", {512, 0}, FormRect, 1e-16L);
    ExpectValue("comp(0,0)^comp(0,0)", {1, 0});
    ExpectValue("comp(1,2)^-comp(1,0)", StdComplex(1, -2) / 5.0L);
    ExpectValue("-comp(1,2)", {-1, -2});
    ExpectValue("-comp(2,0)" + Square, {-4, 0});
    ExpectValue("+comp(2,0)", {2, 0});
    ExpectValue("(comp(1,2)", {1, 2});
}

TEST_F(ComplexEvaluatorTest, PostfixOperators) {
    ExpectValue("comp(0,1)" + Square, {-1, 0});
    ExpectValue("comp(4,0)" + Root, {2, 0});
    ExpectValue("comp(-4,0)" + Root, {0, 2});
    ExpectValue("comp(2,0)" + Cube, {8, 0});
    ExpectValue("comp(1,1)" + Square + Root, {1, 1});
    ExpectValue("comp(2,0)^comp(2,0)" + Square, {16, 0});
}

TEST_F(ComplexEvaluatorTest, Functions) {
    ExpectValue("sin(comp(0,1))", {0, std::sinh(1.0L)});
    ExpectValue("sqr(comp(0,1))", {-1, 0});
    ExpectValue("LnGamma(comp(1,0))", {0, 0}, FormRect, 1e-16L);
    ExpectValue("abs(comp(3,-4))", {5, 0});
    ExpectValue("abs(comp(-2,1))", {2, 0}, FormPolar);
    ExpectValue("exp(ln(comp(1,2)))", {1, 2});
    ExpectValue("tan(comp(0,20000))", {0, 1});
    ExpectValue("cosh(sinh(comp(0.5,0.25)))", std::cosh(std::sinh(StdComplex(0.5L, 0.25L))));
    ExpectValue("sin(comp(1,2))*exp(comp(0.5,0.25))/comp(3,4)",
                std::sin(StdComplex(1, 2)) * std::exp(StdComplex(0.5L, 0.25L)) / StdComplex(3, 4));
    const Outcome upper = Run("LnGamma(comp(0.5,1))");
    const Outcome lower = Run("LnGamma(comp(0.5,-1))");
    ASSERT_FALSE(upper.failed || lower.failed);
    EXPECT_EQ(CRe(lower.value), CRe(upper.value));
    EXPECT_EQ(CIm(lower.value), -CIm(upper.value));
}

TEST_F(ComplexEvaluatorTest, ConstantsAndThePreviousResult) {
    ExpectValue("pi", {Pi, 0});
    ExpectValue(PiSign, {Pi, 0});
    ExpectValue(PiSign + Square, {Pi * Pi, 0});
    ExpectValue("e*comp(0,2)", {0, 2 * EulerE});
    ExpectValue("pi*comp(2,0)-pi", {Pi, 0});
    evaluator.SetLastComplex({FormRect, 1, 2});
    ExpectValue("?", {1, 2});
    ExpectValue("?*comp(2,0)", {2, 4});
    ExpectValue("-?" + Square, {3, -4});
    const Outcome random = Run("random+random");
    ASSERT_FALSE(random.failed);
    EXPECT_GE(random.value.X, 0);
    EXPECT_LT(random.value.X, 2);
    EXPECT_TRUE(ctx.RandomSeeded);
}

TEST_F(ComplexEvaluatorTest, NumbersMustStandInsideComp) {
    ExpectError("2*comp(1,1)", ErrSyntax, 1, 1);
    ExpectError("comp(1,1)*2", ErrSyntax, 11, 1);
    ExpectError("comp(1,1)+.5", ErrSyntax, 11, 1);
    ExpectError("3", ErrSyntax, 1, 1);
}

TEST_F(ComplexEvaluatorTest, SyntaxErrorsAtTheirPosition) {
    ExpectError("comp(1,2)*-comp(1,0)", ErrSyntax, 11, 1);
    ExpectError("comp(1,2)+-comp(1,0)", ErrSyntax, 11, 1);
    ExpectError("--comp(1,0)", ErrSyntax, 2, 1);
    ExpectError("*comp(1,0)", ErrSyntax, 1, 1);
    ExpectError("^comp(1,0)", ErrSyntax, 1, 1);
    ExpectError("comp(1,0)^*comp(1,0)", ErrSyntax, 11, 1);
    ExpectError("comp(1,2)comp(3,4)", ErrSyntax, 10, 1);
    ExpectError("comp(1,2)*comp(3,4)comp(5,6)", ErrSyntax, 20, 1);
    ExpectError("sin(comp(1,2),comp(3,4))", ErrSyntax, 14, 1);
    ExpectError("?comp(1,1)", ErrSyntax, 2, 1);
    ExpectError("pi(comp(1,1))", ErrSyntax, 3, 1);
    ExpectError("sin()", ErrSyntax, 5, 1);
    ExpectError("comp(1,1))", ErrTooManyClosing, 10, 1);
}

TEST_F(ComplexEvaluatorTest, NamesWithoutComplexMeaningCoverTheName) {
    ExpectError("foo(comp(1,1))", ErrSyntax, 1, 3);
    ExpectError("log(comp(1,1))", ErrSyntax, 1, 3);
    ExpectError("comp(1,1)*gamma(comp(1,1))", ErrSyntax, 11, 5);
    ExpectError("pie", ErrSyntax, 1, 3);
    ExpectError("x", ErrSyntax, 1, 1);
    ExpectError("X*comp(1,1)", ErrSyntax, 1, 1);
    ExpectError("comp(1,1)+N", ErrSyntax, 11, 1);
    ExpectError("forJtoKstepMdo(comp(1,1))", ErrSyntax, 1, 14);
    ExpectError("(X=2)", ErrSyntax, 2, 2);
    ExpectError("pi=3", ErrSyntax, 1, 3);
    ExpectError("Rate=comp(1,1)", ErrSyntax, 1, 5);
}

TEST_F(ComplexEvaluatorTest, DivisionByZeroCoversTheDivisor) {
    ExpectError("comp(1,0)/comp(0,0)", ErrDivisionByZero, 11, 9);
    ExpectError("comp(1,0)/comp(0,0)+comp(1,1)", ErrDivisionByZero, 11, 9);
    ExpectError("comp(4,0)/(comp(1,0)-comp(1,0))", ErrDivisionByZero, 11, 21);
    ExpectError("comp(4,0)/comp(0,2)", ErrDivisionByZero, 11, 9, FormPolar);
}

TEST_F(ComplexEvaluatorTest, FunctionErrorsCoverTheWholeCall) {
    evaluator.SetLastComplex({FormRect, 5, 5});
    ExpectError("ln(comp(0,0))", ErrSingularity, 1, 13);
    EXPECT_TRUE(CEqual(evaluator.LastComplex(), CZero));
    EXPECT_EQ(evaluator.ComplexError(), ErrSingularity);
    ExpectError("comp(1,1)+arctan(comp(0,1))", ErrSingularity, 11, 17);
    ExpectError("arctanh(comp(1,0))", ErrSingularity, 1, 18);
    ExpectError("LnGamma(comp(-2,0))", ErrSingularity, 1, 19);
    ExpectError("sin(comp(0,20000))", ErrOverflow, 1, 18);
    ExpectError("exp(comp(20000,0))", ErrOverflow, 1, 18);
    ExpectError("ln(comp(-2,0))", ErrArgument, 1, 14, FormPolar);
    ExpectError("sqrt(comp(-4,0))", ErrArgument, 1, 16, FormPolar);
}

TEST_F(ComplexEvaluatorTest, OverflowIsAnErrorNeverAnInfiniteValue) {
    ExpectError("comp(1E4000,0)*comp(1E4000,0)", ErrOverflow, 15, 15);
    ExpectError("comp(1E4000,1)+comp(1E4932,0)*comp(2,0)", ErrOverflow, 30, 10);
    ExpectError("comp(1E3000,0)" + Square + Square, ErrOverflow, 1, 15);
    ExpectError("comp(1E4000,0)^comp(2,0)", ErrOverflow, 1, 24);
    ExpectError("comp(1,0)/comp(1E-4000,0)/comp(1E-4000,0)", ErrOverflow, 26, 16);
    ExpectError("comp(0,0)^comp(-1,0)", ErrSingularity, 1, 20);
}

TEST_F(ComplexEvaluatorTest, CompArgumentsMustBeComplete) {
    ExpectError("comp(1)", ErrMissingArgument, 6, 2);
    ExpectError("comp(,2)", ErrMissingArgument, 6, 1);
    ExpectError("comp(1,)", ErrMissingArgument, 8, 1);
    ExpectError("comp(1,2", ErrMissingArgument, 8, 1);
    ExpectError("comp(1)+comp(2,3)", ErrMissingArgument, 6, 2);
    ExpectValue("comp((1+2)*3,(4))", {9, 4});
    ExpectValue("comp(Jn(0,1),2)", {std::cyl_bessel_j(0.0L, 1.0L), 2}, FormRect, 1e-12L);
}

TEST_F(ComplexEvaluatorTest, ErrorsInsideCompArgumentsAreMappedToTheLine) {
    ExpectError("comp(1,2)+comp(3,4/0)", ErrDivisionByZero, 20, 1);
    ExpectError("comp(1,2+*3)", ErrSyntax, 10, 1);
    ExpectError("comp(foo,1)", ErrSyntax, 6, 3);
    ExpectError("sin(comp(1,2,3))", ErrSyntax, 13, 1);
    ExpectError("comp(1,ln(0))", ErrArgumentNegative, 8, 5);
}

TEST_F(ComplexEvaluatorTest, DeepNestingIsAnErrorNotACrash) {
    const std::string deep = std::string(5000, '(') + "comp(1,1)" + std::string(5000, ')');
    const Outcome outcome = Run(deep);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.code, ErrStackOverflow);
    ExpectValue(std::string(100, '(') + "comp(1,1)" + std::string(100, ')'), {1, 1});
}

TEST_F(ComplexEvaluatorTest, EmptyTextAndTheSharedErrorState) {
    const Outcome empty = Run("");
    EXPECT_FALSE(empty.failed);
    EXPECT_TRUE(CEqual(empty.value, CZero));

    ctx.Input = "comp(1,0)/comp(0,0)";
    bool failed = false;
    int errorPos = 0;
    int errorLength = 0;
    ComplexValue value;
    evaluator.EvaluateComplex(ctx.Input, failed, errorPos, value, errorLength);
    EXPECT_EQ(ctx.Input, "comp(1,0)/comp(0,0)") << "the caller's text holds the line again";
    EXPECT_TRUE(ctx.ErrorFlag);
    EXPECT_EQ(ctx.ErrorPos, 11);
    EXPECT_EQ(ctx.ErrorLength, 9);
    EXPECT_EQ(ctx.CurrentErrorText(), "Division by zero");

    ctx.Input = "comp(1,1)";
    evaluator.EvaluateComplex(ctx.Input, failed, errorPos, value, errorLength);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(ctx.ErrorFlag);
    EXPECT_EQ(ctx.ErrorCode, 0);
}

} // namespace
} // namespace mirla
