#include "plots/PolarWindow.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>

namespace mirla {

TfmPolar::TfmPolar(const std::string& settingsFile, QWidget* parent)
    : TfmChartWindow(TVtChart::TKind::Polar, "fmPolar", settingsFile, parent) {
    setWindowTitle(QStringLiteral("Polar"));
    Chart().Model().SetColumnCount(0);
    acGrid = AddCommand("acGrid", PlotToolIcon(TPlotTool::HorizontalGrid), QStringLiteral("&Grid"),
                        QStringLiteral("Grid"));
    connect(acGrid, &QAction::triggered, this, &TfmPolar::GridClick);
    m_toolBar->addAction(acGrid);
    BuildMenus();
    LoadSettings();
}

void TfmPolar::BuildMenus() {
    BuildFileAndEditMenus();
    QMenu* chart = menuBar()->addMenu(QStringLiteral("C&hart"));
    chart->addActions({acShowLegend, acGrid, miProperties, miWizard});
}

void TfmPolar::GridClick() {
    TVtChartData& model = Chart().Model();
    model.ToggleGrid(1);
    model.ToggleGrid(2);
    Chart().Refresh();
}

} // namespace mirla
