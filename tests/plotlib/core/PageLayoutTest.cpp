#include "plotlib/core/PageLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirla {
namespace {

// At 254 dots per inch a millimetre is 10 dots: A4 is 2100 x 2970 dots, a title row 150 dots.
constexpr int Dpi = 254;
using TBlocks = std::array<std::optional<TPixelRect>, TitleBlockCount>;
constexpr std::nullopt_t No = std::nullopt;

struct TLayoutCase {
    std::string Name;
    bool Landscape;
    std::array<bool, TitleBlockCount> Ticked; ///< program, company, project, description
    TPixelRect Plot;
    TBlocks Blocks;
};

class PageLayoutBlocks : public testing::TestWithParam<TLayoutCase> {};

TEST_P(PageLayoutBlocks, PlaceBlocksAndPlot) {
    const TLayoutCase& c = GetParam();
    const TPageLayout layout =
        LayOutPage(c.Landscape ? 2970 : 2100, c.Landscape ? 2100 : 2970, Dpi, {}, c.Ticked);
    EXPECT_EQ(layout.Page, (TPixelRect{250, 100, c.Landscape ? 2770 : 1900, c.Landscape ? 2000 : 2870}));
    EXPECT_EQ(layout.Plot, c.Plot);
    for (std::size_t block = 0; block < TitleBlockCount; ++block) {
        EXPECT_EQ(layout.Blocks[block], c.Blocks[block]) << "block " << block;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Page, PageLayoutBlocks,
    testing::Values(
        TLayoutCase{
            "NoBlocks", false, {false, false, false, false}, {250, 100, 1900, 2870}, {No, No, No, No}},
        TLayoutCase{"OnlyDescription",
                    false,
                    {false, false, false, true},
                    {250, 100, 1900, 2720},
                    {No, No, No, TPixelRect{250, 2720, 1900, 2870}}},
        TLayoutCase{"TwoShareTheRow",
                    false,
                    {true, true, false, false},
                    {250, 100, 1900, 2720},
                    {TPixelRect{250, 2720, 1075, 2870}, TPixelRect{1075, 2720, 1900, 2870}, No, No}},
        TLayoutCase{"ThirdSpansTheRowAbove",
                    false,
                    {true, false, true, true},
                    {250, 100, 1900, 2570},
                    {TPixelRect{250, 2720, 1075, 2870}, No, TPixelRect{1075, 2720, 1900, 2870},
                     TPixelRect{250, 2570, 1900, 2720}}},
        TLayoutCase{"FourInTwoRows",
                    false,
                    {true, true, true, true},
                    {250, 100, 1900, 2570},
                    {TPixelRect{250, 2720, 1075, 2870}, TPixelRect{1075, 2720, 1900, 2870},
                     TPixelRect{250, 2570, 1075, 2720}, TPixelRect{1075, 2570, 1900, 2720}}},
        TLayoutCase{"LandscapeOne",
                    true,
                    {false, true, false, false},
                    {250, 100, 2770, 1850},
                    {No, TPixelRect{250, 1850, 2770, 2000}, No, No}},
        TLayoutCase{"LandscapeFour",
                    true,
                    {true, true, true, true},
                    {250, 100, 2770, 1700},
                    {TPixelRect{250, 1850, 1510, 2000}, TPixelRect{1510, 1850, 2770, 2000},
                     TPixelRect{250, 1700, 1510, 1850}, TPixelRect{1510, 1700, 2770, 1850}}}),
    [](const testing::TestParamInfo<TLayoutCase>& info) { return info.param.Name; });

TEST(PageLayout, MarginsWiderThanThePageLeaveEmptyRectangles) {
    const TPrintMargins huge{300, 300, 200, 200, 25.4};
    const TPageLayout layout = LayOutPage(2100, 2970, Dpi, huge, {true, true, true, true});
    EXPECT_EQ(layout.Page.Width(), 0);
    EXPECT_GE(layout.Page.Height(), 0);
    EXPECT_GE(layout.Plot.Height(), 0);
    for (const std::optional<TPixelRect>& block : layout.Blocks) {
        EXPECT_GE(block->Height(), 0);
        EXPECT_GE(block->Top, layout.Page.Top);
    }
}

TEST(PageLayout, MarginFieldsInMillimetresOrTenthsOfAnInch) {
    struct TCase {
        double Units;
        int Millimetres;
        int Field;
        int Back;
    };
    for (const TCase& c : {TCase{25.4, 25, 25, 25}, TCase{2.54, 25, 10, 25}, TCase{2.54, 10, 4, 10},
                           TCase{10, 7, 7, 7}, TCase{9.99, 20, 8, 20}}) {
        EXPECT_EQ(MarginFieldValue(c.Millimetres, c.Units), c.Field) << c.Units << " " << c.Millimetres;
        EXPECT_EQ(MarginFromField(c.Field, c.Units), c.Back) << c.Units << " " << c.Field;
    }
    EXPECT_EQ(MillimetresToDots(25, 600), 591);
    EXPECT_EQ(MillimetresToDots(254, 100), 1000);
}

TEST(PageLayout, BitmapsScaleByPowersOfTwo) {
    struct TCase {
        int Block;
        int Bitmap;
        double Scale;
    };
    for (const TCase& c : {TCase{354, 100, 2}, TCase{100, 100, 1}, TCase{400, 100, 4}, TCase{354, 1000, 0.25},
                           TCase{0, 100, 0}, TCase{354, 0, 0}}) {
        EXPECT_EQ(BitmapScale(c.Block, c.Bitmap), c.Scale) << c.Block << " / " << c.Bitmap;
    }
}

TEST(PageLayout, GraphCellsShareThePlot) {
    const TPixelRect plot{100, 200, 1100, 800};
    const std::vector<TPixelRect> grid = GraphCells(plot, 3, TGraphArrangement::Grid);
    EXPECT_EQ(grid,
              (std::vector<TPixelRect>{{100, 200, 600, 500}, {600, 200, 1100, 500}, {100, 500, 600, 800}}));
    EXPECT_EQ(GraphCells(plot, 2, TGraphArrangement::Vertical),
              (std::vector<TPixelRect>{{100, 200, 1100, 500}, {100, 500, 1100, 800}}));
    EXPECT_EQ(GraphCells(plot, 2, TGraphArrangement::SideBySide),
              (std::vector<TPixelRect>{{100, 200, 600, 800}, {600, 200, 1100, 800}}));
    EXPECT_EQ(GraphCells(plot, 1, TGraphArrangement::Grid), (std::vector<TPixelRect>{plot}));
    EXPECT_TRUE(GraphCells(plot, 0, TGraphArrangement::Grid).empty());
}

} // namespace
} // namespace mirla
