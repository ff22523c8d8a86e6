#include "plotlib/core/FloatList.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mirla {
namespace {

TEST(FloatList, AddReturnsIndicesAndTracksMinimumAndMaximum) {
    TFloatList list;
    EXPECT_EQ(list.Add(3), 0);
    EXPECT_EQ(list.Min(), 3) << "the first value sets the minimum";
    EXPECT_EQ(list.Max(), 3) << "the first value sets the maximum";
    EXPECT_EQ(list.Add(-1), 1);
    EXPECT_EQ(list.Add(7), 2);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Min(), -1);
    EXPECT_EQ(list.Max(), 7);
    EXPECT_EQ(list.Get(0), 3);
    EXPECT_EQ(list.Get(1), -1);
    EXPECT_EQ(list.Get(2), 7);
}

TEST(FloatList, PutReplacesWithoutTouchingMinimumAndMaximum) {
    TFloatList list;
    list.Add(3);
    list.Add(-1);
    list.Add(7);
    list.Put(0, 100);
    EXPECT_EQ(list.Get(0), 100);
    EXPECT_EQ(list.Min(), -1);
    EXPECT_EQ(list.Max(), 7);
}

TEST(FloatList, ClearStartsAfresh) {
    TFloatList list;
    list.Add(-5);
    list.Add(5);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    list.Add(2);
    EXPECT_EQ(list.Min(), 2) << "the first value after Clear sets the minimum";
    EXPECT_EQ(list.Max(), 2) << "the first value after Clear sets the maximum";
}

TEST(FloatList, IndexOutsideTheListThrows) {
    TFloatList list;
    list.Add(1);
    EXPECT_THROW(list.Get(1), std::out_of_range);
    EXPECT_THROW(list.Get(-1), std::out_of_range);
    EXPECT_THROW(list.Put(2, 0), std::out_of_range);
}

} // namespace
} // namespace mirla
