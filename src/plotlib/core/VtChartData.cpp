#include "plotlib/core/VtChartData.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace mirla {

namespace {

std::optional<double> NumberOfText(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

} // namespace

TRgb RgbOfColor(int color) {
    const auto bits = static_cast<unsigned>(color);
    return {static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
            static_cast<int>((bits >> 16) & 0xFF)};
}

int ColorOfRgb(TRgb rgb) {
    const auto part = [](int value) { return static_cast<unsigned>(std::clamp(value, 0, 255)); };
    return static_cast<int>(part(rgb.Red) | part(rgb.Green) << 8 | part(rgb.Blue) << 16);
}

std::string ChartNumberText(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

void TVtChartData::Resize(int rows, int columns) {
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    std::vector<std::optional<double>> cells(static_cast<std::size_t>(rows) *
                                             static_cast<std::size_t>(columns));
    for (int row = 0; row < std::min(rows, m_rowCount); ++row)
        for (int column = 0; column < std::min(columns, m_columnCount); ++column)
            cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                  static_cast<std::size_t>(column)] = m_cells[Index(row + 1, column + 1)];
    m_cells = std::move(cells);
    m_rowCount = rows;
    m_columnCount = columns;
    m_rowLabels.resize(static_cast<std::size_t>(rows));
    m_columnLabels.resize(static_cast<std::size_t>(columns));
    SetRow(m_row);
    SetColumn(m_column);
}

void TVtChartData::SetRowCount(int count) {
    Resize(count, m_columnCount);
}

void TVtChartData::SetColumnCount(int count) {
    Resize(m_rowCount, count);
}

void TVtChartData::SetRow(int row) {
    m_row = m_rowCount == 0 ? 0 : std::clamp(row, 1, m_rowCount);
}

void TVtChartData::SetColumn(int column) {
    m_column = m_columnCount == 0 ? 0 : std::clamp(column, 1, m_columnCount);
}

std::string TVtChartData::RowLabel() const {
    return m_row > 0 ? RowLabelAt(m_row) : std::string();
}

void TVtChartData::SetRowLabel(const std::string& label) {
    if (m_row > 0)
        m_rowLabels[static_cast<std::size_t>(m_row - 1)] = label;
}

std::string TVtChartData::ColumnLabel() const {
    return m_column > 0 ? ColumnLabelAt(m_column) : std::string();
}

void TVtChartData::SetColumnLabel(const std::string& label) {
    if (m_column > 0)
        m_columnLabels[static_cast<std::size_t>(m_column - 1)] = label;
}

std::size_t TVtChartData::Index(int row, int column) const {
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(m_columnCount) +
           static_cast<std::size_t>(column - 1);
}

std::string TVtChartData::Data() const {
    const std::optional<double> value = HasCell() ? Cell(m_row, m_column) : std::nullopt;
    return value ? ChartNumberText(*value) : std::string();
}

bool TVtChartData::SetData(const std::string& text) {
    if (!HasCell())
        return false;
    if (text.empty()) {
        ClearCell(m_row, m_column);
        return true;
    }
    const std::optional<double> value = NumberOfText(text);
    if (value)
        SetCell(m_row, m_column, *value);
    return value.has_value();
}

std::optional<double> TVtChartData::Cell(int row, int column) const {
    if (row < 1 || row > m_rowCount || column < 1 || column > m_columnCount)
        return std::nullopt;
    return m_cells[Index(row, column)];
}

void TVtChartData::SetCell(int row, int column, double value) {
    if (row >= 1 && row <= m_rowCount && column >= 1 && column <= m_columnCount)
        m_cells[Index(row, column)] = value;
}

void TVtChartData::ClearCell(int row, int column) {
    if (row >= 1 && row <= m_rowCount && column >= 1 && column <= m_columnCount)
        m_cells[Index(row, column)].reset();
}

std::string TVtChartData::TabText() const {
    std::string text;
    for (const std::string& label : m_columnLabels)
        text += '\t' + label;
    text += '\n';
    for (int row = 1; row <= m_rowCount; ++row) {
        text += RowLabelAt(row);
        for (int column = 1; column <= m_columnCount; ++column) {
            const std::optional<double> value = Cell(row, column);
            text += '\t' + (value ? ChartNumberText(*value) : std::string());
        }
        text += '\n';
    }
    return text;
}

bool TVtChartData::SetTabText(const std::string& text) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.size() < 2)
        return false;
    std::vector<std::string> header = SplitFields(lines.front());
    header.erase(header.begin());
    TVtChartData grid;
    grid.Resize(static_cast<int>(lines.size()) - 1, static_cast<int>(header.size()));
    grid.m_columnLabels = header;
    for (int row = 1; row <= grid.m_rowCount; ++row) {
        const std::vector<std::string> fields = SplitFields(lines[static_cast<std::size_t>(row)]);
        if (fields.size() > header.size() + 1)
            return false;
        grid.m_rowLabels[static_cast<std::size_t>(row - 1)] = fields.front();
        for (std::size_t column = 1; column < fields.size(); ++column) {
            if (fields[column].empty())
                continue;
            const std::optional<double> value = NumberOfText(fields[column]);
            if (!value)
                return false;
            grid.SetCell(row, static_cast<int>(column), *value);
        }
    }
    m_rowCount = grid.m_rowCount;
    m_columnCount = grid.m_columnCount;
    m_rowLabels = std::move(grid.m_rowLabels);
    m_columnLabels = std::move(grid.m_columnLabels);
    m_cells = std::move(grid.m_cells);
    SetRow(m_row);
    SetColumn(m_column);
    return true;
}

void TVtChartData::RotateLeft() {
    DrawMode = 1;
    Rotation += RotationStep;
}

void TVtChartData::RotateRight() {
    DrawMode = 1;
    Rotation -= RotationStep;
}

void TVtChartData::RotateDown() {
    DrawMode = 1;
    Elevation = Elevation + RotationStep > HighestElevation ? 0 : Elevation + RotationStep;
}

void TVtChartData::RotateUp() {
    DrawMode = 1;
    Elevation = Elevation - RotationStep >= 0 ? Elevation - RotationStep : HighestElevation;
}

void TVtChartData::ToggleGrid(int axis) {
    TGridStyle& grid = Axes[static_cast<std::size_t>(axis)].Grid;
    grid = grid != TGridStyle::None ? TGridStyle::None : TGridStyle::Solid;
}

} // namespace mirla
