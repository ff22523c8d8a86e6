#include "plotlib/TextListModels.h"

namespace mirla {

void TTextLinesModel::SetLines(std::vector<std::string_view> lines) {
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

int TTextLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant TTextLinesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const std::string_view line = m_lines[static_cast<std::size_t>(index.row())];
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

void TImportGridModel::SetGrid(TImportGrid grid) {
    beginResetModel();
    m_grid = std::move(grid);
    endResetModel();
}

int TImportGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_grid.Rows());
}

int TImportGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

std::string& TImportGridModel::Cell(const QModelIndex& index) {
    auto& column = index.column() == 0 ? m_grid.X : m_grid.Y;
    return column[static_cast<std::size_t>(index.row())];
}

const std::string& TImportGridModel::Cell(const QModelIndex& index) const {
    const auto& column = index.column() == 0 ? m_grid.X : m_grid.Y;
    return column[static_cast<std::size_t>(index.row())];
}

QVariant TImportGridModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid())
        return {};
    return QString::fromStdString(Cell(index));
}

QVariant TImportGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section == 0 ? QStringLiteral("X") : QStringLiteral("Y");
    return section + 1;
}

bool TImportGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid())
        return false;
    Cell(index) = value.toString().toStdString();
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TImportGridModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

} // namespace mirla
