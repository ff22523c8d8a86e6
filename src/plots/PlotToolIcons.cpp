#include "plots/PlotToolIcons.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mirla {

namespace {

const QColor Ink(50, 50, 50);
const QColor Accent(30, 100, 190);
const QColor Paper(250, 250, 250);

QPen InkPen(qreal width = 1.5) {
    return QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawArrowHead(QPainter& p, QPointF tip, QPointF from) {
    const QLineF back(tip, from);
    QLineF side1 = back;
    side1.setLength(5);
    side1.setAngle(back.angle() + 35);
    QLineF side2 = back;
    side2.setLength(5);
    side2.setAngle(back.angle() - 35);
    p.drawPolygon(QPolygonF{tip, side1.p2(), side2.p2()});
}

/// A magnifying glass whose lens is centred at (cx, cy).
void DrawLens(QPainter& p, qreal cx, qreal cy) {
    p.setPen(QPen(Ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx + 5, cy + 5), QPointF(cx + 10, cy + 10));
    p.setPen(InkPen(2));
    p.setBrush(QColor(215, 232, 250));
    p.drawEllipse(QPointF(cx, cy), 6.5, 6.5);
}

void DrawPrint(QPainter& p) {
    p.setPen(InkPen());
    p.setBrush(Paper);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(3, 9, 18, 8), 2, 2);
    p.setBrush(Paper);
    p.drawRect(QRectF(7, 14, 10, 7));
    p.drawLine(QPointF(9, 17), QPointF(15, 17));
}

void DrawSaveAs(QPainter& p) {
    p.setPen(InkPen());
    p.setBrush(Accent);
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(Paper);
    p.drawRect(QRectF(7, 3, 10, 6));
    p.drawRect(QRectF(6, 13, 12, 8));
}

void DrawZoom(QPainter& p, TPlotTool tool) {
    DrawLens(p, 10, 10);
    p.setPen(InkPen(2));
    p.drawLine(QPointF(7, 10), QPointF(13, 10));
    if (tool == TPlotTool::ZoomIn)
        p.drawLine(QPointF(10, 7), QPointF(10, 13));
}

void DrawZoomPrevious(QPainter& p) {
    p.setPen(QPen(Accent, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(7, 9));
    path.cubicTo(QPointF(14, 3), QPointF(22, 9), QPointF(18, 16));
    path.lineTo(QPointF(14, 20));
    p.drawPath(path);
    p.setBrush(Accent);
    p.setPen(QPen(Accent, 1));
    DrawArrowHead(p, QPointF(4, 11), QPointF(9, 8));
}

void DrawAnimatedZoom(QPainter& p) {
    DrawLens(p, 13, 10);
    p.setPen(QPen(Accent, 1.5, Qt::SolidLine, Qt::RoundCap));
    for (int row = 0; row < 3; ++row)
        p.drawLine(QPointF(1, 6 + 4 * row), QPointF(4 + (row % 2) * 1.5, 6 + 4 * row));
}

void DrawProperties(QPainter& p) {
    const qreal knobs[] = {15, 7, 12};
    for (int row = 0; row < 3; ++row) {
        const qreal y = 6 + 6 * row;
        p.setPen(InkPen(1.5));
        p.drawLine(QPointF(3, y), QPointF(21, y));
        p.setBrush(Accent);
        p.drawRect(QRectF(knobs[row] - 2, y - 3, 4, 6));
    }
}

void DrawLegend(QPainter& p) {
    p.setPen(InkPen(1.2));
    p.setBrush(Paper);
    p.drawRect(QRectF(2.5, 3.5, 19, 17));
    const QColor samples[] = {QColor(220, 30, 30), Accent, QColor(20, 140, 40)};
    for (int row = 0; row < 3; ++row) {
        const qreal y = 7.5 + 4.5 * row;
        p.setPen(QPen(samples[row], 2));
        p.drawLine(QPointF(5, y), QPointF(10, y));
        p.setPen(QPen(QColor(120, 120, 120), 1.5));
        p.drawLine(QPointF(12.5, y), QPointF(19, y));
    }
}

void DrawGrid(QPainter& p, bool vertical) {
    p.setPen(QPen(Accent, 1, Qt::DashLine));
    for (int k = 1; k <= 3; ++k) {
        const qreal at = 3 + 4.5 * k;
        if (vertical)
            p.drawLine(QPointF(at, 3), QPointF(at, 21));
        else
            p.drawLine(QPointF(3, at), QPointF(21, at));
    }
    p.setPen(InkPen(1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, 18, 18));
}

void DrawView3D(QPainter& p) {
    p.setPen(InkPen(1.3));
    p.setBrush(QColor(170, 200, 235));
    p.drawPolygon(QPolygonF{QPointF(3, 8), QPointF(8, 3), QPointF(21, 3), QPointF(16, 8)});
    p.setBrush(QColor(110, 150, 205));
    p.drawPolygon(QPolygonF{QPointF(16, 8), QPointF(21, 3), QPointF(21, 16), QPointF(16, 21)});
    p.setBrush(QColor(215, 232, 250));
    p.drawRect(QRectF(3, 8, 13, 13));
}

void DrawCopy(QPainter& p) {
    p.setPen(InkPen(1.3));
    p.setBrush(QColor(215, 215, 215));
    p.drawRect(QRectF(3, 3, 11, 14));
    p.setBrush(Paper);
    p.drawRect(QRectF(9, 7, 11, 14));
    p.setPen(QPen(Accent, 1.2));
    for (int row = 0; row < 3; ++row)
        p.drawLine(QPointF(11.5, 11 + 3 * row), QPointF(17.5, 11 + 3 * row));
}

/// A small table with an arrow leaving it (export) or entering it (import).
void DrawDataTransfer(QPainter& p, bool outwards) {
    p.setPen(InkPen(1.2));
    p.setBrush(Paper);
    const QRectF table(2.5, 4.5, 12, 15);
    p.drawRect(table);
    p.drawLine(QPointF(8.5, 4.5), QPointF(8.5, 19.5));
    for (int row = 1; row <= 3; ++row)
        p.drawLine(QPointF(2.5, 4.5 + 3.75 * row), QPointF(14.5, 4.5 + 3.75 * row));
    p.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF inner(11, 12);
    const QPointF outer(22, 12);
    p.drawLine(inner, outer);
    p.setPen(QPen(Accent, 1));
    p.setBrush(Accent);
    if (outwards)
        DrawArrowHead(p, outer + QPointF(1, 0), inner);
    else
        DrawArrowHead(p, inner - QPointF(1, 0), outer);
}

} // namespace

QIcon PlotToolIcon(TPlotTool tool) {
    QPixmap picture(PlotToolIconSize, PlotToolIconSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    switch (tool) {
    case TPlotTool::Print:
        DrawPrint(p);
        break;
    case TPlotTool::SaveAs:
        DrawSaveAs(p);
        break;
    case TPlotTool::ZoomIn:
    case TPlotTool::ZoomOut:
        DrawZoom(p, tool);
        break;
    case TPlotTool::ZoomPrevious:
        DrawZoomPrevious(p);
        break;
    case TPlotTool::AnimatedZoom:
        DrawAnimatedZoom(p);
        break;
    case TPlotTool::Properties:
        DrawProperties(p);
        break;
    case TPlotTool::Legend:
        DrawLegend(p);
        break;
    case TPlotTool::VerticalGrid:
        DrawGrid(p, true);
        break;
    case TPlotTool::HorizontalGrid:
        DrawGrid(p, false);
        break;
    case TPlotTool::View3D:
        DrawView3D(p);
        break;
    case TPlotTool::Copy:
        DrawCopy(p);
        break;
    case TPlotTool::ExportData:
        DrawDataTransfer(p, true);
        break;
    case TPlotTool::ImportData:
        DrawDataTransfer(p, false);
        break;
    }
    p.end();
    return QIcon(picture);
}

} // namespace mirla
