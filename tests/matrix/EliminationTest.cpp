#include "matrix/MatrixTestSupport.h"

#include "matrix/Elimination.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace mirla {
namespace {

using test::ExpectMatrixError;
using test::MakeMatrix;
using test::Rows;

TWorkMatrix Work(const Rows& rows) {
    return ToWorkMatrix(MakeMatrix(rows));
}

// ---- Work arrays ----

TEST(WorkArrays, NewArraysHaveIndicesZeroToNAndStartAtZero) {
    EXPECT_EQ(NewWorkVector(0), TWorkVector{0.0L});
    EXPECT_EQ(NewIndexVector(2), (TIndexVector{0, 0, 0}));
    const TWorkMatrix m = NewWorkMatrix(1, 2);
    EXPECT_EQ(m, (TWorkMatrix{{0, 0, 0}, {0, 0, 0}}));
    // Far beyond the 6553 elements a 16-bit block could hold.
    EXPECT_EQ(NewWorkVector(99999).size(), 100000u);
}

TEST(WorkArrays, ConversionFromMatrices) {
    const TRealMatrix m = MakeMatrix({{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(ToWorkMatrix(m), (TWorkMatrix{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_EQ(ColumnToWorkVector(m, 1), (TWorkVector{2, 4, 6}));
}

TEST(WorkArrays, CopiesAndExchangesTouchOnlyTheirRange) {
    TWorkVector target = {9, 9, 9, 9};
    CopyVectorRange({1, 2, 3, 4}, target, 1, 2);
    EXPECT_EQ(target, (TWorkVector{9, 2, 3, 9}));

    TWorkMatrix block = NewWorkMatrix(2, 2);
    CopyMatrixBlock({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, block, 1, 2, 0, 1);
    EXPECT_EQ(block, (TWorkMatrix{{0, 0, 0}, {4, 5, 0}, {7, 8, 0}}));

    TWorkMatrix rows = {{1, 2, 3}, {4, 5, 6}};
    SwapWorkRows(rows, 0, 1, 1, 2);
    EXPECT_EQ(rows, (TWorkMatrix{{1, 5, 6}, {4, 2, 3}}));
    TWorkMatrix cols = {{1, 2, 3}, {4, 5, 6}};
    SwapWorkColumns(cols, 0, 2, 1, 1);
    EXPECT_EQ(cols, (TWorkMatrix{{1, 2, 3}, {6, 5, 4}}));
}

TEST(WorkArrays, Messages) {
    TWorkMatrix m = NewWorkMatrix(2, 2);
    TWorkVector v = NewWorkVector(2);
    TWorkVector x;
    const struct {
        const char* name;
        std::function<void()> action;
        const char* message;
    } cases[] = {
        {"NewWorkVector(-1)", [] { NewWorkVector(-1); }, "Invalid dimension..."},
        {"NewIndexVector(-1)", [] { NewIndexVector(-1); }, "Invalid dimension..."},
        {"NewWorkMatrix(-1, 2)", [] { NewWorkMatrix(-1, 2); }, "Invalid dimensions..."},
        {"CopyVectorRange to 3", [&] { CopyVectorRange(v, v, 0, 3); }, "Index out of bounds"},
        {"CopyMatrixBlock row -1", [&] { CopyMatrixBlock(m, m, -1, 1, 0, 1); }, "Index out of bounds"},
        {"SwapWorkRows row 3", [&] { SwapWorkRows(m, 0, 3, 0, 2); }, "Index out of bounds"},
        {"SwapWorkColumns column 3", [&] { SwapWorkColumns(m, 3, 0, 0, 2); }, "Index out of bounds"},
        {"Determinant beyond the array", [&] { Determinant(m, 0, 3); }, "Index out of bounds"},
        {"Determinant reversed range", [&] { Determinant(m, 2, 1); }, "Index out of bounds"},
        {"GaussJordanSolve short b",
         [&] {
             GaussJordanSolve(m, {1, 2}, 0, x, 2);
         },
         "Index out of bounds"},
    };
    for (const auto& c : cases)
        ExpectMatrixError(c.action, c.message, c.name);
}

// ---- Determinant ----

TEST(WorkDeterminant, KnownDeterminantsWithTheirSign) {
    const struct {
        const char* name;
        Rows a;
        long double det;
    } cases[] = {
        {"1x1", {{-7}}, -7},
        {"one exchange", {{0, 2}, {3, 0}}, -6},
        {"upper triangular", {{2, 5, -1, 4}, {0, 3, 8, 1}, {0, 0, -1, 6}, {0, 0, 0, 0.5L}}, -3},
        {"lower triangular", {{4, 0, 0}, {7, -2, 0}, {1, 9, 5}}, -40},
        {"transposition", {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}, -1},
        {"3-cycle", {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, 1},
        {"4-cycle", {{0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, {1, 0, 0, 0}}, -1},
        {"two transpositions", {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, 1, 0}}, 1},
        {"general 3x3", {{2, -3, 1}, {2, 0, -1}, {1, 4, 5}}, 49},
        {"zero column", {{1, 0, 2}, {3, 0, 4}, {5, 0, 6}}, 0},
        {"singular rows", {{1, 2}, {2, 4}}, 0},
        {"tiny first pivot", {{1e-20L, 1}, {1, 1}}, 1e-20L - 1},
        {"pivot below 2^-63", {{1e-20L, 0}, {0, 1}}, 0},
    };
    for (const auto& c : cases) {
        TWorkMatrix a = Work(c.a);
        const int end = static_cast<int>(c.a.size()) - 1;
        EXPECT_LE(std::fabs(Determinant(a, 0, end) - c.det), 1e-18L) << c.name;
    }
}

TEST(WorkDeterminant, WorksOnASubRange) {
    // Only the block of indices 1..2 counts: [[3, 1], [4, 2]] has determinant 2.
    TWorkMatrix a = {{9, 9, 9}, {9, 3, 1}, {9, 4, 2}};
    EXPECT_LE(std::fabs(Determinant(a, 1, 2) - 2), 1e-18L);
}

TEST(WorkDeterminant, OverflowRaises) {
    TWorkMatrix a = {{1e3000L, 0}, {0, 1e3000L}};
    ExpectMatrixError([&] { Determinant(a, 0, 1); }, OverflowMessage, "1e3000 squared");
}

// ---- GaussJordanSolve ----

TEST(WorkGaussJordanSolve, KnownSystems) {
    const struct {
        const char* name;
        Rows a;
        TWorkVector b;
        TWorkVector x;
    } cases[] = {
        {"exchange", {{0, 1}, {1, 0}}, {2, 3}, {3, 2}},
        // 2x + y - z = 8, -3x - y + 2z = -11, -2x + y + 2z = -3 has the solution (2, 3, -1).
        {"3x3", {{2, 1, -1}, {-3, -1, 2}, {-2, 1, 2}}, {8, -11, -3}, {2, 3, -1}},
        {"tiny pivot", {{1e-20L, 1}, {1, 1}}, {1, 2}, {1, 1}},
        {"largest element off the diagonal", {{1, 10, 0}, {0, 1, 20}, {30, 0, 1}}, {21, 62, 33}, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        const TWorkMatrix a = Work(c.a);
        TWorkVector x;
        const int end = static_cast<int>(c.b.size()) - 1;
        ASSERT_EQ(GaussJordanSolve(a, c.b, 0, x, end), 0) << c.name;
        ASSERT_EQ(x.size(), c.b.size()) << c.name;
        for (int i = 0; i <= end; ++i)
            EXPECT_LE(std::fabs(x[i] - c.x[i]), 1e-17L) << c.name << " x[" << i << "]";
        EXPECT_EQ(a, Work(c.a)) << c.name << ": a must stay unchanged";
    }
}

TEST(WorkGaussJordanSolve, SingularSystemsReturnMinusOneAndLeaveXAlone) {
    const struct {
        const char* name;
        Rows a;
    } cases[] = {
        {"dependent rows", {{1, 2}, {2, 4}}},
        {"all pivots below 2^-63", {{1e-20L, 0}, {0, 1e-20L}}},
        {"zero matrix", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    };
    for (const auto& c : cases) {
        TWorkVector x = {42};
        const TWorkVector b(c.a.size(), 1.0L);
        EXPECT_EQ(GaussJordanSolve(Work(c.a), b, 0, x, static_cast<int>(c.a.size()) - 1), -1) << c.name;
        EXPECT_EQ(x, TWorkVector{42}) << c.name;
    }
}

TEST(WorkGaussJordanSolve, SolvesOnASubRange) {
    // Indices 1..2: [[2, 0], [0, 4]] x = (6, 8) gives x = (3, 2); index 0 keeps b's value.
    const TWorkMatrix a = {{7, 7, 7}, {7, 2, 0}, {7, 0, 4}};
    TWorkVector x;
    ASSERT_EQ(GaussJordanSolve(a, {5, 6, 8}, 1, x, 2), 0);
    EXPECT_EQ(x, (TWorkVector{5, 3, 2}));
}

TEST(WorkGaussJordanSolve, OverflowingSolutionRaises) {
    TWorkVector x;
    ExpectMatrixError([&] { GaussJordanSolve({{0.5L}}, {LDBL_MAX}, 0, x, 0); }, OverflowMessage, "2 * max");
    EXPECT_TRUE(x.empty());
}

} // namespace
} // namespace mirla
