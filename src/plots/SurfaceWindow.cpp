#include "plots/SurfaceWindow.h"

#include "runtime/IniKeys.h"

#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <cmath>
#include <limits>

namespace mirla {

namespace {

constexpr const char* FormName = "fmSurface";

/// The surface's appearance keys, read and written alike.
template <class Keys> void AppearanceKeys(Keys& keys, int& color, int& wallWidth) {
    keys.Value("ElevationColor", color, 0, 0xFFFFFF);
    keys.Value("WallWidth", wallWidth, 0, std::numeric_limits<int>::max());
}

} // namespace

TfmSurface::TfmSurface(const std::string& settingsFile, QWidget* parent)
    : TfmChartWindow(TVtChart::TKind::Surface, FormName, settingsFile, parent) {
    setWindowTitle(QStringLiteral("Surface"));
    TVtChartData& model = Chart().Model();
    model.DrawMode = 1;
    model.WallWidth = DefaultWallWidth;
    model.ElevationColor = RgbOfColor(DefaultElevationColor);

    const auto add = [this](const char* name, const QIcon& icon, const char* text, const char* hint) {
        QAction* action = AddCommand(name, icon, QString::fromLatin1(text), QString::fromLatin1(hint));
        m_toolBar->addAction(action);
        return action;
    };
    acHorizontalGrid = add("acHorizontalGrid", PlotToolIcon(TPlotTool::HorizontalGrid), "&Horizontal Grid",
                           "Horizontal grid");
    acPedestalGrid =
        add("acPedestalGrid", PlotToolIcon(TPlotTool::VerticalGrid), "&Pedestal Grid", "Pedestal Grid");
    m_toolBar->addSeparator();
    acRotateLeft =
        add("acRotateLeft", style()->standardIcon(QStyle::SP_ArrowLeft), "&Rotate &Left", "Rotate left");
    acRotateRight =
        add("acRotateRight", style()->standardIcon(QStyle::SP_ArrowRight), "Rotate &Right", "Rotate right");
    acRotateDown =
        add("acRotateDown", style()->standardIcon(QStyle::SP_ArrowDown), "Rotate &Down", "Rotate down");
    acRotateUp = add("acRotateUp", style()->standardIcon(QStyle::SP_ArrowUp), "&Rotate &Up", "Rotate up");
    connect(acHorizontalGrid, &QAction::triggered, this, [this] {
        Chart().Model().ToggleGrid(1);
        Chart().Model().ToggleGrid(2);
        Chart().Refresh();
    });
    connect(acPedestalGrid, &QAction::triggered, this, [this] {
        Chart().Model().ToggleGrid(0);
        Chart().Model().ToggleGrid(3);
        Chart().Refresh();
    });
    connect(acRotateLeft, &QAction::triggered, this, [this] { Turn(&TVtChartData::RotateLeft); });
    connect(acRotateRight, &QAction::triggered, this, [this] { Turn(&TVtChartData::RotateRight); });
    connect(acRotateDown, &QAction::triggered, this, [this] { Turn(&TVtChartData::RotateDown); });
    connect(acRotateUp, &QAction::triggered, this, [this] { Turn(&TVtChartData::RotateUp); });
    miPrintSetup->setText(QStringLiteral("Printer &Setup"));
    miSaveBmp->setText(QStringLiteral("Save as &BMP..."));
    miSaveWmf->setText(QStringLiteral("Save as WMF..."));
    acPaste->setText(QStringLiteral("&Paste "));
    miProperties->setText(QStringLiteral("&Chart properties"));
    BuildMenus();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    connect(&Chart(), &TVtChart::ViewTurned, this, &TfmSurface::ShowView);
    LoadSettings();
    Chart().Refresh();
    ShowView();
}

void TfmSurface::BuildMenus() {
    BuildFileAndEditMenus();
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({acShowLegend, acHorizontalGrid, acPedestalGrid});
    view->addSeparator();
    view->addActions({acRotateLeft, acRotateRight, acRotateDown, acRotateUp});
    view->addSeparator();
    view->addActions({miProperties, miWizard});
}

void TfmSurface::Turn(void (TVtChartData::*rotate)()) {
    (Chart().Model().*rotate)();
    Chart().Refresh();
    ShowView();
}

void TfmSurface::ShowView() {
    const TVtChartData& model = Chart().Model();
    statusBar()->showMessage(QStringLiteral("Rotation %1°, elevation %2°")
                                 .arg(model.Rotation, 0, 'f', 0)
                                 .arg(model.Elevation, 0, 'f', 0));
}

void TfmSurface::ReadSettings(const TIniFile& ini) {
    TfmChartWindow::ReadSettings(ini);
    int color = DefaultElevationColor;
    int wallWidth = DefaultWallWidth;
    TIniKeyReader keys(ini, FormName);
    AppearanceKeys(keys, color, wallWidth);
    TVtChartData& model = Chart().Model();
    model.ElevationColor = RgbOfColor(color);
    model.WallWidth = static_cast<float>(wallWidth);
}

void TfmSurface::WriteSettings(TIniFile& ini) const {
    TfmChartWindow::WriteSettings(ini);
    const TVtChartData& model = Chart().Model();
    int color = ColorOfRgb(model.ElevationColor);
    int wallWidth = static_cast<int>(std::lround(model.WallWidth));
    TIniKeyWriter keys(ini, FormName);
    AppearanceKeys(keys, color, wallWidth);
}

} // namespace mirla
