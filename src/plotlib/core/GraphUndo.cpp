#include "plotlib/core/GraphUndo.h"

namespace mirla {

void TGraphUndo::Push(const void* object, int actionCode) {
    const bool wasEmpty = m_records.empty();
    m_records.push_back({UndoSeparator, nullptr});
    m_records.push_back({static_cast<std::uint8_t>(actionCode), object});
    if (wasEmpty)
        NotifyEnabled(true);
}

void TGraphUndo::Clear() {
    if (m_records.empty())
        return;
    m_records.clear();
    NotifyEnabled(false);
}

void TGraphUndo::NotifyEnabled(bool enabled) {
    if (OnEnabledChanged)
        OnEnabledChanged(enabled);
}

} // namespace mirla
