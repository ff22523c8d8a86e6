#pragma once

#include "plotlib/Layer.h"

#include <QPointF>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QBrush;
class QPen;
class QPolygonF;

namespace mirla {

class TLineLegend;
class TSeries;

/// The look of one marker: shape, outline and fill colours, size in pixels from centre to edge.
struct TMarker {
    TColor Color = clBlack;
    TColor FillColor = clWhite;
    int Size = 4;
    TMarkerStyle Style = msNone;

    /// Draws the marker centred on (x, y) pixels.
    void Draw(QPainter& painter, double x, double y) const;
};

/// One point of a series with the segment that ends at it: (PrevX, PrevY) is the point added
/// before it, or the point itself for the first one.
struct TGraphData {
    bool Visible = true;
    std::optional<TMarker> Marker;
    double PrevX = 0;
    double PrevY = 0;
    double X = 0;
    double Y = 0;
    double X3D = 0; ///< screen offset of the point in the 3-D look
    double Y3D = 0;
    std::string Name;
    bool Flag1 = true;
    bool Flag2 = true;
    int Tag = 0;
    TColor Color = clBlack;
};

/// A data series: an ordered list of points drawn in one of the style codes (`TSeriesStyle`)
/// with one colour, a line style and width, and markers.
class TSeries : public TLayer {
public:
    /// A series named `name` (cut to 255 characters) with a style code and a colour; markers
    /// visible, step 1, size 4, no shape, marker colour = colour. The host adds it to the graph.
    TSeries(TGraph& graph, const std::string& name, int styleCode, TColor color);
    ~TSeries() override;

    /// Appends a point (its segment starts at the previous point) with a marker in the series'
    /// marker look; returns it so the host may change the marker's colour.
    TGraphData& AddPoint(TColor color, const std::string& pointName, double x, double y);
    /// Number of points.
    int Count() const { return static_cast<int>(m_points.size()); }
    /// The point at `index`, clamped to 0 .. Count() - 1 (the series must not be empty).
    TGraphData& Point(int index);
    const TGraphData& Point(int index) const;
    /// Removes point `index` and joins its neighbours so the line stays connected.
    void DeletePoint(int index);
    /// Removes every point.
    void Clear();

    /// The style code (1 points ... 9 per point).
    int Style() const { return m_style; }
    void SetStyle(int code);

    TMarkerStyle MarkerStyle() const { return m_marker.Style; }
    /// Changes the marker shape of every point and of the legend entry.
    void SetMarkerStyle(TMarkerStyle style);
    int MarkerSize() const { return m_marker.Size; }
    void SetMarkerSize(int size);
    TColor MarkerColor() const { return m_marker.Color; }
    void SetMarkerColor(TColor color);
    TColor MarkerFillColor() const { return m_marker.FillColor; }
    void SetMarkerFillColor(TColor color);
    /// Whether markers are shown at all.
    bool MarkersVisible() const { return m_markersVisible; }
    void SetMarkersVisible(bool visible);
    /// Every n-th point gets a marker (0 counts as 1; see `HasMarkerAt`).
    int MarkerStep() const { return m_markerStep; }
    void SetMarkerStep(int step) { m_markerStep = step; }

    TPenStyle LineStyle() const { return m_lineStyle; }
    void SetLineStyle(TPenStyle style);
    int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int width);
    /// Fraction of the available width a bar takes (0.7).
    double BarWidth() const { return m_barWidth; }
    void SetBarWidth(double fraction) { m_barWidth = fraction; }
    /// Whether the series has an entry in the line legend.
    bool ShowInLegend() const { return m_showInLegend; }
    void SetShowInLegend(bool show) { m_showInLegend = show; }

    /// Copies name, colours, marker, style code, line style and width into `entry` and keeps it
    /// up to date with later changes; nullptr detaches.
    void AttachLegend(TLineLegend* entry);
    /// The attached legend entry, or nullptr.
    TLineLegend* Legend() const { return m_legend; }
    /// Copies the series' look into its legend entry again (after a change of name or colour).
    void RefreshLegend();

    /// The Y of the curve at `x`: linear on the first segment that spans x (the previous Y for
    /// piecewise constant series; through the logarithm when the Y axis is logarithmic), or
    /// `MissingValue` when no segment spans it.
    double ValueAt(double x) const;
    /// Marker size in pixels as drawn: the bar width for bar series, else `MarkerSize`.
    int EffectiveMarkerSize() const;

    void SetColor(TColor color) override;
    void Draw(QPainter& painter) override;
    TExtent GetExtent() const override;
    int PointCount() const override { return Count(); }
    void BuildPopupMenu(QMenu& menu) override;
    /// Deletes the point the mouse last hit; an emptied series leaves the graph.
    void DeleteHitPoint();

protected:
    /// Whether the popup menu offers "&Delete  <Ctrl>" (a matrix series hides it).
    void SetDeletable(bool deletable) { m_deletable = deletable; }

private:
    QPen LinePen(QPainter& painter, TColor color) const;
    void DrawLines(QPainter& painter, QPointF shift, bool steps) const;
    void DrawRibbon(QPainter& painter, const QPolygonF& chain, QPointF shift) const;
    void DrawArea(QPainter& painter, QPointF shift, const QBrush& brush) const;
    void DrawVolume(QPainter& painter, QPointF shift) const;
    void DrawPerPoint(QPainter& painter, QPointF shift) const;
    void DrawMarkers(QPainter& painter, QPointF shift) const;
    void ApplyMarkerToPoints();
    void ShowInfo();
    void NotifyChanged() const;

    std::vector<TGraphData> m_points;
    /// The extent of the points, kept until the points change (drawing asks for it every time).
    mutable TExtent m_extent;
    mutable bool m_extentKnown = false;
    int m_style;
    TMarker m_marker;
    bool m_markersVisible = true;
    int m_markerStep = 1;
    TPenStyle m_lineStyle = psSolid;
    int m_lineWidth = 1;
    double m_barWidth = 0.7;
    bool m_showInLegend = true;
    bool m_deletable = true;
    TLineLegend* m_legend = nullptr;
};

/// Draws every visible bar series of the graph together as one group, arranged by the graph's
/// `BarStyle` (clustered, Z-ordered, stacked, 100 % stacked).
void DrawBarGroup(TGraph& graph, QPainter& painter, const std::vector<TSeries*>& bars);

/// A numeric matrix shown as a grid of markers: positive values as red circles, negative ones as
/// blue diamonds, each sized by |value| against the largest magnitude.
class TMatrixSeries : public TSeries {
public:
    /// A rows x columns matrix of zeros and empty texts; fixes the axes to the cell grid.
    TMatrixSeries(TGraph& graph, const std::string& name, int rows, int columns);
    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }
    /// The value of cell (row, column), both 1-based.
    double Value(int row, int column) const;
    void SetValue(int row, int column, double value);
    /// The text of cell (row, column), both 1-based.
    const std::string& Text(int row, int column) const;
    void SetText(int row, int column, const std::string& text);

    double MinZ() const override;
    double MaxZ() const override;
    TExtent GetExtent() const override;
    void Draw(QPainter& painter) override;

private:
    /// Position of cell (row, column) in the value and text lists; throws std::out_of_range outside.
    std::size_t CellIndex(int row, int column) const;

    int m_rows;
    int m_columns;
    std::vector<double> m_values;
    std::vector<std::string> m_texts;
    TMarker m_positive;
    TMarker m_negative;
};

} // namespace mirla
