#include "matrix/RealMatrix.h"

#include "matrix/MatrixException.h"

#include <cmath>
#include <string>
#include <utility>

namespace mirla {

namespace {

constexpr int DefaultSize = 5;

[[noreturn]] void ThrowNotSquare() {
    throw EMatrixException("This operation can be applied only to square matrix");
}

// Gauss–Jordan elimination of a with partial pivoting (largest magnitude in the column), every row
// operation applied to b too. Returns false when a is singular. The determinant is returned apart
// from the outcome because it may underflow to 0 although every pivot is non-zero.
bool EliminateRows(TRealMatrix& a, TRealMatrix& b, long double& det) {
    const int n = a.RowCount();
    det = 1;
    for (int i = 0; i < n; ++i) {
        int pivot = i;
        for (int p = i + 1; p < n; ++p)
            if (std::fabs(a.GetItem(p, i)) > std::fabs(a.GetItem(pivot, i)))
                pivot = p;
        if (a.GetItem(pivot, i) == 0)
            return false;
        if (pivot != i) {
            a.SwapRows(i, pivot);
            b.SwapRows(i, pivot);
            det = -det;
        }
        for (int k = i + 1; k < n; ++k) {
            const long double f = a.GetItem(k, i) / a.GetItem(i, i);
            a.AddRowMultiple(k, i, -f);
            b.AddRowMultiple(k, i, -f);
        }
    }
    for (int i = n - 1; i >= 0; --i)
        for (int r = i - 1; r >= 0; --r) {
            const long double f = a.GetItem(r, i) / a.GetItem(i, i);
            a.AddRowMultiple(r, i, -f);
            b.AddRowMultiple(r, i, -f);
        }
    for (int i = 0; i < n; ++i) {
        const long double pivot = a.GetItem(i, i);
        det *= pivot;
        b.ScaleRow(i, 1 / pivot);
        a.ScaleRow(i, 1 / pivot);
    }
    return true;
}

void PrepareElimination(const TRealMatrix& a, const TRealMatrix& b) {
    if (a.RowCount() != a.ColCount())
        ThrowNotSquare();
    if (b.RowCount() != a.RowCount())
        throw EMatrixException("Invalid dimensions...");
}

} // namespace

TRealMatrix::TRealMatrix() : TRealMatrix(DefaultSize, DefaultSize) {}

TRealMatrix::TRealMatrix(int rows, int cols) {
    SetSize(rows, cols);
}

long double TRealMatrix::GetItem(int row, int col) const {
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        throw EMatrixException("Index out of bounds" + std::to_string(col) + " " + std::to_string(row));
    return m_rows[row][col];
}

void TRealMatrix::SetItem(int row, int col, long double value) {
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rowCount)
        throw EMatrixException("Index out of bounds");
    m_rows[row][col] = value;
}

void TRealMatrix::SetSize(int rows, int cols) {
    if (rows < 1 || cols < 1)
        throw EMatrixException("Invalid dimensions...");
    if (rows == m_rowCount && cols == m_colCount)
        return;
    m_rows.resize(rows);
    for (auto& row : m_rows)
        row.resize(cols, 0.0L);
    m_rowCount = rows;
    m_colCount = cols;
}

void TRealMatrix::Assign(const TMatrix& source) {
    TRows rows(source.RowCount(), std::vector<long double>(source.ColCount()));
    for (int i = 0; i < source.RowCount(); ++i)
        for (int j = 0; j < source.ColCount(); ++j)
            rows[i][j] = source.GetItem(i, j);
    TakeRows(std::move(rows));
}

void TRealMatrix::Fill(long double value) {
    for (auto& row : m_rows)
        row.assign(m_colCount, value);
}

void TRealMatrix::AddInPlace(const TMatrix& m) {
    if (m.RowCount() != m_rowCount || m.ColCount() != m_colCount)
        throw EMatrixException("Can not add these matrixes");
    TRows rows = m_rows;
    for (int i = 0; i < m_rowCount; ++i)
        for (int j = 0; j < m_colCount; ++j)
            rows[i][j] = CheckedResult(rows[i][j] + m.GetItem(i, j));
    TakeRows(std::move(rows));
}

void TRealMatrix::MultiplyInPlace(const TMatrix& m) {
    if (m_colCount != m.RowCount())
        throw EMatrixException("Can not Multiply");
    TRows rows(m_rowCount, std::vector<long double>(m.ColCount(), 0.0L));
    for (int i = 0; i < m_rowCount; ++i)
        for (int j = 0; j < m.ColCount(); ++j) {
            long double sum = 0;
            for (int k = 0; k < m_colCount; ++k)
                sum += m_rows[i][k] * m.GetItem(k, j);
            rows[i][j] = CheckedResult(sum);
        }
    TakeRows(std::move(rows));
}

void TRealMatrix::ScaleInPlace(long double x) {
    TRows rows = m_rows;
    for (auto& row : rows)
        for (auto& element : row)
            element = CheckedResult(x * element);
    TakeRows(std::move(rows));
}

void TRealMatrix::SetDiagonal(long double value) {
    CheckSquare();
    Fill(0);
    for (int i = 0; i < m_rowCount; ++i)
        m_rows[i][i] = value;
}

void TRealMatrix::PowerInPlace(int n) {
    if (n <= 1)
        return;
    if (m_colCount != m_rowCount)
        throw EMatrixException("Can not Multiply");
    // Square and multiply: log2(n) products instead of n − 1, so a large exponent cannot stall.
    TRealMatrix base = *this;
    TRealMatrix result = *this;
    for (--n; n > 0; n >>= 1) {
        if (n & 1)
            result.MultiplyInPlace(base);
        if (n > 1)
            base.MultiplyInPlace(base);
    }
    TakeRows(std::move(result.m_rows));
}

void TRealMatrix::SwapRows(int a, int b) {
    CheckRow(a);
    CheckRow(b);
    std::swap(m_rows[a], m_rows[b]);
}

void TRealMatrix::AddRowMultiple(int a, int b, long double x) {
    CheckRow(a);
    CheckRow(b);
    std::vector<long double> row = m_rows[a];
    for (int j = 0; j < m_colCount; ++j)
        row[j] = CheckedResult(row[j] + x * m_rows[b][j]);
    m_rows[a].swap(row);
}

void TRealMatrix::ScaleRow(int a, long double x) {
    CheckRow(a);
    std::vector<long double> row = m_rows[a];
    for (auto& element : row)
        element = CheckedResult(x * element);
    m_rows[a].swap(row);
}

TRealMatrix TRealMatrix::Inverse() const {
    CheckSquare();
    TRealMatrix work = *this;
    TRealMatrix inverse(m_rowCount, m_colCount);
    inverse.SetDiagonal(1);
    long double det = 0;
    if (!EliminateRows(work, inverse, det))
        throw EMatrixException("Could not inverse this matrix");
    return inverse;
}

TRealMatrix TRealMatrix::Product(const TMatrix& m) const {
    TRealMatrix result = *this;
    result.MultiplyInPlace(m);
    return result;
}

TRealMatrix TRealMatrix::Sum(const TMatrix& m) const {
    TRealMatrix result = *this;
    result.AddInPlace(m);
    return result;
}

TRealMatrix TRealMatrix::Scaled(long double x) const {
    TRealMatrix result = *this;
    result.ScaleInPlace(x);
    return result;
}

TRealMatrix TRealMatrix::Power(int n) const {
    TRealMatrix result = *this;
    result.PowerInPlace(n);
    return result;
}

void TRealMatrix::CheckRow(int row) const {
    if (row < 0 || row >= m_rowCount)
        throw EMatrixException("Index out of bounds");
}

void TRealMatrix::CheckSquare() const {
    if (m_rowCount != m_colCount)
        ThrowNotSquare();
}

void TRealMatrix::TakeRows(TRows rows) {
    m_rows = std::move(rows);
    m_rowCount = static_cast<int>(m_rows.size());
    m_colCount = m_rows.empty() ? 0 : static_cast<int>(m_rows.front().size());
}

long double EliminateWith(TRealMatrix& a, TRealMatrix& b) {
    PrepareElimination(a, b);
    long double det = 0;
    if (!EliminateRows(a, b, det))
        return 0;
    return CheckedResult(det);
}

} // namespace mirla
