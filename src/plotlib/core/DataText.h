#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirla {

/// The characters that separate the fields of a text line: up to 10 slots tried in order, the
/// first four for space, comma, tab and slash (0 when not chosen), then up to 6 of the user's.
class TDelimiterSet {
public:
    static constexpr std::size_t Capacity = 10;
    static constexpr std::size_t MaxUserCharacters = 6;

    /// The set at start: space, comma, tab (count 5, the slash and first user slot empty).
    TDelimiterSet();
    /// The four standard slots as ticked, followed by the user characters; std::nullopt when
    /// more than 6 user characters are given.
    static std::optional<TDelimiterSet> FromChoices(bool space, bool comma, bool tab, bool slash,
                                                    std::string_view user);
    /// A set holding `delimiter` alone.
    static TDelimiterSet Single(char delimiter);

    /// The slots in use, in the order they are tried; 0 marks an empty slot.
    std::string_view Slots() const { return {m_slots.data(), m_count}; }
    bool operator==(const TDelimiterSet&) const = default;

private:
    std::array<char, Capacity> m_slots{};
    std::size_t m_count = 0;
};

/// Takes the next field off the front of `line`: the first delimiter of the set (in set order)
/// that occurs in the line decides; the field is the text before its first occurrence, and the
/// line loses the field, that delimiter and the copies of it directly following. Without any
/// delimiter the whole line is the field and the line becomes empty.
std::string_view TakeField(std::string_view& line, const TDelimiterSet& delimiters);
/// The 1-based field `n` of `line`: the result of n calls of `TakeField` (empty when n < 1).
std::string_view NthField(std::string_view line, int n, const TDelimiterSet& delimiters);

/// The most characters taken from the clipboard for an import.
inline constexpr std::size_t ClipboardTextLimit = 64000;

/// Splits text into lines: a line feed, a carriage return or both end a line, empty lines are
/// dropped and a last line without an end counts. The views point into `text`.
std::vector<std::string_view> TextLines(std::string_view text);

/// `text` without the spaces and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

/// Reads a decimal number with "." as the decimal point, blanks around it allowed; std::nullopt
/// for anything else, for infinities and NaN, and for a number too large for a double (one too
/// small reads as zero).
std::optional<double> ReadDataNumber(std::string_view text);
/// A number as text with up to 15 significant digits and "." as the decimal point ("0.1", "1e-05").
std::string DataNumberText(double value);
/// The shortest text that reads back as the same number.
std::string ExactNumberText(double value);

/// The import grid: one row per point, the X text and the Y text.
struct TImportGrid {
    std::vector<std::string> X;
    std::vector<std::string> Y;
    std::size_t Rows() const { return X.size(); }
    void Clear();
    /// Appends a row.
    void Add(std::string_view x, std::string_view y);
};

/// Points read from the grid: rows from the first on, both cells as numbers, up to the first row
/// whose X or Y does not read.
struct TGridPoints {
    std::vector<double> X;
    std::vector<double> Y;
};

/// The points of the grid's rows up to the first row that does not read as two numbers.
TGridPoints GridToPoints(const TImportGrid& grid);

/// Told of progress while many lines are split: lines done and lines in all; returns false to stop.
using TLineProgress = std::function<bool(std::size_t done, std::size_t total)>;

/// "&Paste": field 1 of each line into the X column and field 2 into the Y column. Returns false
/// when `progress` asked to stop (the grid then holds the lines done).
bool PasteLines(const std::vector<std::string_view>& lines, const TDelimiterSet& delimiters,
                TImportGrid& grid, const TLineProgress& progress = {});
/// An ASCII file: field `xColumn` of each line into the X column and field `yColumn` into the Y
/// column (1-based). Returns false when `progress` asked to stop.
bool ColumnsOfLines(const std::vector<std::string_view>& lines, int xColumn, int yColumn,
                    const TDelimiterSet& delimiters, TImportGrid& grid, const TLineProgress& progress = {});

/// The delimiter of a line of field names: tab when it holds one, else comma when it holds one,
/// else space.
char FieldNameDelimiter(std::string_view firstLine);
/// The field names of a first line, split at its `FieldNameDelimiter`.
std::vector<std::string> FieldNames(std::string_view firstLine);

/// A column number typed by the user: a whole number of at least 1, blanks around it allowed.
std::optional<int> ReadColumnNumber(std::string_view text);

/// The links of "Links Fields": for each required field (one per grid column, "X", "Y") the input
/// field that fills it.
class TFieldLinks {
public:
    /// Links required field `required` to input field `input` (0-based); a later link of the same
    /// required field replaces the earlier one.
    void Link(int required, int input);
    /// The input field linked to required field `required`, or std::nullopt.
    std::optional<int> InputOf(int required) const;
    /// The memo lines: input name, "   <--Copy---   " and required name, one per link in the order made.
    std::vector<std::string> MemoLines(const std::vector<std::string>& inputNames,
                                       const std::vector<std::string>& requiredNames) const;
    /// Fills the grid from the lines after the first: the input field linked to "X" (required 0)
    /// goes to the X column and the one linked to "Y" to the Y column; fields are split at the
    /// delimiter of the line of names. A required field without a link gives empty cells.
    void FillGrid(const std::vector<std::string_view>& lines, TImportGrid& grid) const;

private:
    std::vector<std::pair<int, int>> m_links;
};

} // namespace mirla
