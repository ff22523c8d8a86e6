#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace mirla {

/// Journal action: a series was edited.
inline constexpr int UndoEdit = 0;
/// Journal action: the selection of a series or point was switched off.
inline constexpr int UndoSelectOff = 2;
/// Journal action: the selection of a series or point was switched on.
inline constexpr int UndoSelectOn = 3;
/// Journal action: a point or series was moved.
inline constexpr int UndoMove = 11;
/// The code of the record that opens each journal step.
inline constexpr int UndoSeparator = 15;

/// One journal record: an action code and the series or point it concerns (none for a separator).
struct TUndoRecord {
    std::uint8_t Code;  ///< UndoSeparator or an action code
    const void* Object; ///< the series or point, nullptr for a separator
    bool operator==(const TUndoRecord&) const = default;
};

/// A journal of selection and edit actions on series and points; each step is a separator record followed
/// by the action record.
class TGraphUndo {
public:
    /// Appends a step for `object` with `actionCode` (UndoEdit, UndoSelectOff, UndoSelectOn, UndoMove).
    void Push(const void* object, int actionCode);
    /// Empties the journal.
    void Clear();
    /// The number of steps in the journal.
    int StepCount() const { return static_cast<int>(m_records.size() / 2); }
    /// The records, oldest first (two per step).
    const std::vector<TUndoRecord>& Records() const { return m_records; }
    /// Told true when the journal gets its first step and false when it is emptied, to enable or disable
    /// an undo control.
    std::function<void(bool)> OnEnabledChanged;

private:
    void NotifyEnabled(bool enabled);

    std::vector<TUndoRecord> m_records;
};

} // namespace mirla
