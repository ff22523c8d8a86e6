#include "matrix/Elimination.h"

#include "matrix/MatrixException.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace mirla {

namespace {

// Pivots below 2^−63 (the resolution of a 64-bit significand at 1) count as zero.
constexpr long double SingularLimit = 0x1p-63L;

void CheckRange(std::size_t size, int start, int end) {
    if (start < 0 || start > end || static_cast<std::size_t>(end) >= size)
        throw EMatrixException("Index out of bounds");
}

void CheckBlock(const TWorkMatrix& a, int rowStart, int rowEnd, int colStart, int colEnd) {
    CheckRange(a.size(), rowStart, rowEnd);
    for (int i = rowStart; i <= rowEnd; ++i)
        CheckRange(a[i].size(), colStart, colEnd);
}

// Row of the element of largest magnitude in column col among the rows first..last (the first such).
int LargestInColumn(const TWorkMatrix& a, int col, int first, int last) {
    int best = first;
    for (int j = first + 1; j <= last; ++j)
        if (std::fabs(a[j][col]) > std::fabs(a[best][col]))
            best = j;
    return best;
}

} // namespace

TWorkVector NewWorkVector(int n) {
    if (n < 0)
        throw EMatrixException("Invalid dimension...");
    return TWorkVector(static_cast<std::size_t>(n) + 1, 0.0L);
}

TIndexVector NewIndexVector(int n) {
    if (n < 0)
        throw EMatrixException("Invalid dimension...");
    return TIndexVector(static_cast<std::size_t>(n) + 1, 0);
}

TWorkMatrix NewWorkMatrix(int n, int m) {
    if (n < 0 || m < 0)
        throw EMatrixException("Invalid dimensions...");
    return TWorkMatrix(static_cast<std::size_t>(n) + 1, NewWorkVector(m));
}

TWorkMatrix ToWorkMatrix(const TMatrix& m) {
    TWorkMatrix work = NewWorkMatrix(m.RowCount() - 1, m.ColCount() - 1);
    for (int i = 0; i < m.RowCount(); ++i)
        for (int j = 0; j < m.ColCount(); ++j)
            work[i][j] = m.GetItem(i, j);
    return work;
}

TWorkVector ColumnToWorkVector(const TMatrix& m, int col) {
    TWorkVector work = NewWorkVector(m.RowCount() - 1);
    for (int i = 0; i < m.RowCount(); ++i)
        work[i] = m.GetItem(i, col);
    return work;
}

void CopyVectorRange(const TWorkVector& source, TWorkVector& target, int start, int end) {
    CheckRange(source.size(), start, end);
    CheckRange(target.size(), start, end);
    for (int i = start; i <= end; ++i)
        target[i] = source[i];
}

void CopyMatrixBlock(const TWorkMatrix& source, TWorkMatrix& target, int rowStart, int rowEnd, int colStart,
                     int colEnd) {
    CheckBlock(source, rowStart, rowEnd, colStart, colEnd);
    CheckBlock(target, rowStart, rowEnd, colStart, colEnd);
    for (int i = rowStart; i <= rowEnd; ++i)
        CopyVectorRange(source[i], target[i], colStart, colEnd);
}

void SwapWorkRows(TWorkMatrix& a, int i, int j, int start, int end) {
    CheckBlock(a, i, i, start, end);
    CheckBlock(a, j, j, start, end);
    for (int c = start; c <= end; ++c)
        std::swap(a[i][c], a[j][c]);
}

void SwapWorkColumns(TWorkMatrix& a, int i, int j, int start, int end) {
    CheckBlock(a, start, end, i, i);
    CheckBlock(a, start, end, j, j);
    for (int r = start; r <= end; ++r)
        std::swap(a[r][i], a[r][j]);
}

long double Determinant(TWorkMatrix& a, int start, int end) {
    CheckBlock(a, start, end, start, end);
    long double d = 1;
    for (int i = start; i < end; ++i) {
        // The largest pivot in the column keeps the elimination accurate; each exchange flips the sign.
        const int p = LargestInColumn(a, i, i, end);
        if (std::fabs(a[p][i]) < SingularLimit)
            return 0;
        if (p != i) {
            SwapWorkRows(a, i, p, start, end);
            d = -d;
        }
        for (int j = i + 1; j <= end; ++j) {
            if (std::fabs(a[j][i]) <= SingularLimit)
                continue;
            const long double e = -a[j][i] / a[i][i];
            for (int c = start; c <= end; ++c)
                a[j][c] += e * a[i][c];
        }
        d = CheckedResult(d * a[i][i]);
    }
    return CheckedResult(d * a[end][end]);
}

int GaussJordanSolve(const TWorkMatrix& a, const TWorkVector& b, int start, TWorkVector& x, int end) {
    CheckBlock(a, start, end, start, end);
    CheckRange(b.size(), start, end);
    TWorkMatrix w = a;
    TWorkVector y = b;
    TIndexVector pivotColumn = NewIndexVector(end);
    for (int i = start; i <= end; ++i) {
        int pivotRow = i;
        pivotColumn[i] = i;
        for (int j = i; j <= end; ++j)
            for (int g = i; g <= end; ++g)
                if (std::fabs(w[j][g]) > std::fabs(w[pivotRow][pivotColumn[i]])) {
                    pivotRow = j;
                    pivotColumn[i] = g;
                }
        if (std::fabs(w[pivotRow][pivotColumn[i]]) < SingularLimit)
            return -1;
        if (pivotRow != i) {
            SwapWorkRows(w, pivotRow, i, start, end);
            std::swap(y[pivotRow], y[i]);
        }
        if (pivotColumn[i] != i)
            SwapWorkColumns(w, pivotColumn[i], i, start, end);
        // Columns left of i are already reduced to unit columns, so the row work starts at i.
        const long double pivot = w[i][i];
        for (int c = i; c <= end; ++c)
            w[i][c] /= pivot;
        y[i] /= pivot;
        for (int l = start; l <= end; ++l) {
            if (l == i)
                continue;
            const long double t = w[l][i];
            for (int c = i; c <= end; ++c)
                w[l][c] -= t * w[i][c];
            y[l] -= t * y[i];
        }
    }
    // A column exchange swapped two unknowns; undo them in reverse order.
    for (int i = end; i >= start; --i)
        if (pivotColumn[i] != i)
            std::swap(y[pivotColumn[i]], y[i]);
    for (int i = start; i <= end; ++i)
        CheckedResult(y[i]);
    x = std::move(y);
    return 0;
}

} // namespace mirla
