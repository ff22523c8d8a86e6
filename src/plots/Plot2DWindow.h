#pragma once

#include "plots/PlotToolIcons.h"

#include <QMainWindow>

#include <string>

class QAction;
class QCloseEvent;
class QShowEvent;
class QToolBar;

namespace mirla {

class TPlot;

/// The 2-D plot window "2D - Plot": the plot "Chart" that collects the f(X) curves, with a
/// toolbar and a menu forwarding to the plot's commands, the enable states of the zoom
/// commands and the 3-D view switch. Closing only hides it; the curves stay for the next showing.
class TfmPlot2D : public QMainWindow {
    Q_OBJECT
public:
    /// A window whose plot settings and placement live in `settingsFile` (none when empty); it
    /// reads both at once.
    explicit TfmPlot2D(const std::string& settingsFile, QWidget* parent = nullptr);
    ~TfmPlot2D() override;

    /// The plot that receives the curves.
    TPlot& Chart() { return *m_chart; }
    /// True once the window has been shown.
    bool WasShown() const { return m_shown; }
    /// The frame width that the 3-D view brings back when it is switched off.
    int RememberedFrameWidth() const { return m_flatFrameWidth; }
    /// Whether closing writes the placement and the plot settings (false when another program
    /// keeps the files, or when the settings file could not be updated and was reported once).
    void SetSavesSettings(bool saves) { m_savesSettings = saves; }

signals:
    /// The window was shown (the main window enables its "Show plots" commands).
    void Shown();

protected:
    /// A plot window named `formName` (its settings section) with the caption `caption`.
    TfmPlot2D(const std::string& settingsFile, const char* formName, const QString& caption, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    QAction* AddCommand(const char* name, TPlotTool tool, const QString& menuText, const QString& hint);
    void BuildCommands();
    void BuildDataCommands();
    void BuildMenus();
    void BuildToolBar();
    void LoadWindowPlacement();
    /// Writes the placement (section "fmPlot2D") and the plot settings in one update of the file.
    void SaveSettings();
    void SetZoomBackEnabled(bool enabled);
    void UpdateZoomBack();

    void ZoomInClick();
    void ZoomOutClick();
    void ZoomPreviousClick();
    void AnimatedZoomClick();
    /// Shows or hides the legend the window explains its plot with (the line legend here).
    virtual void ShowLegendClick();
    void VertGridClick();
    void HorisGridClick();
    void View3DClick();

    std::string m_settingsFile;
    const char* m_formName;
    bool m_savesSettings = true;
    TPlot* m_chart = nullptr;
    bool m_shown = false;
    int m_flatFrameWidth = 1;

    QAction* acPrint = nullptr;
    QAction* acSaveAs = nullptr;
    QAction* acZoomIn = nullptr;
    QAction* acZoomOut = nullptr;
    QAction* acZoomPrevious = nullptr;
    QAction* acAnimatedZoom = nullptr;
    QAction* acProperties = nullptr;
    QAction* acShowLegend = nullptr;
    QAction* acVertGrid = nullptr;
    QAction* acHorisGrid = nullptr;
    QAction* ac3DView = nullptr;
    QAction* acCopy = nullptr;
    QAction* acExportData = nullptr;
    QAction* acImportData = nullptr;
    QAction* miImport = nullptr;
    QAction* miExport = nullptr;
    QAction* miSaveAsDxf = nullptr;
    QAction* miSaveLayers = nullptr;
    QAction* miLoadLayers = nullptr;
    QAction* miReplaceLayers = nullptr;
    QAction* miExit = nullptr;
};

} // namespace mirla
