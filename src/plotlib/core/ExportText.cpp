#include "plotlib/core/ExportText.h"

#include "plotlib/core/DataText.h"

#include <algorithm>

namespace mirla {

namespace {

void AddTextLines(std::vector<std::string>& lines, std::string_view text) {
    for (const std::string_view line : TextLines(text))
        lines.emplace_back(line);
}

std::string Joined(std::string_view first, char delimiter, std::string_view second) {
    std::string line;
    line.reserve(first.size() + 1 + second.size());
    line.append(first).append(1, delimiter).append(second);
    return line;
}

} // namespace

TExportText ExportLines(const TExportSource& source, const TExportOptions& options) {
    TExportText text;
    std::vector<std::string>& lines = text.Lines;
    if (options.Name)
        lines.push_back(source.Name);
    if (options.Title)
        AddTextLines(lines, source.Title);
    const bool xFirst = options.XColumn == 1 && options.YColumn == 2;
    // Every layout but the two orders is refused before anything in columns is written, the
    // header line as well as the points.
    text.ColumnsValid = xFirst || (options.XColumn == 2 && options.YColumn == 1);
    if (!text.ColumnsValid)
        return text;
    const auto pair = [&](std::string_view x, std::string_view y) {
        return xFirst ? Joined(x, options.Delimiter, y) : Joined(y, options.Delimiter, x);
    };
    if (options.XAxis && options.YAxis)
        lines.push_back(pair(source.XAxisName, source.YAxisName));
    else if (options.XAxis)
        lines.push_back(source.XAxisName);
    else if (options.YAxis)
        lines.push_back(source.YAxisName);
    const std::size_t count = std::min(source.X.size(), source.Y.size());
    lines.reserve(lines.size() + count);
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(pair(DataNumberText(source.X[i]), DataNumberText(source.Y[i])));
    if (options.Foot)
        AddTextLines(lines, source.Foot);
    return text;
}

std::string JoinedLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines)
        text.append(line).append(1, '\n');
    return text;
}

} // namespace mirla
