#pragma once

#include <QString>

#include <string>

class QAction;
class QIcon;
class QObject;
class QWidget;

namespace mirla {

class TPlot;

/// A command of a plot window: `menuText` in the menu, `hint` on its toolbar button.
QAction* MakePlotCommand(QObject* owner, const char* name, const QIcon& icon, const QString& menuText,
                         const QString& hint);
/// Switches the plot between the flat look and the 3-D look (8 %, frame width 10, X axis with
/// major ticks only); `flatFrameWidth` keeps the frame width of the flat look to restore it.
void SwitchView3D(TPlot& plot, int& flatFrameWidth);
/// Moves and sizes `window` as the settings file's section `formName` says (nothing without a
/// file or when it cannot be read).
void LoadWindowPlacement(QWidget& window, const std::string& settingsFile, const char* formName);
/// Writes the placement of `window` (section `formName`) and the settings of `plot` in one update
/// of the settings file; a file that cannot be updated is reported.
void SaveWindowSettings(QWidget& window, TPlot& plot, const std::string& settingsFile, const char* formName);

} // namespace mirla
