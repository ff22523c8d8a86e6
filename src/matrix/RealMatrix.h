#pragma once

#include <vector>

namespace mirla {

/// Abstract dense matrix indexed from 0; the concrete class decides the storage.
class TMatrix {
public:
    virtual ~TMatrix() = default;

    /// Element (row, col); raises "Index out of bounds<col> <row>" outside the matrix.
    virtual long double GetItem(int row, int col) const = 0;
    /// Sets element (row, col); raises "Index out of bounds" outside the matrix.
    virtual void SetItem(int row, int col, long double value) = 0;
    /// Resizes keeping the overlapping top-left part; raises "Invalid dimensions..." below 1 × 1.
    virtual void SetSize(int rows, int cols) = 0;

    /// Number of rows.
    int RowCount() const { return m_rowCount; }
    /// Number of columns.
    int ColCount() const { return m_colCount; }
    /// Changes the number of rows, keeping the number of columns.
    void SetRowCount(int rows) { SetSize(rows, m_colCount); }
    /// Changes the number of columns, keeping the number of rows.
    void SetColCount(int cols) { SetSize(m_rowCount, cols); }

protected:
    TMatrix() = default;
    TMatrix(const TMatrix&) = default;
    TMatrix& operator=(const TMatrix&) = default;

    int m_rowCount = 0;
    int m_colCount = 0;
};

/// Dense matrix of long double values, one storage block per row; a new one is 5 × 5 zeros.
class TRealMatrix : public TMatrix {
public:
    /// Creates a 5 × 5 matrix of zeros.
    TRealMatrix();
    /// Creates a rows × cols matrix of zeros; raises "Invalid dimensions..." below 1 × 1.
    TRealMatrix(int rows, int cols);

    /// Element (row, col); raises "Index out of bounds<col> <row>" outside the matrix.
    long double GetItem(int row, int col) const override;
    /// Sets element (row, col); raises "Index out of bounds" outside the matrix.
    void SetItem(int row, int col, long double value) override;
    /// Resizes keeping the overlapping top-left part and zeroing new elements.
    void SetSize(int rows, int cols) override;

    /// Takes the size and every element of source.
    void Assign(const TMatrix& source);
    /// Sets every element to value.
    void Fill(long double value);
    /// Adds m element-wise; raises "Can not add these matrixes" when the shapes differ.
    void AddInPlace(const TMatrix& m);
    /// Replaces self by self × m; raises "Can not Multiply" when ColCount differs from m's RowCount.
    void MultiplyInPlace(const TMatrix& m);
    /// Multiplies every element by x.
    void ScaleInPlace(long double x);
    /// Zeros the square matrix and sets its main diagonal to value; raises on a non-square matrix.
    void SetDiagonal(long double value);
    /// Raises the matrix to the power n; n <= 1 leaves it unchanged, n >= 2 needs a square matrix.
    void PowerInPlace(int n);

    /// Exchanges rows a and b.
    void SwapRows(int a, int b);
    /// Row a := row a + x × row b.
    void AddRowMultiple(int a, int b, long double x);
    /// Row a := x × row a.
    void ScaleRow(int a, long double x);

    /// The inverse; raises on a non-square or singular matrix.
    TRealMatrix Inverse() const;
    /// self × m as a new matrix.
    TRealMatrix Product(const TMatrix& m) const;
    /// self + m as a new matrix.
    TRealMatrix Sum(const TMatrix& m) const;
    /// x × self as a new matrix.
    TRealMatrix Scaled(long double x) const;
    /// self raised to the power n as a new matrix (a copy for n <= 1).
    TRealMatrix Power(int n) const;

private:
    using TRows = std::vector<std::vector<long double>>;

    void CheckRow(int row) const;
    void CheckSquare() const;
    void TakeRows(TRows rows);

    TRows m_rows;
};

/// Gauss–Jordan elimination of the square matrix a, applying every row operation to b as well
/// (b must have as many rows as a); returns the determinant of a, 0 when a is singular. With b the
/// identity, b ends as the inverse. Raises on a non-square a, mismatched b, or overflow.
long double EliminateWith(TRealMatrix& a, TRealMatrix& b);

} // namespace mirla
