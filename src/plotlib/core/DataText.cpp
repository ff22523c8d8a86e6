#include "plotlib/core/DataText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

namespace mirla {

namespace {

constexpr std::string_view Blanks = " \t";
constexpr std::string_view LinkArrow = "   <--Copy---   ";
/// How many lines are split between two progress reports.
constexpr std::size_t ProgressStride = 16384;

/// Whether the text of a number that is out of range has a negative exponent, so it is too small
/// rather than too large.
bool TooSmall(std::string_view text) {
    const std::size_t exponent = text.find_first_of("eE");
    return exponent != std::string_view::npos && exponent + 1 < text.size() && text[exponent + 1] == '-';
}

template <typename Fill>
bool FillRows(const std::vector<std::string_view>& lines, TImportGrid& grid, const TLineProgress& progress,
              Fill fill) {
    grid.Clear();
    for (std::size_t row = 0; row < lines.size(); ++row) {
        if (progress && row % ProgressStride == 0 && !progress(row, lines.size()))
            return false;
        fill(lines[row]);
    }
    return true;
}

} // namespace

// ---- delimiters and fields

TDelimiterSet::TDelimiterSet() : m_slots{' ', ',', '\t'}, m_count(5) {}

std::optional<TDelimiterSet> TDelimiterSet::FromChoices(bool space, bool comma, bool tab, bool slash,
                                                        std::string_view user) {
    if (user.size() > MaxUserCharacters)
        return std::nullopt;
    TDelimiterSet set;
    set.m_slots = {space ? ' ' : '\0', comma ? ',' : '\0', tab ? '\t' : '\0', slash ? '/' : '\0'};
    std::copy(user.begin(), user.end(), set.m_slots.begin() + 4);
    set.m_count = 4 + user.size();
    return set;
}

TDelimiterSet TDelimiterSet::Single(char delimiter) {
    TDelimiterSet set;
    set.m_slots = {delimiter};
    set.m_count = 1;
    return set;
}

std::string_view TakeField(std::string_view& line, const TDelimiterSet& delimiters) {
    for (const char delimiter : delimiters.Slots()) {
        if (delimiter == '\0')
            continue;
        const std::size_t at = line.find(delimiter);
        if (at == std::string_view::npos)
            continue;
        const std::string_view field = line.substr(0, at);
        const std::size_t rest = line.find_first_not_of(delimiter, at);
        line = rest == std::string_view::npos ? std::string_view() : line.substr(rest);
        return field;
    }
    return std::exchange(line, std::string_view());
}

std::string_view NthField(std::string_view line, int n, const TDelimiterSet& delimiters) {
    std::string_view field;
    for (int k = 0; k < n; ++k)
        field = TakeField(line, delimiters);
    return field;
}

// ---- lines and numbers

std::vector<std::string_view> TextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

std::optional<double> ReadDataNumber(std::string_view text) {
    text = TrimBlanks(text);
    // A plus sign is allowed before the number, but not before a minus sign.
    if (text.starts_with('+') && !text.starts_with("+-"))
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range && TooSmall(text))
        return text.starts_with('-') ? -0.0 : 0.0;
    if (error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string DataNumberText(double value) {
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return {buffer, result.ptr};
}

std::string ExactNumberText(double value) {
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

// ---- the grid

void TImportGrid::Clear() {
    X.clear();
    Y.clear();
}

void TImportGrid::Add(std::string_view x, std::string_view y) {
    X.emplace_back(x);
    Y.emplace_back(y);
}

TGridPoints GridToPoints(const TImportGrid& grid) {
    TGridPoints points;
    for (std::size_t row = 0; row < grid.Rows(); ++row) {
        const std::optional<double> x = ReadDataNumber(grid.X[row]);
        const std::optional<double> y = ReadDataNumber(grid.Y[row]);
        if (!x || !y)
            break;
        points.X.push_back(*x);
        points.Y.push_back(*y);
    }
    return points;
}

bool PasteLines(const std::vector<std::string_view>& lines, const TDelimiterSet& delimiters,
                TImportGrid& grid, const TLineProgress& progress) {
    return FillRows(lines, grid, progress, [&](std::string_view line) {
        const std::string_view x = TakeField(line, delimiters);
        grid.Add(x, TakeField(line, delimiters));
    });
}

bool ColumnsOfLines(const std::vector<std::string_view>& lines, int xColumn, int yColumn,
                    const TDelimiterSet& delimiters, TImportGrid& grid, const TLineProgress& progress) {
    return FillRows(lines, grid, progress, [&](std::string_view line) {
        grid.Add(NthField(line, xColumn, delimiters), NthField(line, yColumn, delimiters));
    });
}

char FieldNameDelimiter(std::string_view firstLine) {
    if (firstLine.find('\t') != std::string_view::npos)
        return '\t';
    return firstLine.find(',') != std::string_view::npos ? ',' : ' ';
}

std::vector<std::string> FieldNames(std::string_view firstLine) {
    const TDelimiterSet delimiter = TDelimiterSet::Single(FieldNameDelimiter(firstLine));
    std::vector<std::string> names;
    while (!firstLine.empty())
        names.emplace_back(TakeField(firstLine, delimiter));
    return names;
}

std::optional<int> ReadColumnNumber(std::string_view text) {
    text = TrimBlanks(text);
    int column = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), column);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || column < 1)
        return std::nullopt;
    return column;
}

// ---- field links

void TFieldLinks::Link(int required, int input) {
    std::erase_if(m_links, [required](const auto& link) { return link.first == required; });
    m_links.emplace_back(required, input);
}

std::optional<int> TFieldLinks::InputOf(int required) const {
    for (const auto& [linked, input] : m_links)
        if (linked == required)
            return input;
    return std::nullopt;
}

std::vector<std::string> TFieldLinks::MemoLines(const std::vector<std::string>& inputNames,
                                                const std::vector<std::string>& requiredNames) const {
    std::vector<std::string> lines;
    for (const auto& [required, input] : m_links)
        lines.push_back(inputNames.at(input) + std::string(LinkArrow) + requiredNames.at(required));
    return lines;
}

void TFieldLinks::FillGrid(const std::vector<std::string_view>& lines, TImportGrid& grid) const {
    grid.Clear();
    if (lines.empty())
        return;
    const TDelimiterSet delimiter = TDelimiterSet::Single(FieldNameDelimiter(lines.front()));
    const auto field = [&](std::string_view line, std::optional<int> input) {
        return input ? NthField(line, *input + 1, delimiter) : std::string_view();
    };
    for (std::size_t row = 1; row < lines.size(); ++row)
        grid.Add(field(lines[row], InputOf(0)), field(lines[row], InputOf(1)));
}

} // namespace mirla
