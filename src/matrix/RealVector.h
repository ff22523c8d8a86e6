#pragma once

#include <vector>

namespace mirla {

/// Abstract vector indexed from 0.
class TVector {
public:
    virtual ~TVector() = default;

    /// Element i; raises "Index out of bounds" outside 0..Count − 1.
    virtual long double GetItem(int i) const = 0;
    /// Sets element i; raises "Index out of bounds" outside 0..Count − 1.
    virtual void SetItem(int i, long double value) = 0;
    /// Resizes keeping the first elements; raises "Invalid dimension..." below 1.
    virtual void SetCount(int n) = 0;

    /// Number of elements.
    int Count() const { return m_count; }

protected:
    TVector() = default;
    TVector(const TVector&) = default;
    TVector& operator=(const TVector&) = default;

    int m_count = 0;
};

/// Vector of long double values in one block; a new one holds 5 zeros.
class TRealVector : public TVector {
public:
    /// Creates a vector of 5 zeros.
    TRealVector();

    /// Element i; raises "Index out of bounds" outside 0..Count − 1.
    long double GetItem(int i) const override;
    /// Sets element i; raises "Index out of bounds" outside 0..Count − 1.
    void SetItem(int i, long double value) override;
    /// Resizes keeping the first elements and zeroing new ones; raises "Invalid dimension..." below 1.
    void SetCount(int n) override;

private:
    void CheckIndex(int i) const;

    std::vector<long double> m_items;
};

} // namespace mirla
