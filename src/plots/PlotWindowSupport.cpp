#include "plots/PlotWindowSupport.h"

#include "app/core/CalcSettings.h"
#include "plotlib/Plot.h"
#include "plots/ScreenPlacement.h"
#include "runtime/SettingsFile.h"

#include <QAction>
#include <QIcon>
#include <QMessageBox>

namespace mirla {

namespace {

constexpr int View3DPercent = 8;
constexpr int View3DFrameWidth = 10;

} // namespace

QAction* MakePlotCommand(QObject* owner, const char* name, const QIcon& icon, const QString& menuText,
                         const QString& hint) {
    auto* action = new QAction(icon, menuText, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    return action;
}

void SwitchView3D(TPlot& plot, int& flatFrameWidth) {
    TGraph& graph = plot.Graph();
    if (plot.View3D() != 0) {
        plot.SetView3D(0);
        graph.Frame.Width = flatFrameWidth;
        graph.Set2DLook();
    } else {
        plot.SetView3D(View3DPercent);
        flatFrameWidth = graph.Frame.Width;
        graph.Frame.Width = View3DFrameWidth;
        // The 3-D look takes its tick length from the frame width, so it is applied again now.
        graph.Set3DLook();
        plot.XAxis().Ticks.MinorVisible = false;
        plot.XAxis().Ticks.MajorVisible = true;
    }
    plot.Refresh();
}

void LoadWindowPlacement(QWidget& window, const std::string& settingsFile, const char* formName) {
    TIniFile ini;
    std::string message;
    if (settingsFile.empty() || !ini.Load(settingsFile, message))
        return;
    const TWindowPlacement placement = TWindowPlacement::Read(ini, formName);
    RestoreOnVisibleScreen(window, QRect(placement.Left, placement.Top, placement.Width, placement.Height));
}

void SaveWindowSettings(QWidget& window, TPlot& plot, const std::string& settingsFile, const char* formName) {
    const TWindowPlacement placement{window.x(), window.y(), window.width(), window.height()};
    const auto write = [&](TIniFile& ini) {
        placement.Write(ini, formName);
        plot.WriteSettings(ini);
    };
    std::string message;
    if (!UpdateSettingsFile(settingsFile, write, message))
        QMessageBox::critical(&window, QStringLiteral("Error"), QString::fromStdString(message));
}

} // namespace mirla
