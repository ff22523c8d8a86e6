#pragma once

#include "plotlib/core/PlotTypes.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mirla {

/// A fault in a layer text file, at a line (1-based).
class TLayerTextError : public std::runtime_error {
public:
    TLayerTextError(int line, const std::string& message) : std::runtime_error(message), m_line(line) {}
    int Line() const { return m_line; }

private:
    int m_line;
};

/// Reads a layer text file line by line and value by value, counting lines for the messages.
/// Every read past the end or of a value that does not read throws `TLayerTextError`.
class TLayerTextReader {
public:
    /// Reads `text`; a line feed, a carriage return or both end a line.
    explicit TLayerTextReader(std::string_view text);
    /// Skips blank lines; whether nothing else is left.
    bool AtEnd();
    /// The next line as it stands.
    std::string Line();
    /// The next line as one whole number.
    long long Integer();
    /// The next line as one number.
    double Number();
    /// The next line split at blanks into `count` values, the last one taking the rest of the line
    /// (trimmed) when `restIsText` is set.
    std::vector<std::string> Fields(std::size_t count, bool restIsText = false);
    /// The number of the line read last (0 before the first).
    int LineNumber() const { return m_line; }
    /// Throws a `TLayerTextError` at the line read last.
    [[noreturn]] void Fail(const std::string& message) const;
    /// A value of a line as one whole number or number.
    long long IntegerOf(std::string_view text) const;
    double NumberOf(std::string_view text) const;
    /// A value of a line as a whole number within lo..hi; otherwise "<what> N is out of range".
    int BoundedOf(std::string_view text, long long lo, long long hi, const char* what) const;

private:
    std::string_view m_text;
    std::size_t m_position = 0;
    int m_line = 0;
};

/// The header every layer writes first: its class name, then colour, visible flag, an integer
/// option, a flag, a real parameter, the selected flag and the name (at most 255 characters),
/// then the class name again.
struct TLayerHeader {
    std::string ClassName;
    TColor Color = clBlack;
    bool Visible = true;
    int Option = 0;
    bool Flag = false;
    double Parameter = 0;
    bool Selected = false;
    std::string Name;
    bool operator==(const TLayerHeader&) const = default;
};

/// `text` with every line break turned into a space, so that it stays on its line of the file.
std::string OneLine(std::string text);
/// A flag as layer files write it: "1" when set, "0" when not.
std::string FlagText(bool on);
/// Appends the three header lines.
void WriteLayerHeader(std::string& out, const TLayerHeader& header);
/// Reads the header of the next layer.
TLayerHeader ReadLayerHeader(TLayerTextReader& reader);
/// Reads the closing class line of a header and checks it against the class that was created.
void CheckLayerClass(TLayerTextReader& reader, std::string_view className);

} // namespace mirla
