#include "plotlib/core/Zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace mirla {
namespace {

const TZoomViews FullView{{0, 0, 1, 1}, {10, -5, 20, 5}};

void ExpectRect(const TWorldRect& actual, const TWorldRect& expected, const std::string& name) {
    EXPECT_NEAR(actual.XMin, expected.XMin, 1e-12) << name << " XMin";
    EXPECT_NEAR(actual.YMin, expected.YMin, 1e-12) << name << " YMin";
    EXPECT_NEAR(actual.XMax, expected.XMax, 1e-12) << name << " XMax";
    EXPECT_NEAR(actual.YMax, expected.YMax, 1e-12) << name << " YMax";
}

/// Drags a rubber band from `from` to `to` in zoom mode.
bool Band(TZoom& zoom, TZoomViews& views, const TZoomPoint& from, const TZoomPoint& to) {
    zoom.BeginDrag(views, from);
    return zoom.FinishRubberBand(views, to);
}

TEST(Zoom, ClickWithoutDragIsRejectedAndEndsZoomMode) {
    TZoom zoom;
    zoom.Enabled = true;
    TZoomViews views = FullView;
    EXPECT_FALSE(Band(zoom, views, {0.5, 0.5, 15, 0}, {0.5, 0.5, 15, 0}));
    EXPECT_FALSE(zoom.Enabled);
    EXPECT_EQ(views, FullView);
    EXPECT_FALSE(zoom.Zoomed());
}

TEST(Zoom, RubberBandSpansAnchorAndReleaseOnBothPairs) {
    TZoom zoom;
    zoom.Enabled = true;
    TZoomViews views = FullView;
    EXPECT_TRUE(Band(zoom, views, {0.6, 0.1, 16, -4}, {0.2, 0.3, 12, -2}));
    ExpectRect(views.Primary, {0.2, 0.1, 0.6, 0.3}, "primary");
    ExpectRect(views.Secondary, {12, -4, 16, -2}, "secondary");
    EXPECT_EQ(zoom.Depth(), 1);
    EXPECT_TRUE(zoom.Enabled) << "zoom mode goes on without ZoomAutoStop";
}

TEST(Zoom, AutoStopEndsZoomModeAfterOneZoom) {
    TZoom zoom;
    zoom.Enabled = true;
    zoom.ZoomAutoStop = true;
    TZoomViews views = FullView;
    EXPECT_TRUE(Band(zoom, views, {0.2, 0.2, 12, -2}, {0.4, 0.4, 14, 2}));
    EXPECT_FALSE(zoom.Enabled);
}

TEST(Zoom, BandSizeLimits) {
    struct TCase {
        std::string Name;
        TZoomPoint From, To;
        bool Accepted;
    };
    const std::vector<TCase> cases = {
        {"width just above 1e-4", {0.5, 0.2, 15, 0}, {0.50011, 0.8, 15, 1}, true},
        {"width below 1e-4", {0.5, 0.2, 15, 0}, {0.50009, 0.8, 15, 1}, false},
        {"height below 1e-4", {0.2, 0.5, 15, 0}, {0.8, 0.50009, 15, 1}, false},
        {"secondary pair does not decide", {0.2, 0.2, 15, 0}, {0.8, 0.8, 15, 0}, true}};
    for (const TCase& c : cases) {
        TZoom zoom;
        zoom.Enabled = true;
        TZoomViews views = FullView;
        EXPECT_EQ(Band(zoom, views, c.From, c.To), c.Accepted) << c.Name;
        EXPECT_EQ(zoom.Depth(), c.Accepted ? 1 : 0) << c.Name;
    }
}

TEST(Zoom, BackwardsAxisKeepsItsDirection) {
    TZoom zoom;
    TZoomViews views{{1, 0, 0, 1}, FullView.Secondary};
    EXPECT_TRUE(Band(zoom, views, {0.2, 0.2, 12, -2}, {0.6, 0.4, 14, 2}));
    ExpectRect(views.Primary, {0.6, 0.2, 0.2, 0.4}, "inverted X stays inverted");
}

TEST(Zoom, ThreeNestedZoomsStepBackToTheUnzoomedView) {
    TZoom zoom;
    zoom.Enabled = true;
    TZoomViews views = FullView;
    ASSERT_TRUE(Band(zoom, views, {0.1, 0.1, 11, -4}, {0.9, 0.9, 19, 4}));
    ASSERT_TRUE(Band(zoom, views, {0.2, 0.2, 12, -3}, {0.8, 0.8, 18, 3}));
    ASSERT_TRUE(Band(zoom, views, {0.3, 0.3, 13, -2}, {0.7, 0.7, 17, 2}));
    EXPECT_EQ(zoom.Depth(), 3);
    const std::vector<bool> expectedRemaining = {true, true, false};
    for (std::size_t step = 0; step < expectedRemaining.size(); ++step) {
        const TZoom::TPreviousResult result = zoom.ZoomPrevious(views);
        EXPECT_TRUE(result.Restored) << "step " << step;
        EXPECT_EQ(result.Remaining, expectedRemaining[step]) << "step " << step;
    }
    EXPECT_EQ(views, FullView);
    EXPECT_FALSE(zoom.Zoomed());
}

TEST(Zoom, PreviousOnEmptyStackChangesNothing) {
    TZoom zoom;
    TZoomViews views = FullView;
    const TZoom::TPreviousResult result = zoom.ZoomPrevious(views);
    EXPECT_FALSE(result.Restored);
    EXPECT_FALSE(result.Remaining);
    EXPECT_EQ(views, FullView);
}

TEST(Zoom, ZoomOutReturnsToTheViewBeforeTheFirstZoom) {
    TZoom zoom;
    EXPECT_FALSE(zoom.ZoomOut().has_value()) << "unzoomed plot";
    TZoomViews views = FullView;
    ASSERT_TRUE(Band(zoom, views, {0.1, 0.1, 11, -4}, {0.9, 0.9, 19, 4}));
    ASSERT_TRUE(Band(zoom, views, {0.2, 0.2, 12, -3}, {0.8, 0.8, 18, 3}));
    const auto restored = zoom.ZoomOut();
    ASSERT_TRUE(restored.has_value());
    EXPECT_EQ(*restored, FullView);
    EXPECT_EQ(zoom.Depth(), 0);
    EXPECT_FALSE(zoom.ZoomOut().has_value()) << "second ZoomOut";
}

TEST(Zoom, PanShiftsBothPairsByAnchorMinusRelease) {
    TZoom zoom;
    zoom.PanMode = true;
    TZoomViews views = FullView;
    zoom.BeginDrag(views, {0.5, 0.5, 15, 0});
    EXPECT_EQ(zoom.Depth(), 1) << "pan start is stacked";
    zoom.FinishPan(views, {0.3, 0.6, 14, 1});
    ExpectRect(views.Primary, {0.2, -0.1, 1.2, 0.9}, "primary");
    ExpectRect(views.Secondary, {11, -6, 21, 4}, "secondary");
    EXPECT_TRUE(zoom.ZoomPrevious(views).Restored);
    EXPECT_EQ(views, FullView);
}

TEST(Zoom, PannedPreviewLeavesTheStackAlone) {
    TZoom zoom;
    zoom.PanMode = true;
    zoom.BeginDrag(FullView, {0.5, 0.5, 15, 0});
    const TZoomViews preview = zoom.Panned(FullView, {0.5, 0.25, 15, 0});
    ExpectRect(preview.Primary, {0, 0.25, 1, 1.25}, "primary");
    ExpectRect(preview.Secondary, FullView.Secondary, "secondary");
    EXPECT_EQ(zoom.Depth(), 1);
}

TEST(Zoom, AnimatedZoomInAroundTheCentre) {
    TZoom zoom;
    const std::vector<TZoomViews> steps = zoom.AnimatedSteps(FullView, {0.5, 0.5, 15, 0});
    ASSERT_EQ(steps.size(), 3u);
    // Each step takes ChangePerStep of the current width away, split evenly around the centre.
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const double shrink = std::pow(1 - 0.033333, static_cast<double>(k + 1));
        ExpectRect(steps[k].Primary,
                   {0.5 - 0.5 * shrink, 0.5 - 0.5 * shrink, 0.5 + 0.5 * shrink, 0.5 + 0.5 * shrink},
                   "primary step " + std::to_string(k + 1));
        ExpectRect(steps[k].Secondary, {15 - 5 * shrink, -5 * shrink, 15 + 5 * shrink, 5 * shrink},
                   "secondary step " + std::to_string(k + 1));
    }
    EXPECT_NEAR(steps.back().Primary.XMin, 0.0484, 1e-4);
    EXPECT_NEAR(steps.back().Primary.XMax, 0.9516, 1e-4);
    EXPECT_EQ(zoom.Depth(), 0) << "animated zoom does not stack views";
}

TEST(Zoom, AnimatedZoomKeepsTheClickedPointInPlace) {
    struct TCase {
        std::string Name;
        TZoomStyle Style;
        double Growth;
    };
    const std::vector<TCase> cases = {{"zoom in", zsIn, 1 - 0.1}, {"zoom out", zsOut, 1 + 0.1}};
    for (const TCase& c : cases) {
        TZoom zoom;
        zoom.Style = c.Style;
        zoom.Steps = 2;
        zoom.ChangePerStep = 0.1;
        const std::vector<TZoomViews> steps = zoom.AnimatedSteps(FullView, {0.25, 0.75, 12, 1});
        ASSERT_EQ(steps.size(), 2u) << c.Name;
        for (std::size_t k = 0; k < steps.size(); ++k) {
            const double scale = std::pow(c.Growth, static_cast<double>(k + 1));
            ExpectRect(steps[k].Primary,
                       {0.25 - 0.25 * scale, 0.75 - 0.75 * scale, 0.25 + 0.75 * scale, 0.75 + 0.25 * scale},
                       c.Name + " primary step " + std::to_string(k + 1));
            ExpectRect(steps[k].Secondary, {12 - 2 * scale, 1 - 6 * scale, 12 + 8 * scale, 1 + 4 * scale},
                       c.Name + " secondary step " + std::to_string(k + 1));
        }
    }
}

TEST(Zoom, AnimatedZoomWithoutStepsDoesNothing) {
    TZoom zoom;
    zoom.Steps = 0;
    EXPECT_TRUE(zoom.AnimatedSteps(FullView, {0.5, 0.5, 15, 0}).empty());
}

TEST(Zoom, WheelZoomKeepsTheCentreFixed) {
    TZoom zoom;
    TZoomViews views = zoom.ZoomAround(FullView, {0.25, 0.5, 15, 0}, 0.5);
    ExpectRect(views.Primary, {0.125, 0.25, 0.625, 0.75}, "primary");
    ExpectRect(views.Secondary, {12.5, -2.5, 17.5, 2.5}, "secondary");
    EXPECT_EQ(zoom.Depth(), 1);
    const TZoomViews out = zoom.ZoomAround(views, {0.25, 0.5, 15, 0}, 2);
    ExpectRect(out.Primary, FullView.Primary, "zoomed back out");
    EXPECT_TRUE(zoom.ZoomPrevious(views).Remaining);
    EXPECT_FALSE(zoom.ZoomPrevious(views).Remaining);
    EXPECT_EQ(views, FullView);
}

} // namespace
} // namespace mirla
