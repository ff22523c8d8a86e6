#pragma once

#include "plotlib/Layer.h"
#include "plotlib/core/PointAttributes.h"

#include <QPointF>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QBrush;
class QPen;

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
    /// Markers are equal when shape, colours and size are.
    bool operator==(const TMarker&) const = default;
};

/// A data series: an ordered list of points drawn in one of the style codes (`TSeriesStyle`)
/// with one colour, a line style and width, and markers.
class TSeries : public TLayer {
public:
    /// A series named `name` (cut to 255 characters) with a style code and a colour; markers
    /// visible, step 1, size 4, no shape, marker colour = colour. The host adds it to the graph.
    TSeries(TGraph& graph, const std::string& name, int styleCode, TColor color);
    ~TSeries() override;

    /// Appends point (x, y) with its colour and name; its segment starts at the point added before
    /// it and its marker is the series' marker look.
    void AddPoint(TColor color, const std::string& pointName, double x, double y);
    /// Number of points.
    int Count() const { return static_cast<int>(m_x.size()); }
    /// X of point `index`, clamped to 0 .. Count() - 1; throws std::out_of_range on an empty series.
    double X(int index) const { return m_x[Slot(index)]; }
    /// Y of point `index`, clamped as for `X`.
    double Y(int index) const { return m_y[Slot(index)]; }
    /// X of every point, in order.
    std::span<const double> XValues() const { return m_x; }
    /// Y of every point, in order.
    std::span<const double> YValues() const { return m_y; }
    /// X where the segment ending at point `index` starts: the point before it (the point itself
    /// for the first one) unless set by `SetPrevious`; clamped as for `X`.
    double PrevX(int index) const { return SegmentStart(Slot(index)).x(); }
    /// Y where the segment ending at point `index` starts, as for `PrevX`.
    double PrevY(int index) const { return SegmentStart(Slot(index)).y(); }
    /// Lets the segment ending at point `index` start at (x, y); clamped as for `X`.
    void SetPrevious(int index, double x, double y);
    /// The colour of point `index` (the colour of its segment in the per-point style).
    TColor PointColor(int index) const;
    void SetPointColor(int index, TColor color);
    /// The name of point `index`, empty when it has none.
    const std::string& PointName(int index) const;
    void SetPointName(int index, const std::string& name);
    /// The marker of point `index`: the series' marker look unless the point has its own;
    /// std::nullopt when the point has no marker.
    std::optional<TMarker> PointMarker(int index) const;
    /// Gives point `index` its own marker or none; the series' marker setters give every point
    /// that has a marker the series' look again.
    void SetPointMarker(int index, const std::optional<TMarker>& marker);
    /// Removes point `index` and joins its neighbours so the line stays connected.
    void DeletePoint(int index);
    /// Removes every point.
    void Clear();
    /// Bytes the series holds for its points: the coordinate lists by capacity and the entries of
    /// points with attributes of their own.
    std::size_t PointStorageBytes() const;

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
    std::string TextClassName() const override { return "TSeries"; }
    /// Writes the header (style code as option, legend flag, bar width as parameter), a line of the
    /// line and marker look, the point count and one line per point: X, Y, colour and name.
    void SaveToText(std::string& out) const override;
    void LoadFromText(const TLayerHeader& header, TLayerTextReader& reader) override;
    /// Deletes the point the mouse last hit; an emptied series leaves the graph.
    void DeleteHitPoint();

protected:
    /// Whether the popup menu offers "&Delete  <Ctrl>" (a matrix series hides it).
    void SetDeletable(bool deletable) { m_deletable = deletable; }

private:
    /// Position of point `index` clamped to the list; throws std::out_of_range on an empty series.
    std::size_t Slot(int index) const;
    /// Where the segment ending at point k starts.
    QPointF SegmentStart(std::size_t k) const {
        if (const QPointF* own = m_previous.Find(k))
            return *own;
        const std::size_t before = k > 0 ? k - 1 : 0;
        return {m_x[before], m_y[before]};
    }
    /// The colour of point k.
    TColor ColorAt(std::size_t k) const {
        const TColor* own = m_colors.Find(k);
        return own ? *own : m_pointColor;
    }
    /// The marker of a point without its own: the series' look at the effective size.
    TMarker SeriesPointMarker() const;
    template <typename Chain, typename Paint>
    void TraceChains(Chain& chain, QPointF shift, bool steps, Paint paint) const;
    QPen LinePen(QPainter& painter, TColor color) const;
    void DrawLines(QPainter& painter, QPointF shift, bool steps) const;
    void DrawRibbon(QPainter& painter, std::span<const QPointF> chain, QPointF shift) const;
    void DrawArea(QPainter& painter, QPointF shift, const QBrush& brush) const;
    void DrawVolume(QPainter& painter, QPointF shift) const;
    void DrawPerPoint(QPainter& painter, QPointF shift) const;
    void DrawMarkers(QPainter& painter, QPointF shift) const;
    void ApplyMarkerToPoints();
    void ShowInfo();
    void NotifyChanged() const;

    // The coordinates are kept in plain lists that drawing walks; what few points have of their
    // own sits aside, keyed by index.
    std::vector<double> m_x;
    std::vector<double> m_y;
    /// Segment starts other than the point before.
    TPointAttributes<QPointF> m_previous;
    TPointAttributes<std::string> m_names;
    /// Point colours other than `m_pointColor`, the colour the first point was added with.
    TPointAttributes<TColor> m_colors;
    TColor m_pointColor = clBlack;
    /// Markers other than the series' look (std::nullopt: the point has none).
    TPointAttributes<std::optional<TMarker>> m_markers;
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
    /// A matrix is not written as a plain series.
    std::string TextClassName() const override { return {}; }

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
