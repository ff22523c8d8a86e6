#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace mirla {

/// Values that only a few points of a list have (a name, an own colour), keyed by point index and
/// kept sorted by it; a point without an entry takes the owner's default.
template <typename T> class TPointAttributes {
public:
    /// Whether no point has an entry.
    bool Empty() const { return m_entries.empty(); }

    /// The entry of point `index`, or nullptr when it has none.
    const T* Find(std::size_t index) const {
        if (m_entries.empty())
            return nullptr;
        const auto it = LowerBound(m_entries, index);
        return it != m_entries.end() && it->first == index ? &it->second : nullptr;
    }

    /// Gives point `index` the entry `value`, replacing any it had.
    void Set(std::size_t index, T value) {
        const auto it = LowerBound(m_entries, index);
        if (it != m_entries.end() && it->first == index)
            it->second = std::move(value);
        else
            m_entries.emplace(it, index, std::move(value));
    }

    /// Removes the entry of point `index`, if any.
    void Erase(std::size_t index) {
        const auto it = LowerBound(m_entries, index);
        if (it != m_entries.end() && it->first == index)
            m_entries.erase(it);
    }

    /// Follows the removal of point `index` from the list: its entry goes, later points move one
    /// index down.
    void RemovePoint(std::size_t index) {
        Erase(index);
        for (auto it = LowerBound(m_entries, index); it != m_entries.end(); ++it)
            --it->first;
    }

    /// Calls `visit(index, value)` for every entry in index order.
    template <typename Visit> void ForEach(Visit visit) const {
        for (const auto& [index, value] : m_entries)
            visit(index, value);
    }

    /// Removes the entries whose value satisfies `predicate`.
    template <typename Predicate> void EraseIf(Predicate predicate) {
        std::erase_if(m_entries, [&](const auto& entry) { return predicate(entry.second); });
    }

    /// Removes every entry.
    void Clear() { m_entries.clear(); }

    /// Bytes held for the entries (by capacity).
    std::size_t Bytes() const { return m_entries.capacity() * sizeof(Entry); }

private:
    using Entry = std::pair<std::size_t, T>;

    /// The first entry at or after point `index`, in `entries` (const or not).
    template <typename Entries> static auto LowerBound(Entries& entries, std::size_t index) {
        return std::lower_bound(entries.begin(), entries.end(), index,
                                [](const Entry& entry, std::size_t key) { return entry.first < key; });
    }

    std::vector<Entry> m_entries;
};

} // namespace mirla
