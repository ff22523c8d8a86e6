#include "plotlib/PlotCursors.h"

#include "plotlib/MarkerShapes.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <cmath>
#include <map>

namespace mirla {
namespace {

/// Draws the lines of `path` in black on a white halo three pixels wide, so that they show on any background.
void Stroke(QPainter& painter, const QPainterPath& path) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
}

/// Draws the closed figures of `path` filled in white with a black outline.
void Solid(QPainter& painter, const QPainterPath& path) {
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(path);
}

/// A path of straight lines through `points`.
QPainterPath Polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.moveTo(*points.begin());
    for (auto point = points.begin() + 1; point != points.end(); ++point)
        path.lineTo(*point);
    return path;
}

/// The four arms of a cross hair around `centre`, from `gap` to `reach` pixels away from it.
QPainterPath CrossHair(QPointF centre, double gap, double reach) {
    QPainterPath path;
    for (QPointF direction : {QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0), QPointF(0, -1)}) {
        path.moveTo(centre + gap * direction);
        path.lineTo(centre + reach * direction);
    }
    return path;
}

/// A rectangle of `width` pixels along the axis from `from` to `to`: a pencil body, a handle, an eraser.
QPolygonF Bar(QPointF from, QPointF to, double width) {
    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    const QPointF across = QPointF(-along.y(), along.x()) * (width / 2 / length);
    return QPolygonF{from + across, to + across, to - across, from - across};
}

// Magnifiers share one lens and handle; the lens centre is their hot spot.
constexpr QPointF LensCentre(12, 12);
constexpr double LensRadius = 9;

/// A magnifier: a handle to the lower right and a white lens, on which the caller draws.
void Magnifier(QPainter& painter) {
    QPainterPath handle;
    handle.addPolygon(Bar({17, 17}, {29, 29}, 5));
    handle.closeSubpath();
    Solid(painter, handle);
    QPainterPath lens;
    lens.addEllipse(LensCentre, LensRadius, LensRadius);
    Solid(painter, lens);
}

void DrawZoomIn(QPainter& painter) {
    Magnifier(painter);
    Stroke(painter, CrossHair(LensCentre, 0, 4));
}

void DrawAniZoom(QPainter& painter) {
    Magnifier(painter);
    QPainterPath arrows = Polyline({{6, 12}, {18, 12}});
    arrows.addPath(Polyline({{8, 10}, {6, 12}, {8, 14}}));
    arrows.addPath(Polyline({{16, 10}, {18, 12}, {16, 14}}));
    Stroke(painter, arrows);
}

void DrawZoomInWindow(QPainter& painter) {
    Magnifier(painter);
    QPainterPath window;
    window.addRect(8, 9, 8, 6);
    Stroke(painter, window);
}

// The four-way arrow of the move and pan modes, centred on its hot spot.
constexpr QPointF MoveCentre(15, 15);

/// A four-way arrow: shafts of half-width 1, heads 5 long and 8 wide, tips 13 pixels from the centre.
void FourWayArrow(QPainter& painter) {
    constexpr double Shaft = 1, HeadLength = 5, HeadHalfWidth = 4, Reach = 13;
    QPolygonF outline;
    QPointF along(1, 0);
    for (int arm = 0; arm < 4; ++arm) {
        const QPointF across(-along.y(), along.x()); // a quarter turn on, towards the next arm
        const auto at = [&](double a, double c) { return MoveCentre + a * along + c * across; };
        outline << at(Shaft, -Shaft) << at(Reach - HeadLength, -Shaft)
                << at(Reach - HeadLength, -HeadHalfWidth) << at(Reach, 0)
                << at(Reach - HeadLength, HeadHalfWidth) << at(Reach - HeadLength, Shaft);
        along = across;
    }
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    Solid(painter, path);
}

void DrawMoveIt(QPainter& painter) {
    FourWayArrow(painter);
}

void DrawPanPro(QPainter& painter) {
    FourWayArrow(painter);
    QPainterPath frame;
    frame.addRect(12, 12, 6, 6);
    Solid(painter, frame);
}

// The hand of real-time panning; its hot spot is the middle of the palm.
constexpr QPoint HandHotSpot(16, 20);

void DrawPanRea(QPainter& painter) {
    QPainterPath hand;
    hand.addRoundedRect(9, 14, 15, 14, 4, 4);
    const std::array<QRectF, 4> fingers{QRectF(9, 6, 3, 12), QRectF(13, 3, 3, 15), QRectF(17, 4, 3, 14),
                                        QRectF(21, 7, 3, 11)};
    for (const QRectF& finger : fingers) {
        QPainterPath path;
        path.addRoundedRect(finger, 1.5, 1.5);
        hand = hand.united(path);
    }
    QPainterPath thumb;
    thumb.addPolygon(Bar({4, 13}, {11, 21}, 3.5));
    thumb.closeSubpath();
    Solid(painter, hand.united(thumb));
}

// The cross hair of the series modes, with a badge at the lower right telling the action.
constexpr QPointF SeriesCentre(11, 11);
constexpr QPointF BadgeCentre(25, 25);

/// The series cross hair with an empty badge; the caller draws the badge's sign.
void SeriesCrossHair(QPainter& painter) {
    Stroke(painter, CrossHair(SeriesCentre, 3, 10));
    QPainterPath badge;
    badge.addRect(19, 19, 12, 12);
    Solid(painter, badge);
}

void DrawSerAdd(QPainter& painter) {
    SeriesCrossHair(painter);
    Stroke(painter, CrossHair(BadgeCentre, 0, 3));
}

void DrawSerDel(QPainter& painter) {
    SeriesCrossHair(painter);
    Stroke(painter, Polyline({BadgeCentre - QPointF(3, 0), BadgeCentre + QPointF(3, 0)}));
}

void DrawSerSel(QPainter& painter) {
    SeriesCrossHair(painter);
    Stroke(painter, Polyline({{22, 25}, {24, 27}, {28, 22}}));
}

void DrawSerInf(QPainter& painter) {
    SeriesCrossHair(painter);
    QPainterPath letter = Polyline({{24, 24}, {25, 24}, {25, 28}});
    letter.addPath(Polyline({{23, 28}, {27, 28}}));
    letter.addPath(Polyline({{25, 22}, {25, 22}}));
    Stroke(painter, letter);
}

void DrawTransform(QPainter& painter) {
    QPainterPath arrow = Polyline({{5, 5}, {26, 26}});
    arrow.addPath(Polyline({{11, 5}, {5, 5}, {5, 11}}));
    arrow.addPath(Polyline({{20, 26}, {26, 26}, {26, 20}}));
    Stroke(painter, arrow);
    QPainterPath handle;
    handle.addRect(13, 13, 5, 5);
    Solid(painter, handle);
}

// The annotation tools: a small cross hair at the upper left and the tool's figure at the lower right.
constexpr QPointF ToolCentre(7, 7);
constexpr QPointF FigureCentre(22, 22);

void ToolCrossHair(QPainter& painter) {
    Stroke(painter, CrossHair(ToolCentre, 2, 6));
}

void DrawAnTextCr(QPainter& painter) {
    QPainterPath beam = Polyline({{4, 2}, {10, 2}});
    beam.addPath(Polyline({{7, 2}, {7, 18}}));
    beam.addPath(Polyline({{4, 18}, {10, 18}}));
    beam.addPath(Polyline({{16, 16}, {28, 16}}));
    beam.addPath(Polyline({{22, 16}, {22, 29}}));
    Stroke(painter, beam);
}

void DrawRectCr(QPainter& painter) {
    ToolCrossHair(painter);
    QPainterPath rect;
    rect.addRect(15, 17, 14, 10);
    Solid(painter, rect);
}

void DrawLineCr(QPainter& painter) {
    ToolCrossHair(painter);
    Stroke(painter, Polyline({{15, 29}, {29, 15}}));
}

void DrawCircleCr(QPainter& painter) {
    ToolCrossHair(painter);
    QPainterPath circle;
    circle.addEllipse(FigureCentre, 7, 7);
    Solid(painter, circle);
}

void DrawCrArrowAn(QPainter& painter) {
    ToolCrossHair(painter);
    QPainterPath arrow = Polyline({{15, 29}, {29, 15}});
    arrow.addPath(Polyline({{23, 15}, {29, 15}, {29, 21}}));
    Stroke(painter, arrow);
}

void DrawShapeAnCr(QPainter& painter) {
    ToolCrossHair(painter);
    DrawMarkerShape(painter, ms5Star1, FigureCentre, 8, Qt::black, Qt::white);
}

// The pencil writes with its tip at the lower left.
constexpr QPoint PencilTip(2, 29);

void DrawAnPencil(QPainter& painter) {
    const QPolygonF body = Bar({7, 24}, {23, 8}, 6);
    QPainterPath pencil;
    pencil.addPolygon(QPolygonF{PencilTip, body[3], body[2], body[1], body[0]});
    pencil.closeSubpath();
    Solid(painter, pencil);
    QPainterPath bands = Polyline({body[0], body[3]});
    const QPolygonF ferrule = Bar({20, 11}, {23, 8}, 6);
    bands.addPath(Polyline({ferrule[0], ferrule[3]}));
    Stroke(painter, bands);
}

constexpr QPointF AimCentre(15, 15);

void DrawAim(QPainter& painter) {
    QPainterPath sight = CrossHair(AimCentre, 3, 13);
    sight.addEllipse(AimCentre, 8, 8);
    Stroke(painter, sight);
}

// The eraser rubs with the middle of its lower left end.
constexpr QPoint EraserEnd(6, 26);

void DrawEraze(QPainter& painter) {
    const QPolygonF block = Bar(EraserEnd, {24, 8}, 10);
    QPainterPath eraser;
    eraser.addPolygon(block);
    eraser.closeSubpath();
    Solid(painter, eraser);
    const QPolygonF rubber = Bar(EraserEnd, {13, 19}, 10);
    Stroke(painter, Polyline({rubber[1], rubber[2]}));
}

/// How one cursor looks: its resource name, its hot spot and the routine that draws it.
struct TCursorDesign {
    TPlotCursor Id;
    const char* Name;
    QPoint HotSpot;
    void (*Draw)(QPainter&);
};

const std::array<TCursorDesign, 20> CursorDesigns{{
    {TPlotCursor::ZoomIn, "ZOOM_IN", LensCentre.toPoint(), DrawZoomIn},
    {TPlotCursor::AniZoom, "ANIZOOM", LensCentre.toPoint(), DrawAniZoom},
    {TPlotCursor::MoveIt, "MOVEIT", MoveCentre.toPoint(), DrawMoveIt},
    {TPlotCursor::SerAdd, "SERADD", SeriesCentre.toPoint(), DrawSerAdd},
    {TPlotCursor::SerDel, "SERDEL", SeriesCentre.toPoint(), DrawSerDel},
    {TPlotCursor::SerSel, "SERSEL", SeriesCentre.toPoint(), DrawSerSel},
    {TPlotCursor::SerInf, "SERINF", SeriesCentre.toPoint(), DrawSerInf},
    {TPlotCursor::Transform, "TRANSFORM", {15, 15}, DrawTransform},
    {TPlotCursor::PanRea, "PANREA", HandHotSpot, DrawPanRea},
    {TPlotCursor::PanPro, "PANPRO", MoveCentre.toPoint(), DrawPanPro},
    {TPlotCursor::AnTextCr, "ANTEXTCR", {7, 10}, DrawAnTextCr},
    {TPlotCursor::RectCr, "RECTCR", ToolCentre.toPoint(), DrawRectCr},
    {TPlotCursor::LineCr, "LINECR", ToolCentre.toPoint(), DrawLineCr},
    {TPlotCursor::CircleCr, "CIRCLECR", ToolCentre.toPoint(), DrawCircleCr},
    {TPlotCursor::CrArrowAn, "CRARROWAN", ToolCentre.toPoint(), DrawCrArrowAn},
    {TPlotCursor::ShapeAnCr, "SHAPEANCR", ToolCentre.toPoint(), DrawShapeAnCr},
    {TPlotCursor::AnPencil, "ANPENCIL", PencilTip, DrawAnPencil},
    {TPlotCursor::Aim, "AIM", AimCentre.toPoint(), DrawAim},
    {TPlotCursor::ZoomInWindow, "ZOOMIN", LensCentre.toPoint(), DrawZoomInWindow},
    {TPlotCursor::Eraze, "ERAZE", EraserEnd, DrawEraze},
}};

const TCursorDesign* FindDesign(TPlotCursor id) {
    for (const TCursorDesign& design : CursorDesigns)
        if (design.Id == id)
            return &design;
    return nullptr;
}

/// Paints a design on a transparent picture and makes the cursor, its mask taken from what was painted.
QCursor MakeCursor(const TCursorDesign& design) {
    QImage image(PlotCursorSize, PlotCursorSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        design.Draw(painter);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(QBitmap::fromImage(image.createAlphaMask()));
    return QCursor(pixmap, design.HotSpot.x(), design.HotSpot.y());
}

} // namespace

QCursor PlotCursor(TPlotCursor id) {
    static std::map<TPlotCursor, QCursor> cache;
    if (const auto cached = cache.find(id); cached != cache.end())
        return cached->second;
    const TCursorDesign* design = FindDesign(id);
    if (design == nullptr)
        return QCursor(Qt::ArrowCursor);
    return cache.emplace(id, MakeCursor(*design)).first->second;
}

QString PlotCursorName(TPlotCursor id) {
    const TCursorDesign* design = FindDesign(id);
    return design == nullptr ? QString() : QString::fromLatin1(design->Name);
}

} // namespace mirla
