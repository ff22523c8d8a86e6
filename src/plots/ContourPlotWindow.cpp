#include "plots/ContourPlotWindow.h"

#include "plotlib/Contour.h"
#include "plotlib/Graph.h"
#include "plotlib/Legend.h"
#include "plotlib/Plot.h"
#include "plotlib/PlotCursors.h"
#include "plots/PlotWindowSupport.h"

#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QToolBar>

namespace mirla {

TfmContourPlot::TfmContourPlot(const std::string& settingsFile, QWidget* parent)
    : TfmPlot2D(settingsFile, "fmContourPlot", QStringLiteral("Contour Plot"), parent) {
    BuildEditCommands();
    BuildContourMenus();
    if (auto* bar = findChild<QToolBar*>(QStringLiteral("tbPlot"))) {
        m_editToolSeparator = bar->addSeparator();
        bar->addActions({acAddContour, acDeleteContour, acLabelPosition, acLabelOff, acEndEdit});
    }
    SetEditingVisible(false);
}

TfmContourPlot::~TfmContourPlot() = default;

QAction* TfmContourPlot::AddEditCommand(const char* name, const QString& menuText, const QString& hint,
                                        int mode) {
    QAction* action = MakePlotCommand(this, name, QIcon(), menuText, hint);
    action->setCheckable(true);
    m_editGroup->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode] { SetEditMode(mode); });
    return action;
}

void TfmContourPlot::BuildEditCommands() {
    m_editGroup = new QActionGroup(this);
    acAddContour = AddEditCommand("acAddContour", "&Add Contour(s)", "Add contour(s)", emAddContour);
    acDeleteContour =
        AddEditCommand("acDeleteContour", "&Delete Contour(s)", "Delete contour(s)", emDeleteContour);
    acLabelPosition = AddEditCommand("acLabelPosition", "Label &position", "Add/Move label(s)", emAddLabel);
    acLabelOff = AddEditCommand("acLabelOff", "&Label off", "Delete label(s)", emRemoveLabel);
    acEndEdit = AddEditCommand("acEndEdit", "End edit", "Break edit", emNone);
    acEndEdit->setChecked(true);
    // The buttons show the cursors of their modes.
    const std::pair<QAction*, TPlotCursor> pictures[] = {{acAddContour, TPlotCursor::SerAdd},
                                                         {acDeleteContour, TPlotCursor::SerDel},
                                                         {acLabelPosition, TPlotCursor::MoveIt},
                                                         {acLabelOff, TPlotCursor::Eraze},
                                                         {acEndEdit, TPlotCursor::SerSel}};
    for (const auto& [action, cursor] : pictures)
        action->setIcon(QIcon(PlotCursor(cursor).pixmap()));
    miAllLabels = new QAction(QStringLiteral("All Labels on&/off"), this);
    miAllLabels->setObjectName(QStringLiteral("miAllLabels"));
    connect(miAllLabels, &QAction::triggered, this, &TfmContourPlot::AllLabelsClick);
    miClose = new QAction(QStringLiteral("&Close"), this);
    miClose->setObjectName(QStringLiteral("miClose"));
    connect(miClose, &QAction::triggered, this, &QWidget::close);
}

void TfmContourPlot::BuildContourMenus() {
    // The menus of this window: the 2-D window's file commands, "&Close" instead of "&Exit", the
    // edit modes.
    menuBar()->clear();
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({acSaveAs, acPrint, miSaveAsDxf});
    file->addSeparator();
    file->addActions({miImport, miExport});
    file->addSeparator();
    file->addActions({miSaveLayers, miLoadLayers, miReplaceLayers});
    file->addSeparator();
    file->addAction(miClose);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({acCopy, acProperties});
    m_editSeparator = edit->addSeparator();
    edit->addActions({acAddContour, acDeleteContour, acLabelPosition, acLabelOff, acEndEdit, miAllLabels});
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({acVertGrid, acHorisGrid, acShowLegend, ac3DView});
    QMenu* zoom = menuBar()->addMenu(QStringLiteral("&Zoom"));
    zoom->addActions({acZoomIn, acZoomOut, acAnimatedZoom, acZoomPrevious});
}

TContour* TfmContourPlot::Map() const {
    const TGraph& graph = m_chart->Graph();
    for (int i = graph.LayerCount() - 1; i >= 0; --i)
        if (auto* map = dynamic_cast<TContour*>(graph.Layer(i)))
            return map;
    return nullptr;
}

void TfmContourPlot::Clear() {
    m_chart->Clear();
}

void TfmContourPlot::ShowMap(std::unique_ptr<TContour> map) {
    m_shading = map->Shading;
    m_chart->AddContour(std::move(map));
    setWindowTitle(m_shading ? QStringLiteral("Color Shade f(x,y)") : QStringLiteral("Contour Plot f(x,y)"));
    SetEditingVisible(!m_shading);
    acEndEdit->setChecked(true);
    acShowLegend->setChecked(m_shading ? m_chart->ColorLegend().Visible() : m_chart->Legend().Visible());
}

void TfmContourPlot::SetEditingVisible(bool visible) {
    for (QAction* action : m_editGroup->actions())
        action->setVisible(visible);
    for (QAction* action : {miAllLabels, m_editSeparator, m_editToolSeparator})
        if (action)
            action->setVisible(visible);
}

void TfmContourPlot::SetEditMode(int mode) {
    TContour* map = Map();
    if (!map)
        return;
    map->SetEditMode(static_cast<TContourEditMode>(mode));
    m_chart->UpdateCursor();
}

void TfmContourPlot::AllLabelsClick() {
    TContour* map = Map();
    if (!map)
        return;
    map->LabelsOn = !map->LabelsOn;
    m_chart->Refresh();
}

void TfmContourPlot::ShowLegendClick() {
    if (!m_shading) {
        TfmPlot2D::ShowLegendClick();
        return;
    }
    TColorLegend& scale = m_chart->ColorLegend();
    scale.SetVisible(!scale.Visible());
    acShowLegend->setChecked(scale.Visible());
    m_chart->Refresh();
}

} // namespace mirla
