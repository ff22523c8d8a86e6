#pragma once

#include "plotlib/Layer.h"
#include "plotlib/PlotCursors.h"
#include "plotlib/core/ColorScale.h"
#include "plotlib/core/ContourGrid.h"
#include "plotlib/core/ContourTracing.h"

#include <QImage>
#include <QRectF>

#include <memory>
#include <string>
#include <vector>

namespace mirla {

/// What a mouse release does on a contour map.
enum TContourEditMode {
    emNone = 0,
    emAddContour = 1,
    emDeleteContour = 2,
    emMoveLabel = 3,
    emAddLabel = 4,
    emRemoveLabel = 5
};

/// Shading square sizes in pixels of the quality choices "High", "Good", "Middle", "Poor", "Low".
inline constexpr int ShadingSquareSizes[] = {1, 2, 3, 5, 8};

/// A function of two variables on a grid, drawn as labelled contour lines or as a colour-shaded
/// map, with the edit modes that add and delete contours and place labels with the mouse.
class TContour : public TLayer {
public:
    /// A map of `grid` (copied) in shading or line form with `levels` automatic levels; the levels
    /// are traced and labelled at once.
    TContour(TGraph& graph, bool shading, int levels, const TContourGrid& grid);
    /// An empty map of lines, for `LoadFromText` to fill.
    explicit TContour(TGraph& graph);

    /// The grid the map shows.
    const TContourGrid& Grid() const { return m_grid; }
    /// The traced lines, in drawing order.
    const std::vector<TContourLine>& Lines() const { return m_lines; }

    /// How the levels are chosen; `Recompute` applies a change.
    TLevelOptions Levels;
    bool Shading = false;
    bool LabelsOn = true;
    bool ColorLines = false;
    TColor MonoColor = clBlack;
    TFontSpec LabelFont;
    int LabelDigits = 2;
    int Palette = 0;
    /// Side of a shading square in pixels.
    int SquareSize = ShadingSquareSizes[1];
    /// Makes shading squares leave the axes' grid lines visible even when no axis shows a grid.
    bool MaskGrid = false;

    /// Traces the levels again and puts the labels back on the flattest segments.
    void Recompute();
    /// The scale from the fixed or data minimum (bottom) to the fixed or data maximum (top).
    TColorScale Scale() const;
    /// The colour of a value on the map's scale and palette.
    TColor ValueColor(double value) const;

    /// The current edit mode.
    TContourEditMode EditMode() const { return m_editMode; }
    void SetEditMode(TContourEditMode mode) { m_editMode = mode; }
    /// Whether the map owns the mouse: in an edit mode every click over the plot is an edit.
    bool WantsMouse() const { return m_editMode != emNone; }
    /// The cursor of the edit mode ("SERADD" for adding, "SERDEL" for deleting, "MOVEIT" for
    /// moving labels); the arrow without a mode.
    QCursor EditCursor() const;
    /// The edit mode's cursor while the map owns the mouse.
    std::optional<QCursor> MouseCursor() const override;

    double MinZ() const override;
    double MaxZ() const override;
    bool ShowsColorScale() const override { return Shading || ColorLines; }
    QColor ScaleColor(double fraction) const override;
    std::optional<double> ValueAt(double x, double y) const override;
    TExtent GetExtent() const override;
    int PointCount() const override;
    void Draw(QPainter& painter) override;
    bool MouseDown(const TLayerMouse& mouse) override;
    bool MouseUp(const TLayerMouse& mouse) override;

    std::string TextClassName() const override { return "TContour"; }
    /// Writes the settings, the levels, the grid and the lines as they stand (edits included)
    /// with their labels.
    void SaveToText(std::string& out) const override;
    void LoadFromText(const TLayerHeader& header, TLayerTextReader& reader) override;

private:
    void DrawShading(QPainter& painter);
    void FillShading(QImage& image, QImage& special, const QRect& area, int square) const;
    void DrawLines(QPainter& painter);
    void DrawLabels(QPainter& painter);
    /// The label's box in pixels, centred on the origin and turned to the label's angle.
    QRectF LabelBox(QPainter& painter, const TContourLabel& label) const;
    std::optional<TSegmentHit> SegmentAt(const TLayerMouse& mouse) const;
    void AddContourAt(const TLayerMouse& mouse);
    void DeleteContourAt(const TLayerMouse& mouse);
    void PlaceLabelAt(const TLayerMouse& mouse, bool show);
    void HideLabelAt(const TLayerMouse& mouse);

    /// What a shading picture depends on besides the grid: it is drawn again when this changes.
    struct TShadingKey {
        QRect Area;
        int Square = 0;
        bool Mask = false;
        int Palette = 0;
        double Bottom = 0;
        double Top = 0;
        bool FixedMinimum = false;
        TWorldRect World;
        bool LogX = false;
        bool LogY = false;
        bool operator==(const TShadingKey&) const = default;
    };
    TShadingKey ShadingKey(const QRect& area, int square, bool mask) const;

    TContourGrid m_grid;
    std::vector<TContourLine> m_lines;
    TContourEditMode m_editMode = emNone;
    /// The last shading picture (squares ANDed with what lies below when masking) and the opaque
    /// squares of missing values, with what they were drawn for.
    QImage m_shading;
    QImage m_special;
    std::optional<TShadingKey> m_shadingKey;
};

/// Shows exactly the sampled ranges of a map: fixed X and Y limits, markers not clipped.
void FixMapAxes(TGraph& graph, double xMin, double xMax, double yMin, double yMax);

/// Appends `map` to `graph` with its legends: the colour legend shows the map's scale, and a map
/// of lines gets a contour-legend entry carrying its name. Returns the map.
TContour& AddMapWithLegends(TGraph& graph, std::unique_ptr<TContour> map);

} // namespace mirla
