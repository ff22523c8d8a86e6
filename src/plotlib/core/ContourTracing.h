#pragma once

#include "plotlib/core/ContourGrid.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mirla {

/// A point of a contour line in world coordinates.
struct TContourPoint {
    double X = 0;
    double Y = 0;
};

/// One traced piece of a contour line, with the squared gradient of the cell it crossed.
struct TContourSegment {
    TContourPoint A;
    TContourPoint B;
    double Gradient = 0;
};

/// The value label of a contour line: the segment it sits on (it is drawn centred on the middle),
/// its text and its angle in degrees.
struct TContourLabel {
    TContourPoint A;
    TContourPoint B;
    std::string Text;
    double Angle = 0;
    bool Visible = true;
};

/// One connected contour line of one level: its points in order, the segment whose cell was the
/// flattest (where its label reads best), and its label when it has one.
struct TContourLine {
    double Level = 0;
    std::vector<TContourPoint> Points;
    TContourSegment Flattest;
    std::optional<TContourLabel> Label;
    const TContourPoint& Start() const { return Points.front(); }
    const TContourPoint& End() const { return Points.back(); }
};

/// How the levels of a contour map are chosen.
struct TLevelOptions {
    bool Automatic = true;
    int Count = 10;
    /// A step between automatic levels; empty (or not a positive number) for range / count.
    std::string UserStep;
    bool UserLevelsOn = false;
    /// Further levels, each read as a number (texts that are not numbers are skipped).
    std::vector<std::string> UserLevels;
    bool FixedMin = false;
    bool FixedMax = false;
    double MinLimit = 0;
    double MaxLimit = 0;
};

/// A level as it is traced: written with 12 significant digits and read back.
double NormalizeLevel(double level);
/// The levels to trace over data from `dataMin` to `dataMax`: the automatic levels a + step * i
/// (i = 0 .. count - 1) from the fixed or data minimum, then the user levels; none for flat data.
std::vector<double> ContourLevels(const TLevelOptions& options, double dataMin, double dataMax);
/// Appends the segments of level `level` in every cell of `grid` (rows of cells bottom up, cells
/// left to right, each cell split into four triangles around its centre; missing corners
/// repaired where a rule allows, else the cell is skipped). Levels outside the data are skipped.
void TraceLevel(const TContourGrid& grid, double level, std::vector<TContourSegment>& segments);
/// Traces the levels in order and joins their segments into lines (see `TContourJoiner`).
std::vector<TContourLine> TraceContours(const TContourGrid& grid, const std::vector<double>& levels);

/// Joins segments into lines. A segment that repeats a line's end segment along a shared cell
/// edge is dropped; one that touches a line's start or end (within 1e-5) extends the first such
/// line and then joins it with the first other line its new end touches; any other segment
/// starts a new line. Line ends are found through an index of rounded coordinates.
class TContourJoiner {
public:
    /// A joiner whose index cells are `cellSize` world units wide (larger than the tolerance).
    explicit TContourJoiner(double cellSize);
    ~TContourJoiner();
    TContourJoiner(const TContourJoiner&) = delete;
    TContourJoiner& operator=(const TContourJoiner&) = delete;
    /// Adds one segment of level `level`.
    void Add(double level, const TContourSegment& segment);
    /// The lines built so far, in the order they were started.
    std::vector<TContourLine> TakeLines();

private:
    class TEndIndex;
    struct TEnd {
        int Line = -1;
        bool AtStart = false;
    };
    /// A line being built: its points are `Front` reversed, then `Back`, so that it grows at
    /// either end without moving its points.
    struct TBuild {
        double Level = 0;
        std::vector<TContourPoint> Front;
        std::vector<TContourPoint> Back;
        TContourSegment Flattest;
        std::size_t Size() const { return Front.size() + Back.size(); }
        const TContourPoint& At(std::size_t k) const {
            return k < Front.size() ? Front[Front.size() - 1 - k] : Back[k - Front.size()];
        }
        const TContourPoint& Start() const { return At(0); }
        const TContourPoint& End() const { return At(Size() - 1); }
    };
    bool RepeatsEndSegment(const TContourSegment& segment, const std::vector<TEnd>& ends) const;
    /// The first of `ends` (other than of line `except`) within the tolerance of `point`.
    std::optional<TEnd> FirstTouching(const TContourPoint& point, const std::vector<TEnd>& ends,
                                      int except) const;
    void Extend(int line, bool atStart, const TContourPoint& point);
    void Absorb(int line, bool atStart, TEnd other);
    void Unindex(int line);
    void Index(int line);

    std::vector<TBuild> m_lines;
    std::vector<bool> m_alive;
    std::unique_ptr<TEndIndex> m_index;
    std::vector<TEnd> m_nearA;
    std::vector<TEnd> m_nearB;
};

/// The text of a label for `value` with `digits` decimals.
std::string ContourLabelText(double value, int digits);
/// The angle in degrees of the segment a..b (-90 when it is vertical).
double ContourLabelAngle(const TContourPoint& a, const TContourPoint& b);
/// Puts a label on the flattest segment of every line whose level is not 0.
void PlaceLabels(std::vector<TContourLine>& lines, int digits);

/// Where a point is nearest to a contour line: line index and the segment's first point index.
struct TSegmentHit {
    int Line = -1;
    int Segment = -1;
};
/// The segment nearest to `point` after both are mapped through `toScreen`, when one lies within
/// `maxDistance` of it.
std::optional<TSegmentHit> NearestSegment(const std::vector<TContourLine>& lines, TContourPoint point,
                                          const std::function<TContourPoint(TContourPoint)>& toScreen,
                                          double maxDistance);

} // namespace mirla
