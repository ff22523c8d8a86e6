#include "matrix/MatrixTestSupport.h"

#include "matrix/RealVector.h"

#include <gtest/gtest.h>

namespace mirla {
namespace {

using test::ExpectMatrixError;

TEST(RealVector, NewVectorHoldsFiveZeros) {
    const TRealVector v;
    ASSERT_EQ(v.Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(v.GetItem(i), 0.0L) << "element " << i;
}

TEST(RealVector, SetCountKeepsTheFirstElementsAndZerosNewOnes) {
    TRealVector v;
    for (int i = 0; i < 5; ++i)
        v.SetItem(i, i + 1);
    v.SetCount(3);
    v.SetCount(6);
    ASSERT_EQ(v.Count(), 6);
    const long double expected[] = {1, 2, 3, 0, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(v.GetItem(i), expected[i]) << "element " << i;
}

TEST(RealVector, Messages) {
    TRealVector v;
    ExpectMatrixError([&] { v.GetItem(5); }, "Index out of bounds", "GetItem(5)");
    ExpectMatrixError([&] { v.GetItem(-1); }, "Index out of bounds", "GetItem(-1)");
    ExpectMatrixError([&] { v.SetItem(5, 1); }, "Index out of bounds", "SetItem(5)");
    ExpectMatrixError([&] { v.SetCount(0); }, "Invalid dimension...", "SetCount(0)");
    EXPECT_EQ(v.Count(), 5);
}

} // namespace
} // namespace mirla
