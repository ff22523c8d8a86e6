#include "app/HistoryWalk.h"

namespace mirla {

std::optional<QString> THistoryWalk::Older(const QStringList& entries, const QString& typed) {
    if (m_shown >= entries.size())
        Reset();
    if (m_shown < 0) {
        m_typed = typed;
        if (!entries.isEmpty() && entries.first() == typed)
            m_shown = 0;
    }
    if (m_shown + 1 >= entries.size())
        return std::nullopt;
    ++m_shown;
    return entries[m_shown];
}

std::optional<QString> THistoryWalk::Newer(const QStringList& entries) {
    if (m_shown < 0 || m_shown >= entries.size())
        return std::nullopt;
    --m_shown;
    // The typed line may be the newest entry itself: show it once, not twice.
    if (m_shown >= 0 && entries[m_shown] == m_typed)
        m_shown = -1;
    return m_shown < 0 ? m_typed : entries[m_shown];
}

} // namespace mirla
