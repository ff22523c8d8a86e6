#include "matrix/RealVector.h"

#include "matrix/MatrixException.h"

namespace mirla {

TRealVector::TRealVector() {
    SetCount(5);
}

long double TRealVector::GetItem(int i) const {
    CheckIndex(i);
    return m_items[i];
}

void TRealVector::SetItem(int i, long double value) {
    CheckIndex(i);
    m_items[i] = value;
}

void TRealVector::SetCount(int n) {
    if (n < 1)
        throw EMatrixException("Invalid dimension...");
    m_items.resize(n, 0.0L);
    m_count = n;
}

void TRealVector::CheckIndex(int i) const {
    if (i < 0 || i >= m_count)
        throw EMatrixException("Index out of bounds");
}

} // namespace mirla
