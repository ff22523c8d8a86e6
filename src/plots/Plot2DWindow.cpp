#include "plots/Plot2DWindow.h"

#include "plotlib/AnnotateTools.h"
#include "plotlib/Plot.h"
#include "plots/PlotWindowSupport.h"
#include "plots/ProgramTitle.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QToolBar>

namespace mirla {

namespace {

constexpr const char* FormName = "fmPlot2D";

} // namespace

TfmPlot2D::TfmPlot2D(const std::string& settingsFile, QWidget* parent)
    : TfmPlot2D(settingsFile, FormName, QStringLiteral("2D - Plot"), parent) {}

TfmPlot2D::TfmPlot2D(const std::string& settingsFile, const char* formName, const QString& caption,
                     QWidget* parent)
    : QMainWindow(parent), m_settingsFile(settingsFile), m_formName(formName) {
    setObjectName(QString::fromLatin1(formName));
    setWindowTitle(caption);
    m_chart = new TPlot(this);
    m_chart->setObjectName(QStringLiteral("Chart"));
    m_chart->PrintTexts = ProgramPrintTexts();
    setCentralWidget(m_chart);
    BuildCommands();
    BuildDataCommands();
    BuildMenus();
    BuildToolBar();
    m_chart->Graph().IniFileName = settingsFile;
    m_chart->LoadSettings();
    m_flatFrameWidth = m_chart->Graph().Frame.Width;
    acShowLegend->setChecked(m_chart->Legend().Visible());
    SetZoomBackEnabled(false);
    connect(m_chart, &TPlot::ViewChanged, this, &TfmPlot2D::UpdateZoomBack);
    LoadWindowPlacement();
}

TfmPlot2D::~TfmPlot2D() = default;

QAction* TfmPlot2D::AddCommand(const char* name, TPlotTool tool, const QString& menuText,
                               const QString& hint) {
    return MakePlotCommand(this, name, PlotToolIcon(tool), menuText, hint);
}

void TfmPlot2D::BuildCommands() {
    acPrint = AddCommand("acPrint", TPlotTool::Print, "&Print", "Print graphic");
    acPrint->setShortcut(QKeySequence::Print);
    connect(acPrint, &QAction::triggered, m_chart, &TPlot::Print);
    acSaveAs = AddCommand("acSaveAs", TPlotTool::SaveAs, "&Save As...", "Save As...");
    acSaveAs->setShortcut(QKeySequence::Save);
    connect(acSaveAs, &QAction::triggered, m_chart, &TPlot::SaveAs);
    acZoomIn = AddCommand("acZoomIn", TPlotTool::ZoomIn, "Zoom &In", "Zoom in");
    acZoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence::ZoomIn});
    connect(acZoomIn, &QAction::triggered, this, &TfmPlot2D::ZoomInClick);
    acZoomOut = AddCommand("acZoomOut", TPlotTool::ZoomOut, "Zoom &Out", "Zoom Out");
    acZoomOut->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut});
    connect(acZoomOut, &QAction::triggered, this, &TfmPlot2D::ZoomOutClick);
    acZoomPrevious = AddCommand("acZoomPrevious", TPlotTool::ZoomPrevious, "&Previous Zoom", "Zoom previous");
    acZoomPrevious->setShortcut(QKeySequence::Undo);
    connect(acZoomPrevious, &QAction::triggered, this, &TfmPlot2D::ZoomPreviousClick);
    acAnimatedZoom =
        AddCommand("acAnimatedZoom", TPlotTool::AnimatedZoom, "&Animation Zoom", "Animated zoom");
    connect(acAnimatedZoom, &QAction::triggered, this, &TfmPlot2D::AnimatedZoomClick);
    acProperties = AddCommand("acProperties", TPlotTool::Properties, "&Properties", "Properties");
    connect(acProperties, &QAction::triggered, m_chart, &TPlot::ShowProperties);
    acShowLegend = AddCommand("acShowLegend", TPlotTool::Legend, "&Show Legend", "Show legend");
    acShowLegend->setCheckable(true);
    connect(acShowLegend, &QAction::triggered, this, &TfmPlot2D::ShowLegendClick);
    acVertGrid = AddCommand("acVertGrid", TPlotTool::VerticalGrid, "&Vert. Grid", "Vertical grid");
    connect(acVertGrid, &QAction::triggered, this, &TfmPlot2D::VertGridClick);
    acHorisGrid = AddCommand("acHorisGrid", TPlotTool::HorizontalGrid, "&Horis. Grid", "Horizontal grid");
    connect(acHorisGrid, &QAction::triggered, this, &TfmPlot2D::HorisGridClick);
    ac3DView = AddCommand("ac3DView", TPlotTool::View3D, "&3D View", "3D-view");
    connect(ac3DView, &QAction::triggered, this, &TfmPlot2D::View3DClick);
    acCopy = AddCommand("acCopy", TPlotTool::Copy, "&Copy to clipboard", "Copy to clipbord");
    acCopy->setShortcut(QKeySequence::Copy);
    connect(acCopy, &QAction::triggered, m_chart, &TPlot::CopyToClipboard);
    miExit = new QAction(QStringLiteral("&Exit"), this);
    miExit->setObjectName(QStringLiteral("miExit"));
    connect(miExit, &QAction::triggered, this, &QWidget::close);
}

void TfmPlot2D::BuildDataCommands() {
    acExportData = AddCommand("acExportData", TPlotTool::ExportData, "Export data", "Export data");
    connect(acExportData, &QAction::triggered, m_chart, &TPlot::ExportSeries);
    acImportData = AddCommand("acImportData", TPlotTool::ImportData, "Import data", "Import data");
    const auto paste = [this] { m_chart->PasteSeries(); };
    connect(acImportData, &QAction::triggered, this, paste);
    const auto entry = [this](const char* name, const char* text) {
        auto* action = new QAction(QString::fromLatin1(text), this);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    miImport = entry("miImport", "&Import");
    connect(miImport, &QAction::triggered, this, paste);
    // The menu's "&Export" exports, as the toolbar's "Export data" does.
    miExport = entry("miExport", "&Export");
    connect(miExport, &QAction::triggered, m_chart, &TPlot::ExportSeries);
    miSaveAsDxf = entry("miSaveAsDxf", "Save as DXF...");
    connect(miSaveAsDxf, &QAction::triggered, m_chart, &TPlot::SaveAsDxf);
    miSaveLayers = entry("miSaveLayers", "Save &Layers...");
    connect(miSaveLayers, &QAction::triggered, m_chart, &TPlot::SaveLayers);
    miLoadLayers = entry("miLoadLayers", "Loa&d Layers...");
    miReplaceLayers = entry("miReplaceLayers", "&Replace Layers by Name");
    miReplaceLayers->setCheckable(true);
    miReplaceLayers->setChecked(true);
    connect(miLoadLayers, &QAction::triggered, this,
            [this] { m_chart->LoadLayers(miReplaceLayers->isChecked()); });
}

void TfmPlot2D::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setToolTipsVisible(true);
    file->addActions({acPrint, acSaveAs, miSaveAsDxf});
    file->addSeparator();
    file->addActions({miImport, miExport});
    file->addSeparator();
    file->addActions({miSaveLayers, miLoadLayers, miReplaceLayers});
    file->addSeparator();
    file->addAction(miExit);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({acCopy, acProperties});
    QMenu* zoom = menuBar()->addMenu(QStringLiteral("&Zoom"));
    zoom->addActions({acZoomIn, acZoomOut, acZoomPrevious, acAnimatedZoom});
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({acShowLegend, acVertGrid, acHorisGrid, ac3DView});
}

void TfmPlot2D::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Plot"));
    bar->setObjectName(QStringLiteral("tbPlot"));
    bar->setMovable(false);
    bar->setIconSize(QSize(PlotToolIconSize, PlotToolIconSize));
    bar->addActions({acPrint, acSaveAs});
    bar->addSeparator();
    bar->addActions({acZoomIn, acZoomOut, acZoomPrevious, acAnimatedZoom});
    bar->addSeparator();
    bar->addActions({acProperties, acShowLegend, acVertGrid, acHorisGrid, ac3DView});
    bar->addSeparator();
    bar->addActions({acCopy, acExportData, acImportData});
    // The palette gets a row of its own, so that none of its tools hides behind the overflow.
    addToolBarBreak();
    addToolBar(new TfmAnnotateTools(*m_chart, this));
}

// ---------------------------------------------------------------------------------------------

void TfmPlot2D::SetZoomBackEnabled(bool enabled) {
    acZoomOut->setEnabled(enabled);
    acZoomPrevious->setEnabled(enabled);
}

void TfmPlot2D::UpdateZoomBack() {
    SetZoomBackEnabled(m_chart->Zoom().Enabled || m_chart->Zoom().Zoomed());
}

void TfmPlot2D::ZoomInClick() {
    m_chart->ZoomIn();
    SetZoomBackEnabled(true);
}

void TfmPlot2D::ZoomOutClick() {
    m_chart->ZoomOut();
    SetZoomBackEnabled(false);
}

void TfmPlot2D::ZoomPreviousClick() {
    if (!m_chart->ZoomPrevious())
        SetZoomBackEnabled(false);
}

void TfmPlot2D::AnimatedZoomClick() {
    m_chart->ToggleAnimatedZoom();
    UpdateZoomBack();
}

void TfmPlot2D::ShowLegendClick() {
    TWLegend& legend = m_chart->Legend();
    legend.SetVisible(!legend.Visible());
    acShowLegend->setChecked(legend.Visible());
    m_chart->Refresh();
}

void TfmPlot2D::VertGridClick() {
    m_chart->XAxis().Grid = !m_chart->XAxis().Grid;
    m_chart->Refresh();
}

void TfmPlot2D::HorisGridClick() {
    m_chart->YAxis().Grid = !m_chart->YAxis().Grid;
    m_chart->Refresh();
}

void TfmPlot2D::View3DClick() {
    SwitchView3D(*m_chart, m_flatFrameWidth);
}

// ---------------------------------------------------------------------------------------------

void TfmPlot2D::LoadWindowPlacement() {
    mirla::LoadWindowPlacement(*this, m_settingsFile, m_formName);
}

void TfmPlot2D::SaveSettings() {
    if (m_settingsFile.empty() || !m_savesSettings)
        return;
    SaveWindowSettings(*this, *m_chart, m_settingsFile, m_formName);
}

void TfmPlot2D::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    m_shown = true;
    emit Shown();
}

void TfmPlot2D::closeEvent(QCloseEvent* event) {
    SaveSettings();
    QMainWindow::closeEvent(event);
}

} // namespace mirla
