#include "plotlib/Plot.h"

#include "plotlib/Annotate.h"
#include "plotlib/Contour.h"
#include "plotlib/Series.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace mirla {
namespace {

constexpr double Tolerance = 1e-9;

void ExpectRect(const TWorldRect& actual, const TWorldRect& expected, const char* what) {
    EXPECT_NEAR(actual.XMin, expected.XMin, Tolerance) << what;
    EXPECT_NEAR(actual.XMax, expected.XMax, Tolerance) << what;
    EXPECT_NEAR(actual.YMin, expected.YMin, Tolerance) << what;
    EXPECT_NEAR(actual.YMax, expected.YMax, Tolerance) << what;
}

/// A plot of 400 x 300 pixels showing a line from (0, 0) to (10, 100).
class PlotWidgetTest : public testing::Test {
protected:
    void SetUp() override {
        m_plot.Graph().IniFileName.clear();
        auto series = std::make_unique<TSeries>(m_plot.Graph(), "f(x)", ssLine, clRed);
        series->AddPoint(clRed, "", 0, 0);
        series->AddPoint(clRed, "", 10, 100);
        m_plot.Graph().AddLayer(std::move(series));
        m_plot.resize(400, 300);
        m_plot.Refresh();
    }

    TGraph& Graph() { return m_plot.Graph(); }
    TZoomViews Views() { return Graph().Views(); }
    /// A point of the plot area at fractions of its width and height.
    QPoint InPlot(double fx, double fy) {
        const QRect area = Graph().PlotArea();
        return {area.left() + static_cast<int>(fx * area.width()),
                area.top() + static_cast<int>(fy * area.height())};
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, m_plot.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          held, Qt::NoModifier);
        QApplication::sendEvent(&m_plot, &event);
    }
    void Drag(QPoint from, QPoint to, Qt::MouseButton button) {
        Mouse(QEvent::MouseButtonPress, from, button);
        Mouse(QEvent::MouseMove, (from + to) / 2, button);
        Mouse(QEvent::MouseMove, to, button);
        Mouse(QEvent::MouseButtonRelease, to, button);
    }
    void Wheel(QPoint at, int angle) {
        QWheelEvent event(at, m_plot.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&m_plot, &event);
    }
    QString PanelStartingWith(const QString& prefix) {
        for (QLabel* label : m_plot.findChildren<QLabel*>()) {
            if (label->text().startsWith(prefix)) {
                return label->text();
            }
        }
        return {};
    }
    /// The views scaled by `factor` around a world point.
    static TWorldRect ScaledAround(const TWorldRect& r, double x, double y, double factor) {
        return {x + (r.XMin - x) * factor, y + (r.YMin - y) * factor, x + (r.XMax - x) * factor,
                y + (r.YMax - y) * factor};
    }

    TPlot m_plot;
};

TEST_F(PlotWidgetTest, StatusBarStartsWithoutCoordinates) {
    EXPECT_EQ(PanelStartingWith(QStringLiteral("X=")), QStringLiteral("X=n/a"));
    EXPECT_EQ(PanelStartingWith(QStringLiteral("Y=")), QStringLiteral("Y=n/a"));
}

// Run again on a screen of twice the pixel density by the test command.
TEST_F(PlotWidgetTest, DrawsAtTheScreensPixelDensity) {
    const qreal ratio = m_plot.devicePixelRatioF();
    EXPECT_EQ(m_plot.Bitmap().devicePixelRatio(), ratio);
    EXPECT_EQ(m_plot.Bitmap().size(), QSize(400, 280) * ratio) << "the widget less the status bar, in pixels";
}

TEST_F(PlotWidgetTest, StatusBarShowsTheWorldPointUnderTheMouse) {
    const QPoint at = InPlot(0.25, 0.5);
    const TZoomPoint world = Graph().WorldAt(at.x(), at.y());
    Mouse(QEvent::MouseMove, at, Qt::NoButton);
    const QString x = PanelStartingWith(QStringLiteral("X="));
    const QString y = PanelStartingWith(QStringLiteral("Y="));
    EXPECT_NEAR(x.mid(2).toDouble(), world.X, 1e-5 * std::abs(world.X)) << x.toStdString();
    EXPECT_NEAR(y.mid(2).toDouble(), world.Y, 1e-5 * std::abs(world.Y)) << y.toStdString();

    Mouse(QEvent::MouseMove, QPoint(1, 1), Qt::NoButton);
    EXPECT_EQ(PanelStartingWith(QStringLiteral("X=")), QStringLiteral("X=n/a"));
    EXPECT_EQ(PanelStartingWith(QStringLiteral("Y=")), QStringLiteral("Y=n/a"));
}

TEST_F(PlotWidgetTest, LogarithmicAxisShowsTheValueNotItsLogarithm) {
    Graph().YAxis().SetLog(true);
    m_plot.Refresh();
    const QPoint at = InPlot(0.5, 0.5);
    const double logY = Graph().WorldAt(at.x(), at.y()).Y;
    Mouse(QEvent::MouseMove, at, Qt::NoButton);
    const double shown = PanelStartingWith(QStringLiteral("Y=")).mid(2).toDouble();
    EXPECT_NEAR(shown, std::pow(10.0, logY), 1e-5 * std::pow(10.0, logY));
}

TEST_F(PlotWidgetTest, RubberBandZoomsToTheRectangleAndStepsBack) {
    const TZoomViews full = Views();
    const QPoint from = InPlot(0.2, 0.3);
    const QPoint to = InPlot(0.6, 0.8);
    const TZoomPoint a = Graph().WorldAt(from.x(), from.y());
    const TZoomPoint b = Graph().WorldAt(to.x(), to.y());
    int viewChanges = 0;
    QObject::connect(&m_plot, &TPlot::ViewChanged, [&] { ++viewChanges; });

    m_plot.ZoomIn();
    EXPECT_TRUE(m_plot.Zoom().Enabled);
    Drag(from, to, Qt::LeftButton);

    ExpectRect(Views().Primary,
               {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)}, "zoomed");
    EXPECT_EQ(m_plot.Zoom().Depth(), 1);
    EXPECT_EQ(viewChanges, 1);

    EXPECT_FALSE(m_plot.ZoomPrevious()) << "no earlier view remains";
    ExpectRect(Views().Primary, full.Primary, "previous");
    EXPECT_EQ(viewChanges, 2);
}

TEST_F(PlotWidgetTest, ClickWithoutDragEndsZoomModeAndKeepsTheView) {
    const TZoomViews full = Views();
    m_plot.ZoomIn();
    const QPoint at = InPlot(0.5, 0.5);
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton);
    EXPECT_FALSE(m_plot.Zoom().Enabled);
    EXPECT_EQ(Views(), full);
    EXPECT_EQ(m_plot.Zoom().Depth(), 0);
}

TEST_F(PlotWidgetTest, ZoomOutReturnsToTheFullViewAndEndsZoomMode) {
    const TZoomViews full = Views();
    m_plot.ZoomIn();
    Drag(InPlot(0.1, 0.1), InPlot(0.9, 0.9), Qt::LeftButton);
    Drag(InPlot(0.1, 0.1), InPlot(0.5, 0.5), Qt::LeftButton);
    ASSERT_EQ(m_plot.Zoom().Depth(), 2);
    m_plot.ZoomOut();
    ExpectRect(Views().Primary, full.Primary, "after ZoomOut");
    EXPECT_EQ(m_plot.Zoom().Depth(), 0);
    EXPECT_FALSE(m_plot.Zoom().Enabled);
}

TEST_F(PlotWidgetTest, NestedZoomsStepBackOneByOne) {
    const TZoomViews full = Views();
    m_plot.ZoomIn();
    Drag(InPlot(0.1, 0.1), InPlot(0.9, 0.9), Qt::LeftButton);
    const TZoomViews first = Views();
    Drag(InPlot(0.2, 0.2), InPlot(0.7, 0.7), Qt::LeftButton);
    EXPECT_TRUE(m_plot.ZoomPrevious());
    ExpectRect(Views().Primary, first.Primary, "one step back");
    EXPECT_FALSE(m_plot.ZoomPrevious());
    ExpectRect(Views().Primary, full.Primary, "two steps back");
    EXPECT_FALSE(m_plot.ZoomPrevious());
    ExpectRect(Views().Primary, full.Primary, "nothing left");
}

TEST_F(PlotWidgetTest, WheelZoomsAroundThePointer) {
    const TZoomViews full = Views();
    const QPoint at = InPlot(0.3, 0.6);
    const TZoomPoint centre = Graph().WorldAt(at.x(), at.y());

    Wheel(at, 120);
    ExpectRect(Views().Primary, ScaledAround(full.Primary, centre.X, centre.Y, 0.8), "one notch in");
    const TZoomViews zoomedIn = Views();
    Wheel(at, -240);
    ExpectRect(Views().Primary, ScaledAround(zoomedIn.Primary, centre.X, centre.Y, 1.25 * 1.25),
               "two notches out");

    EXPECT_EQ(m_plot.Zoom().Depth(), 2);
    EXPECT_TRUE(m_plot.ZoomPrevious());
    ExpectRect(Views().Primary, zoomedIn.Primary, "previous after the wheel");
}

TEST_F(PlotWidgetTest, WheelOutsideThePlotAreaChangesNothing) {
    const TZoomViews full = Views();
    Wheel(QPoint(1, 1), 120);
    EXPECT_EQ(Views(), full);
    EXPECT_EQ(m_plot.Zoom().Depth(), 0);
}

TEST_F(PlotWidgetTest, MiddleDragPansTheView) {
    const TZoomViews full = Views();
    const QPoint from = InPlot(0.5, 0.5);
    const QPoint to = InPlot(0.3, 0.7);
    const TZoomPoint a = Graph().WorldAt(from.x(), from.y());
    const TZoomPoint b = Graph().WorldAt(to.x(), to.y());
    Drag(from, to, Qt::MiddleButton);
    const double dx = a.X - b.X;
    const double dy = a.Y - b.Y;
    ExpectRect(
        Views().Primary,
        {full.Primary.XMin + dx, full.Primary.YMin + dy, full.Primary.XMax + dx, full.Primary.YMax + dy},
        "panned");
    EXPECT_EQ(m_plot.Zoom().Depth(), 1);
    m_plot.ZoomOut();
    ExpectRect(Views().Primary, full.Primary, "back from the pan");
}

TEST_F(PlotWidgetTest, MiddleClickWithoutMoveStacksNothing) {
    const TZoomViews full = Views();
    const QPoint at = InPlot(0.5, 0.5);
    Mouse(QEvent::MouseButtonPress, at, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::MiddleButton);
    EXPECT_EQ(Views(), full);
    EXPECT_EQ(m_plot.Zoom().Depth(), 0);
}

TEST_F(PlotWidgetTest, AnimatedZoomNarrowsAroundTheClickAndCanBeUndone) {
    Graph().SilentDraw = false;
    m_plot.ToggleAnimatedZoom();
    EXPECT_TRUE(m_plot.Zoom().Enabled);
    EXPECT_TRUE(Graph().SilentDraw);
    const TZoomViews full = Views();
    const QPoint at = InPlot(0.25, 0.5);
    const TZoomPoint click = Graph().WorldAt(at.x(), at.y());
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton);

    // Each of the 3 steps takes ChangePerStep of the width away, split so the click keeps its place.
    const double keep = std::pow(1 - m_plot.Zoom().ChangePerStep, 3);
    const TWorldRect& r = Views().Primary;
    EXPECT_NEAR(r.XMax - r.XMin, (full.Primary.XMax - full.Primary.XMin) * keep, Tolerance);
    EXPECT_NEAR((click.X - r.XMin) / (r.XMax - r.XMin),
                (click.X - full.Primary.XMin) / (full.Primary.XMax - full.Primary.XMin), Tolerance);

    EXPECT_FALSE(m_plot.ZoomPrevious());
    ExpectRect(Views().Primary, full.Primary, "undone");
    m_plot.ToggleAnimatedZoom();
    EXPECT_FALSE(m_plot.Zoom().Enabled);
    EXPECT_FALSE(Graph().SilentDraw) << "restored";
}

/// A layer in an edit mode: it wants the mouse and counts what it gets.
class TEditingLayer : public TLayer {
public:
    using TLayer::TLayer;
    bool WantsMouse() const override { return true; }
    bool MouseDown(const TLayerMouse&) override { return ++Downs > 0; }
    bool MouseMove(const TLayerMouse& mouse) override { return Moves += mouse.buttons == Qt::LeftButton; }
    bool MouseUp(const TLayerMouse&) override { return ++Ups > 0; }
    int Downs = 0, Moves = 0, Ups = 0;
};

bool ShowsCursor(const QWidget& widget, TPlotCursor cursor) {
    const QCursor expected = PlotCursor(cursor);
    return widget.cursor().hotSpot() == expected.hotSpot() &&
           widget.cursor().pixmap().toImage() == expected.pixmap().toImage();
}

TEST_F(PlotWidgetTest, ADrawingToolWinsOverZoomModeAndDrawsItsFigure) {
    m_plot.ZoomIn();
    Graph().Annotate().SetTool(atRectangle);
    const TZoomViews full = Views();
    Mouse(QEvent::MouseMove, InPlot(0.2, 0.2), Qt::NoButton);
    EXPECT_TRUE(ShowsCursor(m_plot, TPlotCursor::RectCr));
    Drag(InPlot(0.2, 0.2), InPlot(0.5, 0.6), Qt::LeftButton);
    EXPECT_EQ(Graph().Annotate().Count(), 1);
    EXPECT_EQ(Views(), full);
    EXPECT_EQ(m_plot.Zoom().Depth(), 0);
}

TEST_F(PlotWidgetTest, EachClickWithTheSymbolToolPlacesASymbolThroughItsDialog) {
    TGraphAnnotate& annotate = Graph().Annotate();
    annotate.SetTool(atSymbol);
    // The dialog takes the release of the click that opened it.
    annotate.EditFigure = [](TFig&, bool) { return true; };
    Mouse(QEvent::MouseButtonPress, InPlot(0.3, 0.3), Qt::LeftButton);
    Mouse(QEvent::MouseButtonPress, InPlot(0.6, 0.6), Qt::LeftButton);
    EXPECT_EQ(annotate.Count(), 2);
}

TEST_F(PlotWidgetTest, AGrabbedFigureFollowsTheMouseAboveThePicture) {
    auto line = std::make_unique<TMonoLine>(Graph());
    const QPoint left = InPlot(0.2, 0.5);
    const QPoint right = InPlot(0.8, 0.5);
    line->X1 = Graph().ScreenToX(left.x());
    line->X2 = Graph().ScreenToX(right.x());
    line->Y1 = line->Y2 = Graph().ScreenToY(left.y());
    line->Color = clBlue;
    Graph().Annotate().Add(std::move(line));
    m_plot.Refresh();
    const QPoint middle = InPlot(0.5, 0.5);
    const QPoint lowered = middle + QPoint(0, 30);
    ASSERT_EQ(m_plot.Bitmap().pixelColor(middle), QColor(Qt::blue));

    Mouse(QEvent::MouseButtonPress, middle, Qt::LeftButton);
    Mouse(QEvent::MouseMove, lowered, Qt::LeftButton);
    EXPECT_NE(m_plot.Bitmap().pixelColor(middle), QColor(Qt::blue)) << "the picture no longer holds it";
    EXPECT_EQ(m_plot.grab().toImage().pixelColor(lowered), QColor(Qt::blue)) << "drawn over the picture";
    Mouse(QEvent::MouseButtonRelease, lowered, Qt::LeftButton);
    EXPECT_EQ(m_plot.Bitmap().pixelColor(lowered), QColor(Qt::blue));
}

TEST_F(PlotWidgetTest, ALayerInAnEditModeTakesTheMouseBeforeZoom) {
    auto owned = std::make_unique<TEditingLayer>(Graph());
    TEditingLayer& layer = *owned;
    Graph().AddLayer(std::move(owned));
    m_plot.ZoomIn();
    const TZoomViews full = Views();
    Drag(InPlot(0.2, 0.2), InPlot(0.6, 0.6), Qt::LeftButton);
    EXPECT_EQ(layer.Downs, 1);
    EXPECT_EQ(layer.Moves, 2);
    EXPECT_EQ(layer.Ups, 1);
    EXPECT_EQ(Views(), full);
}

TEST_F(PlotWidgetTest, AMapInAnEditModeShowsItsCursorUntilTheEditEnds) {
    auto owned = std::make_unique<TContour>(Graph(), false, 2, TContourGrid({0, 10}, {0, 100}, {0, 1, 2, 3}));
    TContour& map = *owned;
    Graph().AddLayer(std::move(owned));
    const struct {
        TContourEditMode Mode;
        TPlotCursor Cursor;
    } modes[] = {{emAddContour, TPlotCursor::SerAdd},
                 {emRemoveLabel, TPlotCursor::SerDel},
                 {emMoveLabel, TPlotCursor::MoveIt}};
    for (const auto& m : modes) {
        map.SetEditMode(m.Mode);
        Mouse(QEvent::MouseMove, InPlot(0.5, 0.5), Qt::NoButton);
        EXPECT_TRUE(ShowsCursor(m_plot, m.Cursor)) << m.Mode;
    }
    map.SetEditMode(emNone);
    m_plot.UpdateCursor();
    EXPECT_EQ(m_plot.cursor().shape(), Qt::ArrowCursor) << "the default cursor again";
}

TEST_F(PlotWidgetTest, TheInsideLegendIsDraggedToANewAnchor) {
    auto entry = std::make_unique<TLineLegend>(Graph());
    static_cast<TSeries*>(Graph().Layer(0))->AttachLegend(entry.get());
    m_plot.Legend().Add(std::move(entry));
    m_plot.Legend().Style = lsInside;
    m_plot.Refresh();
    const QRect before = m_plot.Legend().Rect;
    ASSERT_FALSE(before.isEmpty());
    Mouse(QEvent::MouseMove, before.center(), Qt::NoButton);
    EXPECT_TRUE(ShowsCursor(m_plot, TPlotCursor::MoveIt));
    Drag(before.center(), before.center() + QPoint(40, -30), Qt::LeftButton);
    EXPECT_NEAR(m_plot.Legend().Rect.left(), before.left() + 40, 1);
    EXPECT_NEAR(m_plot.Legend().Rect.top(), before.top() - 30, 1);
}

TEST_F(PlotWidgetTest, CopyToClipboardPutsTheBitmapAndItsVectors) {
    m_plot.CopyToClipboard();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(QApplication::clipboard()->image().size(), m_plot.Bitmap().size());
    EXPECT_EQ(m_plot.Bitmap().size(), QSize(400, 280)) << "the widget less the status bar";
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
}

TEST_F(PlotWidgetTest, HiddenStatusBarGivesTheChartTheWholeWidget) {
    m_plot.SetStatusBarVisible(false);
    EXPECT_FALSE(m_plot.StatusBarVisible());
    EXPECT_EQ(m_plot.Bitmap().size(), QSize(400, 300));
}

TEST_F(PlotWidgetTest, SaveAsAddsTheChosenFiltersExtension) {
    QTemporaryDir dir;
    const QString typed = dir.filePath(QStringLiteral("curve"));
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save to file"));
        dialog->selectNameFilter(QStringLiteral("PNG files (*.PNG)"));
        dialog->selectFile(typed);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    m_plot.SaveAs();
    const QImage saved(typed + QStringLiteral(".png"));
    EXPECT_EQ(saved.size(), m_plot.Bitmap().size());
}

TEST_F(PlotWidgetTest, SettingsRoundTripUnderTheWindowsSection) {
    QTemporaryDir dir;
    QWidget window;
    window.setObjectName(QStringLiteral("fmPlot2D"));
    TPlot plot(&window);
    plot.setObjectName(QStringLiteral("Chart"));
    EXPECT_EQ(plot.SettingsSection(), QStringLiteral("fmPlot2DChart"));
    plot.Graph().IniFileName = dir.filePath(QStringLiteral("Mirla.INI")).toStdString();
    plot.Graph().Color = clYellow;
    plot.SetStatusBarVisible(false);
    plot.SetStatusBarGrip(false);
    plot.SaveSettings();

    plot.Graph().Color = clWhite;
    plot.SetStatusBarVisible(true);
    plot.SetStatusBarGrip(true);
    plot.LoadSettings();
    EXPECT_EQ(plot.Graph().Color, clYellow);
    EXPECT_FALSE(plot.StatusBarVisible());
    EXPECT_FALSE(plot.StatusBarGrip());
}

} // namespace
} // namespace mirla
