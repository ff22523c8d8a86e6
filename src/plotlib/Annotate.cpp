#include "plotlib/Annotate.h"

#include "plotlib/Graph.h"

#include <QAction>
#include <QFontMetricsF>
#include <QLineF>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace mirla {

namespace {

/// Share of an arrow's length that its head takes.
constexpr double ArrowHeadLength = 0.3;
/// Share of an arrow's length that its head reaches to each side.
constexpr double ArrowHeadHalfWidth = 0.05;
/// Opacity of a "SemiTransparent" fill.
constexpr double SemiTransparentAlpha = 0.5;

bool Near(QPointF a, QPointF b) {
    return std::abs(a.x() - b.x()) <= FigHandleReach && std::abs(a.y() - b.y()) <= FigHandleReach;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    return QLineF(p, a + t * ab).length();
}

/// The thin dotted pen of selection outlines.
QPen SelectionPen() {
    return QPen(Qt::black, 1, Qt::DotLine);
}

} // namespace

std::optional<TPlotCursor> ToolCursor(TAnnotateTool tool) {
    switch (tool) {
    case atSelect:
        return std::nullopt;
    case atSymbol:
        return TPlotCursor::ShapeAnCr;
    case atLine:
        return TPlotCursor::LineCr;
    case atArrow:
        return TPlotCursor::CrArrowAn;
    case atRectangle:
        return TPlotCursor::RectCr;
    case atText:
        return TPlotCursor::AnTextCr;
    case atCircle:
        return TPlotCursor::CircleCr;
    case atPencil:
        return TPlotCursor::AnPencil;
    }
    return std::nullopt;
}

// ---- TFig

void TFig::DrawSelection(QPainter& painter) const {
    painter.setPen(SelectionPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(ToPixel(X1, Y1), ToPixel(X2, Y2));
}

bool TFig::HitTest(QPointF pixel) {
    HitPart = PartAt(pixel);
    return HitPart != fpNone;
}

void TFig::MouseDown(QPointF pixel) {
    Selected = true;
    LastMouse = pixel;
}

void TFig::MouseMove(QPointF pixel) {
    if (!Selected)
        return;
    MovePart(HitPart, pixel - LastMouse);
    LastMouse = pixel;
}

void TFig::MouseUp(QPointF pixel) {
    MouseMove(pixel);
    Selected = false;
    Creating = false;
    HitPart = fpNone;
}

bool TFig::Degenerate() const {
    return (ToPixel(X2, Y2) - ToPixel(X1, Y1)).manhattanLength() < 2;
}

void TFig::MovePart(int part, QPointF delta) {
    if (part == fpBody || part == fpFirst)
        Shift(X1, Y1, delta);
    if (part == fpBody || part == fpSecond)
        Shift(X2, Y2, delta);
}

QPointF TFig::ToPixel(double x, double y) const {
    return {m_graph.XToScreen(x), m_graph.YToScreen(y)};
}

void TFig::Shift(double& x, double& y, QPointF delta) const {
    const QPointF moved = ToPixel(x, y) + delta;
    x = m_graph.ScreenToX(moved.x());
    y = m_graph.ScreenToY(moved.y());
}

// ---- TShape

TShape::TShape(TGraph& graph) : TFig(graph) {
    Marker.Style = msRect;
    Marker.Size = 10;
    Marker.Color = 16711680;
    Marker.FillColor = clRed;
}

void TShape::Draw(QPainter& painter) const {
    const QPointF at = ToPixel(X1, Y1);
    Marker.Draw(painter, at.x(), at.y());
}

void TShape::DrawSelection(QPainter& painter) const {
    const double h = Marker.Size;
    painter.setPen(SelectionPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(ToPixel(X1, Y1) - QPointF(h, h), QSizeF(2 * h, 2 * h)));
}

int TShape::PartAt(QPointF pixel) const {
    const QPointF d = pixel - ToPixel(X1, Y1);
    return std::abs(d.x()) <= Marker.Size && std::abs(d.y()) <= Marker.Size ? fpBody : fpNone;
}

// ---- TMonoLine

QPen TMonoLine::Pen() const {
    return QPen(ToQColor(Color), std::max(Width, 1), ToQtPenStyle(Style));
}

void TMonoLine::Draw(QPainter& painter) const {
    painter.setPen(Pen());
    painter.drawLine(ToPixel(X1, Y1), ToPixel(X2, Y2));
}

void TMonoLine::DrawHandles(QPainter& painter, const std::vector<QPointF>& corners) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    const QPointF reach(FigHandleReach, FigHandleReach);
    for (QPointF corner : corners)
        painter.drawRect(QRectF(corner - reach, corner + reach));
}

void TMonoLine::DrawSelection(QPainter& painter) const {
    TFig::DrawSelection(painter);
    DrawHandles(painter, {ToPixel(X1, Y1), ToPixel(X2, Y2)});
}

int TMonoLine::PartAt(QPointF pixel) const {
    if (Creating)
        return fpSecond;
    const QPointF first = ToPixel(X1, Y1);
    const QPointF second = ToPixel(X2, Y2);
    if (Near(pixel, first))
        return fpFirst;
    if (Near(pixel, second))
        return fpSecond;
    return DistanceToSegment(pixel, first, second) <= FigLineReach ? fpBody : fpNone;
}

// ---- TArrow

std::pair<QPointF, QPointF> TArrow::HeadBase() const {
    const QPointF tip(X2, Y2);
    const QPointF d(X2 - X1, Y2 - Y1);
    const QPointF base = tip - ArrowHeadLength * d;
    const QPointF side = ArrowHeadHalfWidth * QPointF(d.y(), -d.x());
    return {base + side, base - side};
}

void TArrow::Draw(QPainter& painter) const {
    TMonoLine::Draw(painter);
    const auto [p1, p2] = HeadBase();
    const QPointF tip = ToPixel(X2, Y2);
    painter.drawPolyline(QPolygonF{tip, ToPixel(p1.x(), p1.y()), ToPixel(p2.x(), p2.y()), tip});
}

// ---- TRectangle

QRectF TRectangle::PixelBox() const {
    return QRectF(ToPixel(X1, Y1), ToPixel(X2, Y2)).normalized();
}

void TRectangle::PrepareFill(QPainter& painter) const {
    painter.setPen(Pen());
    QColor fill = ToQColor(BackColor);
    if (FillMode == fmSemiTransparent)
        fill.setAlphaF(SemiTransparentAlpha);
    painter.setBrush(FillMode == fmClear ? QBrush(Qt::NoBrush) : QBrush(fill));
}

void TRectangle::Draw(QPainter& painter) const {
    PrepareFill(painter);
    painter.drawRect(PixelBox());
}

void TRectangle::DrawSelection(QPainter& painter) const {
    painter.setPen(SelectionPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(PixelBox());
    DrawHandles(painter, {ToPixel(X1, Y1), ToPixel(X2, Y2), ToPixel(X2, Y1), ToPixel(X1, Y2)});
}

int TRectangle::PartAt(QPointF pixel) const {
    if (Creating)
        return fpSecond;
    const std::pair<QPointF, int> corners[] = {{ToPixel(X1, Y1), fpFirst},
                                               {ToPixel(X2, Y2), fpSecond},
                                               {ToPixel(X2, Y1), fpThirdCorner},
                                               {ToPixel(X1, Y2), fpFourthCorner}};
    for (const auto& [corner, part] : corners) {
        if (Near(pixel, corner))
            return part;
    }
    return PixelBox().contains(pixel) ? fpBody : fpNone;
}

void TRectangle::MovePart(int part, QPointF delta) {
    if (part == fpThirdCorner)
        Shift(X2, Y1, delta);
    else if (part == fpFourthCorner)
        Shift(X1, Y2, delta);
    else
        TMonoLine::MovePart(part, delta);
}

// ---- TCircle

void TCircle::Draw(QPainter& painter) const {
    PrepareFill(painter);
    painter.drawEllipse(PixelBox());
}

// ---- TPencil

TPencil::TPencil(TGraph& graph) : TMonoLine(graph) {
    Width = 3;
}

QPolygonF TPencil::PixelStroke() const {
    QPolygonF stroke;
    stroke.reserve(static_cast<int>(Points.size()));
    for (QPointF point : Points)
        stroke << ToPixel(point.x(), point.y());
    return stroke;
}

void TPencil::Draw(QPainter& painter) const {
    painter.setPen(Pen());
    painter.drawPolyline(PixelStroke());
}

void TPencil::DrawSelection(QPainter& painter) const {
    painter.setPen(SelectionPen());
    painter.drawPolyline(PixelStroke());
}

void TPencil::MouseMove(QPointF pixel) {
    if (!Creating) {
        TMonoLine::MouseMove(pixel);
        return;
    }
    if (pixel == LastMouse)
        return;
    Points.emplace_back(Graph().ScreenToX(pixel.x()), Graph().ScreenToY(pixel.y()));
    LastMouse = pixel;
}

int TPencil::PartAt(QPointF pixel) const {
    if (Creating)
        return fpNone;
    const QPolygonF stroke = PixelStroke();
    return std::any_of(stroke.begin(), stroke.end(), [pixel](QPointF p) { return Near(pixel, p); }) ? fpFirst
                                                                                                    : fpNone;
}

void TPencil::MovePart(int part, QPointF delta) {
    // A stroke has no handles: wherever it is grabbed, all of it moves.
    if (part == fpNone)
        return;
    for (QPointF& point : Points) {
        double x = point.x();
        double y = point.y();
        Shift(x, y, delta);
        point = {x, y};
    }
}

// ---- TNoteText

TNoteText::TNoteText(TGraph& graph) : TFig(graph) {
    Color = clBlack;
}

double TNoteText::EffectiveSize() const {
    const std::optional<TZoomViews> full = Graph().Zoom().FullView();
    if (!Scaled || !full)
        return Font.Size;
    const double r = std::abs(Graph().World().XMax - Graph().World().XMin) /
                     std::abs(full->Primary.XMax - full->Primary.XMin);
    const double exaggerate = Graph().Exaggerate != 0 ? Graph().Exaggerate : 1;
    const double size = std::round(Font.Size / r * exaggerate);
    // A view too far zoomed for a readable or drawable font keeps the note at its own size.
    return std::isfinite(size) && size >= 1 ? size : Font.Size;
}

QRectF TNoteText::PixelBox(QPainter& painter) const {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QSizeF size =
        metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(Text)).size();
    const QPointF anchor = ToPixel(X1, Y1);
    const double left = Alignment == taLeftJustify ? anchor.x()
                        : Alignment == taCenter    ? anchor.x() - size.width() / 2
                                                   : anchor.x() - size.width();
    const double top = VertAlignment == vaTop      ? anchor.y()
                       : VertAlignment == vaCenter ? anchor.y() - size.height() / 2
                                                   : anchor.y() - size.height();
    return {QPointF(left, top), size};
}

void TNoteText::Draw(QPainter& painter) const {
    if (Text.empty())
        return;
    QFont font = ToQFont(Font);
    font.setPointSizeF(EffectiveSize());
    painter.setFont(font);
    painter.setPen(ToQColor(Font.Color));
    const QRectF box = PixelBox(painter);
    const int horizontal = Alignment == taLeftJustify ? Qt::AlignLeft
                           : Alignment == taCenter    ? Qt::AlignHCenter
                                                      : Qt::AlignRight;
    painter.drawText(box, horizontal | Qt::AlignTop, QString::fromStdString(Text));
    m_outline.clear();
    for (QPointF corner : {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft(), box.topLeft()})
        m_outline << QPointF(Graph().ScreenToX(corner.x()), Graph().ScreenToY(corner.y()));
}

void TNoteText::DrawSelection(QPainter& painter) const {
    QPolygonF outline;
    for (QPointF corner : m_outline)
        outline << ToPixel(corner.x(), corner.y());
    painter.setPen(SelectionPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(outline);
}

int TNoteText::PartAt(QPointF pixel) const {
    if (Creating)
        return fpNone;
    const QPointF world(Graph().ScreenToX(pixel.x()), Graph().ScreenToY(pixel.y()));
    return m_outline.containsPoint(world, Qt::OddEvenFill) ? fpBody : fpNone;
}

// ---- TPixelLine

void TPixelLine::Draw(QPainter& painter) const {
    const QRectF whole(Graph().DrawRect());
    painter.setClipping(false);
    painter.setPen(QPen(ToQColor(clGray), 1));
    if (m_orientation == Qt::Horizontal)
        painter.drawLine(QPointF(whole.left(), Position), QPointF(whole.right(), Position));
    else
        painter.drawLine(QPointF(Position, whole.top()), QPointF(Position, whole.bottom()));
}

int TPixelLine::PartAt(QPointF pixel) const {
    const double along = m_orientation == Qt::Horizontal ? pixel.y() : pixel.x();
    return std::abs(along - Position) <= FigLineReach ? fpBody : fpNone;
}

void TPixelLine::MovePart(int part, QPointF delta) {
    if (part != fpNone)
        Position += m_orientation == Qt::Horizontal ? delta.y() : delta.x();
}

// ---- TGraphAnnotate

TGraphAnnotate::TGraphAnnotate(TGraph& graph) : TLayer(graph) {
    SetName("Annotate");
}

TGraphAnnotate::~TGraphAnnotate() = default;

int TGraphAnnotate::Add(std::unique_ptr<TFig> figure) {
    m_figures.push_back(std::move(figure));
    return Count() - 1;
}

TFig* TGraphAnnotate::Figure(int index) const {
    return index >= 0 && index < Count() ? m_figures[index].get() : nullptr;
}

void TGraphAnnotate::Clear() {
    m_figures.clear();
    m_current = -1;
}

void TGraphAnnotate::Draw(QPainter& painter) {
    const bool onScreen = !Graph().Printing() && !Graph().Exporting();
    for (const auto& figure : m_figures) {
        if (onScreen && figure->Selected)
            continue;
        painter.save();
        figure->Draw(painter);
        painter.restore();
    }
}

void TGraphAnnotate::DrawActive(QPainter& painter) const {
    for (const auto& figure : m_figures) {
        if (!figure->Selected)
            continue;
        painter.save();
        figure->Draw(painter);
        if (!figure->Creating)
            figure->DrawSelection(painter);
        painter.restore();
    }
}

void TGraphAnnotate::SetTool(TAnnotateTool tool) {
    m_tool = tool;
    m_cursor = ToolCursor(tool);
}

bool TGraphAnnotate::MouseDown(const TLayerMouse& mouse) {
    if (mouse.buttons != Qt::LeftButton || !Visible())
        return false;
    if (m_tool != atSelect) {
        Create(mouse);
        return true;
    }
    if (!FigureAt(mouse.pixel, mouse.modifiers))
        return false;
    if (mouse.modifiers & Qt::ControlModifier) {
        DeleteCurrent();
    } else if (mouse.modifiers & Qt::ShiftModifier) {
        EditCurrent();
    } else {
        m_figures[m_current]->MouseDown(mouse.pixel);
        // The picture is drawn again without the grabbed figure, which follows the mouse above it.
        NotifyChanged();
    }
    return true;
}

bool TGraphAnnotate::MouseMove(const TLayerMouse& mouse) {
    TFig* current = Figure(m_current);
    if (mouse.buttons == Qt::LeftButton && current && current->Selected) {
        current->MouseMove(mouse.pixel);
        return true;
    }
    ReleaseSelected(mouse.pixel);
    FigureAt(mouse.pixel, mouse.modifiers);
    return false;
}

bool TGraphAnnotate::MouseUp(const TLayerMouse& mouse) {
    TFig* current = Figure(m_current);
    if (!current || !current->Selected)
        return false;
    const bool created = current->Creating;
    current->MouseUp(mouse.pixel);
    // A click with a drawing tool but without a drag leaves nothing to see or to grab again.
    if (created && current->Degenerate()) {
        m_figures.erase(m_figures.begin() + m_current);
        m_current = -1;
    }
    NotifyChanged();
    return true;
}

void TGraphAnnotate::ReleaseSelected(QPointF pixel) {
    bool released = false;
    for (const auto& figure : m_figures) {
        if (figure->Selected) {
            figure->MouseUp(pixel);
            released = true;
        }
    }
    if (released)
        NotifyChanged();
}

bool TGraphAnnotate::FigureAt(QPointF pixel, Qt::KeyboardModifiers modifiers) {
    m_cursor = ToolCursor(m_tool);
    if (m_tool != atSelect || !Visible())
        return false;
    const auto hit = std::find_if(m_figures.begin(), m_figures.end(),
                                  [pixel](const auto& figure) { return figure->HitTest(pixel); });
    m_current = hit == m_figures.end() ? -1 : static_cast<int>(hit - m_figures.begin());
    if (m_current < 0)
        return false;
    m_cursor = modifiers & Qt::ShiftModifier     ? TPlotCursor::SerInf
               : modifiers & Qt::ControlModifier ? TPlotCursor::SerDel
               : (*hit)->HitPart == fpBody       ? TPlotCursor::MoveIt
                                                 : TPlotCursor::Transform;
    return true;
}

void TGraphAnnotate::Create(const TLayerMouse& mouse) {
    const auto line = [this, &mouse](std::unique_ptr<TMonoLine> figure) {
        figure->Width = DefaultWidth;
        StartDragged(std::move(figure), mouse);
    };
    switch (m_tool) {
    case atSelect:
        break;
    case atSymbol:
        PlaceEdited(std::make_unique<TShape>(Graph()), mouse.x, mouse.y);
        break;
    case atText:
        PlaceEdited(std::make_unique<TNoteText>(Graph()), mouse.x, mouse.y);
        break;
    case atLine:
        line(std::make_unique<TMonoLine>(Graph()));
        break;
    case atArrow:
        line(std::make_unique<TArrow>(Graph()));
        break;
    case atRectangle:
        line(std::make_unique<TRectangle>(Graph()));
        break;
    case atCircle:
        line(std::make_unique<TCircle>(Graph()));
        break;
    case atPencil: {
        auto pencil = std::make_unique<TPencil>(Graph());
        pencil->Width = DefaultPencilWidth;
        pencil->Points = {QPointF(mouse.x, mouse.y)};
        StartDragged(std::move(pencil), mouse);
        break;
    }
    }
}

void TGraphAnnotate::PlaceEdited(std::unique_ptr<TFig> figure, double x, double y) {
    figure->X1 = figure->X2 = x;
    figure->Y1 = figure->Y2 = y;
    if (!EditFigure || !EditFigure(*figure, true) || figure->Degenerate())
        return;
    m_current = Add(std::move(figure));
    NotifyChanged();
}

void TGraphAnnotate::StartDragged(std::unique_ptr<TFig> figure, const TLayerMouse& mouse) {
    figure->X1 = figure->X2 = mouse.x;
    figure->Y1 = figure->Y2 = mouse.y;
    figure->Color = DefaultColor;
    figure->Selected = true;
    figure->Creating = true;
    figure->HitPart = fpSecond;
    figure->LastMouse = mouse.pixel;
    m_current = Add(std::move(figure));
}

void TGraphAnnotate::BuildPopupMenu(QMenu& menu) {
    TLayer::BuildPopupMenu(menu);
    if (QAction* properties = menu.findChild<QAction*>(QStringLiteral("miProperties")))
        QObject::connect(properties, &QAction::triggered, [this] { EditCurrent(); });
}

void TGraphAnnotate::Erase() {
    DeleteCurrent();
}

void TGraphAnnotate::DeleteCurrent() {
    if (!Figure(m_current))
        return;
    m_figures.erase(m_figures.begin() + m_current);
    m_current = -1;
    NotifyChanged();
}

void TGraphAnnotate::EditCurrent() {
    TFig* figure = Figure(m_current);
    if (figure && EditFigure && EditFigure(*figure, false))
        NotifyChanged();
}

void TGraphAnnotate::NotifyChanged() {
    if (Graph().Changed)
        Graph().Changed();
}

} // namespace mirla
