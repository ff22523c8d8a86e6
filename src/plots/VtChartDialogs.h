#pragma once

#include "plotlib/core/VtChartData.h"

#include <QDialog>
#include <QWizard>

#include <array>

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace mirla {

/// Edit fields for the chart title and the titles of the axes a chart uses.
class TChartTitlesEditor : public QWidget {
    Q_OBJECT
public:
    /// Fields filled from `model`; surfaces name all four axes, polar charts angle and radius.
    TChartTitlesEditor(const TVtChartData& model, bool surface, QWidget* parent);
    /// Puts the titles into `model`.
    void Apply(TVtChartData& model) const;

private:
    QLineEdit* m_chartTitle = nullptr;
    std::array<QLineEdit*, TVtChartData::AxisCount> m_axisTitles{};
};

/// The data editor: a table of the data grid, with the column labels in its first row and the
/// row labels in its first column, and the counts of rows and columns. OK refuses a cell that
/// is not a number, naming it; what it accepts goes into the model.
class TChartDataEditor : public QDialog {
    Q_OBJECT
public:
    TChartDataEditor(TVtChartData& model, QWidget* parent);
    /// The table, for tests that type into it.
    QTableWidget* Table() const { return m_table; }

    void accept() override;

private:
    void Fill();
    void Resize();

    TVtChartData& m_model;
    QSpinBox* m_rows = nullptr;
    QSpinBox* m_columns = nullptr;
    QTableWidget* m_table = nullptr;
};

/// The property pages: titles, grid lines, legend and, for surfaces, the view's rotation,
/// elevation, wall width and surface colour.
class TChartPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    TChartPropertiesDialog(TVtChartData& model, bool surface, QWidget* parent);

    void accept() override;

private:
    QWidget* BuildGridPage();
    QWidget* BuildViewPage(bool surface);
    void ChooseColor();

    TVtChartData& m_model;
    TChartTitlesEditor* m_titles = nullptr;
    std::array<QCheckBox*, TVtChartData::AxisCount> m_grids{};
    QCheckBox* m_legend = nullptr;
    QDoubleSpinBox* m_rotation = nullptr;
    QDoubleSpinBox* m_elevation = nullptr;
    QDoubleSpinBox* m_wallWidth = nullptr;
    TRgb m_color;
};

/// The chart wizard: the chart's style on a first page, its titles on a second.
class TChartWizard : public QWizard {
    Q_OBJECT
public:
    TChartWizard(TVtChartData& model, bool surface, QWidget* parent);

    void accept() override;

private:
    TVtChartData& m_model;
    QButtonGroup* m_styles = nullptr;
    TChartTitlesEditor* m_titles = nullptr;
};

} // namespace mirla
