#pragma once

#include "plotlib/Layer.h"
#include "plotlib/PlotCursors.h"
#include "plotlib/Series.h"

#include <QPointF>
#include <QPolygonF>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mirla {

/// How a closed figure is filled, in the order the properties dialog lists them.
enum TFillMode { fmClear, fmSemiTransparent, fmSolid };

/// Vertical alignment of a text note on its anchor.
enum TVertAlignment { vaTop, vaCenter, vaBottom };

/// The drawing tools of the annotation layer; select moves and reshapes existing figures.
enum TAnnotateTool { atSelect, atSymbol, atLine, atArrow, atRectangle, atText, atCircle, atPencil };

/// The part of a figure the mouse grabbed.
enum TFigPart { fpNone = -1, fpBody = 0, fpFirst = 1, fpSecond = 2, fpThirdCorner = 3, fpFourthCorner = 4 };

/// Pixels around an end point or corner that grab it.
inline constexpr double FigHandleReach = 5;
/// Pixels beside a line that still grab the whole line.
inline constexpr double FigLineReach = 4;

/// A free drawing on the graph, anchored in world units of the primary axes so that it follows
/// zooming; its geometry is handled in pixels through the graph's mapping.
class TFig {
public:
    /// A figure mapped through `graph`; the annotation layer owns it once added.
    explicit TFig(TGraph& graph) : m_graph(graph) {}
    virtual ~TFig() = default;
    TFig(const TFig&) = delete;
    TFig& operator=(const TFig&) = delete;

    /// Paints the figure.
    virtual void Draw(QPainter& painter) const = 0;
    /// Paints the outline and the handles of a selected figure.
    virtual void DrawSelection(QPainter& painter) const;
    /// Whether `pixel` hits the figure; sets `HitPart` to what it grabbed (fpNone on a miss).
    bool HitTest(QPointF pixel);
    /// Selects the figure for dragging from `pixel`.
    void MouseDown(QPointF pixel);
    /// Drags the grabbed part by the mouse's move since the last position.
    virtual void MouseMove(QPointF pixel);
    /// Ends the drag at `pixel`: the last move, then neither selected nor being created.
    void MouseUp(QPointF pixel);
    /// Whether a figure just drawn by a click without dragging has no size to show.
    virtual bool Degenerate() const;

    bool Selected = false;                 ///< follows mouse moves
    bool Creating = false;                 ///< being drawn for the first time
    int HitPart = fpNone;                  ///< what the mouse grabbed
    QPointF LastMouse;                     ///< pixel of the last mouse position while dragging
    TColor Color = clRed;                  ///< pen colour
    TColor BackColor = clWhite;            ///< fill colour
    TFillMode FillMode = fmClear;          ///< fill of boxes and ellipses
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0; ///< world points

protected:
    /// What `pixel` hits (fpNone for a miss), `HitTest` without the side effect.
    virtual int PartAt(QPointF pixel) const = 0;
    /// Moves the world points of `part` by a pixel delta.
    virtual void MovePart(int part, QPointF delta);
    /// The pixel of a world point.
    QPointF ToPixel(double x, double y) const;
    /// Moves a world point by a pixel delta.
    void Shift(double& x, double& y, QPointF delta) const;
    TGraph& Graph() const { return m_graph; }

private:
    TGraph& m_graph;
};

/// A marker symbol at (X1, Y1).
class TShape : public TFig {
public:
    /// A rectangle marker of size 10, blue outline and red fill.
    explicit TShape(TGraph& graph);
    void Draw(QPainter& painter) const override;
    void DrawSelection(QPainter& painter) const override;
    bool Degenerate() const override { return false; }
    TMarker Marker; ///< shape, colours and size (pixels from centre to edge, also the grab reach)

protected:
    int PartAt(QPointF pixel) const override;
};

/// A straight line from (X1, Y1) to (X2, Y2).
class TMonoLine : public TFig {
public:
    using TFig::TFig;
    void Draw(QPainter& painter) const override;
    void DrawSelection(QPainter& painter) const override;
    int Width = 1;             ///< pen width in pixels
    TPenStyle Style = psSolid; ///< "Solid", "Dash", "Dot", "DashDot" or "DashDotDot"

protected:
    int PartAt(QPointF pixel) const override;
    /// The pen of the figure's colour, width and style.
    QPen Pen() const;
    /// Draws the 10 x 10 pixel handles on `corners`.
    static void DrawHandles(QPainter& painter, const std::vector<QPointF>& corners);
};

/// A line with a head at (X2, Y2), computed in world units.
class TArrow : public TMonoLine {
public:
    using TMonoLine::TMonoLine;
    void Draw(QPainter& painter) const override;
    /// The two base points of the head (30 % of the length back, 5 % to each side), in world units.
    std::pair<QPointF, QPointF> HeadBase() const;
};

/// The box spanned by (X1, Y1) and (X2, Y2).
class TRectangle : public TMonoLine {
public:
    using TMonoLine::TMonoLine;
    void Draw(QPainter& painter) const override;
    void DrawSelection(QPainter& painter) const override;

protected:
    int PartAt(QPointF pixel) const override;
    void MovePart(int part, QPointF delta) override;
    /// The box in pixels, as drawn.
    QRectF PixelBox() const;
    /// Sets pen and brush for the outline and the fill mode.
    void PrepareFill(QPainter& painter) const;
};

/// The ellipse inscribed in the box of (X1, Y1) and (X2, Y2).
class TCircle : public TRectangle {
public:
    using TRectangle::TRectangle;
    void Draw(QPainter& painter) const override;
};

/// A freehand stroke through world points.
class TPencil : public TMonoLine {
public:
    /// An empty stroke 3 pixels wide.
    explicit TPencil(TGraph& graph);
    void Draw(QPainter& painter) const override;
    void DrawSelection(QPainter& painter) const override;
    void MouseMove(QPointF pixel) override;
    bool Degenerate() const override { return Points.size() < 2; }
    /// The stroke's points in world units.
    std::vector<QPointF> Points;

protected:
    int PartAt(QPointF pixel) const override;
    void MovePart(int part, QPointF delta) override;

private:
    QPolygonF PixelStroke() const;
};

/// A text note anchored at (X1, Y1).
class TNoteText : public TFig {
public:
    /// An empty black note in Arial 10, "Fixed", left and top aligned on its anchor.
    explicit TNoteText(TGraph& graph);
    void Draw(QPainter& painter) const override;
    void DrawSelection(QPainter& painter) const override;
    bool Degenerate() const override { return Text.empty(); }
    /// The font size drawn now: a "Scaled" note grows as the view is zoomed in.
    double EffectiveSize() const;

    std::string Text;
    TFontSpec Font{"Arial", 10, clBlack, 1, 0};
    bool Scaled = false; ///< "Scaled" follows the zoom, "Fixed" keeps its size
    TAlignment Alignment = taLeftJustify;
    TVertAlignment VertAlignment = vaTop;

protected:
    int PartAt(QPointF pixel) const override;

private:
    /// The text's box in pixels for `painter`'s device, placed by the alignment.
    QRectF PixelBox(QPainter& painter) const;
    /// The box of the last drawing, in world units, for hit tests.
    mutable QPolygonF m_outline;
};

/// A grey guide line across the whole picture at a pixel row or column: it stays where it is on
/// the screen whatever the view, and a drag moves it by the mouse's pixel move.
class TPixelLine : public TFig {
public:
    TPixelLine(TGraph& graph, Qt::Orientation orientation) : TFig(graph), m_orientation(orientation) {}
    void Draw(QPainter& painter) const override;
    /// A guide line shows itself while it moves; it has no handles.
    void DrawSelection(QPainter&) const override {}
    bool Degenerate() const override { return false; }
    double Position = 0; ///< the row of a horizontal line, the column of a vertical one

protected:
    int PartAt(QPointF pixel) const override;
    void MovePart(int part, QPointF delta) override;

private:
    Qt::Orientation m_orientation;
};

/// A horizontal guide line at a pixel row.
class THorLine : public TPixelLine {
public:
    explicit THorLine(TGraph& graph) : TPixelLine(graph, Qt::Horizontal) {}
};

/// A vertical guide line at a pixel column.
class TVertLine : public TPixelLine {
public:
    explicit TVertLine(TGraph& graph) : TPixelLine(graph, Qt::Vertical) {}
};

/// The annotation layer: the figures drawn over a graph, created, selected, moved, reshaped and
/// deleted with the mouse.
class TGraphAnnotate : public TLayer {
public:
    /// An empty layer of `graph` in select mode.
    explicit TGraphAnnotate(TGraph& graph);
    ~TGraphAnnotate() override;

    /// Appends a figure; returns its index.
    int Add(std::unique_ptr<TFig> figure);
    /// The figure at `index`, nullptr outside the list.
    TFig* Figure(int index) const;
    int Count() const { return static_cast<int>(m_figures.size()); }
    /// Frees every figure.
    void Clear();
    /// Index of the figure the mouse is on (-1 for none).
    int Current() const { return m_current; }
    /// Whether the current figure is being drawn or dragged.
    bool Dragging() const { return Figure(m_current) && Figure(m_current)->Selected; }

    /// Draws every figure that is not being dragged (those belong to `DrawActive`).
    void Draw(QPainter& painter) override;
    /// Draws the figures being created or dragged, with their selection: over the graph's picture.
    void DrawActive(QPainter& painter) const;

    /// The drawing tool; atSelect moves and reshapes existing figures.
    TAnnotateTool Tool() const { return m_tool; }
    void SetTool(TAnnotateTool tool);
    TColor DefaultColor = clRed; ///< colour of new figures
    int DefaultWidth = 1;        ///< pen width of new lines and boxes
    int DefaultPencilWidth = 3;  ///< pen width of new pencil strokes
    /// Opens the dialog for a figure (the marker style of a symbol, the properties of others);
    /// `isNew` for one not yet placed. Returns whether the user pressed OK.
    std::function<bool(TFig& figure, bool isNew)> EditFigure;

    /// With a tool: creates a figure at the mouse. In select mode: a left click on a figure
    /// grabs it, with Ctrl deletes it, with Shift edits it. Returns whether it took the click.
    bool MouseDown(const TLayerMouse& mouse) override;
    /// Drags the grabbed figure, or finds the figure under the mouse. Returns whether a figure
    /// was dragged.
    bool MouseMove(const TLayerMouse& mouse) override;
    /// Ends a drag or a creation and redraws. Returns whether a figure was dragged.
    bool MouseUp(const TLayerMouse& mouse) override;
    /// The cursor for the last mouse position: the tool's, or what a click on a figure would do.
    std::optional<TPlotCursor> Cursor() const { return m_cursor; }
    /// Whether `pixel` is on a figure in select mode; makes it current.
    bool FigureAt(QPointF pixel, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    /// The figure menu: "&Delete  <Ctrl>" deletes the current figure, "&Properties" edits it.
    void BuildPopupMenu(QMenu& menu) override;
    /// Deletes the current figure; the layer itself stays with its graph.
    void Erase() override;
    /// Frees the current figure and redraws.
    void DeleteCurrent();
    /// Opens the dialog of the current figure; redraws after OK.
    void EditCurrent();

private:
    void Create(const TLayerMouse& mouse);
    /// A figure placed through its dialog (symbol, text) at world (x, y).
    void PlaceEdited(std::unique_ptr<TFig> figure, double x, double y);
    /// A figure drawn by dragging from `pixel`.
    void StartDragged(std::unique_ptr<TFig> figure, const TLayerMouse& mouse);
    void ReleaseSelected(QPointF pixel);
    void NotifyChanged();

    std::vector<std::unique_ptr<TFig>> m_figures;
    int m_current = -1;
    TAnnotateTool m_tool = atSelect;
    std::optional<TPlotCursor> m_cursor;
};

/// The cursor of a drawing tool (none for select).
std::optional<TPlotCursor> ToolCursor(TAnnotateTool tool);

} // namespace mirla
