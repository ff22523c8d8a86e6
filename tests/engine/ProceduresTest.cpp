#include "engine/Procedures.h"
#include "engine/Engine.h"
#include "engine/EngineHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace mirla {
namespace {

/// A host whose events request a break after a given number of pumps and whose break
/// question gets a fixed answer; it records the progress texts. By default a runaway loop is
/// broken off after many pumps, so that it fails a test instead of hanging it.
class ScriptedHost : public TEngineHost {
public:
    explicit ScriptedHost(EvalContext& ctx) : m_ctx(ctx) {}
    void PumpMessages() override {
        if (++pumps == breakAtPump)
            m_ctx.BreakRequested = true;
    }
    bool ConfirmBreak() override {
        ++questions;
        return confirm;
    }
    void ShowProgress(const std::string& text) override { progress.push_back(text); }
    int PrecisionSetting() const override { return precision; }

    static constexpr int WatchdogPumps = 100000;
    int breakAtPump = WatchdogPumps;
    bool confirm = true;
    int pumps = 0;
    int questions = 0;
    int precision = 9;
    std::vector<std::string> progress;

private:
    EvalContext& m_ctx;
};

class ProceduresTest : public ::testing::Test {
protected:
    ProceduresTest() : host(ctx) {
        ctx.SetHost(&host);
        ctx.AngleMode = 0;
    }
    ~ProceduresTest() override { ctx.SetHost(nullptr); }

    Extended Eval(const std::string& line) {
        host.pumps = 0;
        ctx.BreakRequested = false;
        ctx.Input = line;
        ctx.ArgDepth = 0;
        return Evaluate(ctx);
    }
    void ExpectError(const std::string& line, int code) {
        Eval(line);
        EXPECT_TRUE(ctx.ErrorFlag) << line;
        EXPECT_EQ(ctx.ErrorCode, code) << line;
    }
    Extended& X() { return ctx.Variable(1).Value; }

    EvalContext ctx;
    ScriptedHost host;
};

struct ValueCase {
    const char* line;
    long double expected;
    long double tolerance;
};

const long double Sqrt2 = std::sqrt(2.0L);

TEST_F(ProceduresTest, ComputesKnownValues) {
    const ValueCase cases[] = {
        {"integral(0,1,X)", 0.5L, 1e-18L},
        {"integral(1,0,X)", -0.5L, 1e-18L},
        {"integral(0,pi,sin(X))", 2.0L, 1e-15L},
        {"integral(0,1,X^2)", 1.0L / 3, 1e-15L},
        {"integral(0,1,sqrt(X))", 2.0L / 3, 1e-8L},
        {"integral(0,2*pi,sin(X))", 0.0L, 1e-15L},
        {"integral(-1,1,X^3)", 0.0L, 1e-18L},
        {"2*integral(0,1,X)+1", 2.0L, 1e-18L},
        // The inner search runs once per trial of X and gives X back to the integration.
        {"integral(0,1,0*min(0,1,X*X)+X)", 0.5L, 1e-18L},
        {"integral(0,1,max(0,1,X*X)+X)", 1.5L, 1e-18L},
        {"solve(0,2,X*X-2)", Sqrt2, 1e-15L},
        {"solve(0,4,X-1)", 1.0L, 1e-15L},
        {"solve(1,3,X-1)", 1.0L, 0.0L},
        {"solve(0,1,X-1)", 1.0L, 0.0L},
        {"solve(-1,1,X*X)", 0.0L, 1e-9L},
        // No sign change at the ends; the search finds the minimum -0.25 at 1.5 and the
        // bisection goes on from there to the root 2 (not 1, which lies left of it).
        {"solve(0,3,(X-1)*(X-2))", 2.0L, 1e-14L},
        {"min(-1,1,X*X)", 0.0L, 1e-18L},
        {"min(1,-1,X*X+3)", 3.0L, 1e-15L},
        {"max(0,pi,sin(X))", 1.0L, 1e-9L},
        {"max(0,1,X)", 1.0L, 0.0L},
        {"min(0,10,sin(X)*X)", 10 * std::sin(10.0L), 1e-14L},
        {"-max(0,1,X)", -1.0L, 0.0L},
        {"sum(1,2,3)", 6.0L, 0.0L},
        {"mean(1,2,3)", 2.0L, 0.0L},
        {"std(1,2,3)", 1.0L, 1e-18L},
        {"poly(2,1,0,1)", 5.0L, 0.0L},
        {"stat(1,2,3)", 2.0L, 0.0L},
        {"sum(1,2)*2+sum(3)", 9.0L, 0.0L},
        {"sum(1,(2+3)*2)", 11.0L, 0.0L},
        {"std(1E10+1,1E10+2,1E10+3)", 1.0L, 1e-15L},
        {"stat(1E8+1,1E8+2,1E8+3)", 2.0L, 1e-15L},
        {"sum(1,2", 3.0L, 0.0L},
    };
    for (const ValueCase& c : cases) {
        const Extended value = Eval(c.line);
        EXPECT_FALSE(ctx.ErrorFlag) << c.line << ": " << ctx.CurrentErrorText();
        EXPECT_LE(std::fabs(value - c.expected), c.tolerance)
            << c.line << " gave " << static_cast<double>(value);
    }
}

TEST_F(ProceduresTest, KeepsThePositionOfTheExtremum) {
    // The maximum of x sin x on [0, 10] lies at the root 7.978665712... of tan x = -x, where
    // x sin x = x^2 / sqrt(1 + x^2).
    const long double root = 7.978665712413241L;
    const struct {
        const char* line;
        long double position;
        long double value;
        long double tolerance;
    } cases[] = {
        {"min(-1,1,X*X)", 0.0L, 0.0L, 1e-9L},
        {"max(0,pi,sin(X))", std::acos(-1.0L) / 2, 1.0L, 1e-3L},
        {"min(0,10,sin(X)*X)", 10.0L, 10 * std::sin(10.0L), 0.0L},
        {"max(0,10,sin(X)*X)", root, root * root / std::sqrt(1 + root * root), 1e-3L},
        {"min(0,1,5)", 1.0L, 5.0L, 0.0L},
    };
    for (const auto& c : cases) {
        ctx.LastSearchText.clear();
        const Extended value = Eval(c.line);
        ASSERT_FALSE(ctx.ErrorFlag) << c.line << ": " << ctx.CurrentErrorText();
        EXPECT_NEAR(static_cast<double>(value), static_cast<double>(c.value), 1e-9) << c.line;
        EXPECT_EQ(ctx.BestExtremumValue, value) << c.line;
        EXPECT_LE(std::fabs(ctx.BestExtremumPos - c.position), c.tolerance) << c.line;
    }
}

TEST_F(ProceduresTest, RepeatedSearchRefinesAndNewSearchStartsAgain) {
    const struct {
        const char* line;
        int subdivisions;
    } steps[] = {
        {"min(-1,1,X*X)", 1},   {"min(-1,1,X*X)", 2},   {"min(-1,1,X*X)", 4},   {"min(-1,1,X*X+0)", 1},
        {"min(-1,1,X*X+0)", 2}, {"min(-1,2,X*X+0)", 1}, {"max(-1,2,X*X+0)", 1}, {"max(-1,2,X*X+0)", 2},
    };
    for (const auto& step : steps) {
        const Extended value = Eval(step.line);
        ASSERT_FALSE(ctx.ErrorFlag) << step.line;
        EXPECT_EQ(ctx.Subdivisions, step.subdivisions) << step.line;
        EXPECT_EQ(ctx.SearchMaximum, step.line[1] == 'a') << step.line;
        EXPECT_NEAR(static_cast<double>(value), step.line[1] == 'a' ? 4.0 : 0.0, 1e-12) << step.line;
    }
}

TEST_F(ProceduresTest, RestoresXOnEveryExit) {
    const char* lines[] = {
        "integral(0,1,X)",    "solve(0,2,X*X-2)",       "min(-1,1,X*X)",
        "max(0,1,X)",         "solve(0,3,(X-1)*(X-2))", "solve(1,2,X*X+1)",
        "solve(0,3,1/(X-1))", "integral(1/0,1,X)",      "integral(0,1,sqrt(X-2))",
        "min(0,1,ln(X-1))",   "solve(0,1,sqrt(X-2))",   "max(0,1,X,2)",
        "solve(2,0,X)",
    };
    for (const Extended before : {Extended(7), UndefinedValue}) {
        for (const char* line : lines) {
            X() = before;
            Eval(line);
            EXPECT_EQ(X(), before) << line;
        }
    }
}

TEST_F(ProceduresTest, ReportsErrorsOfTheProcedures) {
    const struct {
        const char* line;
        int code;
        int position;
        int length;
    } cases[] = {
        {"1+solve(2,0,X)", ErrInterval, 3, 12},
        {"solve(1,2,X*X+1)", ErrInterval, 1, 16},
        {"solve(-2,-1,-X*X-1)", ErrInterval, 1, 19},
        {"solve(1,2,tan(X))", ErrSingularity, 1, 17},
        {"solve(-1,2,1/X)", ErrSingularity, 1, 15},
        {"min(,1,X)", ErrSyntax, 5, 1},
        {"min(0)", ErrSyntax, 6, 1},
        {"max(1,2)", ErrSyntax, 8, 1},
        {"min(0,1,)", ErrSyntax, 9, 1},
        {"min(0,1,X,2)", ErrSyntax, 10, 1},
        {"min(0", ErrCommaExpected, 5, 1},
        {"1+integral(0,1/0,X)", ErrDivisionByZero, 16, 1},
        {"2*min(0,foo,X)", ErrSyntax, 9, 3},
        {"integral(0,1E4932,1E4932)", ErrOverflow, 1, 25},
        {"sum(1E4932,1E4932)", ErrOverflow, 1, 18},
        {"mean(1E4932,1E4932)", ErrOverflow, 1, 19},
        {"2+std(5)", 9, 3, 6},
        {"sum((2)3)", ErrSyntax, 8, 1},
        {"sum()", ErrSyntax, 5, 1},
    };
    for (const auto& c : cases) {
        Eval(c.line);
        ASSERT_TRUE(ctx.ErrorFlag) << c.line;
        EXPECT_EQ(ctx.ErrorCode, c.code) << c.line;
        EXPECT_EQ(ctx.ErrorPos, c.position) << c.line;
        EXPECT_EQ(ctx.ErrorLength, c.length) << c.line;
        EXPECT_EQ(ctx.ReadPos, static_cast<int>(ctx.Input.size())) << c.line;
        EXPECT_EQ(ctx.Current, EndMarker) << c.line;
    }
}

TEST_F(ProceduresTest, ErrorInsideTheExpressionStopsTheProcedure) {
    // The span covers the failing "sqrt(" call, wherever the procedure's name ends.
    const struct {
        const char* line;
        int position;
    } cases[] = {{"integral(0,1,sqrt(X-2))", 14}, {"min(0,1,sqrt(X-2))", 9}, {"solve(0,1,sqrt(X-2))", 11}};
    for (const auto& c : cases) {
        ExpectError(c.line, ErrArgumentNegative);
        EXPECT_EQ(ctx.ErrorPos, c.position) << c.line;
    }
}

TEST_F(ProceduresTest, ListWithoutParenthesisIsRefused) {
    ctx.Input = "sum 1";
    ctx.ReadPos = 4;
    ctx.Current = ' ';
    ListSum(ctx);
    EXPECT_TRUE(ctx.ErrorFlag);
    EXPECT_EQ(ctx.ErrorCode, ErrMissingOpen);
    EXPECT_EQ(ctx.ErrorPos, 4);
}

TEST_F(ProceduresTest, StandardDeviationRegisterKeepsTheLastDeviation) {
    Eval("mean(2,4)");
    EXPECT_NEAR(static_cast<double>(ctx.StdRegister), std::sqrt(2.0), 1e-15);
    Eval("mean(7)");
    EXPECT_NEAR(static_cast<double>(ctx.StdRegister), std::sqrt(2.0), 1e-15);
    Eval("std(1,1,1)");
    EXPECT_FALSE(ctx.ErrorFlag);
    EXPECT_EQ(ctx.StdRegister, 0);
}

TEST_F(ProceduresTest, ListsLongerThanAThousandValues) {
    std::string poly = "poly(1";
    std::string stat = "stat(";
    for (int i = 0; i < 1500; ++i) {
        poly += ",1";
        stat += i == 0 ? "0" : (i % 2 ? ",2" : ",0");
    }
    EXPECT_EQ(Eval(poly + ")"), 1500);
    EXPECT_FALSE(ctx.ErrorFlag);
    EXPECT_EQ(Eval(stat + ")"), 1500);
    EXPECT_FALSE(ctx.ErrorFlag);
}

TEST_F(ProceduresTest, ConfirmedBreakStopsEveryProcedure) {
    for (const char* line :
         {"integral(0,1,sqrt(X))", "solve(0,2,X*X-2)", "min(0,10,sin(X)*X)", "max(0,1,X)"}) {
        X() = 3;
        host.questions = 0;
        host.breakAtPump = 1;
        host.confirm = true;
        const Extended value = Eval(line);
        EXPECT_TRUE(ctx.ErrorFlag) << line;
        EXPECT_EQ(ctx.ErrorCode, ErrUserBreak) << line;
        EXPECT_EQ(value, 0) << line;
        EXPECT_EQ(host.questions, 1) << line;
        EXPECT_EQ(X(), 3) << line;
    }
}

TEST_F(ProceduresTest, DeclinedBreakLetsTheCalculationFinish) {
    const ValueCase cases[] = {
        {"integral(0,1,X^2)", 1.0L / 3, 1e-15L},
        {"solve(0,2,X*X-2)", Sqrt2, 1e-15L},
        {"min(-1,1,X*X)", 0.0L, 1e-18L},
    };
    for (const ValueCase& c : cases) {
        host.questions = 0;
        host.breakAtPump = 1;
        host.confirm = false;
        const Extended value = Eval(c.line);
        EXPECT_FALSE(ctx.ErrorFlag) << c.line;
        EXPECT_EQ(host.questions, 1) << c.line;
        EXPECT_FALSE(ctx.BreakRequested) << c.line;
        EXPECT_LE(std::fabs(value - c.expected), c.tolerance) << c.line;
    }
}

TEST_F(ProceduresTest, IntegrationShowsProgressAndFollowsThePrecision) {
    host.precision = 9;
    const Extended fine = Eval("integral(0,1,sqrt(X))");
    const int finePasses = ctx.Subdivisions;
    ASSERT_FALSE(host.progress.empty());
    EXPECT_EQ(host.progress.back().substr(0, 10), "6.66666666");
    EXPECT_NE(host.progress.back().find("E-1"), std::string::npos);

    host.precision = 3;
    const Extended coarse = Eval("integral(0,1,sqrt(X))");
    EXPECT_LT(ctx.Subdivisions, finePasses);
    EXPECT_NEAR(static_cast<double>(coarse), 2.0 / 3, 1e-3);
    EXPECT_LT(std::fabs(fine - 2.0L / 3), std::fabs(coarse - 2.0L / 3));
}

TEST_F(ProceduresTest, IntegrationRecordsItsBoundsAndSharesTheSubdivisionCount) {
    Eval("integral(-2,5,X*X)");
    EXPECT_EQ(ctx.LastLower, -2);
    EXPECT_EQ(ctx.LastUpper, 5);
    EXPECT_GE(ctx.Subdivisions, 2);
}

} // namespace
} // namespace mirla
