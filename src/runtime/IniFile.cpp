#include "runtime/IniFile.h"

#include "runtime/FileBytes.h"
#include "runtime/TextEncoding.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace mirla {

namespace {

/// Names and values without the blanks around them; a carriage return counts as one, since
/// a value written back can hold none.
std::string_view Trim(std::string_view text) {
    constexpr const char* Blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

/// A value must stay on its line: line breaks inside it would start new lines of the file.
std::string OneLine(std::string value) {
    std::ranges::replace(value, '\r', ' ');
    std::ranges::replace(value, '\n', ' ');
    return value;
}

bool IsComment(std::string_view trimmed) {
    return trimmed.starts_with(';') || trimmed.starts_with('#');
}

} // namespace

bool TIniFile::Load(const std::string& path, std::string& message) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        *this = TIniFile();
        return true;
    }
    std::string bytes;
    std::string reason;
    if (!ReadTextFileBytes(path, bytes, &reason)) {
        message = "Can't read file " + path + ": " + reason;
        return false;
    }
    TIniFile read;
    const std::string utf8 = Utf8FromFileBytes(bytes);
    std::string_view text = utf8;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // Every carriage return before the line feed belongs to the line end (CR CR LF included),
        // so that a line reads the same after it is written back.
        while (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::string_view trimmed = Trim(line);
        const std::size_t close = trimmed.find(']');
        if (trimmed.starts_with('[') && close != std::string_view::npos) {
            read.m_sections.push_back({std::string(Trim(trimmed.substr(1, close - 1))), {}});
        } else if (read.m_sections.empty()) {
            read.m_preamble.emplace_back(line);
        } else if (const std::size_t equals = trimmed.find('=');
                   equals != std::string_view::npos && !IsComment(trimmed)) {
            read.m_sections.back().entries.push_back({std::string(Trim(trimmed.substr(0, equals))),
                                                      std::string(Trim(trimmed.substr(equals + 1)))});
        } else {
            read.m_sections.back().entries.push_back({{}, std::string(line), false});
        }
    }
    *this = std::move(read);
    return true;
}

bool TIniFile::Save(const std::string& path, std::string& message) const {
    std::string text;
    for (const std::string& line : m_preamble) {
        text += line + '\n';
    }
    for (const Section& section : m_sections) {
        // Sections are set apart by a blank line, as a reader of the file expects.
        if (&section != &m_sections.front() && !text.ends_with("\n\n")) {
            text += '\n';
        }
        text += '[' + section.name + "]\n";
        for (const Entry& entry : section.entries) {
            text += entry.isKey ? entry.key + '=' + entry.value + '\n' : entry.value + '\n';
        }
    }
    std::string reason;
    if (!WriteFileAtomically(path, text, &reason)) {
        message = "Can't create file " + path + ": " + reason;
        return false;
    }
    return true;
}

const TIniFile::Entry* TIniFile::Find(const std::string& section, const std::string& key) const {
    for (const Section& s : m_sections) {
        if (!SameName(s.name, section)) {
            continue;
        }
        for (const Entry& entry : s.entries) {
            if (entry.isKey && SameName(entry.key, key)) {
                return &entry;
            }
        }
    }
    return nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
    const Entry* entry = Find(section, key);
    return entry ? entry->value : fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
    const Entry* entry = Find(section, key);
    if (!entry) {
        return fallback;
    }
    std::string_view text = entry->value;
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty() ? value : fallback;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    auto s = std::ranges::find_if(m_sections, [&](const Section& x) { return SameName(x.name, section); });
    if (s == m_sections.end()) {
        m_sections.push_back({section, {}});
        s = std::prev(m_sections.end());
    }
    auto& entries = s->entries;
    const auto found =
        std::ranges::find_if(entries, [&](const Entry& e) { return e.isKey && SameName(e.key, key); });
    if (found != entries.end()) {
        found->value = OneLine(value);
        return;
    }
    // A new key goes after the section's last key, ahead of the blank lines and comments that
    // close the section.
    const auto lastKey = std::ranges::find_if(entries.rbegin(), entries.rend(), &Entry::isKey);
    entries.insert(lastKey.base(), {key, OneLine(value)});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace mirla
