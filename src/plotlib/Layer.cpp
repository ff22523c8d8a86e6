#include "plotlib/Layer.h"

#include "plotlib/Graph.h"

#include <QAction>
#include <QFont>
#include <QMenu>

namespace mirla {

QColor ToQColor(TColor color) {
    // -1 means "no colour" (every free colour taken); it is drawn as black rather than as garbage.
    if (color < 0)
        return QColor(Qt::black);
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor FromQColor(const QColor& color) {
    return RgbColor(color.red(), color.green(), color.blue());
}

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
    switch (style) {
    case psSolid:
        return Qt::SolidLine;
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QFont ToQFont(const TFontSpec& spec) {
    QFont font(QString::fromStdString(spec.Name));
    font.setPointSizeF(spec.Size > 0 ? spec.Size : 8);
    font.setBold((spec.Style & fsBold) != 0);
    font.setItalic((spec.Style & fsItalic) != 0);
    font.setUnderline((spec.Style & fsUnderline) != 0);
    font.setStrikeOut((spec.Style & fsStrikeOut) != 0);
    return font;
}

TLayerHeader TLayer::TextHeader(int option, bool flag, double parameter) const {
    return {TextClassName(), Color(), Visible(), option, flag, parameter, Selected(), Name()};
}

void TLayer::SaveToText(std::string& out) const {
    WriteLayerHeader(out, TextHeader(0, false, 0));
}

void TLayer::LoadFromText(const TLayerHeader& header, TLayerTextReader& reader) {
    CheckLayerClass(reader, TextClassName());
    SetColor(header.Color);
    SetVisible(header.Visible);
    SetSelected(header.Selected);
    SetName(header.Name);
}

void TLayer::BuildPopupMenu(QMenu& menu) {
    QAction* erase = menu.addAction(QStringLiteral("&Delete  <Ctrl>"));
    erase->setObjectName(QStringLiteral("miErase"));
    QObject::connect(erase, &QAction::triggered, [this] { Erase(); });
    menu.addAction(QStringLiteral("&Properties"))->setObjectName(QStringLiteral("miProperties"));
}

void TLayer::Erase() {
    TGraph& graph = Graph();
    // Dropping the unlinked layer destroys this object: nothing of it may be used below.
    graph.DeleteLayer(graph.IndexOf(this)).reset();
    if (graph.Changed)
        graph.Changed();
}

} // namespace mirla
