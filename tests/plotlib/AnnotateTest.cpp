#include "plotlib/Annotate.h"

#include "plotlib/FigureDialogs.h"
#include "plotlib/Graph.h"
#include "plotlib/PictureFiles.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace mirla {
namespace {

/// How far in world units a whole-pixel mouse may land from a world point.
constexpr double MouseTolerance = 0.05;

/// A graph showing 0..10 on both axes, drawn once so that its mapping is known.
class AnnotateTest : public testing::Test {
protected:
    AnnotateTest() : m_image(400, 300, QImage::Format_RGB32) {
        for (TAxis* axis : {&graph.XAxis(), &graph.YAxis()}) {
            axis->AutoMin = false;
            axis->AutoMax = false;
            axis->SetMin(0);
            axis->SetMax(10);
        }
        Render();
    }

    void Render() {
        m_image.fill(Qt::white);
        QPainter painter(&m_image);
        graph.Draw(painter, m_image.rect(), TDrawTarget::Export);
    }
    QPointF Pixel(double x, double y) const { return {graph.XToScreen(x), graph.YToScreen(y)}; }
    QColor ColorAt(QPointF pixel) const { return m_image.pixelColor(pixel.toPoint()); }
    TLayerMouse Mouse(QPointF pixel, Qt::MouseButtons buttons = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        return {buttons, modifiers, pixel.toPoint(), graph.ScreenToX(pixel.x()), graph.ScreenToY(pixel.y())};
    }
    template <class T> T& Add(double x1, double y1, double x2, double y2) {
        auto figure = std::make_unique<T>(graph);
        figure->X1 = x1;
        figure->Y1 = y1;
        figure->X2 = x2;
        figure->Y2 = y2;
        T& added = *figure;
        annotate.Add(std::move(figure));
        return added;
    }

    TGraph graph;
    TGraphAnnotate& annotate = graph.Annotate();
    QImage m_image;
};

TEST_F(AnnotateTest, HitTestsFindTheGrabbedPart) {
    auto& line = Add<TMonoLine>(2, 5, 8, 5);
    auto& arrow = Add<TArrow>(2, 1, 8, 1);
    auto& box = Add<TRectangle>(2, 2, 6, 6);
    auto& ellipse = Add<TCircle>(6, 6, 9, 9);
    auto& shape = Add<TShape>(5, 8, 5, 8);
    auto& pencil = Add<TPencil>(0, 0, 0, 0);
    pencil.Points = {{1, 9}, {2, 9.5}, {3, 9}};
    auto& note = Add<TNoteText>(7, 3, 7, 3);
    note.Text = "Note";
    auto& across = Add<THorLine>(0, 0, 0, 0);
    across.Position = Pixel(0, 4).y();
    auto& upright = Add<TVertLine>(0, 0, 0, 0);
    upright.Position = Pixel(9.5, 0).x();
    Render(); // lays out the note's box
    const struct {
        const char* Name;
        TFig& Figure;
        QPointF At;     // world point the probe starts from
        QPointF Offset; // pixels from it
        int Part;
    } cases[] = {
        {"line end within 5 pixels", line, {2, 5}, {5, -5}, fpFirst},
        {"line end 6 pixels away", line, {8, 5}, {6, 0}, fpNone},
        {"line second end", line, {8, 5}, {-5, 0}, fpSecond},
        {"4 pixels beside the line", line, {5, 5}, {0, 4}, fpBody},
        {"5 pixels beside the line", line, {5, 5}, {0, 5}, fpNone},
        {"arrow head end", arrow, {8, 1}, {0, 0}, fpSecond},
        {"box first corner", box, {2, 2}, {1, 1}, fpFirst},
        {"box second corner", box, {6, 6}, {0, 0}, fpSecond},
        {"box corner (x2, y1)", box, {6, 2}, {0, 0}, fpThirdCorner},
        {"box corner (x1, y2)", box, {2, 6}, {0, 0}, fpFourthCorner},
        {"inside the box", box, {3, 4}, {0, 0}, fpBody},
        {"beside the box", box, {1, 4}, {0, 0}, fpNone},
        {"ellipse corner", ellipse, {9, 6}, {0, 0}, fpThirdCorner},
        {"symbol edge", shape, {5, 8}, {10, -10}, fpBody},
        {"beside the symbol", shape, {5, 8}, {11, 0}, fpNone},
        {"near a pencil point", pencil, {2, 9.5}, {5, 5}, fpFirst},
        {"between pencil points", pencil, {2.5, 8}, {0, 0}, fpNone},
        {"4 pixels from a horizontal guide", across, {0.5, 4}, {0, -4}, fpBody},
        {"5 pixels from a horizontal guide", across, {0.5, 4}, {0, 5}, fpNone},
        {"4 pixels from a vertical guide", upright, {9.5, 0.5}, {4, 0}, fpBody},
        {"inside the note", note, {7, 3}, {3, 3}, fpBody},
        {"above the note", note, {7, 3}, {3, -3}, fpNone},
    };
    for (const auto& c : cases) {
        const QPointF probe = Pixel(c.At.x(), c.At.y()) + c.Offset;
        EXPECT_EQ(c.Figure.HitTest(probe), c.Part != fpNone) << c.Name;
        EXPECT_EQ(c.Figure.HitPart, c.Part) << c.Name;
    }
}

TEST_F(AnnotateTest, DraggingAPartMovesItsWorldPoints) {
    const struct {
        const char* Name;
        QPointF Grab; // world point grabbed
        int Part;
        QRectF Expected; // x1, y1, x2, y2 after a drag of +1, +1 in world units
    } cases[] = {
        {"body", {3, 3}, fpBody, {3, 3, 7, 7}},
        {"first corner", {2, 2}, fpFirst, {3, 3, 6, 6}},
        {"second corner", {6, 6}, fpSecond, {2, 2, 7, 7}},
        {"corner (x2, y1)", {6, 2}, fpThirdCorner, {2, 3, 7, 6}},
        {"corner (x1, y2)", {2, 6}, fpFourthCorner, {3, 2, 6, 7}},
    };
    for (const auto& c : cases) {
        TRectangle box(graph);
        box.X1 = box.Y1 = 2;
        box.X2 = box.Y2 = 6;
        const QPointF from = Pixel(c.Grab.x(), c.Grab.y());
        ASSERT_TRUE(box.HitTest(from)) << c.Name;
        EXPECT_EQ(box.HitPart, c.Part) << c.Name;
        box.MouseDown(from);
        box.MouseUp(Pixel(c.Grab.x() + 1, c.Grab.y() + 1));
        const double got[] = {box.X1, box.Y1, box.X2, box.Y2};
        const double want[] = {c.Expected.x(), c.Expected.y(), c.Expected.width(), c.Expected.height()};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(got[i], want[i], 1e-9) << c.Name << " coordinate " << i;
        EXPECT_FALSE(box.Selected) << c.Name;
    }
}

TEST_F(AnnotateTest, APencilStrokeMovesWhole) {
    auto& pencil = Add<TPencil>(0, 0, 0, 0);
    pencil.Points = {{1, 1}, {2, 3}};
    ASSERT_TRUE(pencil.HitTest(Pixel(2, 3)));
    pencil.MouseDown(Pixel(2, 3));
    pencil.MouseUp(Pixel(4, 4));
    ASSERT_EQ(pencil.Points.size(), 2u);
    EXPECT_NEAR(pencil.Points[0].x(), 3, 1e-9);
    EXPECT_NEAR(pencil.Points[0].y(), 2, 1e-9);
    EXPECT_NEAR(pencil.Points[1].x(), 4, 1e-9);
    EXPECT_NEAR(pencil.Points[1].y(), 4, 1e-9);
}

TEST_F(AnnotateTest, AGuideLineMovesByThePixelsOfTheDragAlongItsDirection) {
    TVertLine guide(graph);
    guide.Position = 100;
    ASSERT_TRUE(guide.HitTest({102, 50}));
    guide.MouseDown({102, 50});
    guide.MouseUp({130, 80});
    EXPECT_EQ(guide.Position, 128);
}

TEST_F(AnnotateTest, ArrowHeadIsComputedInWorldUnits) {
    auto& arrow = Add<TArrow>(0, 0, 10, 0);
    const auto [p1, p2] = arrow.HeadBase();
    EXPECT_NEAR(p1.x(), 7, 1e-12);
    EXPECT_NEAR(p1.y(), -0.5, 1e-12);
    EXPECT_NEAR(p2.x(), 7, 1e-12);
    EXPECT_NEAR(p2.y(), 0.5, 1e-12);
}

TEST_F(AnnotateTest, ScaledNotesGrowWithTheZoomAndFixedOnesKeepTheirSize) {
    auto& fixed = Add<TNoteText>(5, 5, 5, 5);
    auto& scaled = Add<TNoteText>(5, 5, 5, 5);
    scaled.Scaled = true;
    EXPECT_EQ(scaled.EffectiveSize(), 10) << "unzoomed";
    graph.Zoom().Push(graph.Views());
    TZoomViews half = graph.Views();
    half.Primary.XMax = 5;
    graph.SetViews(half);
    EXPECT_EQ(fixed.EffectiveSize(), 10);
    EXPECT_EQ(scaled.EffectiveSize(), 20);
    graph.Exaggerate = 1.5;
    EXPECT_EQ(scaled.EffectiveSize(), 30);
}

TEST_F(AnnotateTest, DrawingToolsCreateFiguresByDragging) {
    const struct {
        TAnnotateTool Tool;
        const char* Name;
    } cases[] = {{atLine, "line"}, {atArrow, "arrow"}, {atRectangle, "rectangle"}, {atCircle, "circle"}};
    for (const auto& c : cases) {
        annotate.Clear();
        annotate.SetTool(c.Tool);
        EXPECT_TRUE(annotate.MouseDown(Mouse(Pixel(2, 2)))) << c.Name;
        EXPECT_TRUE(annotate.MouseMove(Mouse(Pixel(4, 3)))) << c.Name;
        EXPECT_TRUE(annotate.MouseUp(Mouse(Pixel(5, 4)))) << c.Name;
        ASSERT_EQ(annotate.Count(), 1) << c.Name;
        const TFig& figure = *annotate.Figure(0);
        EXPECT_NEAR(figure.X1, 2, MouseTolerance) << c.Name;
        EXPECT_NEAR(figure.X2, 5, MouseTolerance) << c.Name;
        EXPECT_NEAR(figure.Y2, 4, MouseTolerance) << c.Name;
        EXPECT_EQ(figure.Color, clRed) << c.Name;
        EXPECT_FALSE(figure.Creating) << c.Name;
    }
    annotate.MouseDown(Mouse(Pixel(7, 7)));
    annotate.MouseUp(Mouse(Pixel(7, 7)));
    EXPECT_EQ(annotate.Count(), 1) << "a click without a drag leaves no figure";
}

TEST_F(AnnotateTest, PencilCollectsThePointsOfTheDrag) {
    annotate.SetTool(atPencil);
    annotate.MouseDown(Mouse(Pixel(1, 1)));
    annotate.MouseMove(Mouse(Pixel(2, 2)));
    annotate.MouseMove(Mouse(Pixel(2, 2)));
    annotate.MouseUp(Mouse(Pixel(3, 1)));
    ASSERT_EQ(annotate.Count(), 1);
    const auto& pencil = dynamic_cast<const TPencil&>(*annotate.Figure(0));
    EXPECT_EQ(pencil.Points.size(), 3u) << "a repeated position adds no point";
    EXPECT_EQ(pencil.Width, 3);
}

TEST_F(AnnotateTest, SymbolsAndNotesArePlacedOnlyWhenTheirDialogIsAccepted) {
    bool accept = false;
    annotate.EditFigure = [&](TFig& figure, bool isNew) {
        EXPECT_TRUE(isNew);
        if (auto* note = dynamic_cast<TNoteText*>(&figure))
            note->Text = "T";
        return accept;
    };
    for (TAnnotateTool tool : {atSymbol, atText}) {
        annotate.SetTool(tool);
        annotate.MouseDown(Mouse(Pixel(4, 6)));
        accept = true;
        annotate.MouseDown(Mouse(Pixel(4, 6)));
        accept = false;
    }
    ASSERT_EQ(annotate.Count(), 2);
    EXPECT_NE(dynamic_cast<TShape*>(annotate.Figure(0)), nullptr);
    EXPECT_NEAR(annotate.Figure(1)->X1, 4, MouseTolerance);
    EXPECT_NEAR(annotate.Figure(1)->Y1, 6, MouseTolerance);
}

TEST_F(AnnotateTest, SelectModeGrabsMovesAndDeletesFigures) {
    Add<TMonoLine>(1, 1, 3, 1);
    auto& second = Add<TMonoLine>(1, 5, 3, 5);
    int changes = 0;
    graph.Changed = [&] { ++changes; };

    annotate.MouseMove(Mouse(Pixel(2, 5), Qt::NoButton));
    EXPECT_EQ(annotate.Current(), 1);
    EXPECT_EQ(annotate.Cursor(), TPlotCursor::MoveIt);
    annotate.MouseMove(Mouse(Pixel(3, 5), Qt::NoButton));
    EXPECT_EQ(annotate.Cursor(), TPlotCursor::Transform);
    EXPECT_FALSE(annotate.MouseDown(Mouse(Pixel(6, 8)))) << "a click beside every figure is not taken";

    ASSERT_TRUE(annotate.MouseDown(Mouse(Pixel(2, 5))));
    annotate.MouseMove(Mouse(Pixel(2, 6)));
    annotate.MouseUp(Mouse(Pixel(2, 7)));
    EXPECT_NEAR(second.Y1, 7, MouseTolerance);
    EXPECT_NEAR(second.Y2, 7, MouseTolerance);
    EXPECT_GE(changes, 2) << "grabbing and releasing redraw the picture";

    ASSERT_TRUE(annotate.MouseDown(Mouse(Pixel(2, 1), Qt::LeftButton, Qt::ControlModifier)));
    ASSERT_EQ(annotate.Count(), 1);
    EXPECT_EQ(annotate.Figure(0), &second);
}

TEST_F(AnnotateTest, PopupMenuDeletesOrEditsOnlyTheFigureUnderTheMouse) {
    Add<TRectangle>(1, 1, 3, 3);
    Add<TRectangle>(5, 5, 7, 7);
    TFig* edited = nullptr;
    annotate.EditFigure = [&](TFig& figure, bool) {
        edited = &figure;
        return true;
    };
    ASSERT_TRUE(annotate.FigureAt(Pixel(6, 6)));
    QMenu menu;
    annotate.BuildPopupMenu(menu);
    menu.findChild<QAction*>(QStringLiteral("miProperties"))->trigger();
    EXPECT_EQ(edited, annotate.Figure(1));
    menu.findChild<QAction*>(QStringLiteral("miErase"))->trigger();
    ASSERT_EQ(annotate.Count(), 1);
    EXPECT_NEAR(annotate.Figure(0)->X1, 1, 1e-9);
}

TEST_F(AnnotateTest, FiguresAreInThePictureFilesAndFollowTheLayersVisibility) {
    auto& line = Add<TMonoLine>(2, 5, 8, 5);
    line.Color = clBlue;
    line.Width = 3;
    auto& box = Add<TRectangle>(2, 6, 4, 8);
    box.FillMode = fmSolid;
    box.BackColor = clLime;
    const QImage picture = QImage::fromData(PictureData(graph, m_image.size(), TPictureFormat::Png));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.pixelColor(Pixel(5, 5).toPoint()), QColor(Qt::blue));
    EXPECT_EQ(picture.pixelColor(Pixel(3, 7).toPoint()), QColor(Qt::green));

    annotate.SetVisible(false);
    Render();
    EXPECT_EQ(ColorAt(Pixel(5, 5)), QColor(Qt::white));
}

TEST_F(AnnotateTest, PropertiesDialogsShowAndStoreTheControlsOfEachFigure) {
    auto& box = Add<TCircle>(1, 1, 2, 2);
    TfmFigsProperties boxDialog(box, false);
    EXPECT_EQ(boxDialog.windowTitle(), QStringLiteral("Properties"));
    boxDialog.findChild<QComboBox*>(QStringLiteral("cbLineStyle"))->setCurrentIndex(psDot);
    boxDialog.findChild<QSpinBox*>(QStringLiteral("udThickness"))->setValue(4);
    boxDialog.findChild<QComboBox*>(QStringLiteral("cbAppearance"))->setCurrentIndex(fmSemiTransparent);
    int applied = 0;
    boxDialog.Applied = [&] { ++applied; };
    boxDialog.findChild<QPushButton*>(QStringLiteral("btApply"))->click();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(box.Style, psDot);
    EXPECT_EQ(box.Width, 4);
    EXPECT_EQ(box.FillMode, fmSemiTransparent);

    TNoteText note(graph);
    TfmFigsProperties noteDialog(note, true);
    EXPECT_EQ(noteDialog.findChild<QPushButton*>(QStringLiteral("btApply")), nullptr) << "a new note";
    EXPECT_EQ(noteDialog.findChild<QSpinBox*>(QStringLiteral("udThickness")), nullptr);
    noteDialog.findChild<QLineEdit*>(QStringLiteral("edText"))->setText(QStringLiteral("peak"));
    noteDialog.findChild<QComboBox*>(QStringLiteral("cbTextStyle"))->setCurrentIndex(1);
    noteDialog.findChild<QPushButton*>(QStringLiteral("btOK"))->click();
    EXPECT_EQ(noteDialog.result(), QDialog::Accepted);
    EXPECT_EQ(note.Text, "peak");
    EXPECT_TRUE(note.Scaled);

    TShape shape(graph);
    TSymbolStyleDialog symbolDialog(shape);
    EXPECT_EQ(symbolDialog.windowTitle(), QStringLiteral("Symbol Style"));
    symbolDialog.findChild<QComboBox*>(QStringLiteral("cbMarkerStyle"))->setCurrentIndex(msCircle);
    symbolDialog.findChild<QSpinBox*>(QStringLiteral("udSize"))->setValue(6);
    symbolDialog.findChild<QPushButton*>(QStringLiteral("btOK"))->click();
    EXPECT_EQ(shape.Marker.Style, msCircle);
    EXPECT_EQ(shape.Marker.Size, 6);
}

} // namespace
} // namespace mirla
