#pragma once

#include "plotlib/core/PlotTypes.h"

#include <array>
#include <optional>
#include <vector>

namespace mirla {

/// The page margins in millimetres and the unit the print dialog shows them in.
struct TPrintMargins {
    int Left = 25;
    int Right = 20;
    int Top = 10;
    int Bottom = 10;
    /// 25.4 for millimetres; a value below 10 shows the margins in tenths of an inch.
    double Units = 25.4;
    bool operator==(const TPrintMargins&) const = default;
};

/// The widest margin in millimetres the settings file and the print dialog accept.
constexpr int LargestMargin = 1000;

/// Whether `units` makes the margin fields show millimetres (else tenths of an inch).
bool MarginsInMillimetres(double units);
/// A margin in millimetres as the dialog's field shows it in `units`.
int MarginFieldValue(int millimetres, double units);
/// A margin field's value in `units` back in whole millimetres.
int MarginFromField(int fieldValue, double units);
/// A length in millimetres as printer dots at `dotsPerInch`, rounded to the nearest dot.
int MillimetresToDots(int millimetres, int dotsPerInch);

/// The four title blocks in their numbering order.
enum class TTitleBlock { ProgramTitle, CompanyLogo, ProjectTitle, PlotDescription };
constexpr int TitleBlockCount = 4;
/// Height of one row of title blocks in millimetres.
constexpr int TitleBandMillimetres = 15;

/// Where everything goes on one printed page, in printer dots; rectangles that meet share an edge
/// (a block's `Top` is the `Bottom` of the one above).
struct TPageLayout {
    TPixelRect Page; ///< the page inside the margins
    TPixelRect Plot; ///< the graphs' rectangle above the title blocks
    /// The rectangle of each ticked block, indexed by `TTitleBlock`.
    std::array<std::optional<TPixelRect>, TitleBlockCount> Blocks;
};

/// Lays out a page of `pageWidth` x `pageHeight` dots at `dotsPerInch`: the margins, the ticked
/// title blocks (two to a 15 mm row at the bottom, one block alone or the third of three taking a
/// whole row) and the plot rectangle above them. Margins wider than the page leave empty rectangles,
/// never inverted ones.
TPageLayout LayOutPage(int pageWidth, int pageHeight, int dotsPerInch, const TPrintMargins& margins,
                       const std::array<bool, TitleBlockCount>& ticked);

/// The power-of-two factor a bitmap `bitmapHeight` high is drawn at in a block `blockHeight` high:
/// the largest power of two at which the bitmap does not exceed the block (below 1 for a bitmap
/// taller than the block); 0 when either height is not positive, so nothing is drawn.
double BitmapScale(int blockHeight, int bitmapHeight);

/// How several graphs share the plot rectangle of one page.
enum class TGraphArrangement { Grid, Vertical, SideBySide };

/// The cells of `count` graphs inside `plot`: a grid of about square shape filled row by row,
/// one column stacked from the top, or one row from the left.
std::vector<TPixelRect> GraphCells(const TPixelRect& plot, int count, TGraphArrangement arrangement);

} // namespace mirla
