#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace mirla {

/// The style of an axis's major grid lines.
enum class TGridStyle { None, Solid };

/// One axis of a chart: its title and the style of its major grid lines.
struct TVtAxis {
    std::string Title;
    TGridStyle Grid = TGridStyle::Solid;
};

/// A colour as red, green and blue parts, 0 to 255 each.
struct TRgb {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    bool operator==(const TRgb&) const = default;
};

/// The parts of a platform colour value (red in the low byte, then green, then blue).
TRgb RgbOfColor(int color);
/// The platform colour value of red, green and blue parts.
int ColorOfRgb(TRgb rgb);

/// A number as the chart shows it in its data grid: the shortest text that reads back as the
/// same double.
std::string ChartNumberText(double value);

/// The data and properties of a chart: a grid of RowCount × ColumnCount cells holding doubles
/// (or nothing), a label per row and per column, a current cell (1-based) through which labels
/// and data are read and set as text, titles, axes and the 3-D view. Both views of the chart and
/// the plot requests work on it.
class TVtChartData {
public:
    /// The axes: 0 X, 1 Y (the value axis), 2 second Y, 3 Z (depth).
    static constexpr int AxisCount = 4;
    /// Degrees that one rotation command turns the view.
    static constexpr float RotationStep = 5;
    /// The highest elevation of the view in degrees (looking straight down).
    static constexpr float HighestElevation = 90;

    int RowCount() const { return m_rowCount; }
    /// Resizes the grid to `count` rows (at least 0); cells in both old and new grid keep their
    /// values, new cells are empty; the current row moves within the new count.
    void SetRowCount(int count);
    int ColumnCount() const { return m_columnCount; }
    /// Resizes the grid to `count` columns, like `SetRowCount`.
    void SetColumnCount(int count);
    /// The current row, 1 to RowCount (0 when there is none).
    int Row() const { return m_row; }
    /// Makes `row` current, held within 1 to RowCount.
    void SetRow(int row);
    /// The current column, 1 to ColumnCount (0 when there is none).
    int Column() const { return m_column; }
    /// Makes `column` current, held within 1 to ColumnCount.
    void SetColumn(int column);

    /// The label of the current row ("" when there is none).
    std::string RowLabel() const;
    void SetRowLabel(const std::string& label);
    /// The label of the current column ("" when there is none).
    std::string ColumnLabel() const;
    void SetColumnLabel(const std::string& label);
    /// The label of row `row` (1-based).
    const std::string& RowLabelAt(int row) const { return m_rowLabels[static_cast<std::size_t>(row - 1)]; }
    /// The label of column `column` (1-based).
    const std::string& ColumnLabelAt(int column) const {
        return m_columnLabels[static_cast<std::size_t>(column - 1)];
    }

    /// The current cell as text ("" when it is empty or there is no current cell).
    std::string Data() const;
    /// Sets the current cell from text: a number, or "" to empty it; false, with the cell
    /// unchanged, when the text is neither or there is no current cell.
    bool SetData(const std::string& text);
    /// The value of cell (row, column), 1-based; nothing when the cell is empty or outside.
    std::optional<double> Cell(int row, int column) const;
    /// Sets cell (row, column), 1-based; a cell outside the grid is ignored.
    void SetCell(int row, int column, double value);
    /// Empties cell (row, column), 1-based.
    void ClearCell(int row, int column);

    /// The grid as tab-separated text: a first line of column labels after an empty corner,
    /// then per row its label and its cells.
    std::string TabText() const;
    /// Replaces grid and labels by tab-separated text in the form `TabText` writes; false, with
    /// nothing changed, when the text has no rows or a cell is not a number.
    bool SetTabText(const std::string& text);

    /// Turns the view 5 degrees to the left ("Rotate left"); the view is drawn in 3-D.
    void RotateLeft();
    /// Turns the view 5 degrees to the right.
    void RotateRight();
    /// Raises the elevation by 5 degrees; past 90 it starts again at 0.
    void RotateDown();
    /// Lowers the elevation by 5 degrees; below 0 it starts again at 90.
    void RotateUp();
    /// Switches the major grid lines of an axis between none and solid.
    void ToggleGrid(int axis);

    std::string TitleText;
    bool ShowLegend = true;
    /// 0 draws the chart as it is, 1 draws it in 3-D with the view's rotation and elevation.
    int DrawMode = 0;
    std::array<TVtAxis, AxisCount> Axes;
    /// How the data are drawn: a surface filled (0), filled with its wire frame (1) or as a wire
    /// frame (2); polar curves as lines (0) or points (1).
    int ChartStyle = 0;
    /// The view's rotation about the vertical axis, in degrees.
    float Rotation = 30;
    /// The view's elevation above the floor, in degrees (0 to 90).
    float Elevation = 30;
    /// The width of the walls around the plot, in points.
    float WallWidth = 10;
    /// The colour of the surface.
    TRgb ElevationColor{0, 255, 255};

private:
    std::size_t Index(int row, int column) const;
    bool HasCell() const { return m_row > 0 && m_column > 0; }
    void Resize(int rows, int columns);

    int m_rowCount = 0;
    int m_columnCount = 0;
    int m_row = 0;
    int m_column = 0;
    std::vector<std::string> m_rowLabels;
    std::vector<std::string> m_columnLabels;
    /// Row by row; an empty cell holds no value.
    std::vector<std::optional<double>> m_cells;
};

} // namespace mirla
