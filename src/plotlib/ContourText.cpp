// The text form of a contour map in layer text files.
#include "plotlib/Contour.h"
#include "plotlib/core/ColorScale.h"
#include "plotlib/core/DataText.h"

#include <string>
#include <vector>

namespace mirla {

namespace {

/// Values of the settings line, in the order written.
enum TSettingField {
    sfLabelsOn,
    sfColorLines,
    sfMonoColor,
    sfLabelDigits,
    sfPalette,
    sfSquareSize,
    sfMaskGrid,
    SettingFieldCount
};

/// Values of the level line, in the order written; the user step takes the rest of the line.
enum TLevelField { lfAutomatic, lfUserLevelsOn, lfFixedMin, lfFixedMax, lfMinLimit, lfMaxLimit, lfUserStep };

/// The largest number of label digits a file may ask for.
constexpr int MaxLabelDigits = 15;
/// The largest shading square and label font a file may ask for, in pixels and points.
constexpr int MaxSquareSize = 1000;
constexpr int MaxFontSize = 1000;

void WriteNumbers(std::string& out, const double* values, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k)
        out += (k ? " " : "") + ExactNumberText(values[k]);
    out += '\n';
}

/// The next line as `count` numbers.
std::vector<double> ReadNumbers(TLayerTextReader& reader, std::size_t count) {
    std::vector<double> values;
    for (const std::string& field : reader.Fields(count))
        values.push_back(reader.NumberOf(field));
    return values;
}

/// The next `rows` lines of `count` numbers each, one after the other.
std::vector<double> ReadRows(TLayerTextReader& reader, std::size_t rows, std::size_t count) {
    std::vector<double> values;
    for (std::size_t row = 0; row < rows; ++row) {
        const std::vector<double> line = ReadNumbers(reader, count);
        values.insert(values.end(), line.begin(), line.end());
    }
    return values;
}

bool ReadFlag(const TLayerTextReader& reader, std::string_view text) {
    return reader.IntegerOf(text) == 1;
}

/// A value of a line as a count of at least `least` things.
std::size_t ReadCount(TLayerTextReader& reader, std::string_view text, long long least, const char* what) {
    const long long count = reader.IntegerOf(text);
    if (count < least)
        reader.Fail(std::string(what) + " " + std::to_string(count) + " is too small");
    return static_cast<std::size_t>(count);
}

void WriteGrid(std::string& out, const TContourGrid& grid) {
    out +=
        std::to_string(grid.Nx()) + ' ' + std::to_string(grid.Ny()) + ' ' + FlagText(grid.HasNodeY()) + '\n';
    std::vector<double> row;
    for (int i = 0; i < grid.Nx(); ++i)
        row.push_back(grid.X(i));
    WriteNumbers(out, row.data(), row.size());
    const auto writeColumn = [&](int i, auto value) {
        row.clear();
        for (int j = 0; j < grid.Ny(); ++j)
            row.push_back(value(i, j));
        WriteNumbers(out, row.data(), row.size());
    };
    const auto y = [&grid](int i, int j) { return grid.Y(i, j); };
    const auto z = [&grid](int i, int j) { return grid.Z(i, j); };
    for (int i = 0; i < (grid.HasNodeY() ? grid.Nx() : 1); ++i)
        writeColumn(i, y);
    for (int i = 0; i < grid.Nx(); ++i)
        writeColumn(i, z);
}

TContourGrid ReadGrid(TLayerTextReader& reader) {
    const std::vector<std::string> size = reader.Fields(3);
    const std::size_t nx = ReadCount(reader, size[0], 0, "column count");
    const std::size_t ny = ReadCount(reader, size[1], 0, "row count");
    const bool nodeY = ReadFlag(reader, size[2]);
    std::vector<double> x = ReadNumbers(reader, nx);
    std::vector<double> y = ReadRows(reader, nodeY ? nx : 1, ny);
    std::vector<double> z = ReadRows(reader, nx, ny);
    if (nodeY)
        return TContourGrid(std::move(x), ny, std::move(y), std::move(z));
    return TContourGrid(std::move(x), std::move(y), std::move(z));
}

void WriteLine(std::string& out, const TContourLine& line) {
    out += ExactNumberText(line.Level) + ' ' + std::to_string(line.Points.size()) + ' ' +
           FlagText(line.Label.has_value()) + '\n';
    for (const TContourPoint& p : line.Points)
        out += ExactNumberText(p.X) + ' ' + ExactNumberText(p.Y) + '\n';
    if (!line.Label)
        return;
    const TContourLabel& label = *line.Label;
    const double numbers[] = {label.A.X, label.A.Y, label.B.X, label.B.Y, label.Angle};
    for (const double number : numbers)
        out += ExactNumberText(number) + ' ';
    out += FlagText(label.Visible) + ' ' + OneLine(label.Text) + '\n';
}

TContourLine ReadLine(TLayerTextReader& reader) {
    const std::vector<std::string> head = reader.Fields(3);
    TContourLine line;
    line.Level = reader.NumberOf(head[0]);
    const std::size_t points = ReadCount(reader, head[1], 2, "point count");
    for (std::size_t k = 0; k < points; ++k) {
        const std::vector<double> p = ReadNumbers(reader, 2);
        line.Points.push_back({p[0], p[1]});
    }
    if (!ReadFlag(reader, head[2]))
        return line;
    const std::vector<std::string> fields = reader.Fields(7, true);
    const auto number = [&](int k) { return reader.NumberOf(fields[static_cast<std::size_t>(k)]); };
    line.Label = TContourLabel{
        {number(0), number(1)}, {number(2), number(3)}, fields[6], number(4), ReadFlag(reader, fields[5])};
    return line;
}

} // namespace

void TContour::SaveToText(std::string& out) const {
    WriteLayerHeader(out, TextHeader(Levels.Count, Shading, 0));
    out += FlagText(LabelsOn) + ' ' + FlagText(ColorLines) + ' ' + std::to_string(MonoColor) + ' ' +
           std::to_string(LabelDigits) + ' ' + std::to_string(Palette) + ' ' + std::to_string(SquareSize) +
           ' ' + FlagText(MaskGrid) + '\n';
    out += std::to_string(LabelFont.Size) + ' ' + std::to_string(LabelFont.Color) + ' ' +
           std::to_string(LabelFont.CharSet) + ' ' + std::to_string(LabelFont.Style) + ' ' +
           OneLine(LabelFont.Name) + '\n';
    out += FlagText(Levels.Automatic) + ' ' + FlagText(Levels.UserLevelsOn) + ' ' +
           FlagText(Levels.FixedMin) + ' ' + FlagText(Levels.FixedMax) + ' ' +
           ExactNumberText(Levels.MinLimit) + ' ' + ExactNumberText(Levels.MaxLimit) + ' ' +
           OneLine(Levels.UserStep) + '\n';
    out += std::to_string(Levels.UserLevels.size()) + '\n';
    for (const std::string& level : Levels.UserLevels)
        out += OneLine(level) + '\n';
    WriteGrid(out, m_grid);
    out += std::to_string(m_lines.size()) + '\n';
    for (const TContourLine& line : m_lines)
        WriteLine(out, line);
}

void TContour::LoadFromText(const TLayerHeader& header, TLayerTextReader& reader) {
    TLayer::LoadFromText(header, reader);
    Levels.Count = header.Option;
    Shading = header.Flag;

    const std::vector<std::string> settings = reader.Fields(SettingFieldCount);
    LabelsOn = ReadFlag(reader, settings[sfLabelsOn]);
    ColorLines = ReadFlag(reader, settings[sfColorLines]);
    MonoColor = static_cast<TColor>(reader.IntegerOf(settings[sfMonoColor]));
    LabelDigits = reader.BoundedOf(settings[sfLabelDigits], 0, MaxLabelDigits, "label digits");
    Palette = reader.BoundedOf(settings[sfPalette], 0, PaletteCount - 1, "palette");
    SquareSize = reader.BoundedOf(settings[sfSquareSize], 1, MaxSquareSize, "square size");
    MaskGrid = ReadFlag(reader, settings[sfMaskGrid]);

    const std::vector<std::string> font = reader.Fields(5, true);
    LabelFont.Size = reader.BoundedOf(font[0], 1, MaxFontSize, "font size");
    LabelFont.Color = static_cast<TColor>(reader.IntegerOf(font[1]));
    LabelFont.CharSet = static_cast<int>(reader.IntegerOf(font[2]));
    LabelFont.Style = static_cast<unsigned>(reader.IntegerOf(font[3]));
    LabelFont.Name = font[4];

    const std::vector<std::string> levels = reader.Fields(lfUserStep + 1, true);
    Levels.Automatic = ReadFlag(reader, levels[lfAutomatic]);
    Levels.UserLevelsOn = ReadFlag(reader, levels[lfUserLevelsOn]);
    Levels.FixedMin = ReadFlag(reader, levels[lfFixedMin]);
    Levels.FixedMax = ReadFlag(reader, levels[lfFixedMax]);
    Levels.MinLimit = reader.NumberOf(levels[lfMinLimit]);
    Levels.MaxLimit = reader.NumberOf(levels[lfMaxLimit]);
    Levels.UserStep = levels[lfUserStep];
    // Counts are not trusted for allocation: a wrong one ends at the end of the file.
    Levels.UserLevels.clear();
    for (std::size_t k = ReadCount(reader, reader.Line(), 0, "user level count"); k > 0; --k)
        Levels.UserLevels.emplace_back(TrimBlanks(reader.Line()));

    // The map keeps its own copy of the grid and the lines as they were saved, edits included.
    m_grid = ReadGrid(reader);
    m_lines.clear();
    for (std::size_t k = ReadCount(reader, reader.Line(), 0, "line count"); k > 0; --k)
        m_lines.push_back(ReadLine(reader));
    m_shadingKey.reset();
}

} // namespace mirla
