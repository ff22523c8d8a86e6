#include "plotlib/AnnotateTools.h"

#include "plotlib/Annotate.h"
#include "plotlib/Plot.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>

namespace mirla {

namespace {

struct TToolButton {
    const char* Name;
    const char* Hint;
    TAnnotateTool Tool;
    TPlotCursor Picture;
};

constexpr TToolButton ToolButtons[] = {
    {"sbNone", "Select (right button click)", atSelect, TPlotCursor::MoveIt},
    {"sbShap", "Draw Symbol", atSymbol, TPlotCursor::ShapeAnCr},
    {"sbLine", "Draw Line", atLine, TPlotCursor::LineCr},
    {"sbArrow", "Draw Arrow", atArrow, TPlotCursor::CrArrowAn},
    {"sbRect", "Draw Rectangle", atRectangle, TPlotCursor::RectCr},
    {"sbCircle", "Draw Circle", atCircle, TPlotCursor::CircleCr},
    {"sbText", "Draw Text", atText, TPlotCursor::AnTextCr},
    {"sbPencil", "Pencil", atPencil, TPlotCursor::AnPencil},
};

} // namespace

TfmAnnotateTools::TfmAnnotateTools(TPlot& plot, QWidget* parent)
    : QToolBar(QStringLiteral("Annotate Tools"), parent), m_plot(plot) {
    setObjectName(QStringLiteral("fmAnnotateTools"));
    auto* tools = new QActionGroup(this);
    for (const TToolButton& button : ToolButtons) {
        QAction* action =
            addAction(QIcon(PlotCursor(button.Picture).pixmap()), QString::fromLatin1(button.Hint));
        action->setObjectName(QLatin1String(button.Name));
        action->setCheckable(true);
        action->setChecked(button.Tool == atSelect);
        tools->addAction(action);
        const TAnnotateTool tool = button.Tool;
        connect(action, &QAction::triggered, this, [this, tool] { m_plot.Graph().Annotate().SetTool(tool); });
    }
    cbVisible = new QCheckBox(QStringLiteral("All Visible"), this);
    cbVisible->setObjectName(QStringLiteral("cbVisible"));
    cbVisible->setChecked(m_plot.Graph().Annotate().Visible());
    connect(cbVisible, &QCheckBox::toggled, this, &TfmAnnotateTools::cbVisibleClick);
    addWidget(cbVisible);
}

void TfmAnnotateTools::cbVisibleClick(bool visible) {
    m_plot.Graph().Annotate().SetVisible(visible);
    m_plot.Refresh();
}

} // namespace mirla
