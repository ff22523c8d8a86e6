#include "plotlib/core/ContourGrid.h"

#include "plotlib/core/PlotTypes.h"

#include <algorithm>

namespace mirla {

TContourGrid::TContourGrid(std::vector<double> x, std::vector<double> y, std::vector<double> z)
    : m_x(std::move(x)), m_y(std::move(y)), m_z(std::move(z)), m_ny(static_cast<int>(m_y.size())) {
    m_z.resize(m_x.size() * m_y.size(), MissingValue);
    FindRange();
}

TContourGrid::TContourGrid(std::vector<double> x, std::size_t ny, std::vector<double> yNodes,
                           std::vector<double> z)
    : m_x(std::move(x)), m_y(std::move(yNodes)), m_z(std::move(z)), m_ny(static_cast<int>(ny)),
      m_yNodes(true) {
    m_y.resize(m_x.size() * ny, 0.0);
    m_z.resize(m_x.size() * ny, MissingValue);
    FindRange();
}

void TContourGrid::FindRange() {
    for (double z : m_z)
        if (!IsMissingZ(z)) {
            m_dataMin = std::min(m_dataMin, z);
            m_dataMax = std::max(m_dataMax, z);
        }
}

TExtent TContourGrid::Extent() const {
    TExtent extent;
    if (m_x.empty() || m_y.empty())
        return extent;
    for (double y : m_y) {
        extent.Include(m_x.front(), y);
        extent.Include(m_x.back(), y);
    }
    return extent;
}

int TContourGrid::CellColumn(double x) const {
    if (Nx() < 2 || x < m_x.front() || x > m_x.back())
        return -1;
    return static_cast<int>(std::lower_bound(m_x.begin() + 1, m_x.end(), x) - m_x.begin()) - 1;
}

int TContourGrid::CellRow(double y) const {
    if (m_yNodes || Ny() < 2 || y < m_y.front() || y > m_y.back())
        return -1;
    return static_cast<int>(std::lower_bound(m_y.begin() + 1, m_y.end(), y) - m_y.begin()) - 1;
}

double TContourGrid::CellValue(int i, int j, double tx, double ty) const {
    const double z1 = Z(i, j);
    const double z2 = Z(i + 1, j);
    const double z3 = Z(i + 1, j + 1);
    const double z4 = Z(i, j + 1);
    for (double missing : {MissingValue, -MissingValue})
        if (z1 == missing || z2 == missing || z3 == missing || z4 == missing)
            return missing;
    return (1 - tx) * (1 - ty) * z1 + tx * (1 - ty) * z2 + tx * ty * z3 + (1 - tx) * ty * z4;
}

double TContourGrid::ValueAt(double x, double y) const {
    const int i = CellColumn(x);
    if (i < 0 || Ny() < 2)
        return MissingValue;
    const double tx = (x - X(i)) / (X(i + 1) - X(i));
    // The Y coordinates along the vertical through x, so per-node coordinates are followed too.
    const auto lineY = [&](int j) { return (1 - tx) * Y(i, j) + tx * Y(i + 1, j); };
    if (y < lineY(0) || y > lineY(Ny() - 1))
        return MissingValue;
    int low = 1;
    int high = Ny() - 1;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (lineY(middle) >= y)
            high = middle;
        else
            low = middle + 1;
    }
    const int j = low - 1;
    const double y0 = lineY(j);
    const double y1 = lineY(j + 1);
    return CellValue(i, j, tx, y1 != y0 ? (y - y0) / (y1 - y0) : 0);
}

} // namespace mirla
