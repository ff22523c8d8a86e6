#pragma once

#include "plots/PlotToolIcons.h"
#include "plots/VtChart.h"

#include <QMainWindow>

#include <string>

class QAction;
class QCloseEvent;
class QMenu;
class QShowEvent;
class QToolBar;

namespace mirla {

class TIniFile;

/// What the polar and surface windows share: the chart "Chart", the commands that forward to
/// it (print, print set-up, pictures, legend, clipboard, data editor, property pages, wizard,
/// exit), the "Save As..." pop-up menu, and the placement in the window's own section of the
/// settings file. Closing only hides the window; its chart stays for the next showing.
class TfmChartWindow : public QMainWindow {
    Q_OBJECT
public:
    /// A window named `formName` whose placement lives in `settingsFile` (none when empty).
    TfmChartWindow(TVtChart::TKind kind, const char* formName, const std::string& settingsFile,
                   QWidget* parent);

    /// The chart that receives the data.
    TVtChart& Chart() { return *m_chart; }
    const TVtChart& Chart() const { return *m_chart; }
    /// True once the window has been shown.
    bool WasShown() const { return m_shown; }
    /// Whether closing writes the settings (false when another program keeps the files, or when
    /// the settings file could not be updated and was reported once).
    void SetSavesSettings(bool saves) { m_savesSettings = saves; }
    /// Asks for a BMP file name ("Save to file as BMP") and saves the chart's picture there.
    void SaveAsBmp();
    /// Asks for a WMF file name ("Save to file as WMF") and saves the chart's picture there.
    void SaveAsWmf();
    /// Asks for a file name and a picture format, as the 2-D plot does, and saves the picture.
    void SaveAsPicture();

signals:
    /// The window was shown (the main window enables its "Show plots" commands).
    void Shown();

protected:
    /// A command with a toolbar picture.
    QAction* AddCommand(const char* name, const QIcon& icon, const QString& menuText, const QString& hint);
    /// A menu entry without a picture.
    QAction* AddEntry(const char* name, const QString& menuText);
    /// Reads the placement; the surface adds its appearance.
    virtual void ReadSettings(const TIniFile& ini);
    /// Writes the placement; the surface adds its appearance.
    virtual void WriteSettings(TIniFile& ini) const;
    /// Adds the "&File" and "&Edit" menus that both windows share.
    void BuildFileAndEditMenus();
    /// Reads the settings file when there is one.
    void LoadSettings();
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    QAction* acPrint = nullptr;
    QAction* acSaveAs = nullptr;
    QAction* acShowLegend = nullptr;
    QAction* acCopy = nullptr;
    QAction* acPaste = nullptr;
    QAction* acData = nullptr;
    QAction* miPrintSetup = nullptr;
    QAction* miSaveBmp = nullptr;
    QAction* miSaveWmf = nullptr;
    QAction* miSavePicture = nullptr;
    QAction* miProperties = nullptr;
    QAction* miWizard = nullptr;
    QAction* miExit = nullptr;
    QMenu* pmSave = nullptr;
    QToolBar* m_toolBar = nullptr;

private:
    void BuildCommands();
    void SaveSettings();
    void SavePicture(const QString& title, const QStringList& filters, const QString& defaultSuffix);
    void ShowLegendClick();

    const char* m_formName;
    std::string m_settingsFile;
    bool m_savesSettings = true;
    TVtChart* m_chart = nullptr;
    bool m_shown = false;
};

} // namespace mirla
