#pragma once

#include "plotlib/core/PlotTypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace mirla {

/// The DXF colour number of a colour: black (and -1) 0, red 1, yellow 2, green 3, aqua 4, blue 5,
/// fuchsia 6, white 7 (each with its dark twin), any other colour 8.
int DxfColor(TColor color);
/// A layer name as DXF takes it: upper case, every space and "/" replaced by "_".
std::string DxfLayerName(std::string_view name);

/// Records drawing as DXF entity text while it is active. The output mode chooses the form of a
/// line: 0 "LINE,1" and the four coordinates on one line, 1 a LINE entity in the plane, 2 a LINE
/// entity with zero heights, 3 a "10" block of two coordinate pairs ended by "END". Filled
/// rectangles and circles are written in modes 1 and 2 only.
class TDXF {
public:
    /// Whether drawing is recorded; the operations write nothing while it is not.
    bool Active = false;
    /// The output mode, 0 to 3.
    int Mode = 2;

    /// A line from (x1, y1) to (x2, y2) on `layer` in `color`.
    void Line(std::string_view layer, TColor color, double x1, double y1, double x2, double y2);
    /// A filled rectangle (SOLID) with the corners (a, b) and (c, d).
    void FilledRect(std::string_view layer, TColor color, double a, double b, double c, double d);
    /// A circle around (x, y) with radius `radius`.
    void Circle(std::string_view layer, TColor color, double x, double y, double radius);

    /// The entity text recorded so far, one value per line.
    const std::string& Text() const { return m_text; }
    /// The layer names of the entities recorded so far, each once, in order of first use.
    const std::vector<std::string>& Layers() const { return m_layers; }
    /// The smallest and largest coordinates recorded so far (0 when nothing was recorded).
    double MinX() const { return m_any ? m_minX : 0; }
    double MinY() const { return m_any ? m_minY : 0; }
    double MaxX() const { return m_any ? m_maxX : 0; }
    double MaxY() const { return m_any ? m_maxY : 0; }

private:
    void Put(std::string_view value);
    void PutCoordinate(double value);
    void Entity(std::string_view code, std::string_view kind, std::string_view layer, TColor color);
    void Include(double x, double y);

    std::string m_text;
    std::vector<std::string> m_layers;
    bool m_any = false;
    double m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
};

/// A complete DXF drawing of the recorded entities: a header with the extents, the tables of
/// line types and layers, the entities and the end of file.
std::string DxfDocument(const TDXF& dxf);

} // namespace mirla
