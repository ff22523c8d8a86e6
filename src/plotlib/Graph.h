#pragma once

#include "plotlib/Axis.h"
#include "plotlib/Layer.h"
#include "plotlib/Legend.h"
#include "plotlib/core/AxisMapping.h"
#include "plotlib/core/GraphUndo.h"
#include "plotlib/core/PlotTypes.h"
#include "plotlib/core/Zoom.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QPainter;

namespace mirla {

class TGraphAnnotate;
class TSeries;

/// Text above (title) or below (foot) the plot.
struct TGraphTitle {
    std::string Text;
    TFontSpec Font{"Arial", 12, clBlack, 1, fsBold};
    TAlignment Alignment = taCenter;
    bool Visible = true;
    TTitleStyle Style = tsNormal;
};

/// The frame around the plot area.
struct TGraphFrame {
    int Style = 1;
    TColor Color = clGray;
    int Width = 1;
    bool Visible = true;
};

/// The background gradient over the whole drawing surface.
struct TGraphGradient {
    bool Visible = true;
    TGradientStyle Style = gsNone;
    TColor StartColor = clWhite;
    TColor EndColor = clSilver;
};

/// The background picture.
struct TGraphPicture {
    TPictureStyle Style = psStretch;
    std::string PictureFileName;
    TColor Color = clWhite;
    bool Visible = true;
};

/// The info bubble that shows the point under the mouse.
struct TGraphInfo {
    TInfoStyle Style = isRoundRect;
    TInfoPosition Position = ipRightTop;
    TColor Color = 11657953;
    TFontSpec Font;
    bool Visible = true;
    int NumberOfGeneralDigits = 12;
    std::string FormatX;
    std::string FormatY;
    std::string PointName = "Point";
    std::string SeriesName = "Series";
    std::string PointValue;
    std::string SeriesValue;
    bool PointVisible = true;
    bool SeriesVisible = true;
    /// The lines the bubble shows now; empty hides it.
    std::vector<std::string> Content;
};

/// What a drawing paints on: the screen bitmap, the printer, or a picture file/clipboard (white
/// background, no status texts, no message pumping).
enum class TDrawTarget { Screen, Printer, Export };

/// The graph model and its drawing: the layer list, the four axes, titles, legends, background,
/// frame, info bubble, zoom stack and undo journal, and the world-to-screen mapping.
class TGraph {
public:
    TGraph();
    ~TGraph();
    TGraph(const TGraph&) = delete;
    TGraph& operator=(const TGraph&) = delete;

    // ---- layers
    /// Appends a layer (the graph owns it); returns its index.
    int AddLayer(std::unique_ptr<TLayer> layer);
    /// Inserts a layer (the graph owns it) at `index`, clamped to 0 .. LayerCount(); returns its index.
    int InsertLayer(int index, std::unique_ptr<TLayer> layer);
    /// Raises `OnDeleteSeries`, unlinks the layer at `index` and hands it back; dropping the
    /// result frees it. Out-of-range indexes give nullptr.
    std::unique_ptr<TLayer> DeleteLayer(int index);
    int LayerCount() const { return static_cast<int>(m_layers.size()); }
    /// The layer at `index`.
    TLayer* Layer(int index) const { return m_layers.at(index).get(); }
    /// Index of `layer` in the list, -1 when absent.
    int IndexOf(const TLayer* layer) const;
    /// Frees every layer, empties both legends, removes the axes' user labels.
    void Clear();
    /// Whether any layer holds a data point.
    bool HasDataPoints() const;

    // ---- parts
    TAxis& XAxis() { return m_xAxis; }
    TAxis& YAxis() { return m_yAxis; }
    TAxis& XAxis2() { return m_xAxis2; }
    TAxis& YAxis2() { return m_yAxis2; }
    const TAxis& XAxis() const { return m_xAxis; }
    const TAxis& YAxis() const { return m_yAxis; }
    const TAxis& XAxis2() const { return m_xAxis2; }
    const TAxis& YAxis2() const { return m_yAxis2; }
    /// The axis a layer drawing now maps X through (the top one while drawing on it).
    const TAxis& CurrentXAxis() const { return m_onXAxis2 ? static_cast<const TAxis&>(m_xAxis2) : m_xAxis; }
    const TAxis& CurrentYAxis() const { return m_onYAxis2 ? static_cast<const TAxis&>(m_yAxis2) : m_yAxis; }
    TWLegend& Legend() { return m_legend; }
    TColorLegend& ColorLegend() { return m_colorLegend; }
    TZoom& Zoom() { return m_zoom; }
    TGraphUndo& Undo() { return m_undo; }
    /// The free drawings over the data, drawn after everything else in the plot area.
    TGraphAnnotate& Annotate() { return *m_annotate; }
    const TGraphAnnotate& Annotate() const { return *m_annotate; }
    TGraphTitle Title;
    TGraphTitle Foot;
    TGraphFrame Frame;
    TGraphGradient Gradient;
    TGraphPicture Picture;
    TGraphInfo Info;

    // ---- settings
    TColor Color = clWhite;       ///< plot area
    TColor BackColor = clBtnFace; ///< surface around the plot area
    double Exaggerate = 1;
    bool ClipMarkers = false;
    double MinimumLogValue = 1e-10;
    TBarStyle BarStyle = bsClustered;
    bool SilentDraw = false;
    std::string IniFileName;
    /// The 3-D look in percent (stored as a factor of 0.005 per percent).
    double View3D() const { return m_view3DFactor * 200; }
    /// Sets the 3-D percentage and switches the axes' look (`Set3DLook` / `Set2DLook`).
    void SetView3D(double percent);
    /// Depth of the 3-D look in pixels for the current plot area (0 in the flat look).
    int Depth3D() const;
    /// Hides minor ticks, turns ticks inward with the frame width as length, hides base lines.
    void Set3DLook();
    /// Shows minor ticks outward with lengths 4 and 2 and the base lines again.
    void Set2DLook();
    /// A colour no layer uses (see `ChooseFreeColor`).
    TColor FreeColor() const;
    /// The first marker shape 1..50 no series uses.
    TMarkerStyle FreeMarker() const;

    // ---- mapping
    /// The world rectangle of the bottom/left axes (log10 units on logarithmic axes).
    const TWorldRect& World() const { return m_world; }
    /// The world rectangle of the top/right axes.
    const TWorldRect& World2() const { return m_world2; }
    /// Both world rectangles, as the zoom sees them.
    TZoomViews Views() const { return {m_world, m_world2}; }
    /// Sets both world rectangles and recomputes the mapping (zoom and pan).
    void SetViews(const TZoomViews& views);
    /// The plot area in pixels after the last layout.
    const QRect& PlotArea() const { return m_plotArea; }
    /// The whole drawing surface of the last drawing.
    const QRect& DrawRect() const { return m_drawRect; }
    /// World X (of the current X axis) to a column.
    double XToScreen(double x) const;
    /// World Y (of the current Y axis) to a row.
    double YToScreen(double y) const;
    /// Column to world X of the current X axis.
    double ScreenToX(double column) const;
    /// Row to world Y of the current Y axis.
    double ScreenToY(double row) const;
    /// The linear world-to-column mapping of the current X axis (for loops over many points).
    const TAxisMapping& CurrentXMapping() const { return m_onXAxis2 ? m_x2 : m_x; }
    /// The linear world-to-row mapping of the current Y axis.
    const TAxisMapping& CurrentYMapping() const { return m_onYAxis2 ? m_y2 : m_y; }
    /// A data X to a column: through `LogValue` first when the current X axis is logarithmic.
    double DataXToScreen(double x) const;
    /// A data Y to a row: through `LogValue` first when the current Y axis is logarithmic.
    double DataYToScreen(double y) const;
    /// log10(max(v, MinimumLogValue)).
    double LogValue(double v) const;
    /// Makes the mapping calls use the top X / right Y axis (set while a layer draws).
    void SetDrawingOnSecondAxes(bool xAxis2, bool yAxis2);
    /// The world point under a pixel on both axis pairs.
    TZoomPoint WorldAt(double column, double row) const;
    /// Whether the zoom stack holds a view (the plot shows a zoomed part).
    bool Zoomed() const { return m_zoom.Zoomed(); }
    /// The world range low..high of one of the four axes (log10 units when logarithmic; low < high).
    std::pair<double, double> AxisRange(const TAxis& axis) const;
    /// A world value of `axis` to a column (horizontal axes) or a row (vertical axes).
    double AxisToScreen(const TAxis& axis, double value) const;

    // ---- drawing
    /// Draws the whole graph on `painter` within `rect`, in the paint order; nothing when a
    /// drawing is already running.
    void Draw(QPainter& painter, const QRect& rect, TDrawTarget target = TDrawTarget::Screen);
    /// Whether the drawing in progress goes to the printer.
    bool Printing() const { return m_target == TDrawTarget::Printer; }
    /// Whether the drawing in progress goes to a picture file or the clipboard.
    bool Exporting() const { return m_target == TDrawTarget::Export; }
    /// Height in pixels of "a" in Arial at size 1 on the current device (measured each drawing).
    double TextUnit() const { return m_textUnit; }

    /// Called with the graph before the layers are drawn.
    std::function<void(TGraph&)> BeforeDraw;
    /// Called with the graph after the layers are drawn.
    std::function<void(TGraph&)> AfterDraw;
    /// Called with a layer before `DeleteLayer` unlinks it.
    std::function<void(TLayer&)> OnDeleteSeries;
    /// Shows a text in the status bar's free panel ("\tNow draw ..."); empty clears it.
    std::function<void(const QString&)> StatusText;
    /// Lets pending window events run between layers of a screen drawing.
    std::function<void()> PumpMessages;
    /// Called when the graph changed and wants a redraw (a layer deleted itself).
    std::function<void()> Changed;

private:
    void LayOut(QPainter& painter);
    void ComputeWorld();
    void ApplyMarkerMargin();
    void ComputeMapping();
    void DrawBackground(QPainter& painter);
    void DrawTitles(QPainter& painter);
    void DrawLayers(QPainter& painter);
    void DrawInfo(QPainter& painter);
    void DrawAnnotations(QPainter& painter);
    void DrawFrame(QPainter& painter);
    void DrawPicture(QPainter& painter, bool insideFrame);
    void DrawTitle(QPainter& painter, const TGraphTitle& title, int top);
    void DrawAxesUnderData(QPainter& painter);
    void DrawLayer(QPainter& painter, int index);
    void ShowDrawStatus(const TLayer& layer);
    void ConvertWorldForLog(const TAxis& axis, bool log);
    TWorldRect& WorldOf(const TAxis& axis);
    const TWorldRect& WorldOf(const TAxis& axis) const;
    const TAxisMapping& MappingOf(const TAxis& axis) const;
    int TitleHeight(QPainter& painter, const TGraphTitle& title) const;
    int LastVisibleBarIndex() const;
    std::vector<TSeries*> VisibleSeries() const;

    std::vector<std::unique_ptr<TLayer>> m_layers;
    TXAxis m_xAxis{*this};
    TYAxis m_yAxis{*this};
    TXAxis2 m_xAxis2{*this};
    TYAxis2 m_yAxis2{*this};
    TWLegend m_legend{*this};
    TColorLegend m_colorLegend{*this};
    TZoom m_zoom;
    TGraphUndo m_undo;
    std::unique_ptr<TGraphAnnotate> m_annotate;
    TWorldRect m_world;
    TWorldRect m_world2;
    TAxisMapping m_x, m_y, m_x2, m_y2;
    QRect m_plotArea{0, 0, 1, 1};
    QRect m_drawRect;
    bool m_onXAxis2 = false;
    bool m_onYAxis2 = false;
    double m_view3DFactor = 0;
    bool m_busy = false;
    TDrawTarget m_target = TDrawTarget::Screen;
    double m_textUnit = 1;
    int m_depth3D = 0;
    std::string m_pictureFile;
    QImage m_picture;
};

} // namespace mirla
