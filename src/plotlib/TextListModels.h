#pragma once

#include "plotlib/core/DataText.h"

#include <QAbstractListModel>
#include <QAbstractTableModel>

#include <string>
#include <string_view>
#include <vector>

namespace mirla {

/// A read-only list of text lines for views that may show millions of them. The lines are views:
/// their owner keeps the text while the model shows it.
class TTextLinesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    /// Shows `lines` (UTF-8) instead of the lines shown so far.
    void SetLines(std::vector<std::string_view> lines);
    const std::vector<std::string_view>& Lines() const { return m_lines; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<std::string_view> m_lines;
};

/// The import grid as an editable table: column 0 the X texts, column 1 the Y texts.
class TImportGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    const TImportGrid& Grid() const { return m_grid; }
    /// Shows `grid` instead of the grid shown so far.
    void SetGrid(TImportGrid grid);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::string& Cell(const QModelIndex& index);
    const std::string& Cell(const QModelIndex& index) const;
    TImportGrid m_grid;
};

} // namespace mirla
