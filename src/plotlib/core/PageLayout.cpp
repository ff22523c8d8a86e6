#include "plotlib/core/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace mirla {

namespace {

constexpr double InchesPerMillimetre = 0.039370078740157480314;
constexpr double MillimetresPerInch = 25.4;
/// Units values from this one up show millimetres.
constexpr double SmallestMillimetreUnits = 10;

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

bool MarginsInMillimetres(double units) {
    return units >= SmallestMillimetreUnits;
}

int MarginFieldValue(int millimetres, double units) {
    return MarginsInMillimetres(units) ? millimetres : Round(millimetres * InchesPerMillimetre * 10);
}

int MarginFromField(int fieldValue, double units) {
    return MarginsInMillimetres(units) ? fieldValue : Round(fieldValue * MillimetresPerInch / 10);
}

int MillimetresToDots(int millimetres, int dotsPerInch) {
    return Round(millimetres * (dotsPerInch * InchesPerMillimetre));
}

TPageLayout LayOutPage(int pageWidth, int pageHeight, int dotsPerInch, const TPrintMargins& margins,
                       const std::array<bool, TitleBlockCount>& ticked) {
    const auto dots = [dotsPerInch](int millimetres) { return MillimetresToDots(millimetres, dotsPerInch); };
    TPageLayout layout;
    TPixelRect& page = layout.Page;
    page.Left = std::min(dots(margins.Left), pageWidth);
    page.Top = std::min(dots(margins.Top), pageHeight);
    page.Right = std::max(page.Left, pageWidth - dots(margins.Right));
    page.Bottom = std::max(page.Top, pageHeight - dots(margins.Bottom));

    const int band = dots(TitleBandMillimetres);
    const int count = static_cast<int>(std::count(ticked.begin(), ticked.end(), true));
    const int mid = page.Left + page.Width() / 2;
    // A row's top never rises above the page's top edge, however small the page.
    const auto rowTop = [&page, band](int rows) { return std::max(page.Top, page.Bottom - rows * band); };
    const TPixelRect lowerRow{page.Left, rowTop(1), page.Right, page.Bottom};
    const TPixelRect upperRow{page.Left, rowTop(2), page.Right, rowTop(1)};
    const auto leftHalf = [mid](TPixelRect row) { return row.Right = mid, row; };
    const auto rightHalf = [mid](TPixelRect row) { return row.Left = mid, row; };

    int number = 0;
    for (int block = 0; block < TitleBlockCount; ++block) {
        if (!ticked[static_cast<std::size_t>(block)]) {
            continue;
        }
        ++number;
        TPixelRect rect;
        if (count == 1) {
            rect = lowerRow;
        } else if (number <= 2) {
            rect = number == 1 ? leftHalf(lowerRow) : rightHalf(lowerRow);
        } else if (number == 3) {
            rect = count == 4 ? leftHalf(upperRow) : upperRow;
        } else {
            rect = rightHalf(upperRow);
        }
        layout.Blocks[static_cast<std::size_t>(block)] = rect;
    }
    layout.Plot = page;
    layout.Plot.Bottom = count == 0 ? page.Bottom : rowTop(count <= 2 ? 1 : 2);
    return layout;
}

double BitmapScale(int blockHeight, int bitmapHeight) {
    if (blockHeight <= 0 || bitmapHeight <= 0) {
        return 0;
    }
    double factor = 1;
    while (blockHeight > bitmapHeight * factor) {
        factor *= 2;
    }
    while (blockHeight < bitmapHeight * factor) {
        factor /= 2;
    }
    return factor;
}

std::vector<TPixelRect> GraphCells(const TPixelRect& plot, int count, TGraphArrangement arrangement) {
    if (count <= 0) {
        return {};
    }
    int columns = 1;
    if (arrangement == TGraphArrangement::SideBySide) {
        columns = count;
    } else if (arrangement == TGraphArrangement::Grid) {
        columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    }
    const int rows = (count + columns - 1) / columns;
    std::vector<TPixelRect> cells;
    cells.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        cells.push_back({plot.Left + plot.Width() * column / columns, plot.Top + plot.Height() * row / rows,
                         plot.Left + plot.Width() * (column + 1) / columns,
                         plot.Top + plot.Height() * (row + 1) / rows});
    }
    return cells;
}

} // namespace mirla
