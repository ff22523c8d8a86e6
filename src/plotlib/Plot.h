#pragma once

#include "plotlib/Graph.h"
#include "plotlib/PrintPage.h"
#include "plotlib/core/DataText.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <memory>

class QLabel;
class QMenu;
class QStatusBar;

namespace mirla {

class TContour;
class TIniFile;

class TSeries;

/// Switches that disable parts of the properties dialog.
struct TPlotProperties {
    bool DisabledDerivative = false;
    bool Disabled3D = false;
    bool DisabledXAxisLog = false;
    bool DisabledYAxisLog = false;
    bool DisabledXAxisInvert = false;
    bool DisabledYAxisInvert = false;
    bool DisabledXAxis2Log = false;
    bool DisabledYAxis2Log = false;
    bool DisabledXAxis2Invert = false;
    bool DisabledYAxis2Invert = false;
    bool DisabledOperationsTab = false;
    bool DisabledAxis2Tab = false;
    bool DisabledSeriesStyle = false;
    bool DisabledInfoTab = false;
    bool DisabledInfoShow = false;
};

/// The plot widget: one graph drawn into an off-screen bitmap that fills the widget, a status bar
/// with the world coordinates under the mouse, the zoom and pan gestures, a context menu, and
/// the picture, clipboard, print, properties and settings commands of the host windows.
class TPlot : public QWidget {
    Q_OBJECT
public:
    explicit TPlot(QWidget* parent = nullptr);
    ~TPlot() override;

    /// Shows the cursor of what a press would do now: a drag, an annotation tool, a layer that
    /// owns the mouse (its own cursor), the zoom, the inside legend, else the default. Hosts call
    /// it after changing a mode the plot cannot see.
    void UpdateCursor();

    /// The graph model the host fills.
    TGraph& Graph() { return *m_graph; }
    const TGraph& Graph() const { return *m_graph; }
    TAxis& XAxis() { return m_graph->XAxis(); }
    TAxis& YAxis() { return m_graph->YAxis(); }
    TAxis& XAxis2() { return m_graph->XAxis2(); }
    TAxis& YAxis2() { return m_graph->YAxis2(); }
    TGraphTitle& Title() { return m_graph->Title; }
    TGraphTitle& Foot() { return m_graph->Foot; }
    TWLegend& Legend() { return m_graph->Legend(); }
    TColorLegend& ColorLegend() { return m_graph->ColorLegend(); }
    TZoom& Zoom() { return m_graph->Zoom(); }

    /// A colour for a new layer that no layer uses.
    TColor FreeColor() const { return m_graph->FreeColor(); }
    /// A marker shape for a new series that no series uses.
    TMarkerStyle FreeMarker() const { return m_graph->FreeMarker(); }
    /// The 3-D look in percent; 0 is flat.
    double View3D() const { return m_graph->View3D(); }
    void SetView3D(double percent) { m_graph->SetView3D(percent); }

    /// Whether the status bar is shown.
    bool StatusBarVisible() const;
    void SetStatusBarVisible(bool visible);
    /// Whether the status bar shows a size grip.
    bool StatusBarGrip() const;
    void SetStatusBarGrip(bool grip);
    /// Parts of the properties dialog the host disabled.
    TPlotProperties PropertiesControl;
    /// Which entries (bits 1 << TPopupMenuItem) the context menu shows.
    unsigned PopupMenuItems() const { return m_popupItems; }
    void SetPopupMenuItems(unsigned items) { m_popupItems = items; }
    /// A menu of the host whose entries come first in the context menu, followed by a separator.
    void SetHostMenu(QMenu* menu) { m_hostMenu = menu; }
    /// The host's texts for the printed title blocks.
    TPrintTexts PrintTexts;
    /// The INI section: the owner window's object name followed by the plot's ("fmPlot2DChart").
    QString SettingsSection() const;

    /// Redraws the graph into the bitmap and shows it.
    void Refresh();
    /// The bitmap of the last drawing.
    const QImage& Bitmap() const { return m_bitmap; }
    /// Opens the print dialog "Print" (page layout, title blocks, preview) for the graph; afterwards
    /// the graph is laid out for the screen again.
    void Print();
    /// Starts rubber-band zoom mode.
    void ZoomIn();
    /// Back to the full view; ends zoom mode.
    void ZoomOut();
    /// Restores the previous view; false when no earlier view remains.
    bool ZoomPrevious();
    /// Switches animated zoom (click to zoom around a point) on or off.
    void ToggleAnimatedZoom();
    /// Asks for a file name ("Save to file") and writes the picture in the chosen format.
    void SaveAs();
    /// Puts the picture on the clipboard.
    void CopyToClipboard();
    /// Opens the properties dialog on the page shown last; redraws after OK.
    void ShowProperties();
    /// Appends a contour layer.
    void AddContour(std::unique_ptr<TContour> contour);
    /// Frees every layer, empties both legends and the axes' user labels.
    void Clear();
    /// Opens the import dialog "Paste Series from Clipboard" filling `target`, or a new series when
    /// nullptr; redraws and returns true when a series was made or changed.
    bool PasteSeries(TSeries* target = nullptr);
    /// Opens the "Export" dialog on the plot.
    void ExportSeries();
    /// Asks for a file and writes the plot's drawing to it as a DXF drawing.
    void SaveAsDxf();
    /// Writes the plot's drawing to `path` as a DXF drawing; a failure is reported and gives false.
    bool SaveDxfTo(const QString& path);
    /// Asks for a file and writes the plot's layers to it as text.
    void SaveLayers();
    /// Writes the plot's layers to `path` as text; a failure is reported and gives false.
    bool SaveLayersTo(const QString& path);
    /// Asks for a layer text file and adds its layers to the plot.
    void LoadLayers(bool replaceByName);
    /// Adds the layers of the layer text file at `path` (first deleting the plot's layers of the
    /// same names when `replaceByName`) and redraws; a file that does not read is reported with
    /// its name and line, changes nothing and gives false.
    bool LoadLayersFrom(const QString& path, bool replaceByName);
    /// The delimiters of the import dialog, kept between uses.
    TDelimiterSet ImportDelimiters;
    /// Writes the plot's settings to its INI file (nothing when `IniFileName` is empty); a file
    /// that cannot be updated is reported and left as it is.
    void SaveSettings();
    /// Writes the plot's settings into `ini`, in the plot's own section.
    void WriteSettings(TIniFile& ini) const;
    /// Reads the plot's settings when the file says they were saved.
    void LoadSettings();

signals:
    /// The view changed by a gesture (zoom, pan, previous): hosts update their zoom controls.
    void ViewChanged();
    /// The properties dialog applied changes.
    void PropertiesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    /// Who the gesture in progress belongs to.
    enum class TMouseOwner { None, Annotate, Layer, Zoom, Pan, Legend };

    QRect ChartRect() const;
    /// A mouse event as layers see it, with `buttons` held.
    TLayerMouse LayerMouse(const QMouseEvent& event, Qt::MouseButtons buttons) const;
    /// The last layer in the list that owns the mouse now (an edit mode), or nullptr.
    TLayer* LayerWantingMouse() const;
    /// Hands a press to the first of the annotations, a layer in an edit mode, the zoom, the
    /// inside legend and the pan that takes it; returns who took it.
    TMouseOwner StartGesture(QMouseEvent& event);
    void StartZoom(QPoint position);
    void StartPan(QPoint position);
    bool OverInsideLegend(QPoint position) const;
    /// Moves the inside legend's anchor by the drag from `m_dragStart` to `position`.
    void FinishLegendDrag(QPoint position);
    void LayOutStatusBar();
    /// The world point under a widget pixel on both axis pairs.
    TZoomPoint WorldAt(QPoint position) const;
    bool InPlotArea(QPoint position) const;
    void ShowCoordinates(QPoint position);
    /// Shows "Z=" and the value of the first layer with values over the plane, or hides the panel.
    void ShowValue(QPoint position, bool inside);
    void SetPanelText(QLabel* panel, const QString& text);
    void RunAnimatedZoom(QPoint position);
    void FinishRubberBand(QPoint position);
    void FinishPan(QPoint position);
    /// Shows new views and tells the host.
    void ShowViews(const TZoomViews& views);
    /// The series with a drawn point within a few pixels of `position` (its hit index set), or nullptr.
    TSeries* SeriesAt(QPoint position) const;
    void BuildContextMenu(QMenu& menu);
    /// The series' "&Paste" entry: the import dialog with the series as target.
    void AddPasteEntry(QMenu& menu, TSeries& series);
    void AddGraphEntries(QMenu& menu);
    QSize PictureSize() const;
    /// The settings file of the print dialog: the graph's, or "Default.Ini" beside the program.
    std::string PrintIniFile() const;

    std::unique_ptr<TGraph> m_graph;
    QImage m_bitmap;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_xPanel = nullptr;
    QLabel* m_yPanel = nullptr;
    QLabel* m_zPanel = nullptr;
    QLabel* m_textPanel = nullptr;
    QMenu* m_hostMenu = nullptr;
    unsigned m_popupItems = 0x7F;
    int m_lastPropertiesPage = 0;
    bool m_savedSilentDraw = false;
    TMouseOwner m_owner = TMouseOwner::None;
    TLayer* m_ownerLayer = nullptr;
    bool m_overLegend = false;
    QPoint m_dragStart;
    QPoint m_dragNow;
    bool m_drawing = false;
    bool m_redrawPending = false;
    /// The page layout, kept from one print to the next.
    TPageSetup m_pageSetup;
};

} // namespace mirla
