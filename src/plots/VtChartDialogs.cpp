#include "plots/VtChartDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWizardPage>

namespace mirla {

namespace {

/// The most rows or columns the editor offers.
constexpr int MostCells = 16000;

const char* const SurfaceAxisNames[] = {"X axis", "Value (Y) axis", "Second Y axis", "Depth (Z) axis"};
const char* const PolarAxisNames[] = {"Angle axis", "Radius axis"};

QDialogButtonBox* AddOkCancel(QDialog& dialog, QLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TChartTitlesEditor::TChartTitlesEditor(const TVtChartData& model, bool surface, QWidget* parent)
    : QWidget(parent) {
    auto* form = new QFormLayout(this);
    m_chartTitle = new QLineEdit(Text(model.TitleText), this);
    m_chartTitle->setObjectName(QStringLiteral("edChartTitle"));
    form->addRow(QStringLiteral("Chart title"), m_chartTitle);
    const int axes = surface ? TVtChartData::AxisCount : 2;
    for (int axis = 0; axis < axes; ++axis) {
        auto* edit = new QLineEdit(Text(model.Axes[static_cast<std::size_t>(axis)].Title), this);
        edit->setObjectName(QStringLiteral("edAxisTitle%1").arg(axis));
        form->addRow(QString::fromLatin1(surface ? SurfaceAxisNames[axis] : PolarAxisNames[axis]), edit);
        m_axisTitles[static_cast<std::size_t>(axis)] = edit;
    }
}

void TChartTitlesEditor::Apply(TVtChartData& model) const {
    model.TitleText = m_chartTitle->text().toStdString();
    for (std::size_t axis = 0; axis < m_axisTitles.size(); ++axis)
        if (m_axisTitles[axis])
            model.Axes[axis].Title = m_axisTitles[axis]->text().toStdString();
}

// ---------------------------------------------------------------------------------------------

TChartDataEditor::TChartDataEditor(TVtChartData& model, QWidget* parent) : QDialog(parent), m_model(model) {
    setObjectName(QStringLiteral("ChartDataEditor"));
    setWindowTitle(QStringLiteral("Data Grid"));
    auto* counts = new QFormLayout;
    m_rows = new QSpinBox(this);
    m_rows->setObjectName(QStringLiteral("seRows"));
    m_rows->setRange(0, MostCells);
    m_rows->setValue(model.RowCount());
    m_columns = new QSpinBox(this);
    m_columns->setObjectName(QStringLiteral("seColumns"));
    m_columns->setRange(0, MostCells);
    m_columns->setValue(model.ColumnCount());
    counts->addRow(QStringLiteral("Rows"), m_rows);
    counts->addRow(QStringLiteral("Columns"), m_columns);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("DataTable"));
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(counts);
    layout->addWidget(m_table, 1);
    AddOkCancel(*this, layout);
    Fill();
    connect(m_rows, &QSpinBox::valueChanged, this, &TChartDataEditor::Resize);
    connect(m_columns, &QSpinBox::valueChanged, this, &TChartDataEditor::Resize);
    resize(640, 480);
}

void TChartDataEditor::Fill() {
    const int rows = m_model.RowCount();
    const int columns = m_model.ColumnCount();
    m_table->setRowCount(rows + 1);
    m_table->setColumnCount(columns + 1);
    auto* corner = new QTableWidgetItem;
    corner->setFlags(Qt::NoItemFlags);
    m_table->setItem(0, 0, corner);
    for (int column = 1; column <= columns; ++column)
        m_table->setItem(0, column, new QTableWidgetItem(Text(m_model.ColumnLabelAt(column))));
    for (int row = 1; row <= rows; ++row) {
        m_table->setItem(row, 0, new QTableWidgetItem(Text(m_model.RowLabelAt(row))));
        for (int column = 1; column <= columns; ++column) {
            const std::optional<double> value = m_model.Cell(row, column);
            m_table->setItem(row, column,
                             new QTableWidgetItem(value ? Text(ChartNumberText(*value)) : QString()));
        }
    }
}

void TChartDataEditor::Resize() {
    m_table->setRowCount(m_rows->value() + 1);
    m_table->setColumnCount(m_columns->value() + 1);
}

void TChartDataEditor::accept() {
    // Every cell is read into a copy first, so that a refused cell leaves the chart as it was.
    TVtChartData edited = m_model;
    edited.SetRowCount(m_rows->value());
    edited.SetColumnCount(m_columns->value());
    const auto cellText = [this](int row, int column) {
        const QTableWidgetItem* item = m_table->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    for (int row = 0; row <= edited.RowCount(); ++row) {
        edited.SetRow(row);
        for (int column = 0; column <= edited.ColumnCount(); ++column) {
            edited.SetColumn(column);
            const std::string text = cellText(row, column).toStdString();
            if (row == 0 && column > 0)
                edited.SetColumnLabel(text);
            else if (column == 0 && row > 0)
                edited.SetRowLabel(text);
            else if (row > 0 && !edited.SetData(text)) {
                m_table->setCurrentCell(row, column);
                QMessageBox::critical(this, QStringLiteral("Error"),
                                      QStringLiteral("Row %1, column %2 holds no number: \"%3\"")
                                          .arg(row)
                                          .arg(column)
                                          .arg(cellText(row, column)));
                return;
            }
        }
    }
    m_model = edited;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------

TChartPropertiesDialog::TChartPropertiesDialog(TVtChartData& model, bool surface, QWidget* parent)
    : QDialog(parent), m_model(model), m_color(model.ElevationColor) {
    setObjectName(QStringLiteral("ChartProperties"));
    setWindowTitle(QStringLiteral("Chart Properties"));
    auto* pages = new QTabWidget(this);
    m_titles = new TChartTitlesEditor(model, surface, pages);
    pages->addTab(m_titles, QStringLiteral("Titles"));
    pages->addTab(BuildGridPage(), QStringLiteral("Grid"));
    pages->addTab(BuildViewPage(surface), QStringLiteral("View"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    AddOkCancel(*this, layout);
}

QWidget* TChartPropertiesDialog::BuildGridPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    const char* const names[] = {"X axis grid lines", "Value (Y) axis grid lines", "Second Y axis grid lines",
                                 "Depth (Z) axis grid lines"};
    for (std::size_t axis = 0; axis < m_grids.size(); ++axis) {
        m_grids[axis] = new QCheckBox(QString::fromLatin1(names[axis]), page);
        m_grids[axis]->setObjectName(QStringLiteral("cbGrid%1").arg(axis));
        m_grids[axis]->setChecked(m_model.Axes[axis].Grid != TGridStyle::None);
        layout->addWidget(m_grids[axis]);
    }
    layout->addStretch();
    return page;
}

QWidget* TChartPropertiesDialog::BuildViewPage(bool surface) {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    m_legend = new QCheckBox(QStringLiteral("Show legend"), page);
    m_legend->setObjectName(QStringLiteral("cbLegend"));
    m_legend->setChecked(m_model.ShowLegend);
    form->addRow(m_legend);
    if (!surface)
        return page;
    const auto addAngle = [&](const QString& label, double low, double high, double value) {
        auto* box = new QDoubleSpinBox(page);
        box->setRange(low, high);
        box->setDecimals(1);
        box->setSuffix(QStringLiteral("°"));
        box->setValue(value);
        form->addRow(label, box);
        return box;
    };
    m_rotation = addAngle(QStringLiteral("Rotation"), -360, 360, m_model.Rotation);
    m_elevation = addAngle(QStringLiteral("Elevation"), 0, TVtChartData::HighestElevation, m_model.Elevation);
    m_wallWidth = new QDoubleSpinBox(page);
    m_wallWidth->setRange(0, 100);
    m_wallWidth->setValue(m_model.WallWidth);
    form->addRow(QStringLiteral("Wall width"), m_wallWidth);
    auto* color = new QPushButton(QStringLiteral("Surface colour..."), page);
    color->setObjectName(QStringLiteral("btSurfaceColor"));
    connect(color, &QPushButton::clicked, this, &TChartPropertiesDialog::ChooseColor);
    form->addRow(color);
    return page;
}

void TChartPropertiesDialog::ChooseColor() {
    const QColor chosen = QColorDialog::getColor(QColor(m_color.Red, m_color.Green, m_color.Blue), this);
    if (chosen.isValid())
        m_color = {chosen.red(), chosen.green(), chosen.blue()};
}

void TChartPropertiesDialog::accept() {
    m_titles->Apply(m_model);
    for (std::size_t axis = 0; axis < m_grids.size(); ++axis)
        m_model.Axes[axis].Grid = m_grids[axis]->isChecked() ? TGridStyle::Solid : TGridStyle::None;
    m_model.ShowLegend = m_legend->isChecked();
    if (m_rotation) {
        m_model.DrawMode = 1;
        m_model.Rotation = static_cast<float>(m_rotation->value());
        m_model.Elevation = static_cast<float>(m_elevation->value());
        m_model.WallWidth = static_cast<float>(m_wallWidth->value());
        m_model.ElevationColor = m_color;
    }
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------

TChartWizard::TChartWizard(TVtChartData& model, bool surface, QWidget* parent)
    : QWizard(parent), m_model(model) {
    setObjectName(QStringLiteral("ChartWizard"));
    setWindowTitle(QStringLiteral("Chart Wizard"));
    auto* stylePage = new QWizardPage(this);
    stylePage->setTitle(QStringLiteral("Chart type"));
    auto* styleLayout = new QVBoxLayout(stylePage);
    m_styles = new QButtonGroup(this);
    const QStringList styles =
        surface ? QStringList{QStringLiteral("Surface"), QStringLiteral("Surface with wire frame"),
                              QStringLiteral("Wire frame")}
                : QStringList{QStringLiteral("Lines"), QStringLiteral("Points")};
    int style = 0;
    for (const QString& name : styles) {
        auto* button = new QRadioButton(name, stylePage);
        button->setObjectName(QStringLiteral("rbStyle%1").arg(style));
        button->setChecked(style == model.ChartStyle);
        m_styles->addButton(button, style++);
        styleLayout->addWidget(button);
    }
    addPage(stylePage);
    auto* titlesPage = new QWizardPage(this);
    titlesPage->setTitle(QStringLiteral("Titles"));
    auto* titlesLayout = new QVBoxLayout(titlesPage);
    m_titles = new TChartTitlesEditor(model, surface, titlesPage);
    titlesLayout->addWidget(m_titles);
    addPage(titlesPage);
}

void TChartWizard::accept() {
    m_model.ChartStyle = std::max(m_styles->checkedId(), 0);
    m_titles->Apply(m_model);
    QWizard::accept();
}

} // namespace mirla
