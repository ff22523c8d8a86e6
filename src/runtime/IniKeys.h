#pragma once

#include "runtime/IniFile.h"

#include <optional>
#include <string>

namespace mirla {

// A list of settings keys is written once, as a template over a key visitor, and serves both
// directions: shown a writer it stores every value, shown a reader it reads every value back.

/// Writes every key it is shown into one section at a time.
class TIniKeyWriter {
public:
    TIniKeyWriter(TIniFile& ini, std::string section);
    /// The section the following keys go to.
    void SetSection(std::string section) { m_section = std::move(section); }

    void Value(const std::string& key, const int& value, int lowest, int highest);
    void Value(const std::string& key, const bool& value);
    void Value(const std::string& key, const std::string& value);
    /// An enumeration stored as its ordinal, `last` being its highest value.
    template <class E> void Enum(const std::string& key, const E& value, E /*last*/) {
        m_ini.WriteInteger(m_section, key, static_cast<int>(value));
    }

protected:
    TIniFile& m_ini;
    std::string m_section;
};

/// Reads every key it is shown into the value; a missing, unreadable or out-of-range value keeps
/// the current one, so a damaged file can never set an invalid state.
class TIniKeyReader {
public:
    TIniKeyReader(const TIniFile& ini, std::string section);
    /// The section the following keys come from.
    void SetSection(std::string section) { m_section = std::move(section); }

    void Value(const std::string& key, int& value, int lowest, int highest);
    void Value(const std::string& key, bool& value);
    void Value(const std::string& key, std::string& value);
    /// An enumeration stored as its ordinal, `last` being its highest value.
    template <class E> void Enum(const std::string& key, E& value, E last) {
        int ordinal = static_cast<int>(value);
        Value(key, ordinal, 0, static_cast<int>(last));
        value = static_cast<E>(ordinal);
    }

protected:
    /// Reads a Boolean key into `value`; false, with `value` kept, when it is missing or unreadable.
    bool Read(const std::string& key, bool& value) const;
    /// The text of a key, nothing when the key is missing.
    std::optional<std::string> Text(const std::string& key) const;
    /// The integer of a key, nothing when the key is missing or does not read as one.
    std::optional<int> Integer(const std::string& key) const;

    const TIniFile& m_ini;
    std::string m_section;
};

} // namespace mirla
