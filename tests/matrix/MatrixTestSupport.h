#pragma once

#include "matrix/MatrixException.h"
#include "matrix/RealMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace mirla::test {

using Rows = std::vector<std::vector<long double>>;

/// Builds a TRealMatrix from a table of rows.
inline TRealMatrix MakeMatrix(const Rows& rows) {
    TRealMatrix m(static_cast<int>(rows.size()), static_cast<int>(rows.front().size()));
    for (int i = 0; i < m.RowCount(); ++i)
        for (int j = 0; j < m.ColCount(); ++j)
            m.SetItem(i, j, rows[i][j]);
    return m;
}

/// Largest |m(i, j) − δij| over the square matrix m: how far it is from the identity.
inline long double DistanceFromIdentity(const TRealMatrix& m) {
    long double worst = 0;
    for (int i = 0; i < m.RowCount(); ++i)
        for (int j = 0; j < m.ColCount(); ++j)
            worst = std::max(worst, std::fabs(m.GetItem(i, j) - (i == j ? 1.0L : 0.0L)));
    return worst;
}

/// Checks that m has the shape and, within tolerance, the elements of expected.
inline void ExpectMatrixNear(const TRealMatrix& m, const Rows& expected, long double tolerance,
                             const std::string& what) {
    ASSERT_EQ(m.RowCount(), static_cast<int>(expected.size())) << what;
    ASSERT_EQ(m.ColCount(), static_cast<int>(expected.front().size())) << what;
    for (int i = 0; i < m.RowCount(); ++i)
        for (int j = 0; j < m.ColCount(); ++j)
            EXPECT_LE(std::fabs(m.GetItem(i, j) - expected[i][j]), tolerance)
                << what << " element (" << i << ", " << j << "): " << m.GetItem(i, j) << " instead of "
                << expected[i][j];
}

/// Checks that action raises EMatrixException with exactly the message expected.
inline void ExpectMatrixError(const std::function<void()>& action, const std::string& expected,
                              const std::string& what) {
    try {
        action();
        ADD_FAILURE() << what << ": no exception, expected \"" << expected << "\"";
    } catch (const EMatrixException& e) {
        EXPECT_EQ(std::string(e.what()), expected) << what;
    }
}

} // namespace mirla::test
