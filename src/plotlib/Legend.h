#pragma once

#include "plotlib/Layer.h"
#include "plotlib/Series.h"

#include <QRect>

#include <memory>
#include <string>
#include <vector>

namespace mirla {

/// One legend entry: a sample of a series' look and its caption.
class TLegend {
public:
    explicit TLegend(TGraph& graph) : m_graph(graph) {}
    virtual ~TLegend() = default;
    TLegend(const TLegend&) = delete;
    TLegend& operator=(const TLegend&) = delete;

    TGraph& Graph() const { return m_graph; }
    bool Visible = true;
    int Left = 0; ///< position in pixels, set by the layout
    int Top = 0;
    std::string Caption; ///< at most 255 characters
    TSeries* Series = nullptr;
    TMarker Marker;
    int StyleCode = ssLine;
    TColor Color = clBlack;
    TPenStyle LineStyle = psSolid;
    int LineWidth = 1;
    bool ShowMarker = true;

    /// Draws the sample into `area` (the width of "-----------" in the legend font).
    virtual void DrawSample(QPainter& painter, const QRect& area) const;

private:
    TGraph& m_graph;
};

/// The entry of a curve.
class TLineLegend : public TLegend {
public:
    explicit TLineLegend(TGraph& graph) : TLegend(graph) { Marker.Size = 3; }
};

/// The entry of a contour map: three concentric ellipses in blue, green and red.
class TContourLegend : public TLineLegend {
public:
    using TLineLegend::TLineLegend;
    void DrawSample(QPainter& painter, const QRect& area) const override;
};

/// What both legends share: font, background, shadow, frame, placement and rectangle.
class TAbstractLegend : public TLayer {
public:
    using TLayer::TLayer;
    TFontSpec Font;
    TColor BackColor = clWhite;
    bool TransparentBackGround = false;
    bool ShadowVisible = true;
    int ShadowThickness = 3;
    TColor ShadowColor = clBlack;
    bool FrameVisible = true;
    int FrameThickness = 1;
    TColor FrameColor = clBlack;
    TPenStyle FrameStyle = psSolid;
    TLegendStyle Style = lsRight;
    int Margin = 1;
    /// The legend's rectangle in pixels after the last layout.
    QRect Rect;

protected:
    /// Paints background, shadow and frame of `Rect`.
    void DrawBox(QPainter& painter) const;
};

/// The line legend: a framed list of entries, placed beside, above, below or inside the plot.
class TWLegend : public TAbstractLegend {
public:
    explicit TWLegend(TGraph& graph);
    ~TWLegend() override;

    /// Appends an entry (the legend owns it); returns its index.
    int Add(std::unique_ptr<TLegend> entry);
    /// Number of entries.
    int Count() const { return static_cast<int>(m_entries.size()); }
    /// The entry at `index`.
    TLegend& Entry(int index) const { return *m_entries.at(index); }
    /// Index of the entry of `series`, -1 when none.
    int IndexOfSeries(const TSeries* series) const;
    /// Index of the first entry with this caption, -1 when none.
    int IndexOfCaption(const std::string& caption) const;
    /// Deletes the entry at `index` and detaches it from its series.
    void Delete(int index);
    /// Deletes every entry.
    void Clear();

    /// World anchor of an inside legend (its top-left corner moves with the data).
    double AnchorX = 0;
    double AnchorY = 0;

    /// Reserves the legend's band beside, above or below `plotArea` (made smaller) for the side
    /// placements; an inside legend or one without visible entries takes nothing.
    void Reserve(QPainter& painter, QRect& plotArea);
    /// Places an inside legend at its anchor (after the mapping is known).
    void PlaceInside(QPainter& painter);
    void Draw(QPainter& painter) override;

private:
    /// Sizes of the last layout in pixels of its device.
    struct TMetrics {
        int RowHeight = 0;
        int SampleWidth = 0;
        int ColumnWidth = 0;
    };
    /// Whether an entry is listed: visible itself, and its series (if any) visible and listed.
    static bool Listed(const TLegend& entry);
    int ListedCount() const;
    TMetrics Measure(QPainter& painter) const;
    /// Puts the listed entries one below the other from `corner`; sets `Rect`.
    void StackEntries(QPoint corner, int width);
    /// Puts the listed entries in rows of `perRow` from `corner`; sets `Rect`.
    void RowEntries(QPoint corner, int perRow);
    /// Space between the box's edge and its entries.
    int Inset() const;

    std::vector<std::unique_ptr<TLegend>> m_entries;
    TMetrics m_metrics;
};

/// The colour scale of a contour map, shown only when its source layer uses colours.
class TColorLegend : public TAbstractLegend {
public:
    explicit TColorLegend(TGraph& graph);
    /// The layer whose colours the legend explains (none at start).
    TLayer* Source = nullptr;
    /// Whether the legend is shown: a source that uses colours.
    bool Shown() const;
    /// Reserves the colour bar's band at the side given by `Style`.
    void Reserve(QPainter& painter, QRect& plotArea);
    void Draw(QPainter& painter) override;

private:
    /// Whether the bar runs left to right (legend above or below the plot).
    bool Horizontal() const { return Style == lsTop || Style == lsBottom; }
    /// The values written beside the bar, lowest first.
    std::vector<double> LabelValues() const;
    /// Thickness of the bar in pixels of the last layout.
    int m_barThickness = 0;
};

} // namespace mirla
