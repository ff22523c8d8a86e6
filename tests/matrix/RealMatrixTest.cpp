#include "matrix/MatrixTestSupport.h"

#include "matrix/MatrixException.h"
#include "matrix/RealMatrix.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <random>
#include <string>

namespace mirla {
namespace {

using test::DistanceFromIdentity;
using test::ExpectMatrixError;
using test::ExpectMatrixNear;
using test::MakeMatrix;
using test::Rows;

// ---- Elements and size ----

TEST(RealMatrixElements, NewMatrixIsFiveByFiveZeros) {
    const TRealMatrix m;
    ExpectMatrixNear(m, Rows(5, std::vector<long double>(5, 0.0L)), 0, "new matrix");
}

TEST(RealMatrixElements, SetItemIsReadBackAtTheSamePlace) {
    TRealMatrix m(3, 4);
    m.SetItem(2, 3, 7.5L);
    m.SetItem(0, 1, -2);
    EXPECT_EQ(m.GetItem(2, 3), 7.5L);
    EXPECT_EQ(m.GetItem(0, 1), -2.0L);
    EXPECT_EQ(m.GetItem(2, 0), 0.0L);
}

TEST(RealMatrixElements, SetSizeKeepsTheOverlappingTopLeftPart) {
    TRealMatrix m;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            m.SetItem(i, j, 10 * i + j + 1);
    m.SetSize(2, 7);
    ExpectMatrixNear(m, {{1, 2, 3, 4, 5, 0, 0}, {11, 12, 13, 14, 15, 0, 0}}, 0, "SetSize(2, 7)");
    m.SetSize(3, 2);
    ExpectMatrixNear(m, {{1, 2}, {11, 12}, {0, 0}}, 0, "SetSize(3, 2)");
}

TEST(RealMatrixElements, RowAndColumnCountSettersKeepTheOtherDimension) {
    TRealMatrix m;
    m.SetRowCount(2);
    EXPECT_EQ(m.RowCount(), 2);
    EXPECT_EQ(m.ColCount(), 5);
    m.SetColCount(9);
    EXPECT_EQ(m.RowCount(), 2);
    EXPECT_EQ(m.ColCount(), 9);
}

TEST(RealMatrixElements, WindowSizedMatrixOfOneHundredSquareWorks) {
    TRealMatrix m(100, 100);
    m.SetItem(99, 99, 3);
    m.SetItem(0, 99, 4);
    EXPECT_EQ(m.GetItem(99, 99), 3.0L);
    EXPECT_EQ(m.GetItem(0, 99), 4.0L);
}

TEST(RealMatrixElements, AssignTakesSizeAndElements) {
    TRealMatrix target;
    target.Assign(MakeMatrix({{1, 2, 3}, {4, 5, 6}}));
    ExpectMatrixNear(target, {{1, 2, 3}, {4, 5, 6}}, 0, "Assign");
}

TEST(RealMatrixElements, FillAndSetDiagonal) {
    TRealMatrix m(2, 3);
    m.Fill(4);
    ExpectMatrixNear(m, {{4, 4, 4}, {4, 4, 4}}, 0, "Fill");
    TRealMatrix square = MakeMatrix({{9, 9, 9}, {9, 9, 9}, {9, 9, 9}});
    square.SetDiagonal(2);
    ExpectMatrixNear(square, {{2, 0, 0}, {0, 2, 0}, {0, 0, 2}}, 0, "SetDiagonal");
}

TEST(RealMatrixElements, RowOperations) {
    TRealMatrix m = MakeMatrix({{1, 2}, {3, 4}, {5, 6}});
    m.SwapRows(0, 2);
    ExpectMatrixNear(m, {{5, 6}, {3, 4}, {1, 2}}, 0, "SwapRows");
    m.AddRowMultiple(1, 2, -3);
    ExpectMatrixNear(m, {{5, 6}, {0, -2}, {1, 2}}, 0, "AddRowMultiple");
    m.ScaleRow(0, 0.5L);
    ExpectMatrixNear(m, {{2.5L, 3}, {0, -2}, {1, 2}}, 0, "ScaleRow");
}

// ---- Messages ----

struct ErrorCase {
    const char* name;
    std::function<void()> action;
    const char* message;
};

TEST(RealMatrixMessages, EveryFailureCarriesItsFixedMessage) {
    const TRealMatrix m23 = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
    const TRealMatrix m32 = MakeMatrix({{1, 2}, {3, 4}, {5, 6}});
    const std::vector<ErrorCase> cases = {
        {"GetItem(2, 5) on 5x5", [] { TRealMatrix().GetItem(2, 5); }, "Index out of bounds5 2"},
        {"GetItem(5, 0) on 5x5", [] { TRealMatrix().GetItem(5, 0); }, "Index out of bounds0 5"},
        {"GetItem(-1, 3) on 5x5", [] { TRealMatrix().GetItem(-1, 3); }, "Index out of bounds3 -1"},
        {"SetItem(0, 5) on 5x5", [] { TRealMatrix().SetItem(0, 5, 1); }, "Index out of bounds"},
        {"SetItem(-1, 0) on 5x5", [] { TRealMatrix().SetItem(-1, 0, 1); }, "Index out of bounds"},
        {"SetSize(0, 3)", [] { TRealMatrix().SetSize(0, 3); }, "Invalid dimensions..."},
        {"SetSize(3, -1)", [] { TRealMatrix().SetSize(3, -1); }, "Invalid dimensions..."},
        {"SetColCount(0)", [] { TRealMatrix().SetColCount(0); }, "Invalid dimensions..."},
        {"constructor 0x2", [] { TRealMatrix(0, 2); }, "Invalid dimensions..."},
        {"2x3 plus 3x2", [&] { m23.Sum(m32); }, "Can not add these matrixes"},
        {"2x3 times 2x3", [&] { m23.Product(m23); }, "Can not Multiply"},
        {"Power(2) of 2x3", [&] { m23.Power(2); }, "Can not Multiply"},
        {"Inverse of 2x3", [&] { m23.Inverse(); }, "This operation can be applied only to square matrix"},
        {"SetDiagonal of 2x3", [&] { TRealMatrix(m23).SetDiagonal(1); },
         "This operation can be applied only to square matrix"},
        {"Inverse of [[1,2],[2,4]]",
         [] {
             MakeMatrix({{1, 2}, {2, 4}}).Inverse();
         },
         "Could not inverse this matrix"},
        {"Inverse of [[1,2,3],[4,5,6],[7,8,9]]",
         [] {
             MakeMatrix({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}).Inverse();
         },
         "Could not inverse this matrix"},
        {"Inverse of zero 3x3", [] { TRealMatrix(3, 3).Inverse(); }, "Could not inverse this matrix"},
        {"SwapRows(0, 5) on 5x5", [] { TRealMatrix().SwapRows(0, 5); }, "Index out of bounds"},
        {"AddRowMultiple(-1, 0) on 5x5", [] { TRealMatrix().AddRowMultiple(-1, 0, 1); },
         "Index out of bounds"},
        {"ScaleRow(7) on 5x5", [] { TRealMatrix().ScaleRow(7, 1); }, "Index out of bounds"},
    };
    for (const auto& c : cases)
        ExpectMatrixError(c.action, c.message, c.name);
}

TEST(RealMatrixMessages, FailedShapeChecksLeaveTheMatrixUnchanged) {
    TRealMatrix m = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
    ExpectMatrixError([&] { m.MultiplyInPlace(m); }, "Can not Multiply", "MultiplyInPlace");
    ExpectMatrixError([&] { m.AddInPlace(TRealMatrix(3, 2)); }, "Can not add these matrixes", "AddInPlace");
    ExpectMatrixError([&] { m.SetSize(0, 0); }, "Invalid dimensions...", "SetSize");
    ExpectMatrixNear(m, {{1, 2, 3}, {4, 5, 6}}, 0, "after failures");
}

// ---- Overflow ----

TEST(RealMatrixOverflow, OverflowingElementRaisesAndLeavesTheMatrixUnchanged) {
    TRealMatrix big = MakeMatrix({{1, LDBL_MAX}, {2, 3}});
    const std::vector<ErrorCase> cases = {
        {"ScaleInPlace(4)", [&] { big.ScaleInPlace(4); }, OverflowMessage},
        {"AddInPlace(self)", [&] { big.AddInPlace(big); }, OverflowMessage},
        {"MultiplyInPlace(self)", [&] { big.MultiplyInPlace(big); }, OverflowMessage},
        {"PowerInPlace(3)", [&] { big.PowerInPlace(3); }, OverflowMessage},
        {"AddRowMultiple(0, 0, 1)", [&] { big.AddRowMultiple(0, 0, 1); }, OverflowMessage},
        {"ScaleRow(0, -3)", [&] { big.ScaleRow(0, -3); }, OverflowMessage},
        {"Scaled(1e4000)", [&] { big.Scaled(1e4000L); }, OverflowMessage},
    };
    for (const auto& c : cases) {
        ExpectMatrixError(c.action, c.message, c.name);
        ExpectMatrixNear(big, {{1, LDBL_MAX}, {2, 3}}, 0, std::string("after ") + c.name);
    }
}

TEST(RealMatrixOverflow, InverseOfAnInvertibleMatrixWithTooLargeInverseRaises) {
    // 1 / 1e-4940 (a subnormal) exceeds the largest long double.
    ExpectMatrixError([] { MakeMatrix({{1e-4940L, 0}, {0, 1}}).Inverse(); }, OverflowMessage, "Inverse");
}

// ---- Sum, product, scaling, power ----

TEST(RealMatrixArithmetic, SumProductAndScaledLeaveTheOperandsUnchanged) {
    const TRealMatrix a = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
    const TRealMatrix b = MakeMatrix({{7, 8}, {9, 10}, {11, 12}});
    ExpectMatrixNear(a.Product(b), {{58, 64}, {139, 154}}, 0, "A*B");
    ExpectMatrixNear(b.Product(a), {{39, 54, 69}, {49, 68, 87}, {59, 82, 105}}, 0, "B*A");
    ExpectMatrixNear(a.Sum(a.Scaled(-1)), {{0, 0, 0}, {0, 0, 0}}, 0, "A + (-1)A");
    ExpectMatrixNear(a.Sum(MakeMatrix({{1, 1, 1}, {2, 2, 2}})), {{2, 3, 4}, {6, 7, 8}}, 0, "A+C");
    ExpectMatrixNear(a.Scaled(0.5L), {{0.5L, 1, 1.5L}, {2, 2.5L, 3}}, 0, "0.5A");
    ExpectMatrixNear(a, {{1, 2, 3}, {4, 5, 6}}, 0, "A afterwards");
}

TEST(RealMatrixArithmetic, MultiplyInPlaceBySelf) {
    TRealMatrix m = MakeMatrix({{1, 2}, {3, 4}});
    m.MultiplyInPlace(m);
    ExpectMatrixNear(m, {{7, 10}, {15, 22}}, 0, "M*M");
}

TEST(RealMatrixArithmetic, PowersOfKnownMatrices) {
    struct PowerCase {
        int n;
        Rows expected;
    };
    // [[1,1],[1,0]]^n = [[F(n+1), F(n)], [F(n), F(n-1)]] with the Fibonacci numbers.
    const TRealMatrix fibonacci = MakeMatrix({{1, 1}, {1, 0}});
    const std::vector<PowerCase> fibonacciCases = {
        {2, {{2, 1}, {1, 1}}},
        {3, {{3, 2}, {2, 1}}},
        {10, {{89, 55}, {55, 34}}},
        {13, {{377, 233}, {233, 144}}},
        // F(65), F(64) and F(63) are exact in a 64-bit significand.
        {64, {{17167680177565.0L, 10610209857723.0L}, {10610209857723.0L, 6557470319842.0L}}},
    };
    for (const auto& c : fibonacciCases)
        ExpectMatrixNear(fibonacci.Power(c.n), c.expected, 0, "Fibonacci power " + std::to_string(c.n));
    // A shear matrix raised to n adds n times the shear.
    ExpectMatrixNear(MakeMatrix({{1, 0.5L}, {0, 1}}).Power(7), {{1, 3.5L}, {0, 1}}, 0, "shear^7");
}

TEST(RealMatrixArithmetic, PowerBelowTwoReturnsACopy) {
    const TRealMatrix m = MakeMatrix({{2, 3}, {5, 7}});
    for (int n : {1, 0, -1, -3, INT_MIN})
        ExpectMatrixNear(m.Power(n), {{2, 3}, {5, 7}}, 0, "Power(" + std::to_string(n) + ")");
    const TRealMatrix wide = MakeMatrix({{1, 2, 3}});
    ExpectMatrixNear(wide.Power(1), {{1, 2, 3}}, 0, "Power(1) of 1x3");
    ExpectMatrixNear(wide.Power(0), {{1, 2, 3}}, 0, "Power(0) of 1x3");
}

TEST(RealMatrixArithmetic, LargestExponentFinishesOnABoundedMatrix) {
    // A permutation matrix of order 2 returns to itself at every odd power.
    const TRealMatrix swap = MakeMatrix({{0, 1}, {1, 0}});
    ExpectMatrixNear(swap.Power(INT_MAX), {{0, 1}, {1, 0}}, 0, "swap^INT_MAX");
    ExpectMatrixNear(swap.Power(INT_MAX - 1), {{1, 0}, {0, 1}}, 0, "swap^(INT_MAX-1)");
}

// ---- Inverse and elimination ----

TEST(RealMatrixInverse, KnownInverses) {
    struct InverseCase {
        const char* name;
        Rows matrix;
        Rows inverse;
    };
    const std::vector<InverseCase> cases = {
        {"2x2", {{4, 7}, {2, 6}}, {{0.6L, -0.7L}, {-0.2L, 0.4L}}},
        {"row exchange", {{0, 1}, {1, 0}}, {{0, 1}, {1, 0}}},
        {"1x1", {{8}}, {{0.125L}}},
        {"3x3 tridiagonal",
         {{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}},
         {{0.75L, 0.5L, 0.25L}, {0.5L, 1, 0.5L}, {0.25L, 0.5L, 0.75L}}},
        {"3x3 needing exchanges",
         {{0, 0, 2}, {0, 4, 0}, {5, 0, 0}},
         {{0, 0, 0.2L}, {0, 0.25L, 0}, {0.5L, 0, 0}}},
        // Diagonal with a determinant of 1e-6000, which underflows to 0 although the inverse exists.
        {"determinant underflow", {{1e-3000L, 0}, {0, 1e-3000L}}, {{1e3000L, 0}, {0, 1e3000L}}},
    };
    for (const auto& c : cases) {
        const TRealMatrix inverse = MakeMatrix(c.matrix).Inverse();
        ASSERT_EQ(inverse.RowCount(), static_cast<int>(c.matrix.size())) << c.name;
        for (int i = 0; i < inverse.RowCount(); ++i)
            for (int j = 0; j < inverse.ColCount(); ++j) {
                const long double expected = c.inverse[i][j];
                EXPECT_LE(std::fabs(inverse.GetItem(i, j) - expected), 1e-18L * std::fabs(expected) + 1e-18L)
                    << c.name << " element (" << i << ", " << j << ")";
            }
    }
}

TEST(RealMatrixInverse, HilbertFiveMatchesTheIntegerInverse) {
    TRealMatrix hilbert(5, 5);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            hilbert.SetItem(i, j, 1.0L / (i + j + 1));
    const Rows exact = {{25, -300, 1050, -1400, 630},
                        {-300, 4800, -18900, 26880, -12600},
                        {1050, -18900, 79380, -117600, 56700},
                        {-1400, 26880, -117600, 179200, -88200},
                        {630, -12600, 56700, -88200, 44100}};
    const TRealMatrix inverse = hilbert.Inverse();
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            EXPECT_NEAR(static_cast<double>(inverse.GetItem(i, j) / exact[i][j]), 1.0, 1e-12)
                << "element (" << i << ", " << j << ")";
    EXPECT_LT(DistanceFromIdentity(hilbert.Product(inverse)), 1e-12L);
}

TEST(RealMatrixInverse, TinyFirstPivotStillGivesTheRightInverse) {
    // inverse of [[e, 1], [1, 1]] is [[1, -1], [-1, e]] / (e - 1), close to [[-1, 1], [1, -e]].
    const TRealMatrix inverse = MakeMatrix({{1e-20L, 1}, {1, 1}}).Inverse();
    ExpectMatrixNear(inverse, {{-1, 1}, {1, -1e-20L}}, 1e-18L, "tiny pivot");
    EXPECT_LT(DistanceFromIdentity(MakeMatrix({{1e-20L, 1}, {1, 1}}).Product(inverse)), 1e-18L);
}

TEST(RealMatrixInverse, RandomMatricesUpToOneHundredSquare) {
    std::mt19937 generator(20261207);
    std::uniform_real_distribution<double> element(-1.0, 1.0);
    for (int n : {2, 7, 30, 100}) {
        TRealMatrix m(n, n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                m.SetItem(i, j, element(generator));
        const TRealMatrix inverse = m.Inverse();
        EXPECT_LT(DistanceFromIdentity(m.Product(inverse)), 1e-13L) << "A*inv(A), n = " << n;
        EXPECT_LT(DistanceFromIdentity(inverse.Product(m)), 1e-13L) << "inv(A)*A, n = " << n;
    }
}

TEST(RealMatrixEliminateWith, ReturnsTheSignedDeterminantAndSolvesForB) {
    struct EliminationCase {
        const char* name;
        Rows a;
        long double det;
    };
    const std::vector<EliminationCase> cases = {
        {"diagonal", {{2, 0, 0}, {0, 3, 0}, {0, 0, 4}}, 24},
        {"one exchange", {{0, 2}, {3, 0}}, -6},
        {"upper triangular", {{1, 5, 9}, {0, -2, 7}, {0, 0, 0.5L}}, -1},
        {"cyclic permutation", {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}, 1},
        {"singular", {{1, 2}, {2, 4}}, 0},
        {"zero column", {{1, 0, 3}, {4, 0, 6}, {7, 0, 9}}, 0},
    };
    for (const auto& c : cases) {
        TRealMatrix a = MakeMatrix(c.a);
        TRealMatrix b(a.RowCount(), a.RowCount());
        b.SetDiagonal(1);
        EXPECT_NEAR(static_cast<double>(EliminateWith(a, b)), static_cast<double>(c.det), 1e-15) << c.name;
        if (c.det != 0) {
            EXPECT_LT(DistanceFromIdentity(MakeMatrix(c.a).Product(b)), 1e-18L) << c.name;
        }
    }
}

TEST(RealMatrixEliminateWith, ShapeErrors) {
    TRealMatrix wide(2, 3);
    TRealMatrix b(2, 2);
    ExpectMatrixError([&] { EliminateWith(wide, b); }, "This operation can be applied only to square matrix",
                      "non-square A");
    TRealMatrix square(3, 3);
    ExpectMatrixError([&] { EliminateWith(square, b); }, "Invalid dimensions...", "B with other row count");
}

} // namespace
} // namespace mirla
