#include "runtime/IniKeys.h"

#include <charconv>
#include <string_view>

namespace mirla {

TIniKeyWriter::TIniKeyWriter(TIniFile& ini, std::string section)
    : m_ini(ini), m_section(std::move(section)) {}

void TIniKeyWriter::Value(const std::string& key, const int& value, int, int) {
    m_ini.WriteInteger(m_section, key, value);
}

void TIniKeyWriter::Value(const std::string& key, const bool& value) {
    m_ini.WriteBool(m_section, key, value);
}

void TIniKeyWriter::Value(const std::string& key, const std::string& value) {
    m_ini.WriteString(m_section, key, value);
}

TIniKeyReader::TIniKeyReader(const TIniFile& ini, std::string section)
    : m_ini(ini), m_section(std::move(section)) {}

void TIniKeyReader::Value(const std::string& key, int& value, int lowest, int highest) {
    const auto read = Integer(key);
    if (read && *read >= lowest && *read <= highest)
        value = *read;
}

void TIniKeyReader::Value(const std::string& key, bool& value) {
    Read(key, value);
}

bool TIniKeyReader::Read(const std::string& key, bool& value) const {
    const auto read = Integer(key);
    if (read)
        value = *read != 0;
    return read.has_value();
}

void TIniKeyReader::Value(const std::string& key, std::string& value) {
    value = m_ini.ReadString(m_section, key, value);
}

std::optional<std::string> TIniKeyReader::Text(const std::string& key) const {
    // No value in the file contains a line break, so this fallback marks a missing key.
    constexpr const char* Missing = "\n";
    std::string text = m_ini.ReadString(m_section, key, Missing);
    return text == Missing ? std::nullopt : std::optional(std::move(text));
}

std::optional<int> TIniKeyReader::Integer(const std::string& key) const {
    const auto text = Text(key);
    std::string_view digits = text ? std::string_view(*text) : std::string_view();
    if (digits.size() > 1 && digits.front() == '+')
        digits.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace mirla
