#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mirla {

/// What the export writes around the points and how it lays them out.
struct TExportOptions {
    bool Name = false;
    bool Title = false;
    bool XAxis = false;
    bool YAxis = false;
    bool Foot = false;
    /// Column of X and of Y (1-based); only 1, 2 and 2, 1 are accepted.
    int XColumn = 1;
    int YColumn = 2;
    char Delimiter = '\t';
};

/// The series and the plot texts an export draws on.
struct TExportSource {
    std::string Name;
    std::string Title;
    std::string Foot;
    std::string XAxisName;
    std::string YAxisName;
    std::span<const double> X;
    std::span<const double> Y;
};

/// The message shown when the column numbers are not 1, 2 or 2, 1.
inline constexpr std::string_view ExportColumnsMessage =
    "X Column, Y Column must be in range[1..2] and X Colunm not equal Y Column";

/// The export text as lines.
struct TExportText {
    std::vector<std::string> Lines;
    /// False when the columns were refused: the lines stop before the axis names and the points.
    bool ColumnsValid = true;
};

/// The lines of an export: the series name, the title lines, the axis names, one line per point
/// ("X<delimiter>Y", or Y first for columns 2, 1) and the foot lines, as the options say.
TExportText ExportLines(const TExportSource& source, const TExportOptions& options);
/// The lines joined, each ended by a line feed.
std::string JoinedLines(const std::vector<std::string>& lines);

} // namespace mirla
