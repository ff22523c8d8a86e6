#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace mirla {

/// Walks the history list (newest first) from the input line as a terminal does: each step older
/// or newer replaces the whole line, and stepping past the newest entry brings back the line that
/// was being typed when the walk began.
class THistoryWalk {
public:
    /// The next older entry than the one shown, or nothing at the oldest. A walk begins with
    /// `typed`, the line as it stands; when that is the newest entry already, it starts one older.
    std::optional<QString> Older(const QStringList& entries, const QString& typed);
    /// The next newer entry, the typed line past the newest, or nothing when no walk is going on.
    std::optional<QString> Newer(const QStringList& entries);
    /// Ends the walk: the line has been edited or evaluated, or the list has changed.
    void Reset() { m_shown = -1; }

private:
    int m_shown = -1; ///< index of the entry shown, -1 for the typed line
    QString m_typed;
};

} // namespace mirla
