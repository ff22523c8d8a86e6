#include "plotlib/core/ContourTracing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace mirla {

namespace {

/// Two points closer than this in both coordinates are the same point.
constexpr double PointTolerance = 1e-5;
/// Edge values closer than this do not cross a level.
constexpr double EdgeTolerance = 1e-10;
/// Slots of a new line-end index (a power of two).
constexpr std::size_t InitialSlots = 1 << 14;
/// Data whose range is below this has no levels.
constexpr double FlatRange = 1e-50;

bool Near(const TContourPoint& a, const TContourPoint& b) {
    return std::abs(a.X - b.X) <= PointTolerance && std::abs(a.Y - b.Y) <= PointTolerance;
}

std::optional<double> ReadNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (end == begin || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

/// A node of a cell: position and value.
struct TNode {
    double X;
    double Y;
    double Z;
};

/// Replaces missing corner values by the rules for one, two or three missing corners; false
/// when a corner is still missing.
bool RepairCorners(std::array<double, 4>& z) {
    auto& [z1, z2, z3, z4] = z;
    const auto m = [](double v) { return IsMissingZ(v); };
    if (!m(z1) && !m(z2) && !m(z3) && !m(z4))
        return true;
    if (m(z1) && !m(z2) && !m(z3) && !m(z4))
        z1 = (z2 + z4) / 2;
    if (m(z3) && !m(z1) && !m(z2) && !m(z4))
        z3 = (z2 + z4) / 2;
    if (m(z2) && !m(z1) && !m(z3) && !m(z4))
        z2 = (z1 + z3) / 2;
    if (m(z4) && !m(z1) && !m(z2) && !m(z3))
        z4 = (z1 + z3) / 2;
    if (!m(z4) && m(z1) && m(z2) && m(z3))
        z1 = z2 = z3 = z4;
    if (!m(z3) && m(z1) && m(z2) && m(z4))
        z1 = z2 = z4 = z3;
    if (!m(z2) && m(z1) && m(z3) && m(z4))
        z1 = z3 = z4 = z2;
    if (!m(z1) && m(z2) && m(z3) && m(z4))
        z2 = z3 = z4 = z1;
    if (!m(z1) && !m(z2) && m(z3) && m(z4)) {
        z4 = z1;
        z3 = z2;
    }
    if (!m(z1) && !m(z4) && m(z2) && m(z3)) {
        z2 = z1;
        z3 = z4;
    }
    return !m(z1) && !m(z2) && !m(z3) && !m(z4);
}

/// The segment of level `level` in triangle a, b (corners) and c (centre), if it has one.
std::optional<std::pair<TContourPoint, TContourPoint>> TriangleSegment(const TNode& a, const TNode& b,
                                                                       const TNode& c, double level) {
    if ((a.Z > level && b.Z > level && c.Z > level) || (a.Z < level && b.Z < level && c.Z < level) ||
        (a.Z == level && b.Z == level && c.Z == level))
        return std::nullopt;
    const auto point = [](const TNode& n) { return TContourPoint{n.X, n.Y}; };
    if (a.Z == level && b.Z == level)
        return std::pair{point(a), point(b)};
    if (b.Z == level && c.Z == level)
        return std::pair{point(b), point(c)};
    if (a.Z == level && c.Z == level)
        return std::pair{point(a), point(c)};
    std::array<TContourPoint, 3> crossings{};
    int found = 0;
    for (const auto& [from, to] : {std::pair{&a, &b}, std::pair{&b, &c}, std::pair{&c, &a}}) {
        if (std::abs(to->Z - from->Z) <= EdgeTolerance)
            continue;
        const double t = (level - from->Z) / (to->Z - from->Z);
        if (t < 0 || t > 1)
            continue;
        const TContourPoint crossing{from->X + t * (to->X - from->X), from->Y + t * (to->Y - from->Y)};
        // A level through a vertex crosses both edges that meet there: that is one crossing, so
        // the segment still reaches the other edge.
        if (found == 0 || !Near(crossing, crossings[static_cast<std::size_t>(found - 1)]))
            crossings[static_cast<std::size_t>(found++)] = crossing;
    }
    if (found < 2)
        return std::nullopt;
    return std::pair{crossings[static_cast<std::size_t>(found - 2)],
                     crossings[static_cast<std::size_t>(found - 1)]};
}

/// The segments of one cell whose corner values have been repaired.
void TraceCell(const TContourGrid& grid, int i, int j, const std::array<double, 4>& z, double level,
               std::vector<TContourSegment>& segments) {
    const std::array<TNode, 4> corners{{{grid.X(i), grid.Y(i, j), z[0]},
                                        {grid.X(i + 1), grid.Y(i + 1, j), z[1]},
                                        {grid.X(i + 1), grid.Y(i + 1, j + 1), z[2]},
                                        {grid.X(i), grid.Y(i, j + 1), z[3]}}};
    const TNode centre{(corners[0].X + corners[1].X + corners[2].X + corners[3].X) / 4,
                       (corners[0].Y + corners[1].Y + corners[2].Y + corners[3].Y) / 4,
                       (z[0] + z[1] + z[2] + z[3]) / 4};
    const double dx = 2 * (grid.X(i + 1) - grid.X(i));
    const double dy = (grid.Y(i, j + 1) - grid.Y(i, j)) + (grid.Y(i + 1, j + 1) - grid.Y(i + 1, j));
    const double gx = (z[1] + z[2] - z[0] - z[3]) / dx;
    const double gy = (z[2] + z[3] - z[0] - z[1]) / dy;
    const double gradient = gx * gx + gy * gy;
    for (std::size_t k = 0; k < 4; ++k) {
        const auto segment = TriangleSegment(corners[k], corners[(k + 1) % 4], centre, level);
        if (segment && !Near(segment->first, segment->second))
            segments.push_back({segment->first, segment->second, gradient});
    }
}

/// The index cell size for joining the lines of a grid: well above the tolerance and about two
/// grid cells wide, so that a line end and the ends that meet it mostly share an index cell.
double JoinCellSize(const TContourGrid& grid) {
    double step = std::numeric_limits<double>::max();
    for (int i = 0; i + 1 < grid.Nx(); ++i)
        step = std::min(step, std::abs(grid.X(i + 1) - grid.X(i)));
    for (int j = 0; j + 1 < grid.Ny(); ++j)
        step = std::min(step, std::abs(grid.Y(0, j + 1) - grid.Y(0, j)));
    return std::max(16 * PointTolerance, step * 2);
}

} // namespace

double NormalizeLevel(double level) {
    return std::strtod(Format("%.12G", level).c_str(), nullptr);
}

std::vector<double> ContourLevels(const TLevelOptions& options, double dataMin, double dataMax) {
    std::vector<double> levels;
    if (!(std::abs(dataMax - dataMin) >= FlatRange))
        return levels;
    if (options.Automatic && options.Count > 0) {
        const double a = options.FixedMin ? options.MinLimit : dataMin;
        const double b = options.FixedMax ? options.MaxLimit : dataMax;
        const std::optional<double> userStep = ReadNumber(options.UserStep);
        // A step that is not positive would repeat or reverse the levels.
        const double step = userStep && *userStep > 0 ? *userStep
                            : options.Count == 1      ? (b - a) * 0.5
                                                      : (b - a) / options.Count;
        for (int i = 0; i < options.Count; ++i)
            levels.push_back(a + step * i);
    }
    if (options.UserLevelsOn)
        for (const std::string& text : options.UserLevels)
            if (const std::optional<double> level = ReadNumber(text))
                levels.push_back(*level);
    return levels;
}

namespace {

/// The lowest and highest corner value of every cell, row by row; a cell with a missing corner
/// spans everything, so that its repair is always tried.
struct TCellRanges {
    std::vector<double> Low;
    std::vector<double> High;
};

TCellRanges CellRanges(const TContourGrid& grid) {
    TCellRanges ranges;
    const std::size_t cells = static_cast<std::size_t>(std::max(0, grid.Nx() - 1)) *
                              static_cast<std::size_t>(std::max(0, grid.Ny() - 1));
    ranges.Low.reserve(cells);
    ranges.High.reserve(cells);
    for (int j = 0; j + 1 < grid.Ny(); ++j)
        for (int i = 0; i + 1 < grid.Nx(); ++i) {
            const double z[4] = {grid.Z(i, j), grid.Z(i + 1, j), grid.Z(i + 1, j + 1), grid.Z(i, j + 1)};
            const double low = std::min(std::min(z[0], z[1]), std::min(z[2], z[3]));
            const double high = std::max(std::max(z[0], z[1]), std::max(z[2], z[3]));
            const bool missing = IsMissingZ(z[0]) || IsMissingZ(z[1]) || IsMissingZ(z[2]) || IsMissingZ(z[3]);
            ranges.Low.push_back(missing ? -std::numeric_limits<double>::infinity() : low);
            ranges.High.push_back(missing ? std::numeric_limits<double>::infinity() : high);
        }
    return ranges;
}

void TraceLevelIn(const TContourGrid& grid, const TCellRanges& ranges, double level,
                  std::vector<TContourSegment>& segments) {
    level = NormalizeLevel(level);
    if (!grid.HasCells() || level < grid.DataMin() || level > grid.DataMax())
        return;
    const int columns = grid.Nx() - 1;
    for (std::size_t cell = 0; cell < ranges.Low.size(); ++cell) {
        // The centre lies between the corners, so a cell that does not span the level has no segment.
        if (ranges.Low[cell] > level || ranges.High[cell] < level)
            continue;
        const int i = static_cast<int>(cell % static_cast<std::size_t>(columns));
        const int j = static_cast<int>(cell / static_cast<std::size_t>(columns));
        std::array<double, 4> z{grid.Z(i, j), grid.Z(i + 1, j), grid.Z(i + 1, j + 1), grid.Z(i, j + 1)};
        if (RepairCorners(z))
            TraceCell(grid, i, j, z, level, segments);
    }
}

} // namespace

void TraceLevel(const TContourGrid& grid, double level, std::vector<TContourSegment>& segments) {
    TraceLevelIn(grid, CellRanges(grid), level, segments);
}

std::vector<TContourLine> TraceContours(const TContourGrid& grid, const std::vector<double>& levels) {
    TContourJoiner joiner(JoinCellSize(grid));
    const TCellRanges ranges = CellRanges(grid);
    std::vector<TContourSegment> segments;
    for (double level : levels) {
        segments.clear();
        TraceLevelIn(grid, ranges, level, segments);
        const double traced = NormalizeLevel(level);
        for (const TContourSegment& segment : segments)
            joiner.Add(traced, segment);
    }
    return joiner.TakeLines();
}

// ---- joining

/// Line ends by rounded coordinates: an open-addressing table of index cells, each holding a
/// chain of the ends that fall in it.
class TContourJoiner::TEndIndex {
public:
    explicit TEndIndex(double cellSize) : m_perCell(1 / cellSize), m_margin(PointTolerance / cellSize) {
        m_slots.resize(InitialSlots);
    }

    void Insert(const TContourPoint& point, TEnd end) {
        const auto [kx, ky] = Key(point);
        TSlot& slot = FindSlot(kx, ky, true);
        int node;
        if (!m_free.empty()) {
            node = m_free.back();
            m_free.pop_back();
        } else {
            node = static_cast<int>(m_nodes.size());
            m_nodes.emplace_back();
        }
        m_nodes[static_cast<std::size_t>(node)] = {end, slot.Head};
        slot.Head = node;
    }

    void Remove(const TContourPoint& point, TEnd end) {
        const auto [kx, ky] = Key(point);
        TSlot& slot = FindSlot(kx, ky, false);
        for (int* link = &slot.Head; *link >= 0; link = &m_nodes[static_cast<std::size_t>(*link)].Next) {
            const TNodeEntry& node = m_nodes[static_cast<std::size_t>(*link)];
            if (node.End.Line == end.Line && node.End.AtStart == end.AtStart) {
                m_free.push_back(*link);
                *link = node.Next;
                return;
            }
        }
    }

    /// Calls `visit` for every end indexed in the cells a point within the tolerance of `point`
    /// can fall in.
    template <typename F> void ForNear(const TContourPoint& point, F visit) {
        const double fx = point.X * m_perCell;
        const double fy = point.Y * m_perCell;
        const std::int64_t kx = static_cast<std::int64_t>(std::floor(fx));
        const std::int64_t ky = static_cast<std::int64_t>(std::floor(fy));
        const double margin = m_margin;
        const std::int64_t x0 = fx - static_cast<double>(kx) < margin ? kx - 1 : kx;
        const std::int64_t x1 = static_cast<double>(kx + 1) - fx < margin ? kx + 1 : kx;
        const std::int64_t y0 = fy - static_cast<double>(ky) < margin ? ky - 1 : ky;
        const std::int64_t y1 = static_cast<double>(ky + 1) - fy < margin ? ky + 1 : ky;
        for (std::int64_t x = x0; x <= x1; ++x)
            for (std::int64_t y = y0; y <= y1; ++y) {
                const TSlot* slot = Lookup(x, y);
                for (int node = slot ? slot->Head : -1; node >= 0;
                     node = m_nodes[static_cast<std::size_t>(node)].Next)
                    visit(m_nodes[static_cast<std::size_t>(node)].End);
            }
    }

private:
    struct TSlot {
        std::int64_t Kx = 0;
        std::int64_t Ky = 0;
        int Head = -1;
        bool Used = false;
    };
    struct TNodeEntry {
        TEnd End;
        int Next = -1;
    };

    std::pair<std::int64_t, std::int64_t> Key(const TContourPoint& point) const {
        return {static_cast<std::int64_t>(std::floor(point.X * m_perCell)),
                static_cast<std::int64_t>(std::floor(point.Y * m_perCell))};
    }
    std::size_t Hash(std::int64_t kx, std::int64_t ky) const {
        const auto h = (static_cast<std::uint64_t>(kx) * 0x9E3779B97F4A7C15ULL) ^
                       (static_cast<std::uint64_t>(ky) * 0xC2B2AE3D27D4EB4FULL);
        return static_cast<std::size_t>(h ^ (h >> 29)) & (m_slots.size() - 1);
    }
    const TSlot* Lookup(std::int64_t kx, std::int64_t ky) const {
        for (std::size_t s = Hash(kx, ky);; s = (s + 1) & (m_slots.size() - 1)) {
            const TSlot& slot = m_slots[s];
            if (!slot.Used)
                return nullptr;
            if (slot.Kx == kx && slot.Ky == ky)
                return &slot;
        }
    }
    TSlot& FindSlot(std::int64_t kx, std::int64_t ky, bool create) {
        if (create && 2 * (m_used + 1) > m_slots.size())
            Grow();
        for (std::size_t s = Hash(kx, ky);; s = (s + 1) & (m_slots.size() - 1)) {
            TSlot& slot = m_slots[s];
            if (slot.Used && slot.Kx == kx && slot.Ky == ky)
                return slot;
            if (!slot.Used) {
                // Removing an end only ever looks up a cell its insertion created.
                slot = {kx, ky, -1, true};
                ++m_used;
                return slot;
            }
        }
    }
    void Grow() {
        std::vector<TSlot> old(m_slots.size() * 2);
        old.swap(m_slots);
        m_used = 0;
        for (const TSlot& slot : old)
            if (slot.Used && slot.Head >= 0) {
                TSlot& moved = FindSlot(slot.Kx, slot.Ky, false);
                moved.Head = slot.Head;
            }
    }

    double m_perCell;
    double m_margin;
    std::vector<TSlot> m_slots;
    std::size_t m_used = 0;
    std::vector<TNodeEntry> m_nodes;
    std::vector<int> m_free;
};

TContourJoiner::TContourJoiner(double cellSize) : m_index(std::make_unique<TEndIndex>(cellSize)) {}

TContourJoiner::~TContourJoiner() = default;

namespace {

/// Whether two segments lie on one vertical (or one horizontal) line and `inner` within the span
/// of `outer`.
bool LiesWithin(const TContourPoint& a, const TContourPoint& b, const TContourPoint& outerA,
                const TContourPoint& outerB) {
    const auto along = [](double a1, double b1, double a2, double b2, double pa, double pb, double qa,
                          double qb) {
        // Coordinate 1 is constant; coordinate 2 must stay within the outer span.
        if (std::abs(a1 - b1) > PointTolerance || std::abs(a2 - b2) > PointTolerance ||
            std::abs(a1 - a2) > PointTolerance)
            return false;
        const double low = std::min(qa, qb) - PointTolerance;
        const double high = std::max(qa, qb) + PointTolerance;
        return pa >= low && pa <= high && pb >= low && pb <= high;
    };
    return along(a.X, b.X, outerA.X, outerB.X, a.Y, b.Y, outerA.Y, outerB.Y) ||
           along(a.Y, b.Y, outerA.Y, outerB.Y, a.X, b.X, outerA.X, outerB.X);
}

} // namespace

bool TContourJoiner::RepeatsEndSegment(const TContourSegment& segment, const std::vector<TEnd>& ends) const {
    for (const TEnd& end : ends) {
        const TBuild& line = m_lines[static_cast<std::size_t>(end.Line)];
        const std::size_t n = line.Size();
        const TContourPoint& tip = line.At(end.AtStart ? 0 : n - 1);
        const TContourPoint& next = line.At(end.AtStart ? 1 : n - 2);
        if (LiesWithin(segment.A, segment.B, tip, next))
            return true;
    }
    return false;
}

std::optional<TContourJoiner::TEnd>
TContourJoiner::FirstTouching(const TContourPoint& point, const std::vector<TEnd>& ends, int except) const {
    std::optional<TEnd> first;
    for (const TEnd& end : ends) {
        if (end.Line == except)
            continue;
        const TBuild& line = m_lines[static_cast<std::size_t>(end.Line)];
        if (!Near(point, end.AtStart ? line.Start() : line.End()))
            continue;
        // The first line in list order; at one line, its start before its end.
        if (!first || end.Line < first->Line || (end.Line == first->Line && end.AtStart))
            first = end;
    }
    return first;
}

void TContourJoiner::Add(double level, const TContourSegment& segment) {
    // The ends near either point serve the duplicate check, the extension and the bridging.
    m_nearA.clear();
    m_nearB.clear();
    m_index->ForNear(segment.A, [this](TEnd end) { m_nearA.push_back(end); });
    m_index->ForNear(segment.B, [this](TEnd end) { m_nearB.push_back(end); });
    // Only a segment along a vertical or horizontal line can repeat a cell edge.
    const bool alongAxis = std::abs(segment.A.X - segment.B.X) <= PointTolerance ||
                           std::abs(segment.A.Y - segment.B.Y) <= PointTolerance;
    if (alongAxis && (RepeatsEndSegment(segment, m_nearA) || RepeatsEndSegment(segment, m_nearB)))
        return;
    const std::optional<TEnd> byA = FirstTouching(segment.A, m_nearA, -1);
    const std::optional<TEnd> byB = FirstTouching(segment.B, m_nearB, -1);
    if (!byA && !byB) {
        TBuild line;
        line.Level = level;
        line.Back = {segment.A, segment.B};
        line.Flattest = segment;
        m_lines.push_back(std::move(line));
        m_alive.push_back(true);
        Index(static_cast<int>(m_lines.size()) - 1);
        return;
    }
    // The first line touched; at its start, the segment's first point before its second.
    const int none = static_cast<int>(m_lines.size());
    const int lineIndex = std::min(byA ? byA->Line : none, byB ? byB->Line : none);
    const TBuild& line = m_lines[static_cast<std::size_t>(lineIndex)];
    const bool aTouches = byA && byA->Line == lineIndex;
    const bool bTouches = byB && byB->Line == lineIndex;
    const bool aAtStart = aTouches && Near(segment.A, line.Start());
    const bool bAtStart = bTouches && Near(segment.B, line.Start());
    const bool atStart = aAtStart || bAtStart;
    const bool freeIsB = atStart ? aAtStart : aTouches && Near(segment.A, line.End());
    const TContourPoint free = freeIsB ? segment.B : segment.A;
    Extend(lineIndex, atStart, free);
    TBuild& extended = m_lines[static_cast<std::size_t>(lineIndex)];
    if (segment.Gradient < extended.Flattest.Gradient)
        extended.Flattest = segment;
    if (const std::optional<TEnd> other = FirstTouching(free, freeIsB ? m_nearB : m_nearA, lineIndex))
        Absorb(lineIndex, atStart, *other);
}

void TContourJoiner::Extend(int line, bool atStart, const TContourPoint& point) {
    TBuild& target = m_lines[static_cast<std::size_t>(line)];
    m_index->Remove(atStart ? target.Start() : target.End(), {line, atStart});
    (atStart ? target.Front : target.Back).push_back(point);
    m_index->Insert(point, {line, atStart});
}

void TContourJoiner::Absorb(int line, bool atStart, TEnd other) {
    TBuild& target = m_lines[static_cast<std::size_t>(line)];
    TBuild& absorbed = m_lines[static_cast<std::size_t>(other.Line)];
    Unindex(other.Line);
    m_index->Remove(atStart ? target.Start() : target.End(), {line, atStart});
    // The absorbed points follow on from the touching end, without repeating the shared point.
    std::vector<TContourPoint>& grown = atStart ? target.Front : target.Back;
    const std::size_t n = absorbed.Size();
    for (std::size_t k = 1; k < n; ++k)
        grown.push_back(absorbed.At(other.AtStart ? k : n - 1 - k));
    if (absorbed.Flattest.Gradient < target.Flattest.Gradient)
        target.Flattest = absorbed.Flattest;
    m_alive[static_cast<std::size_t>(other.Line)] = false;
    m_index->Insert(atStart ? target.Start() : target.End(), {line, atStart});
}

void TContourJoiner::Index(int line) {
    const TBuild& target = m_lines[static_cast<std::size_t>(line)];
    m_index->Insert(target.Start(), {line, true});
    m_index->Insert(target.End(), {line, false});
}

void TContourJoiner::Unindex(int line) {
    const TBuild& target = m_lines[static_cast<std::size_t>(line)];
    m_index->Remove(target.Start(), {line, true});
    m_index->Remove(target.End(), {line, false});
}

std::vector<TContourLine> TContourJoiner::TakeLines() {
    std::vector<TContourLine> lines;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (!m_alive[i])
            continue;
        TBuild& built = m_lines[i];
        TContourLine& line = lines.emplace_back();
        line.Level = built.Level;
        line.Flattest = built.Flattest;
        line.Points.assign(built.Front.rbegin(), built.Front.rend());
        line.Points.insert(line.Points.end(), built.Back.begin(), built.Back.end());
    }
    m_lines.clear();
    m_alive.clear();
    return lines;
}

// ---- labels

std::string ContourLabelText(double value, int digits) {
    if (value < std::pow(10.0, -digits)) {
        std::string text = Format("%.12G", value);
        if (value == 0)
            return "0.0";
        if (value > 0 && text.rfind("0.0", 0) == 0) {
            // 0.00123 reads 1.23E-3: the digits after the leading zeros, with the exponent.
            const std::size_t first = text.find_first_not_of('0', 2);
            const std::string rest = text.substr(first + 1);
            text =
                text.substr(first, 1) + (rest.empty() ? "" : "." + rest) + "E-" + std::to_string(first - 1);
        }
        const std::size_t exponent = std::min(text.find('E'), text.size());
        std::string mantissa = text.substr(0, exponent);
        const std::size_t point = mantissa.find('.');
        if (point == std::string::npos || mantissa.size() - point - 1 <= static_cast<std::size_t>(digits))
            return text;
        bool roundUp = mantissa[point + 1 + static_cast<std::size_t>(digits)] >= '5';
        mantissa.resize(point + 1 + static_cast<std::size_t>(digits));
        if (digits == 0)
            mantissa.pop_back();
        for (std::size_t k = mantissa.size(); roundUp && k-- > 0;) {
            if (mantissa[k] == '.')
                continue;
            if (mantissa[k] == '-') {
                mantissa.insert(k + 1, "1");
                roundUp = false;
            } else if (mantissa[k] == '9') {
                mantissa[k] = '0';
                if (k == 0)
                    mantissa.insert(0, "1");
            } else {
                ++mantissa[k];
                break;
            }
        }
        return mantissa + text.substr(exponent);
    }
    if (value <= 9999.9999999)
        return Format(("%." + std::to_string(digits) + "f").c_str(), value);
    return Format("%.6G", value);
}

double ContourLabelAngle(const TContourPoint& a, const TContourPoint& b) {
    if (b.X == a.X)
        return -90;
    return std::atan((b.Y - a.Y) / (b.X - a.X)) * 180 / 3.14159265358979323846;
}

void PlaceLabels(std::vector<TContourLine>& lines, int digits) {
    for (TContourLine& line : lines) {
        line.Label.reset();
        if (line.Level == 0)
            continue;
        const TContourSegment& flat = line.Flattest;
        line.Label = TContourLabel{flat.A, flat.B, ContourLabelText(line.Level, digits),
                                   ContourLabelAngle(flat.A, flat.B), true};
    }
}

std::optional<TSegmentHit> NearestSegment(const std::vector<TContourLine>& lines, TContourPoint point,
                                          const std::function<TContourPoint(TContourPoint)>& toScreen,
                                          double maxDistance) {
    const TContourPoint p = toScreen(point);
    std::optional<TSegmentHit> best;
    double bestDistance = maxDistance;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::vector<TContourPoint>& points = lines[l].Points;
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const TContourPoint a = toScreen(points[k]);
            const TContourPoint b = toScreen(points[k + 1]);
            const double dx = b.X - a.X;
            const double dy = b.Y - a.Y;
            const double length = dx * dx + dy * dy;
            const double t =
                length > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length, 0.0, 1.0) : 0;
            const double distance = std::hypot(a.X + t * dx - p.X, a.Y + t * dy - p.Y);
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = TSegmentHit{static_cast<int>(l), static_cast<int>(k)};
            }
        }
    }
    return best;
}

} // namespace mirla
