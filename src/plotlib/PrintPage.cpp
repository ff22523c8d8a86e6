#include "plotlib/PrintPage.h"

#include "plotlib/Graph.h"

#include <QDateTime>
#include <QPainter>
#include <QPrinter>

namespace mirla {

namespace {

QRect ToQRect(const TPixelRect& rect) {
    return {rect.Left, rect.Top, rect.Width(), rect.Height()};
}

/// The block as printed: a project block with neither lines nor bitmap shows the date and time of
/// printing, which is never stored.
TPrintLogo PrintedBlock(const TPageSetup& setup, std::size_t block) {
    TPrintLogo logo = setup.Blocks[block];
    if (block == static_cast<std::size_t>(TTitleBlock::ProjectTitle) && logo.Lines.empty() &&
        logo.Image().isNull()) {
        logo.Lines = {
            "Date: " +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")).toStdString()};
    }
    return logo;
}

} // namespace

void DrawPrintPage(QPainter& painter, QSize pageSize, int dotsPerInch, const TPageSetup& setup,
                   const std::vector<TGraph*>& graphs) {
    const TPageLayout layout =
        LayOutPage(pageSize.width(), pageSize.height(), dotsPerInch, setup.Margins, setup.Ticked);
    for (std::size_t block = 0; block < TitleBlockCount; ++block) {
        if (layout.Blocks[block]) {
            PrintedBlock(setup, block).Draw(painter, ToQRect(*layout.Blocks[block]), setup.Borders);
        }
    }
    const std::vector<TPixelRect> cells =
        GraphCells(layout.Plot, static_cast<int>(graphs.size()), setup.Arrangement);
    for (std::size_t i = 0; i < graphs.size(); ++i) {
        graphs[i]->Draw(painter, ToQRect(cells[i]), TDrawTarget::Printer);
    }
    painter.save();
    painter.setPen(QPen(setup.Borders ? Qt::black : Qt::white, PrintFrameWidth(dotsPerInch)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(ToQRect(layout.Plot));
    painter.restore();
}

bool PrintPage(QPrinter& printer, const TPageSetup& setup, const std::vector<TGraph*>& graphs) {
    printer.setFullPage(true);
    printer.setPageOrientation(setup.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(setup.Copies);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const int dpi = printer.resolution();
    DrawPrintPage(painter, printer.pageLayout().fullRectPixels(dpi).size(), dpi, setup, graphs);
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace mirla
