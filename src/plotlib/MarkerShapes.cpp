#include "plotlib/MarkerShapes.h"

#include <QBrush>
#include <QPen>
#include <QPolygonF>

#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace mirla {
namespace {

/// Number of outline shapes; the filled twin of shape k is style k + OutlineShapeCount.
constexpr int OutlineShapeCount = msWisker;
/// Half the width of the arms of the filled plus, cross and star, relative to the marker size.
constexpr double ArmHalfWidth = 0.25;
/// Distance of the inner corners of pointed stars from the centre, relative to the points.
constexpr double StarInnerRadius = 0.45;
/// Radius of the star inside the circle of the star-in-circle shapes.
constexpr double EnclosedStarRadius = 0.8;
/// Radius of the circle at the centre of the crest-with-circle shapes.
constexpr double SmallCircleRadius = 0.45;
/// Radius of the circle of the circle-in-star shapes, a little beyond the star's inner corners.
constexpr double StarredCircleRadius = 0.6;
/// Straight pieces per curved side or arc of the polygon shapes.
constexpr int CurveSteps = 16;

constexpr double Pi = std::numbers::pi;

/// Paints shapes given in unit coordinates, where (±1, ±1) are the corners of the marker's box
/// (y grows downwards, as on the screen).
class TMarkerPainter {
public:
    TMarkerPainter(QPainter& painter, QPointF centre, double size, const QColor& fill, bool filled)
        : m_painter(painter), m_centre(centre), m_size(size), m_fill(fill), m_filled(filled) {}

    /// Whether this is the filled twin of its shape.
    bool Filled() const { return m_filled; }

    /// Draws the body of a shape: filled with the fill colour in the filled twin, clear otherwise.
    void BodyPolygon(const QPolygonF& unit) {
        UseBodyBrush(true);
        m_painter.drawPolygon(Map(unit));
    }
    /// Draws a round body of `radius` (unit) around the centre, filled as BodyPolygon.
    void BodyCircle(double radius) {
        UseBodyBrush(true);
        m_painter.drawEllipse(m_centre, radius * m_size, radius * m_size);
    }
    /// Draws the outline of a polygon that is never filled (a figure inside the body).
    void OutlinePolygon(const QPolygonF& unit) {
        UseBodyBrush(false);
        m_painter.drawPolygon(Map(unit));
    }
    /// Draws a circle of `radius` (unit) around the centre that is never filled.
    void OutlineCircle(double radius) {
        UseBodyBrush(false);
        m_painter.drawEllipse(m_centre, radius * m_size, radius * m_size);
    }
    /// Draws a straight line between two unit points.
    void Line(QPointF from, QPointF to) { m_painter.drawLine(Map(from), Map(to)); }

private:
    QPointF Map(QPointF unit) const { return m_centre + unit * m_size; }
    QPolygonF Map(const QPolygonF& unit) const {
        QPolygonF mapped;
        mapped.reserve(unit.size());
        for (const QPointF& point : unit)
            mapped << Map(point);
        return mapped;
    }
    void UseBodyBrush(bool body) {
        m_painter.setBrush(body && m_filled ? QBrush(m_fill) : QBrush(Qt::NoBrush));
    }

    QPainter& m_painter;
    QPointF m_centre;
    double m_size;
    QColor m_fill;
    bool m_filled;
};

/// The unit point at `radius` in direction `angle` (radians, 0 = right, growing clockwise on screen).
QPointF Polar(double radius, double angle) {
    return {radius * std::cos(angle), radius * std::sin(angle)};
}

/// A square of half-width `half` around the centre.
QPolygonF Square(double half) {
    return QPolygonF{{-half, -half}, {half, -half}, {half, half}, {-half, half}};
}

/// The diamond with its corners on the box's edge midpoints.
QPolygonF Diamond() {
    return QPolygonF{{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
}

/// The triangle with its apex at the top (`up`) or at the bottom edge of the box.
QPolygonF Triangle(bool up) {
    const double apex = up ? -1 : 1;
    return QPolygonF{{0, apex}, {1, -apex}, {-1, -apex}};
}

/// A star with `points` points at `outer` and the corners between them at `outer` · StarInnerRadius,
/// one point straight up.
QPolygonF PointedStar(int points, double outer) {
    QPolygonF star;
    for (int corner = 0; corner < 2 * points; ++corner) {
        const double radius = corner % 2 == 0 ? outer : outer * StarInnerRadius;
        star << Polar(radius, -Pi / 2 + corner * Pi / points);
    }
    return star;
}

/// The outline of broad arms of half-width ArmHalfWidth and `length` from the centre in the
/// directions `angles` (degrees, ascending, evenly spread): a bold plus, cross or asterisk.
QPolygonF Arms(std::initializer_list<double> angles, double length) {
    const double gap = 2 * Pi / static_cast<double>(angles.size());
    const double innerCorner = ArmHalfWidth / std::sin(gap / 2);
    QPolygonF arms;
    for (double degrees : angles) {
        const double angle = degrees * Pi / 180;
        const QPointF tip = Polar(length, angle);
        const QPointF side = Polar(ArmHalfWidth, angle + Pi / 2);
        arms << tip - side << tip + side << Polar(innerCorner, angle + gap / 2);
    }
    return arms;
}

/// The upper half of a disc of radius 1 whose base lies at y = 0.5, so that it is centred vertically.
QPolygonF HalfDisc() {
    QPolygonF half;
    for (int step = 0; step <= CurveSteps; ++step)
        half << QPointF(0, 0.5) + Polar(1, Pi + step * Pi / CurveSteps);
    return half;
}

/// The box with its four sides bowed inwards.
QPolygonF ConcaveSquare() {
    constexpr double Depth = 0.35;
    const std::array<QPointF, 4> corners{QPointF(-1, -1), QPointF(1, -1), QPointF(1, 1), QPointF(-1, 1)};
    QPolygonF shape;
    for (std::size_t side = 0; side < corners.size(); ++side) {
        const QPointF from = corners[side];
        const QPointF to = corners[(side + 1) % corners.size()];
        const QPointF inwards = -(from + to) / 2; // the side's midpoint points outwards from the centre
        for (int step = 0; step < CurveSteps; ++step) {
            const double t = static_cast<double>(step) / CurveSteps;
            shape << from + t * (to - from) + Depth * 4 * t * (1 - t) * inwards;
        }
    }
    return shape;
}

/// The four arms of a plus sign, each from `inner` to the edge of the box.
void PlusLines(TMarkerPainter& marker, double inner) {
    for (int arm = 0; arm < 4; ++arm)
        marker.Line(Polar(inner, arm * Pi / 2), Polar(1, arm * Pi / 2));
}

/// Plus sign: thin lines, or broad filled arms in the filled twin.
void DrawCrest(TMarkerPainter& marker) {
    if (marker.Filled())
        marker.BodyPolygon(Arms({0, 90, 180, 270}, 1));
    else
        PlusLines(marker, 0);
}

/// Diagonal cross: thin lines, or broad filled arms in the filled twin.
void DrawCross(TMarkerPainter& marker) {
    if (marker.Filled()) {
        // The arms end where their outer corners touch the box.
        marker.BodyPolygon(Arms({45, 135, 225, 315}, std::numbers::sqrt2 - ArmHalfWidth));
        return;
    }
    marker.Line({-1, -1}, {1, 1});
    marker.Line({-1, 1}, {1, -1});
}

/// Asterisk of three lines, one upright; broad filled arms in the filled twin.
void DrawStar(TMarkerPainter& marker) {
    if (marker.Filled()) {
        marker.BodyPolygon(Arms({-90, -30, 30, 90, 150, 210}, 1));
        return;
    }
    for (double degrees : {90.0, 30.0, -30.0}) {
        const QPointF end = Polar(1, degrees * Pi / 180);
        marker.Line(-end, end);
    }
}

/// The pound sign #; the filled twin fills the square in its middle.
void DrawWell(TMarkerPainter& marker) {
    constexpr double Bar = 1.0 / 3;
    marker.BodyPolygon(Square(Bar));
    for (double offset : {-Bar, Bar}) {
        marker.Line({offset, -1}, {offset, 1});
        marker.Line({-1, offset}, {1, offset});
    }
}

/// An error-bar whisker: an upright line with end caps; the filled twin adds a filled box at the centre.
void DrawWisker(TMarkerPainter& marker) {
    constexpr double Cap = 0.5;
    marker.Line({0, -1}, {0, 1});
    marker.Line({-Cap, -1}, {Cap, -1});
    marker.Line({-Cap, 1}, {Cap, 1});
    if (marker.Filled())
        marker.BodyPolygon(Square(Cap));
}

/// Draws one of the outline shapes msRect ... msWisker (or its filled twin, as `marker` says).
void DrawShape(TMarkerPainter& marker, TMarkerStyle shape) {
    switch (shape) {
    case msRect:
        marker.BodyPolygon(Square(1));
        break;
    case msCircle:
        marker.BodyCircle(1);
        break;
    case msTriangleUp:
    case msTriangleDn:
        marker.BodyPolygon(Triangle(shape == msTriangleUp));
        break;
    case msCrest:
        DrawCrest(marker);
        break;
    case msCross:
        DrawCross(marker);
        break;
    case msStar:
        DrawStar(marker);
        break;
    case msDiamond:
        marker.BodyPolygon(Diamond());
        break;
    case msRectDiag:
        marker.BodyPolygon(Square(1));
        marker.Line({-1, -1}, {1, 1});
        marker.Line({-1, 1}, {1, -1});
        break;
    case msConcaveRect:
        marker.BodyPolygon(ConcaveSquare());
        break;
    case msCircleCircle:
        marker.BodyCircle(1);
        marker.OutlineCircle(0.5);
        break;
    case msCircleDiamond:
        marker.BodyCircle(1);
        marker.OutlinePolygon(Diamond());
        break;
    case msHalfCircle:
        marker.BodyPolygon(HalfDisc());
        break;
    case msCircleCrest:
        marker.BodyCircle(1);
        PlusLines(marker, 0);
        break;
    case msCrestCircle:
        marker.BodyCircle(SmallCircleRadius);
        PlusLines(marker, SmallCircleRadius);
        break;
    case ms4Star:
    case ms5Star:
    case ms6Star:
        marker.BodyPolygon(PointedStar(4 + shape - ms4Star, 1));
        break;
    case ms4StarCircle:
    case ms5StarCircle:
    case ms6StarCircle:
        marker.BodyCircle(1);
        marker.OutlinePolygon(PointedStar(4 + shape - ms4StarCircle, EnclosedStarRadius));
        break;
    case msCircle4Star:
    case msCircle5Star:
    case msCircle6Star:
        marker.BodyPolygon(PointedStar(4 + shape - msCircle4Star, 1));
        marker.OutlineCircle(StarredCircleRadius);
        break;
    case msWell:
        DrawWell(marker);
        break;
    case msWisker:
        DrawWisker(marker);
        break;
    default:
        break;
    }
}

/// Captions of msNone and the outline shapes, in the order of TMarkerStyle.
constexpr std::array<const char*, OutlineShapeCount + 1> ShapeNames{
    "None",           "Rect",          "Circle",        "Triangle up",   "Triangle down", "Crest",
    "Cross",          "Star",          "Diamond",       "Rect diagonal", "Concave rect",  "Circle circle",
    "Circle diamond", "Half circle",   "Circle crest",  "Crest circle",  "4-star",        "5-star",
    "6-star",         "4-star circle", "5-star circle", "6-star circle", "Circle 4-star", "Circle 5-star",
    "Circle 6-star",  "Well",          "Wisker"};

bool IsValidStyle(TMarkerStyle style) {
    return style >= msNone && style < MarkerStyleCount;
}

} // namespace

void DrawMarkerShape(QPainter& painter, TMarkerStyle style, QPointF centre, double size, const QColor& line,
                     const QColor& fill) {
    if (style == msNone || !IsValidStyle(style))
        return;
    const bool filled = style > OutlineShapeCount;
    const auto shape = static_cast<TMarkerStyle>(filled ? style - OutlineShapeCount : style);
    painter.save();
    QPen pen(line, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    painter.setPen(pen);
    TMarkerPainter marker(painter, centre, size, fill, filled);
    DrawShape(marker, shape);
    painter.restore();
}

QString MarkerStyleName(TMarkerStyle style) {
    if (!IsValidStyle(style))
        return {};
    if (style > OutlineShapeCount)
        return QString::fromLatin1(ShapeNames[style - OutlineShapeCount]) + QStringLiteral(" filled");
    return QString::fromLatin1(ShapeNames[style]);
}

} // namespace mirla
