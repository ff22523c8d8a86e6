#pragma once

#include "plots/PlotToolIcons.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QAction;
class QActionGroup;
class QCloseEvent;
class QShowEvent;

namespace mirla {

class TContour;
class TPlot;

/// The contour window "Contour Plot": the plot "Chart" that shows the map of the last contour or
/// colour-shading request, with a toolbar and a menu forwarding to the plot's commands, the zoom
/// enable states, the 3-D view switch and, for contour maps, the editing modes. Closing only
/// hides it; the map stays for the next showing.
class TfmContourPlot : public QMainWindow {
    Q_OBJECT
public:
    /// A window whose plot settings and placement live in `settingsFile` (none when empty); it
    /// reads both at once.
    explicit TfmContourPlot(const std::string& settingsFile, QWidget* parent = nullptr);
    ~TfmContourPlot() override;

    /// The plot that shows the map.
    TPlot& Chart() { return *m_chart; }
    /// The map of the last request (null before any).
    TContour* Map() const { return m_map; }
    /// True after a colour-shading request, false after a contour request.
    bool ShadingState() const { return m_shading; }
    /// True once the window has been shown.
    bool WasShown() const { return m_shown; }
    /// Whether closing writes the placement and the plot settings.
    void SetSavesSettings(bool saves) { m_savesSettings = saves; }

    /// Puts `map` in the plot (which was cleared for it) and takes the state of its form: in
    /// shading form the caption "Color Shade f(x,y)" and no editing commands, in line form the
    /// caption "Contour Plot f(x,y)", a legend entry named after the map and the editing commands.
    void ShowMap(std::unique_ptr<TContour> map);

signals:
    /// The window was shown (the main window enables its "Show plots" entry).
    void Shown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddCommand(const char* name, TPlotTool tool, const QString& menuText, const QString& hint);
    QAction* AddEditCommand(const char* name, const QString& menuText, const QString& hint, int mode);
    void BuildCommands();
    void BuildEditCommands();
    void BuildMenus();
    void BuildToolBar();
    void SetEditingVisible(bool visible);
    void SetEditMode(int mode);
    void SetZoomBackEnabled(bool enabled);
    void UpdateZoomBack();
    void LoadWindowPlacement();
    void SaveSettings();

    void ZoomInClick();
    void ZoomOutClick();
    void ZoomPreviousClick();
    void AnimatedZoomClick();
    void ShowLegendClick();
    void VertGridClick();
    void HorisGridClick();
    void View3DClick();
    void AllLabelsClick();

    std::string m_settingsFile;
    bool m_savesSettings = true;
    TPlot* m_chart = nullptr;
    TContour* m_map = nullptr;
    bool m_shading = false;
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
    QAction* miClose = nullptr;
    QActionGroup* m_editGroup = nullptr;
    QAction* acAddContour = nullptr;
    QAction* acDeleteContour = nullptr;
    QAction* acLabelPosition = nullptr;
    QAction* acLabelOff = nullptr;
    QAction* acEndEdit = nullptr;
    QAction* miAllLabels = nullptr;
    QAction* m_editSeparator = nullptr;
    QAction* m_editToolSeparator = nullptr;
};

} // namespace mirla
