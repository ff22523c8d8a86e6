#include "plotlib/core/NiceNumbers.h"

#include "plotlib/core/PlotTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace mirla {
namespace {

TEST(NiceNumbers, NiceNumPicksOneTwoFiveOrTen) {
    struct TCase {
        std::string Name;
        double X;
        bool Round;
        double Expected;
    };
    const std::vector<TCase> cases = {{"rounded 1.5 stays 1", 1.5, true, 1},
                                      {"rounded just above 1.5", 1.5002, true, 2},
                                      {"rounded 3", 3, true, 2},
                                      {"rounded 3.5", 3.5, true, 5},
                                      {"rounded 7", 7, true, 5},
                                      {"rounded 7.1", 7.1, true, 10},
                                      {"rounded 0.111", 1.0 / 9, true, 0.1},
                                      {"rounded 0.07", 0.07, true, 0.05},
                                      {"ceiling 1", 1, false, 1},
                                      {"ceiling 1.2", 1.2, false, 2},
                                      {"ceiling 2.5", 2.5, false, 5},
                                      {"ceiling 5", 5, false, 5},
                                      {"ceiling 5.1", 5.1, false, 10},
                                      {"ceiling 450", 450, false, 500},
                                      {"ceiling 0.0003", 0.0003, false, 0.0005},
                                      {"zero", 0, true, MissingValue},
                                      {"negative", -3, false, MissingValue},
                                      {"infinity", INFINITY, true, MissingValue},
                                      {"not a number", std::nan(""), true, MissingValue}};
    for (const TCase& c : cases)
        EXPECT_DOUBLE_EQ(TNiceNumbers::NiceNum(c.X, c.Round), c.Expected) << c.Name;
}

TEST(NiceNumbers, ComputeCoversTheRange) {
    struct TCase {
        std::string Name;
        int Ticks;
        double A, B;
        double Min, Max, Step;
    };
    const std::vector<TCase> cases = {{"0..1 with 10 ticks", 10, 0, 1, 0, 1, 0.1},
                                      {"limits in reverse order", 10, 1, 0, 0, 1, 0.1},
                                      {"0..100 with 5 ticks", 5, 0, 100, 0, 100, 20},
                                      {"3..97 with 5 ticks", 5, 3, 97, 0, 100, 20},
                                      {"-0.37..1.2 with 6 ticks", 6, -0.37, 1.2, -0.5, 1.5, 0.5}};
    for (const TCase& c : cases) {
        TNiceNumbers nice(c.Ticks, c.A, c.B);
        nice.Compute();
        EXPECT_NEAR(nice.GraphMin(), c.Min, 1e-12) << c.Name;
        EXPECT_NEAR(nice.GraphMax(), c.Max, 1e-12) << c.Name;
        EXPECT_NEAR(nice.Step(), c.Step, 1e-12) << c.Name;
    }
}

TEST(NiceNumbers, UncomputableRangesKeepTheDefaults) {
    struct TCase {
        std::string Name;
        int Ticks;
        double A, B;
        bool Compute;
    };
    const std::vector<TCase> cases = {{"before Compute", 10, 3, 7, false},
                                      {"equal ends", 10, 2, 2, true},
                                      {"one tick divides by zero", 1, 0, 1, true},
                                      {"infinite range", 10, 0, INFINITY, true}};
    for (const TCase& c : cases) {
        TNiceNumbers nice(c.Ticks, c.A, c.B);
        if (c.Compute)
            nice.Compute();
        EXPECT_EQ(nice.GraphMin(), 0) << c.Name;
        EXPECT_EQ(nice.GraphMax(), 1) << c.Name;
        EXPECT_EQ(nice.Step(), 0.1) << c.Name;
    }
}

} // namespace
} // namespace mirla
