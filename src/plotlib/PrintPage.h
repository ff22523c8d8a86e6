#pragma once

#include "plotlib/PrintSettings.h"
#include "plotlib/core/PageLayout.h"

#include <QSize>

#include <array>
#include <vector>

class QPainter;
class QPrinter;

namespace mirla {

class TGraph;

/// Everything a printed page shows besides its graphs: margins, orientation, copies, which title
/// blocks are printed and their contents, the frame and how several graphs share the page.
struct TPageSetup {
    TPrintMargins Margins;
    bool Landscape = false;
    int Copies = 1;
    /// Which title blocks are printed, indexed by `TTitleBlock`.
    std::array<bool, TitleBlockCount> Ticked{};
    bool Borders = true; ///< "Plot Borders": frames around the plot and the blocks
    TGraphArrangement Arrangement = TGraphArrangement::Vertical;
    std::array<TPrintLogo, TitleBlockCount> Blocks;
};

/// Draws one page of `pageSize` dots at `dotsPerInch`: the title blocks, then each graph in its cell
/// of the plot rectangle (white background), then the plot rectangle's outline. The printer and
/// the preview both draw through it.
void DrawPrintPage(QPainter& painter, QSize pageSize, int dotsPerInch, const TPageSetup& setup,
                   const std::vector<TGraph*>& graphs);
/// Prints one page on `printer` with the setup's orientation and copies; the document is always
/// ended. False when the printer could not start or reported an error.
bool PrintPage(QPrinter& printer, const TPageSetup& setup, const std::vector<TGraph*>& graphs);

} // namespace mirla
