#pragma once

#include "plotlib/core/Extent.h"
#include "plotlib/core/PlotTypes.h"

#include <cstddef>
#include <vector>

namespace mirla {

/// Whether a grid value stands for "no value" (`MissingValue` or its negative).
inline bool IsMissingZ(double z) {
    return z == MissingValue || z == -MissingValue;
}

/// A function of two variables sampled on a rectangular grid: nx X values (ascending), the Y
/// coordinates as ny values shared by every column or as one value per node, and the nx x ny
/// values Z(i, j) = f(X(i), Y(j)). Indices are 0-based.
class TContourGrid {
public:
    /// An empty grid.
    TContourGrid() = default;
    /// A grid of `x` (nx values), `y` (ny values) and `z` (nx * ny values, row i = X(i)).
    TContourGrid(std::vector<double> x, std::vector<double> y, std::vector<double> z);
    /// A grid whose node (i, j) lies at (x[i], yNodes[i * ny + j]); `z` as above.
    TContourGrid(std::vector<double> x, std::size_t ny, std::vector<double> yNodes, std::vector<double> z);

    int Nx() const { return static_cast<int>(m_x.size()); }
    int Ny() const { return m_ny; }
    /// X of column i.
    double X(int i) const { return m_x[static_cast<std::size_t>(i)]; }
    /// Y of node (i, j); the same for every i unless the grid has per-node coordinates.
    double Y(int i, int j) const { return m_yNodes ? m_y[Index(i, j)] : m_y[static_cast<std::size_t>(j)]; }
    /// The value at node (i, j).
    double Z(int i, int j) const { return m_z[Index(i, j)]; }
    /// Whether Y is given per node.
    bool HasNodeY() const { return m_yNodes; }
    /// Whether the grid has at least one cell.
    bool HasCells() const { return Nx() >= 2 && Ny() >= 2; }

    /// Smallest and largest value that is not missing (1e38 and -1e38 when there is none).
    double DataMin() const { return m_dataMin; }
    double DataMax() const { return m_dataMax; }
    /// X from the first to the last column, Y over all node coordinates.
    TExtent Extent() const;
    /// The bilinear value at (x, y) in the cell that holds the point; `MissingValue` (or its
    /// negative) when a corner of that cell is missing, and `MissingValue` outside the grid.
    double ValueAt(double x, double y) const;
    /// The cell column holding x: the first i >= 1 with X(i) >= x, minus one; -1 outside the grid.
    int CellColumn(double x) const;
    /// The cell row holding y when Y is shared by every column: the first j >= 1 with
    /// Y(j) >= y, minus one; -1 outside the grid or with per-node coordinates.
    int CellRow(double y) const;
    /// The bilinear value in cell (i, j) at fractions tx, ty of its width and height.
    double CellValue(int i, int j, double tx, double ty) const;

private:
    std::size_t Index(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(m_ny) + static_cast<std::size_t>(j);
    }
    void FindRange();

    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<double> m_z;
    int m_ny = 0;
    bool m_yNodes = false;
    double m_dataMin = 1e38;
    double m_dataMax = -1e38;
};

} // namespace mirla
