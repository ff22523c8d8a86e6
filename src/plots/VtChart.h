#pragma once

#include "plotlib/core/VtChartData.h"

#include <QPrinter>
#include <QWidget>

class QChartView;
class QLabel;
class QPainter;
class QPolarChart;
class QSurface3DSeries;
class Q3DSurface;

namespace mirla {

/// A chart of the data grid of a `TVtChartData`: a lit 3-D surface (rows along X, columns along
/// the depth, cells as heights) or polar curves (column pairs of angle in degrees and radius). It
/// offers printing, the clipboard, a data editor, property pages and a wizard. Where the display
/// has no OpenGL, a message stands in the place of the surface.
class TVtChart : public QWidget {
    Q_OBJECT
public:
    /// What the chart draws.
    enum class TKind { Surface, Polar };

    explicit TVtChart(TKind kind, QWidget* parent = nullptr);
    ~TVtChart() override;

    TKind Kind() const { return m_kind; }
    /// The data and properties the chart shows; `Refresh` shows changes.
    TVtChartData& Model() { return m_model; }
    const TVtChartData& Model() const { return m_model; }
    /// Shows the model's data and properties.
    void Refresh();
    /// False when the surface cannot be drawn on this display (no OpenGL).
    bool DrawsSurface() const { return m_surface != nullptr; }
    /// The surface graph (null for polar charts and without OpenGL).
    Q3DSurface* SurfaceGraph() const { return m_surface; }
    /// The polar chart (null for surfaces).
    QPolarChart* PolarChart() const { return m_polar; }

    /// Draws the chart as it stands into `target` on any paint device.
    void DrawPicture(QPainter& painter, const QRect& target);
    /// The chart as a picture of its size on the screen.
    QImage Picture();

    /// Asks for a printer and prints the chart, as large as the page allows.
    void Print();
    /// Opens the page set-up of the printer the chart prints on.
    void PrintSetup();
    /// Puts the picture and the data grid (tab-separated text) on the clipboard.
    void CopyToClipboard();
    /// Takes a data grid from the clipboard's text; false, with a message and the data kept,
    /// when the clipboard holds none.
    bool PasteFromClipboard();
    /// Opens the data editor; the chart shows what it accepted.
    void EditData();
    /// Opens the property pages.
    void ShowProperties();
    /// Opens the chart wizard (chart style and titles).
    void ShowWizard();

signals:
    /// The user turned the surface with the mouse; the model holds the new angles.
    void ViewTurned();

private:
    void BuildSurface();
    void BuildPolar();
    void RefreshSurface();
    void RefreshPolar();
    void CameraMoved();

    TKind m_kind;
    TVtChartData m_model;
    QPrinter m_printer;
    QLabel* m_title = nullptr;
    QLabel* m_legend = nullptr;
    Q3DSurface* m_surface = nullptr;
    QSurface3DSeries* m_series = nullptr;
    QWidget* m_surfaceView = nullptr;
    QChartView* m_polarView = nullptr;
    QPolarChart* m_polar = nullptr;
    /// True while the chart itself moves the camera, so that the move is not taken as the user's.
    bool m_placingCamera = false;
};

} // namespace mirla
