#pragma once

#include <string>
#include <vector>

namespace mirla {

/// A settings file of named sections of key=value lines. Section and key names keep their
/// blanks ("Calc Settings", "Xx min"); keys and sections are compared without regard to case;
/// a number that does not read gives the default; sections and keys it does not know are kept
/// and written back unchanged.
class TIniFile {
public:
    /// Reads a file; a missing file gives an empty one (true). False, with a message naming the
    /// file and the reason, when the file exists but cannot be read or is not text.
    bool Load(const std::string& path, std::string& message);
    /// Writes to a temporary file renamed over `path`; false with "Can't create file <path>: <reason>".
    bool Save(const std::string& path, std::string& message) const;

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    /// Booleans are stored as 0 and 1 and read as true when not 0.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

private:
    /// A "key=value" line, or any other line (comment, blank) kept as it stands in `value`.
    struct Entry {
        std::string key;
        std::string value;
        bool isKey = true;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Entry* Find(const std::string& section, const std::string& key) const;
    std::vector<std::string> m_preamble; ///< lines before the first section
    std::vector<Section> m_sections;
};

} // namespace mirla
