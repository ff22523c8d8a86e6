#include "plotlib/PropertiesDialog.h"

#include "plotlib/ContourPages.h"
#include "plotlib/OperationsPage.h"
#include "plotlib/Plot.h"
#include "plotlib/PropertiesPages.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace mirla {

TPlotPropertiesDialog::TPlotPropertiesDialog(TPlot& plot, int page, QWidget* parent)
    : QDialog(parent), m_plot(plot), m_tabs(new QTabWidget(this)) {
    setWindowTitle("Properties");
    const TPlotProperties& control = plot.PropertiesControl;
    TGraph& graph = plot.Graph();
    AddPage(
        AxisPage, "&Axis",
        new TAxisPage(graph,
                      {{{&plot.XAxis(), "&X axis", control.DisabledXAxisLog, control.DisabledXAxisInvert},
                        {&plot.YAxis(), "&Y axis", control.DisabledYAxisLog, control.DisabledYAxisInvert}}}));
    AddPage(TitlesPage, "&Titles", new TTitlesPage(graph));
    auto* seriesPage = new TSeriesPage(graph, control.DisabledSeriesStyle);
    AddPage(SeriesPage, "&Series", seriesPage);
    AddPage(LegendsPage, "&Legends", new TLegendsPage(graph));
    TOperationsPage* operations = nullptr;
    if (!control.DisabledOperationsTab) {
        operations = new TOperationsPage(graph, control.DisabledDerivative);
        AddPage(OperationsPage, "&Operations", operations);
    }
    if (control.DisabledDerivative)
        seriesPage->DisableDerivative();
    LinkSeriesLists(*seriesPage, operations);
    AddPage(SettingsPage, "Se&ttings", new TSettingsPage(plot, control.Disabled3D));
    if (TContour* map = FirstContour(graph)) {
        AddPage(ColorMapPage, "&Color Map", new TColorMapPage(*map));
        AddPage(ContourPage, "C&ontour", new TContourPage(*map));
    }
    if (!control.DisabledAxis2Tab)
        AddPage(Axis2Page, "Axis (&2)",
                new TAxisPage(graph, {{{&plot.XAxis2(), "&X axis (2)", control.DisabledXAxis2Log,
                                        control.DisabledXAxis2Invert},
                                       {&plot.YAxis2(), "&Y axis (2)", control.DisabledYAxis2Log,
                                        control.DisabledYAxis2Invert}}}));
    if (!control.DisabledInfoTab)
        AddPage(InfoPage, "&Info", new TInfoPage(graph, control.DisabledInfoShow));

    // Legends before the axes: switching an axis to logarithmic moves an inside legend aside, and
    // that must win over the legend page's unchanged placement. Settings last: a new 3-D look resets
    // the ticks the axis pages wrote.
    // Operations last: it lists the series again once the series page has deleted some.
    for (int index : {LegendsPage, TitlesPage, SeriesPage, InfoPage, AxisPage, Axis2Page, SettingsPage,
                      ColorMapPage, ContourPage, OperationsPage})
        if (m_pages[index])
            m_applyOrder.push_back(m_pages[index]);

    const bool known = page >= 0 && page < PageCount && m_pages[page];
    m_tabs->setCurrentWidget(m_pages[known ? page : AxisPage]);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    buttons->setObjectName("bbButtons");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (ApplyIfValid())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] {
        if (!ApplyIfValid())
            return;
        m_plot.Refresh();
        emit m_plot.PropertiesChanged();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

void TPlotPropertiesDialog::AddPage(int index, const QString& caption, TPropertiesPage* page) {
    page->setObjectName(QString("tsPage%1").arg(index));
    m_pages[index] = page;
    // Tabs stand in the order of their indices, whatever order the pages are built in.
    const auto before = std::count_if(m_pages.begin(), m_pages.begin() + index, [](auto* p) { return p; });
    m_tabs->insertTab(static_cast<int>(before), page, caption);
}

void TPlotPropertiesDialog::LinkSeriesLists(TSeriesPage& seriesPage, TOperationsPage* operations) {
    // A series made on one page is listed on the other, and drawn at once.
    seriesPage.SeriesAdded = [this, operations](TSeries&) {
        if (operations)
            operations->RefreshSeries();
        m_plot.Refresh();
    };
    if (operations)
        operations->SeriesAdded = [this, &seriesPage](TSeries& series) {
            seriesPage.AddSeries(series);
            m_plot.Refresh();
        };
}

int TPlotPropertiesDialog::CurrentPage() const {
    for (int index = 0; index < PageCount; ++index)
        if (m_pages[index] && m_pages[index] == m_tabs->currentWidget())
            return index;
    return AxisPage;
}

std::optional<TFieldProblem> TPlotPropertiesDialog::FirstProblem() {
    for (int index = 0; index < PageCount; ++index) {
        TPropertiesPage* page = m_pages[index];
        if (!page)
            continue;
        if (auto problem = page->Check()) {
            problem->Reveal = [this, page, reveal = problem->Reveal] {
                m_tabs->setCurrentWidget(page);
                reveal();
            };
            return problem;
        }
    }
    return std::nullopt;
}

bool TPlotPropertiesDialog::Validate(QString& message) {
    const std::optional<TFieldProblem> problem = FirstProblem();
    if (problem)
        message = problem->Message;
    return !problem;
}

void TPlotPropertiesDialog::Apply() {
    if (!FirstProblem())
        ApplyPages();
}

void TPlotPropertiesDialog::ApplyPages() {
    for (TPropertiesPage* page : m_applyOrder)
        page->Apply();
}

bool TPlotPropertiesDialog::ApplyIfValid() {
    if (const std::optional<TFieldProblem> problem = FirstProblem()) {
        QMessageBox::critical(this, "Error", problem->Message);
        problem->Reveal();
        return false;
    }
    ApplyPages();
    return true;
}

} // namespace mirla
