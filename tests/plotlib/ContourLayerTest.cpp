#include "plotlib/Contour.h"
#include "plotlib/Graph.h"
#include "plotlib/PlotCursors.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace mirla {
namespace {

const std::vector<double> Axis = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

/// Z = X on an 11 x 11 grid over 0..10 x 0..10.
TContourGrid Ramp() {
    std::vector<double> z;
    for (int i = 0; i <= 10; ++i)
        z.insert(z.end(), 11, i);
    return TContourGrid(Axis, Axis, z);
}

/// A graph over 0..10 x 0..10 holding one contour map, drawn into a 400 x 300 image.
class ContourLayerTest : public testing::Test {
protected:
    ContourLayerTest() : m_image(400, 300, QImage::Format_RGB32) {
        for (TAxis* axis : {&graph.XAxis(), &graph.YAxis()}) {
            axis->AutoMin = axis->AutoMax = false;
            axis->SetMin(0);
            axis->SetMax(10);
        }
        auto layer = std::make_unique<TContour>(graph, false, 1, Ramp());
        map = layer.get();
        map->Levels.Automatic = false;
        map->Levels.UserLevelsOn = true;
        map->Levels.UserLevels = {"5"};
        map->MonoColor = clRed;
        map->Recompute();
        graph.AddLayer(std::move(layer));
    }

    void Render() {
        m_image.fill(Qt::white);
        QPainter painter(&m_image);
        graph.Draw(painter, m_image.rect(), TDrawTarget::Export);
    }
    QColor PixelAt(double x, double y) const {
        return m_image.pixelColor(static_cast<int>(graph.DataXToScreen(x)),
                                  static_cast<int>(graph.DataYToScreen(y)));
    }
    bool RedNear(double x, double y) const {
        const int column = static_cast<int>(std::lround(graph.DataXToScreen(x)));
        const int row = static_cast<int>(graph.DataYToScreen(y));
        for (int c = column - 1; c <= column + 1; ++c)
            if (m_image.pixelColor(c, row) == QColor(Qt::red))
                return true;
        return false;
    }
    /// Releases the mouse at world point (x, y) in edit mode `mode`.
    bool Click(TContourEditMode mode, double x, double y) {
        map->SetEditMode(mode);
        const TLayerMouse mouse{
            Qt::LeftButton, Qt::NoModifier,
            QPoint(static_cast<int>(graph.DataXToScreen(x)), static_cast<int>(graph.DataYToScreen(y))), x, y};
        return map->MouseDown(mouse) && map->MouseUp(mouse);
    }

    TGraph graph;
    TContour* map = nullptr;
    QImage m_image;
};

TEST_F(ContourLayerTest, LinesStopAtTheirLabel) {
    ASSERT_EQ(map->Lines().size(), 1u);
    const TContourLabel& label = *map->Lines()[0].Label;
    EXPECT_EQ(label.Text, "5.00");
    Render();
    const double labelY = (label.A.Y + label.B.Y) / 2;
    EXPECT_FALSE(RedNear(5, labelY));
    EXPECT_TRUE(RedNear(5, 8));
    EXPECT_FALSE(RedNear(3, 8));
    map->LabelsOn = false;
    Render();
    EXPECT_TRUE(RedNear(5, labelY));
}

TEST_F(ContourLayerTest, ShadingPaintsThePaletteAndTheMissingColour) {
    map->Shading = true;
    map->SquareSize = 1;
    Render();
    for (double x : {0.3, 5.0, 9.7}) {
        // Z = X: each pixel has the colour of its column's world X.
        const int column = static_cast<int>(graph.DataXToScreen(x));
        EXPECT_EQ(PixelAt(x, 5), ToQColor(map->ValueColor(graph.ScreenToX(column)))) << x;
    }
    EXPECT_TRUE(map->ShowsColorScale());
    EXPECT_EQ(map->ScaleColor(1), ToQColor(PaletteColor(0, 254)));

    std::vector<double> z(121, 1.0);
    z[5 * 11 + 5] = MissingValue;
    z[5 * 11 + 6] = 2;
    auto holed = std::make_unique<TContour>(graph, true, 1, TContourGrid(Axis, Axis, z));
    graph.DeleteLayer(0);
    graph.AddLayer(std::move(holed));
    Render();
    EXPECT_EQ(PixelAt(5.5, 5.5), QColor(1, 128, 128));
}

TEST_F(ContourLayerTest, EditModesChangeLinesAndLabels) {
    Render();
    EXPECT_FALSE(Click(emNone, 5, 5));
    EXPECT_FALSE(map->WantsMouse());
    ASSERT_TRUE(Click(emAddContour, 3, 4.2));
    EXPECT_TRUE(map->WantsMouse());
    ASSERT_EQ(map->Lines().size(), 2u);
    EXPECT_NEAR(map->Lines()[0].Level, 3, 1e-12);
    EXPECT_NEAR(map->Lines()[0].Label->A.Y, 4, 1e-9);

    ASSERT_TRUE(Click(emRemoveLabel, 5.02, 8));
    EXPECT_FALSE(map->Lines()[1].Label->Visible);
    ASSERT_TRUE(Click(emAddLabel, 5, 8.5));
    EXPECT_TRUE(map->Lines()[1].Label->Visible);
    EXPECT_NEAR(map->Lines()[1].Label->A.Y, 8, 1e-9);
    ASSERT_TRUE(Click(emMoveLabel, 5, 2.5));
    EXPECT_NEAR(map->Lines()[1].Label->A.Y, 2, 1e-9);

    ASSERT_TRUE(Click(emDeleteContour, 3, 9));
    ASSERT_EQ(map->Lines().size(), 1u);
    EXPECT_EQ(map->Lines()[0].Level, 5);
    ASSERT_TRUE(Click(emDeleteContour, 7, 9));
    EXPECT_EQ(map->Lines().size(), 1u);
}

TEST_F(ContourLayerTest, EditCursorsFollowTheMode) {
    const struct {
        TContourEditMode Mode;
        TPlotCursor Cursor;
    } cases[] = {{emAddContour, TPlotCursor::SerAdd},
                 {emAddLabel, TPlotCursor::SerAdd},
                 {emDeleteContour, TPlotCursor::SerDel},
                 {emRemoveLabel, TPlotCursor::SerDel},
                 {emMoveLabel, TPlotCursor::MoveIt}};
    for (const auto& c : cases) {
        map->SetEditMode(c.Mode);
        EXPECT_EQ(map->EditCursor().pixmap().toImage(), PlotCursor(c.Cursor).pixmap().toImage()) << c.Mode;
    }
}

TEST_F(ContourLayerTest, ValuesRangeAndFixedLimits) {
    EXPECT_DOUBLE_EQ(*map->ValueAt(2.5, 7), 2.5);
    EXPECT_EQ(*map->ValueAt(11, 7), MissingValue);
    EXPECT_EQ(map->GetExtent().XMax, 10);
    EXPECT_EQ(map->MinZ(), 0);
    map->Levels.FixedMax = true;
    map->Levels.MaxLimit = 4;
    EXPECT_EQ(map->MaxZ(), 4);
    EXPECT_EQ(map->ValueColor(5), clWhite);
}

} // namespace
} // namespace mirla
