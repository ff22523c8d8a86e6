#include "plotlib/core/FloatList.h"

#include <algorithm>

namespace mirla {

int TFloatList::Add(double x) {
    if (m_values.empty()) {
        m_min = x;
        m_max = x;
    } else {
        m_min = std::min(m_min, x);
        m_max = std::max(m_max, x);
    }
    m_values.push_back(x);
    return Count() - 1;
}

double TFloatList::Get(int i) const {
    return m_values.at(static_cast<std::size_t>(i));
}

void TFloatList::Put(int i, double x) {
    m_values.at(static_cast<std::size_t>(i)) = x;
}

void TFloatList::Clear() {
    m_values.clear();
    m_min = 0;
    m_max = 0;
}

} // namespace mirla
