#pragma once

#include "plotlib/core/AxisTicks.h"
#include "plotlib/core/PlotTypes.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QPainter;

namespace mirla {

class TGraph;

/// Tick marks of an axis; lengths are in text units (the width of "a" in the axis font at size 1).
struct TAxisTicks {
    TTicksDirection Direction = tdOut;
    bool MajorVisible = true;
    bool MinorVisible = true;
    int MajorLength = 4;
    int MinorLength = 2;
    bool operator==(const TAxisTicks&) const = default;
};

/// A label the user placed at a value, shown instead of the computed labels.
struct TUserLabel {
    std::string Text;
    double Value = 0;
};

/// The edge of the plot area an axis belongs to.
enum class TAxisSide { Bottom, Left, Top, Right };

/// One axis of the graph: range (fixed or automatic), linear or logarithmic scale, inversion,
/// ticks, labels, grid lines, name and user labels. The graph reserves its space, computes its
/// ticks from the world rectangle and draws it.
class TAxis {
public:
    TAxis(TGraph& graph, std::string componentName, TAxisSide side);
    virtual ~TAxis() = default;
    TAxis(const TAxis&) = delete;
    TAxis& operator=(const TAxis&) = delete;

    /// "XAxis", "YAxis", "XAxis2" or "YAxis2" (the settings key part).
    const std::string& ComponentName() const { return m_componentName; }
    /// Bottom, left, top or right.
    TAxisSide Side() const { return m_side; }
    /// True for the bottom and top axes.
    bool Horizontal() const { return m_side == TAxisSide::Bottom || m_side == TAxisSide::Top; }

    bool Visible = true;
    TColor Color = clBlack;       ///< axis line and ticks
    bool Invert = false;          ///< runs the axis from maximum to minimum
    std::string Name;             ///< the axis title
    TFontSpec Font;               ///< labels
    TFontSpec NameFont;           ///< title
    bool Grid = false;            ///< grid lines at the labelled major ticks
    TColor GridColor = clSilver;  ///< colour of the grid lines
    bool MajorLineVisible = true; ///< the axis base line
    bool AutoMin = true;          ///< minimum from the data
    bool AutoMax = true;          ///< maximum from the data
    int TickFrequency = 1;        ///< label every n-th major tick
    TAxisLabelStyle LabelStyle = asFloat;
    TAxisLabelDirection LabelDirection = adHorizontal;
    TAxisLocation Location = alOutside;
    double Position = 0; ///< where an inside axis crosses the other axis, world units
    TAxisTicks Ticks;
    bool RegularLabelsVisible = true; ///< computed labels instead of the user labels
    std::vector<TUserLabel> UserLabels;
    /// Whether the settings file stores the fixed limits (set by `SetMin`/`SetMax`).
    bool StoreLimits = false;

    /// Whether the scale is logarithmic.
    bool Log() const { return m_log; }
    /// Switches the scale; runs the before- and after-change callbacks and moves an inside line
    /// legend to the right, because the inside anchor means nothing on the new scale.
    void SetLog(bool log);
    /// Called with the graph and the new value before a change of `Log`.
    std::function<void(TGraph&, bool)> BeforeLogChange;
    /// Called with the graph after a change of `Log`.
    std::function<void(TGraph&)> AfterLogChange;

    /// The fixed minimum (`MissingValue` when not set).
    double Minimum() const { return m_minimum; }
    /// The fixed maximum (`MissingValue` when not set).
    double Maximum() const { return m_maximum; }
    /// Fixes the minimum; `MissingValue` clears it.
    void SetMin(double value);
    /// Fixes the maximum; `MissingValue` clears it.
    void SetMax(double value);

    /// The ticks computed at the last drawing.
    const TTickLayout& Layout() const { return m_layout; }
    /// Computes the ticks for the world range lo..hi of this axis (in log10 units when
    /// logarithmic); returns the rounded automatic maximum the graph adopts when not zoomed.
    double ComputeTicks(double lo, double hi);
    /// Pixels the axis needs at its edge of the plot area (name, labels, ticks) on `painter`'s
    /// device; 0 when invisible.
    int ReservedSpace(QPainter& painter) const;
    /// Draws the axis line, ticks, labels, name and user labels.
    void Draw(QPainter& painter) const;
    /// Draws the grid lines at the labelled major ticks.
    void DrawGrid(QPainter& painter) const;
    /// The label text of a tick value with the current ticks; on a logarithmic axis the decade's
    /// exponent (drawn raised after "10"); on a date axis the day (and the time of day when the
    /// value has a fraction) of a day number counted from 1899-12-30.
    std::string LabelText(double value) const;
    /// The tick values (world units) and whether each is a labelled major tick.
    struct TTick {
        double Value;
        bool Major;
        bool Labelled;
    };
    std::vector<TTick> TickValues() const;

private:
    int Outward() const;
    double PlotEdge() const;
    double BaseLine() const;
    std::pair<double, double> PixelRange() const;
    QPointF At(double along, double across) const;
    QRectF LabelBox(double tickPixel, QSizeF textSize, bool rotated, double labelStart,
                    bool alignAtEnd) const;
    void DrawUserLabels(QPainter& painter, double base, double major, double labelStart) const;
    void DrawName(QPainter& painter) const;

    TGraph& m_graph;
    std::string m_componentName;
    TAxisSide m_side;
    bool m_log = false;
    double m_minimum = MissingValue;
    double m_maximum = MissingValue;
    TTickLayout m_layout;
};

/// The bottom axis.
class TXAxis : public TAxis {
public:
    explicit TXAxis(TGraph& graph) : TAxis(graph, "XAxis", TAxisSide::Bottom) {}
};
/// The left axis.
class TYAxis : public TAxis {
public:
    explicit TYAxis(TGraph& graph) : TAxis(graph, "YAxis", TAxisSide::Left) {}
};
/// The top axis (hidden at start).
class TXAxis2 : public TAxis {
public:
    explicit TXAxis2(TGraph& graph) : TAxis(graph, "XAxis2", TAxisSide::Top) { Visible = false; }
};
/// The right axis (hidden at start; labels vertical).
class TYAxis2 : public TAxis {
public:
    explicit TYAxis2(TGraph& graph) : TAxis(graph, "YAxis2", TAxisSide::Right) {
        Visible = false;
        LabelDirection = adVertical;
    }
};

} // namespace mirla
