#include "plots/ContourPlotWindow.h"

#include "plotlib/Contour.h"
#include "plotlib/Legend.h"
#include "plotlib/Plot.h"
#include "plotlib/PlotCursors.h"
#include "plots/PlotWindowSupport.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace mirla {

namespace {

constexpr const char* FormName = "fmContourPlot";

} // namespace

TfmContourPlot::TfmContourPlot(const std::string& settingsFile, QWidget* parent)
    : QMainWindow(parent), m_settingsFile(settingsFile) {
    setObjectName(QString::fromLatin1(FormName));
    setWindowTitle(QStringLiteral("Contour Plot"));
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnChart"));
    m_chart = new TPlot(panel);
    m_chart->setObjectName(QStringLiteral("Chart"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart);
    setCentralWidget(panel);
    BuildCommands();
    BuildEditCommands();
    BuildMenus();
    BuildToolBar();
    m_chart->Legend().Style = lsRight;
    m_chart->Graph().IniFileName = settingsFile;
    m_chart->LoadSettings();
    m_flatFrameWidth = m_chart->Graph().Frame.Width;
    acShowLegend->setChecked(m_chart->Legend().Visible());
    SetZoomBackEnabled(false);
    SetEditingVisible(false);
    connect(m_chart, &TPlot::ViewChanged, this, &TfmContourPlot::UpdateZoomBack);
    LoadWindowPlacement();
}

TfmContourPlot::~TfmContourPlot() = default;

QAction* TfmContourPlot::AddCommand(const char* name, TPlotTool tool, const QString& menuText,
                                    const QString& hint) {
    return MakePlotCommand(this, name, PlotToolIcon(tool), menuText, hint);
}

void TfmContourPlot::BuildCommands() {
    acPrint = AddCommand("acPrint", TPlotTool::Print, "&Print", "Print graphic");
    connect(acPrint, &QAction::triggered, m_chart, &TPlot::Print);
    acSaveAs = AddCommand("acSaveAs", TPlotTool::SaveAs, "&Save As...", "Save As...");
    connect(acSaveAs, &QAction::triggered, m_chart, &TPlot::SaveAs);
    acZoomIn = AddCommand("acZoomIn", TPlotTool::ZoomIn, "Zoom &In", "Zoom in");
    connect(acZoomIn, &QAction::triggered, this, &TfmContourPlot::ZoomInClick);
    acZoomOut = AddCommand("acZoomOut", TPlotTool::ZoomOut, "Zoom &Out", "Zoom Out");
    connect(acZoomOut, &QAction::triggered, this, &TfmContourPlot::ZoomOutClick);
    acZoomPrevious = AddCommand("acZoomPrevious", TPlotTool::ZoomPrevious, "&Previous Zoom", "Zoom previous");
    connect(acZoomPrevious, &QAction::triggered, this, &TfmContourPlot::ZoomPreviousClick);
    acAnimatedZoom =
        AddCommand("acAnimatedZoom", TPlotTool::AnimatedZoom, "&Animation Zoom", "Animated zoom");
    connect(acAnimatedZoom, &QAction::triggered, this, &TfmContourPlot::AnimatedZoomClick);
    acProperties = AddCommand("acProperties", TPlotTool::Properties, "&Properties", "Properties");
    connect(acProperties, &QAction::triggered, m_chart, &TPlot::ShowProperties);
    acShowLegend = AddCommand("acShowLegend", TPlotTool::Legend, "&Show Legend", "Show legend");
    acShowLegend->setCheckable(true);
    connect(acShowLegend, &QAction::triggered, this, &TfmContourPlot::ShowLegendClick);
    acVertGrid = AddCommand("acVertGrid", TPlotTool::VerticalGrid, "&Vert. Grid", "Vertical grid");
    connect(acVertGrid, &QAction::triggered, this, &TfmContourPlot::VertGridClick);
    acHorisGrid = AddCommand("acHorisGrid", TPlotTool::HorizontalGrid, "&Horis. Grid", "Horizontal grid");
    connect(acHorisGrid, &QAction::triggered, this, &TfmContourPlot::HorisGridClick);
    ac3DView = AddCommand("ac3DView", TPlotTool::View3D, "&3D View", "3D-view");
    connect(ac3DView, &QAction::triggered, this, &TfmContourPlot::View3DClick);
    acCopy = AddCommand("acCopy", TPlotTool::Copy, "&Copy to clipboard", "Copy to clipbord");
    connect(acCopy, &QAction::triggered, m_chart, &TPlot::CopyToClipboard);
    miClose = new QAction(QStringLiteral("&Close"), this);
    miClose->setObjectName(QStringLiteral("miClose"));
    connect(miClose, &QAction::triggered, this, &QWidget::close);
}

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
    const std::pair<QAction*, TPlotCursor> pictures[] = {{acAddContour, TPlotCursor::SerAdd},
                                                         {acDeleteContour, TPlotCursor::SerDel},
                                                         {acLabelPosition, TPlotCursor::MoveIt},
                                                         {acLabelOff, TPlotCursor::Eraze}};
    for (const auto& [action, cursor] : pictures)
        action->setIcon(QIcon(PlotCursor(cursor).pixmap()));
    acEndEdit->setIcon(QIcon(PlotCursor(TPlotCursor::SerSel).pixmap()));
    miAllLabels = new QAction(QStringLiteral("All Labels on&/off"), this);
    miAllLabels->setObjectName(QStringLiteral("miAllLabels"));
    connect(miAllLabels, &QAction::triggered, this, &TfmContourPlot::AllLabelsClick);
}

void TfmContourPlot::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({acSaveAs, acPrint});
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

void TfmContourPlot::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Plot"));
    bar->setObjectName(QStringLiteral("tbPlot"));
    bar->setMovable(false);
    bar->setIconSize(QSize(PlotToolIconSize, PlotToolIconSize));
    bar->addActions({acPrint, acSaveAs});
    bar->addSeparator();
    bar->addActions({acZoomIn, acZoomOut, acZoomPrevious, acAnimatedZoom});
    bar->addSeparator();
    bar->addActions({acProperties, acShowLegend, acVertGrid, acHorisGrid, ac3DView, acCopy});
    m_editToolSeparator = bar->addSeparator();
    bar->addActions({acAddContour, acDeleteContour, acLabelPosition, acLabelOff, acEndEdit});
}

// ---------------------------------------------------------------------------------------------

void TfmContourPlot::ShowMap(std::unique_ptr<TContour> map) {
    m_map = map.get();
    m_shading = map->Shading;
    const std::string name = map->Name();
    m_chart->AddContour(std::move(map));
    m_chart->ColorLegend().Source = m_map;
    if (m_shading) {
        setWindowTitle(QStringLiteral("Color Shade f(x,y)"));
    } else {
        setWindowTitle(QStringLiteral("Contour Plot f(x,y)"));
        auto entry = std::make_unique<TContourLegend>(m_chart->Graph());
        entry->Caption = name;
        m_chart->Legend().Add(std::move(entry));
    }
    SetEditingVisible(!m_shading);
    acEndEdit->setChecked(true);
    acShowLegend->setChecked(m_shading ? m_chart->ColorLegend().Visible() : m_chart->Legend().Visible());
}

void TfmContourPlot::SetEditingVisible(bool visible) {
    for (QAction* action : m_editGroup->actions())
        action->setVisible(visible);
    for (QAction* action : {miAllLabels, m_editSeparator, m_editToolSeparator})
        action->setVisible(visible);
}

void TfmContourPlot::SetEditMode(int mode) {
    if (!m_map)
        return;
    m_map->SetEditMode(static_cast<TContourEditMode>(mode));
    m_chart->setCursor(m_map->EditCursor());
}

void TfmContourPlot::AllLabelsClick() {
    if (!m_map)
        return;
    m_map->LabelsOn = !m_map->LabelsOn;
    m_chart->Refresh();
}

void TfmContourPlot::SetZoomBackEnabled(bool enabled) {
    acZoomOut->setEnabled(enabled);
    acZoomPrevious->setEnabled(enabled);
}

void TfmContourPlot::UpdateZoomBack() {
    SetZoomBackEnabled(m_chart->Zoom().Enabled || m_chart->Zoom().Zoomed());
}

void TfmContourPlot::ZoomInClick() {
    m_chart->ZoomIn();
    SetZoomBackEnabled(true);
}

void TfmContourPlot::ZoomOutClick() {
    m_chart->ZoomOut();
    SetZoomBackEnabled(false);
}

void TfmContourPlot::ZoomPreviousClick() {
    if (!m_chart->ZoomPrevious())
        SetZoomBackEnabled(false);
}

void TfmContourPlot::AnimatedZoomClick() {
    m_chart->ToggleAnimatedZoom();
    UpdateZoomBack();
}

void TfmContourPlot::ShowLegendClick() {
    // A shaded map explains itself with its colour scale; a contour map with the line legend.
    TLayer& legend = m_shading ? static_cast<TLayer&>(m_chart->ColorLegend()) : m_chart->Legend();
    legend.SetVisible(!legend.Visible());
    acShowLegend->setChecked(legend.Visible());
    m_chart->Refresh();
}

void TfmContourPlot::VertGridClick() {
    m_chart->XAxis().Grid = !m_chart->XAxis().Grid;
    m_chart->Refresh();
}

void TfmContourPlot::HorisGridClick() {
    m_chart->YAxis().Grid = !m_chart->YAxis().Grid;
    m_chart->Refresh();
}

void TfmContourPlot::View3DClick() {
    SwitchView3D(*m_chart, m_flatFrameWidth);
}

// ---------------------------------------------------------------------------------------------

void TfmContourPlot::LoadWindowPlacement() {
    mirla::LoadWindowPlacement(*this, m_settingsFile, FormName);
}

void TfmContourPlot::SaveSettings() {
    if (m_settingsFile.empty() || !m_savesSettings)
        return;
    SaveWindowSettings(*this, *m_chart, m_settingsFile, FormName);
}

void TfmContourPlot::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    m_shown = true;
    emit Shown();
}

void TfmContourPlot::closeEvent(QCloseEvent* event) {
    SaveSettings();
    QMainWindow::closeEvent(event);
}

} // namespace mirla
