#pragma once

#include "matrix/RealMatrix.h"

#include <vector>

namespace mirla {

/// Work vector of long double values with indices 0..n.
using TWorkVector = std::vector<long double>;
/// Work vector of integers with indices 0..n.
using TIndexVector = std::vector<int>;
/// Work matrix: one TWorkVector per row.
using TWorkMatrix = std::vector<TWorkVector>;

/// Zeroed work vector with indices 0..n; raises "Invalid dimension..." when n < 0.
TWorkVector NewWorkVector(int n);
/// Zeroed integer vector with indices 0..n; raises "Invalid dimension..." when n < 0.
TIndexVector NewIndexVector(int n);
/// Zeroed work matrix with indices 0..n × 0..m; raises "Invalid dimensions..." when n or m < 0.
TWorkMatrix NewWorkMatrix(int n, int m);

/// Work matrix holding every element of m at the same indices.
TWorkMatrix ToWorkMatrix(const TMatrix& m);
/// Work vector holding column col of m, element i at index i.
TWorkVector ColumnToWorkVector(const TMatrix& m, int col);

/// Copies elements start..end of source into target; raises "Index out of bounds" outside either.
void CopyVectorRange(const TWorkVector& source, TWorkVector& target, int start, int end);
/// Copies rows rowStart..rowEnd, columns colStart..colEnd of source into target at the same indices.
void CopyMatrixBlock(const TWorkMatrix& source, TWorkMatrix& target, int rowStart, int rowEnd, int colStart,
                     int colEnd);
/// Exchanges rows i and j of a over the columns start..end.
void SwapWorkRows(TWorkMatrix& a, int i, int j, int start, int end);
/// Exchanges columns i and j of a over the rows start..end.
void SwapWorkColumns(TWorkMatrix& a, int i, int j, int start, int end);

/// Determinant of a over the indices start..end, overwriting a; 0 when a pivot stays below 2^−63.
/// Raises "Index out of bounds" when the range does not fit a, and on overflow.
long double Determinant(TWorkMatrix& a, int start, int end);
/// Solves a · x = b over the indices start..end by Gauss–Jordan elimination with complete pivoting;
/// a and b are left unchanged, x receives b's values with the solution at start..end. Returns 0, or −1
/// (x untouched) when a pivot stays below 2^−63. Raises "Index out of bounds" when the range does not
/// fit, and on overflow.
int GaussJordanSolve(const TWorkMatrix& a, const TWorkVector& b, int start, TWorkVector& x, int end);

} // namespace mirla
