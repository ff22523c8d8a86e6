// Two contexts evaluate side by side: what one evaluation leaves or counts stays in its own
// context.
#include "EngineTestSupport.h"
#include "engine/ErrorCodes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace mirla {
namespace {

/// At the first event pump of its context's calculation, evaluates `line` in `other`, as a
/// second calculation running meanwhile would.
struct InterleavingHost : TEngineHost {
    EvalContext* other = nullptr;
    std::string line;
    test::Outcome outcome;
    bool ran = false;

    void PumpMessages() override {
        if (!std::exchange(ran, true))
            outcome = test::RunLine(*other, line);
    }
};

/// `line` in a context of its own, with `trials` set to its evaluations of f(X).
test::Outcome Alone(const std::string& line, std::uint64_t& trials) {
    EvalContext ctx;
    ctx.AngleMode = 0;
    const test::Outcome outcome = test::RunLine(ctx, line);
    trials = ctx.TrialEvaluations;
    return outcome;
}

TEST(SideBySideContexts, ProceduresAndIntegrationsStayInTheirContext) {
    const std::string integral = "integral(0,1,X^2)";
    const std::string search = "min(0,10,sin(X)*X)";
    std::uint64_t integralTrials = 0;
    std::uint64_t searchTrials = 0;
    const test::Outcome integralAlone = Alone(integral, integralTrials);
    const test::Outcome searchAlone = Alone(search, searchTrials);

    // A search runs in `second` while an integral is open in `first`: it is not nested in it,
    // so it is remembered as the user's own search, and each context counts its own trials.
    EvalContext first;
    EvalContext second;
    first.AngleMode = second.AngleMode = 0;
    InterleavingHost host;
    host.other = &second;
    host.line = search;
    first.SetHost(&host);
    const test::Outcome outcome = test::RunLine(first, integral);
    ASSERT_TRUE(host.ran);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(outcome.value, integralAlone.value);
    EXPECT_EQ(first.TrialEvaluations, integralTrials);
    EXPECT_EQ(first.OpenProcedures, 0);
    EXPECT_FALSE(host.outcome.failed);
    EXPECT_EQ(host.outcome.value, searchAlone.value);
    EXPECT_EQ(second.TrialEvaluations, searchTrials);
    EXPECT_EQ(second.LastSearchText, second.Input);

    // An integration in `second` runs while one is open in `first`: the error its integrand
    // raises lands in `second` alone, and `first` integrates on undisturbed.
    const std::string bessel = "Jn(2.5,10)";
    std::uint64_t unused = 0;
    const test::Outcome besselAlone = Alone(bessel, unused);
    host.ran = false;
    host.line = "eFD(5000,0)"; // 23^5000 overflows inside the integrand
    const test::Outcome besselOutcome = test::RunLine(first, bessel);
    ASSERT_TRUE(host.ran);
    EXPECT_TRUE(host.outcome.failed);
    EXPECT_EQ(host.outcome.code, ErrOverflow);
    EXPECT_FALSE(besselOutcome.failed);
    EXPECT_EQ(besselOutcome.value, besselAlone.value);
}

} // namespace
} // namespace mirla
