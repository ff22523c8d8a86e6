#pragma once

#include "plotlib/core/Extent.h"
#include "plotlib/core/LayerText.h"
#include "plotlib/core/PlotTypes.h"

#include <QColor>
#include <QCursor>
#include <QPoint>
#include <QtCore/qnamespace.h>

#include <optional>
#include <string>

class QFont;
class QMenu;
class QPainter;

namespace mirla {

class TGraph;

/// Converts a stored colour ($00BBGGRR) to a Qt colour; -1 gives black.
QColor ToQColor(TColor color);
/// Converts a Qt colour to the stored form.
TColor FromQColor(const QColor& color);
/// The Qt pen style of a stored line style (psClear draws nothing).
Qt::PenStyle ToQtPenStyle(TPenStyle style);
/// The Qt font of a stored font: family, point size and the bold, italic, underline, strike-out styles.
QFont ToQFont(const TFontSpec& spec);

/// A mouse event over the plot as a layer sees it: buttons held (for a press, the one pressed),
/// keys held, the pixel in the plot image and the world point under it on the layer's axes.
struct TLayerMouse {
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
    QPoint pixel;
    double x = 0;
    double y = 0;
};

/// Anything drawn in the graph's layer list: series, contour maps, legends. The graph owns its
/// layers and draws them in list order; each layer maps its data through the graph.
class TLayer {
public:
    /// A layer of `graph`; it is not in the list until `TGraph::AddLayer`.
    explicit TLayer(TGraph& graph) : m_graph(graph) {}
    virtual ~TLayer() = default;
    TLayer(const TLayer&) = delete;
    TLayer& operator=(const TLayer&) = delete;

    /// The graph the layer belongs to.
    TGraph& Graph() const { return m_graph; }

    /// The layer's colour.
    virtual TColor Color() const { return m_color; }
    /// Changes the layer's colour.
    virtual void SetColor(TColor color) { m_color = color; }
    /// Smallest Z value the layer shows (contour maps); 0 for others.
    virtual double MinZ() const { return 0; }
    /// Largest Z value the layer shows (contour maps); 1 for others.
    virtual double MaxZ() const { return 1; }

    /// Whether the layer is mapped on the top X axis.
    bool UsesXAxis2() const { return m_usesXAxis2; }
    void SetUsesXAxis2(bool on) { m_usesXAxis2 = on; }
    /// Whether the layer is mapped on the right Y axis.
    bool UsesYAxis2() const { return m_usesYAxis2; }
    void SetUsesYAxis2(bool on) { m_usesYAxis2 = on; }

    /// Whether the layer is drawn.
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool visible) { m_visible = visible; }
    /// Whether the user selected the layer.
    bool Selected() const { return m_selected; }
    void SetSelected(bool selected) { m_selected = selected; }

    /// The layer's name (legend caption, status text); at most 255 characters.
    const std::string& Name() const { return m_name; }
    /// Sets the name, cut to 255 characters.
    void SetName(const std::string& name) { m_name = name.substr(0, 255); }

    /// Paints the layer with the graph's current mapping; nothing by default.
    virtual void Draw(QPainter& painter) { (void)painter; }
    /// The data range of the layer; empty by default (the layer takes no part in scaling).
    virtual TExtent GetExtent() const { return {}; }
    /// Number of data points (1 for layers without points).
    virtual int PointCount() const { return 1; }

    /// Whether the layer explains itself with the colour legend (shading maps, coloured contours).
    virtual bool ShowsColorScale() const { return false; }
    /// The colour of a fraction 0..1 of the layer's Z range, for the colour legend.
    virtual QColor ScaleColor(double fraction) const {
        (void)fraction;
        return ToQColor(m_color);
    }

    /// The class name that heads the layer in a layer text file; empty for layers that are not
    /// written to one.
    virtual std::string TextClassName() const { return {}; }
    /// Appends the layer as text: the header (class name, colour, flags, name), then the data
    /// of its class.
    virtual void SaveToText(std::string& out) const;
    /// Takes the header's settings and reads the rest of the layer written by `SaveToText`;
    /// throws TLayerTextError at the line that does not read.
    virtual void LoadFromText(const TLayerHeader& header, TLayerTextReader& reader);

    /// Adds the layer's own entries to a context menu: "&Delete  <Ctrl>" (miErase, wired to
    /// `Erase`) and "&Properties" (miProperties, which the host connects to its dialog by name).
    virtual void BuildPopupMenu(QMenu& menu);
    /// Removes the layer from its graph (the menu's "&Delete  <Ctrl>"), destroys it and tells the
    /// graph through `Changed`; the caller must not touch the layer afterwards.
    virtual void Erase();
    /// Index of the point the mouse last hit, -1 for none.
    int HitIndex() const { return m_hitIndex; }
    /// Remembers the point the mouse hit (-1 for none).
    void SetHitIndex(int index) { m_hitIndex = index; }

    /// Whether the layer owns the mouse now (an edit mode): the plot then hands it every gesture
    /// before zoom and pan.
    virtual bool WantsMouse() const { return false; }
    /// The cursor the plot shows while the layer owns the mouse; none leaves the plot's own.
    virtual std::optional<QCursor> MouseCursor() const { return std::nullopt; }
    /// The value the layer shows at world point (x, y) for the status bar ("Z="): `MissingValue`
    /// where it has none; nothing for layers that show no values over the plane.
    virtual std::optional<double> ValueAt(double x, double y) const {
        (void)x;
        (void)y;
        return std::nullopt;
    }

    /// Mouse hooks, called by the plot for the layer that owns the current interaction. Each
    /// returns whether the layer took the event (the plot then leaves zoom and pan alone); by
    /// default the layer takes nothing and forgets the point it hit.
    virtual bool MouseDown(const TLayerMouse& mouse) { return ForgetHit(mouse); }
    virtual bool MouseMove(const TLayerMouse& mouse) { return ForgetHit(mouse); }
    virtual bool MouseUp(const TLayerMouse& mouse) { return ForgetHit(mouse); }
    virtual bool DoubleClick(const TLayerMouse& mouse) { return ForgetHit(mouse); }

protected:
    /// The header `SaveToText` writes with the class's integer option, flag and real parameter.
    TLayerHeader TextHeader(int option, bool flag, double parameter) const;

private:
    bool ForgetHit(const TLayerMouse&) {
        m_hitIndex = -1;
        return false;
    }

    TGraph& m_graph;
    TColor m_color = clBlack;
    bool m_usesXAxis2 = false;
    bool m_usesYAxis2 = false;
    bool m_visible = true;
    bool m_selected = false;
    std::string m_name;
    int m_hitIndex = -1;
};

} // namespace mirla
