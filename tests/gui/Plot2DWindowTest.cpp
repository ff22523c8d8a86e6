#include "gui/GuiTestSupport.h"

#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"
#include "plotlib/Annotate.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"
#include "plots/Plot2DWindow.h"
#include "plots/ScreenPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <memory>

using namespace mirla;
using mirla::test::Child;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

namespace {

TSeries& Curve(TPlot& plot, int index) {
    auto* series = dynamic_cast<TSeries*>(plot.Graph().Layer(index));
    if (!series)
        qFatal("layer %d is not a series", index);
    return *series;
}

/// Pixels of `image` in pure red, allowing for the blending of smoothed edges.
int CountRedPixels(const QImage& image) {
    const QImage picture = image.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            count += qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60 ? 1 : 0;
        }
    return count;
}

/// Sends a press, a move half-way, a move to the end and a release of the left button.
void LeftDrag(QWidget* widget, QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, keys);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

/// The pixel of a world point of the plot.
QPoint PixelOf(const TGraph& graph, double x, double y) {
    return QPointF(graph.XToScreen(x), graph.YToScreen(y)).toPoint();
}

} // namespace

class Plot2DWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TScratchFolder> m_folder;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmCalc> m_window;

    TfmPlot2D& PlotWindow() { return *m_window->Plot2D(); }
    TPlot& Chart() { return PlotWindow().Chart(); }
    QAction* Command(const char* name) { return Child<QAction>(&PlotWindow(), QString::fromLatin1(name)); }

    void OpenGraphicsPage() {
        QTabWidget* pages = m_window->Pages();
        for (int i = 0; i < pages->count(); ++i)
            if (pages->tabText(i) == QStringLiteral("Graphics"))
                pages->setCurrentIndex(i);
    }

    /// Types `line` into the input line, sets the X range on the "Graphics" page and clicks "&OK".
    void Request(const QString& line, const QString& from, const QString& to, int steps) {
        m_window->Pages()->setCurrentIndex(0);
        m_window->InputLine()->setText(line);
        OpenGraphicsPage();
        Child<QLineEdit>(m_window.get(), "edFromX")->setText(from);
        Child<QLineEdit>(m_window.get(), "edToX")->setText(to);
        Child<QLineEdit>(m_window.get(), "edStepsX")->setText(QString::number(steps));
        Child<QPushButton>(m_window.get(), "bbOK")->click();
    }

    /// Like Request, expecting an error box; returns its text.
    QString FailingRequest(const QString& line, const QString& from, const QString& to, int steps) {
        return m_watchdog->MessageShownBy([&] { Request(line, from, to, steps); });
    }

private slots:
    void init() {
        m_folder = std::make_unique<TScratchFolder>();
        m_folder->Write(QStringLiteral("Mirla.CON"), QStringLiteral("c = 299792458\n"));
        m_folder->Write(QStringLiteral("Mirla.USR"), QString());
        m_folder->Write(QStringLiteral("Mirla.FNC"), QString());
        m_watchdog = std::make_unique<TModalWatchdog>();
        const std::string path = m_folder->Path().toStdString();
        m_window = std::make_unique<TfmCalc>(TCalcFiles::Locate(path, path + "/user"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() {
        m_window.reset();
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_folder.reset();
    }

    void annotateToolsDrawMoveReshapeAndDeleteALine() {
        PlotWindow().show();
        QVERIFY(QTest::qWaitForWindowExposed(&PlotWindow()));
        auto* tools = Child<QToolBar>(&PlotWindow(), "fmAnnotateTools");
        QCOMPARE(tools->windowTitle(), QStringLiteral("Annotate Tools"));
        const TGraph& graph = Chart().Graph();
        const TGraphAnnotate& annotate = Chart().Graph().Annotate();
        const QPoint centre = graph.PlotArea().center();
        const QPoint a = centre - QPoint(60, 0);
        const QPoint b = centre + QPoint(60, 0);

        Child<QAction>(tools, "sbLine")->trigger();
        LeftDrag(&Chart(), a, b);
        QCOMPARE(annotate.Count(), 1);
        QVERIFY(CountRedPixels(Chart().Bitmap()) >= 100);
        const TFig& line = *annotate.Figure(0);

        Child<QAction>(tools, "sbNone")->trigger();
        LeftDrag(&Chart(), centre, centre + QPoint(0, 40));
        QCOMPARE(PixelOf(graph, line.X1, line.Y1), a + QPoint(0, 40));
        LeftDrag(&Chart(), b + QPoint(0, 40), b + QPoint(30, 0));
        QCOMPARE(PixelOf(graph, line.X2, line.Y2), b + QPoint(30, 0));
        QCOMPARE(PixelOf(graph, line.X1, line.Y1), a + QPoint(0, 40));

        Child<QCheckBox>(tools, "cbVisible")->click();
        QCOMPARE(CountRedPixels(Chart().Bitmap()), 0);
        Child<QCheckBox>(tools, "cbVisible")->click();
        LeftDrag(&Chart(), a + QPoint(0, 40), a + QPoint(0, 40), Qt::ControlModifier);
        QCOMPARE(annotate.Count(), 0);
        QCOMPARE(CountRedPixels(Chart().Bitmap()), 0);
    }

    void theWindowIsCreatedHiddenWithItsCommands() {
        QVERIFY(m_window->Plot2D());
        QCOMPARE(PlotWindow().objectName(), QStringLiteral("fmPlot2D"));
        QCOMPARE(PlotWindow().windowTitle(), QStringLiteral("2D - Plot"));
        QCOMPARE(Chart().objectName(), QStringLiteral("Chart"));
        QVERIFY(!PlotWindow().isVisible());
        QVERIFY(!PlotWindow().WasShown());

        QStringList hints;
        for (QAction* action : Child<QToolBar>(&PlotWindow(), "tbPlot")->actions())
            if (!action->isSeparator())
                hints << action->toolTip();
        const QStringList expectedHints = {
            "Print graphic", "Save As...",       "Zoom in",     "Zoom Out",      "Zoom previous",
            "Animated zoom", "Properties",       "Show legend", "Vertical grid", "Horizontal grid",
            "3D-view",       "Copy to clipbord", "Export data", "Import data",
        };
        QCOMPARE(hints, expectedHints);

        QStringList entries;
        for (QAction* menu : PlotWindow().menuBar()->actions())
            for (QAction* entry : menu->menu()->actions())
                if (!entry->isSeparator())
                    entries << entry->text();
        for (const char* entry :
             {"&Print", "&Save As...", "Zoom &In", "Zoom &Out", "&Previous Zoom", "&Animation Zoom",
              "&Properties", "&Show Legend", "&Vert. Grid", "&Horis. Grid", "&3D View", "&Copy to clipboard",
              "&Import", "&Export", "Save as DXF...", "Save &Layers...", "Loa&d Layers...", "&Exit"})
            QVERIFY2(entries.contains(QString::fromLatin1(entry)), entry);

        QVERIFY(!Command("acZoomOut")->isEnabled());
        QVERIFY(!Command("acZoomPrevious")->isEnabled());
        QVERIFY(Command("acZoomIn")->isEnabled());
        QVERIFY(Command("acShowLegend")->isChecked());
        for (const char* data : {"acExportData", "acImportData", "miImport", "miExport"})
            QVERIFY2(Command(data)->isEnabled(), data);
        QCOMPARE(Command("acSaveAs")->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(Command("acZoomPrevious")->shortcut(), QKeySequence(QKeySequence::Undo));
    }

    void aRequestSamplesBothEndsExactly() {
        Request("X^2", "-10", "10", 200);
        QCOMPARE(Chart().Graph().LayerCount(), 1);
        TSeries& curve = Curve(Chart(), 0);
        QCOMPARE(curve.Count(), 200);
        QCOMPARE(curve.X(0), -10.0);
        QCOMPARE(curve.X(199), 10.0);
        QCOMPARE(curve.Y(0), 100.0);
        QCOMPARE(curve.Y(199), 100.0);
        // The second point lies one step h = 20/199 to the right of the first.
        QVERIFY(std::abs(curve.X(1) - (-10.0 + 20.0 / 199.0)) < 1e-13);
        // Afterwards X has gone one step past the maximum: 10 + 20/199.
        const auto x = static_cast<double>(m_window->Engine().Variable(1).Value);
        QVERIFY2(std::abs(x - 10.100502512562814) < 1e-13, qPrintable(QString::number(x, 'g', 17)));
        QCOMPARE(QString::fromStdString(curve.Name()), QStringLiteral("f(X^2)"));
        QVERIFY(m_window->Pages()->isEnabled());
        QVERIFY(PlotWindow().isEnabled());
        QCOMPARE(m_window->ProgressGauge()->value(), 0);
        QCOMPARE(m_window->HistoryList()->itemText(0), QStringLiteral("X^2"));
    }

    void theWindowShowsAfterARequest() {
        Request("sin(X)", "-10", "10", 200);
        QVERIFY(PlotWindow().isVisible());
        QVERIFY(PlotWindow().WasShown());
    }

    void threeRequestsGiveThreeDistinctCurves() {
        Request("sin(X)", "-10", "10", 200);
        Request("cos(X)*0.5", "-10", "10", 100);
        Request("X^2/50", "-10", "10", 50);
        QCOMPARE(Chart().Graph().LayerCount(), 3);
        QCOMPARE(Chart().Legend().Count(), 3);
        // The colours of new layers come in the order red, blue, green, each unused one first.
        const TColor colours[] = {clRed, clBlue, clGreen};
        const int counts[] = {200, 100, 50};
        const char* names[] = {"f(sin(X))", "f(cos(X)*0.5)", "f(X^2/50)"};
        for (int i = 0; i < 3; ++i) {
            TSeries& curve = Curve(Chart(), i);
            QCOMPARE(curve.Color(), colours[i]);
            QCOMPARE(curve.MarkerColor(), colours[i]);
            QCOMPARE(int(curve.MarkerStyle()), i + 1);
            QCOMPARE(curve.Count(), counts[i]);
            QCOMPARE(curve.Style(), int(ssLineAndPoint));
            QCOMPARE(curve.MarkerStep(), counts[i] / 20);
            QCOMPARE(QString::fromStdString(curve.Name()), QString::fromLatin1(names[i]));
            QCOMPARE(QString::fromStdString(Chart().Legend().Entry(i).Caption),
                     QString::fromLatin1(names[i]));
            QVERIFY(curve.Legend() == &Chart().Legend().Entry(i));
        }
    }

    void aPointThatCannotBeComputedDiscardsTheCurve() {
        // With 3 steps the middle point is X = 0.
        QCOMPARE(FailingRequest("1/X", "-1", "1", 3), QStringLiteral("Cann't calculate this function"));
        QCOMPARE(Chart().Graph().LayerCount(), 0);
        QCOMPARE(Chart().Legend().Count(), 0);
        QVERIFY(!PlotWindow().isVisible());
        QVERIFY(m_window->ResultBox()->text().contains(QStringLiteral(": position ")));
        QCOMPARE(m_window->ProgressGauge()->value(), 0);
        QVERIFY(m_window->Pages()->isEnabled());

        // With 4 steps the points are -1, -1/3, 1/3 and 1.
        Request("1/X", "-1", "1", 4);
        QCOMPARE(Chart().Graph().LayerCount(), 1);
        TSeries& curve = Curve(Chart(), 0);
        QCOMPARE(curve.Count(), 4);
        const double xs[] = {-1, -1.0 / 3, 1.0 / 3, 1};
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(std::abs(curve.X(i) - xs[i]) < 1e-15, qPrintable(QString::number(i)));
            QVERIFY2(std::abs(curve.Y(i) - 1 / xs[i]) < 1e-14, qPrintable(QString::number(i)));
        }
    }

    void stopBreaksOffTheSampling() {
        QTest::qWait(30); // the first pause for window events then comes at the first point
        m_watchdog->Expect([](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("Do you realy wont break calculation?"));
            box->button(QMessageBox::Yes)->click();
        });
        QTimer::singleShot(0, m_window->StopButton(), &QToolButton::click);
        Request("sin(X)*exp(-X/10)", "-10", "10", 16000);
        m_watchdog->Expect(nullptr);
        // A user break ends the request without the error box and without a curve.
        QCOMPARE(Chart().Graph().LayerCount(), 0);
        QVERIFY(!PlotWindow().isVisible());
        QVERIFY(m_window->Pages()->isEnabled());
    }

    void thePictureShowsTheCurveInItsColour() {
        PlotWindow().resize(640, 480);
        Request("sin(X)", "-10", "10", 200);
        QVERIFY(QTest::qWaitForWindowExposed(&PlotWindow()));
        QCoreApplication::processEvents();
        const QImage& bitmap = Chart().Bitmap();
        QVERIFY(!bitmap.isNull());
        const int red = CountRedPixels(bitmap);
        QVERIFY2(red > 100, qPrintable(QString::number(red)));
        // An empty graph of the same size has no red at all.
        TGraph empty;
        QImage picture(bitmap.size(), QImage::Format_RGB32);
        QPainter painter(&picture);
        empty.Draw(painter, picture.rect());
        painter.end();
        QCOMPARE(CountRedPixels(picture), 0);
    }

    void zoomCommandsFollowTheZoomState() {
        Request("sin(X)", "-10", "10", 200);
        QAction* zoomOut = Command("acZoomOut");
        QAction* previous = Command("acZoomPrevious");
        Command("acZoomIn")->trigger();
        QVERIFY(zoomOut->isEnabled());
        QVERIFY(previous->isEnabled());
        QVERIFY(Chart().Zoom().Enabled);
        // Nothing was stacked yet: going back finds nothing and disables both.
        previous->trigger();
        QVERIFY(!zoomOut->isEnabled());
        QVERIFY(!previous->isEnabled());

        Command("acZoomIn")->trigger();
        zoomOut->trigger();
        QVERIFY(!zoomOut->isEnabled());
        QVERIFY(!previous->isEnabled());
        QVERIFY(!Chart().Zoom().Enabled);

        Command("acAnimatedZoom")->trigger();
        QVERIFY(Chart().Zoom().Enabled);
        QVERIFY(zoomOut->isEnabled());
        Command("acAnimatedZoom")->trigger();
        QVERIFY(!Chart().Zoom().Enabled);
        QVERIFY(!zoomOut->isEnabled());
    }

    void zoomedViewsCanBeSteppedBack() {
        Request("sin(X)", "-10", "10", 200);
        PlotWindow().resize(640, 480);
        QVERIFY(QTest::qWaitForWindowExposed(&PlotWindow()));
        QAction* previous = Command("acZoomPrevious");
        // Two views pushed the way the wheel and a pan push them.
        Chart().Zoom().Push(Chart().Graph().Views());
        Chart().Zoom().Push(Chart().Graph().Views());
        emit Chart().ViewChanged();
        QVERIFY(previous->isEnabled());
        previous->trigger();
        QVERIFY(previous->isEnabled());
        previous->trigger();
        previous->trigger();
        QVERIFY(!previous->isEnabled());
        QVERIFY(!Command("acZoomOut")->isEnabled());
    }

    void the3DViewRestoresTheFrameWidth() {
        Chart().Graph().Frame.Width = 3;
        Command("ac3DView")->trigger();
        QCOMPARE(Chart().View3D(), 8.0);
        QCOMPARE(Chart().Graph().Frame.Width, 10);
        QVERIFY(!Chart().XAxis().Ticks.MinorVisible);
        QVERIFY(Chart().XAxis().Ticks.MajorVisible);
        QCOMPARE(PlotWindow().RememberedFrameWidth(), 3);
        Command("ac3DView")->trigger();
        QCOMPARE(Chart().View3D(), 0.0);
        QCOMPARE(Chart().Graph().Frame.Width, 3);
        QVERIFY(Chart().XAxis().Ticks.MinorVisible);
    }

    void legendAndGridCommandsToggle() {
        QAction* legend = Command("acShowLegend");
        legend->trigger();
        QVERIFY(!Chart().Legend().Visible());
        QVERIFY(!legend->isChecked());
        legend->trigger();
        QVERIFY(Chart().Legend().Visible());
        QVERIFY(legend->isChecked());
        const bool xGrid = Chart().XAxis().Grid;
        const bool yGrid = Chart().YAxis().Grid;
        Command("acVertGrid")->trigger();
        QCOMPARE(Chart().XAxis().Grid, !xGrid);
        QCOMPARE(Chart().YAxis().Grid, yGrid);
        Command("acHorisGrid")->trigger();
        QCOMPARE(Chart().YAxis().Grid, !yGrid);
    }

    void showPlotsWaitsForTheFirstShowing() {
        auto* show = Child<QToolButton>(m_window.get(), "sbShow");
        auto* menu = Child<QMenu>(m_window.get(), "pmShow");
        QAction* plotFx = Child<QAction>(menu, "miPlotFx");
        QCOMPARE(show->toolTip(), QStringLiteral("Show plots"));
        QVERIFY(!show->isEnabled());
        QVERIFY(!plotFx->isEnabled());
        QStringList entries;
        for (QAction* entry : menu->actions())
            entries << entry->text();
        QCOMPARE(entries, (QStringList{"&Plot f(X)", "Plot &f(X,Y)", "&3D-Plot f(X,Y)"}));
        QVERIFY(!menu->actions().at(1)->isEnabled());
        QVERIFY(!menu->actions().at(2)->isEnabled());

        Request("sin(X)", "-10", "10", 200);
        QVERIFY(show->isEnabled());
        QVERIFY(plotFx->isEnabled());
        PlotWindow().close();
        QVERIFY(!PlotWindow().isVisible());
        QCOMPARE(Chart().Graph().LayerCount(), 1); // closing only hides

        m_window->Pages()->setCurrentIndex(0);
        show->click();
        QTRY_VERIFY(menu->isVisible());
        const QPoint below = show->mapToGlobal(QPoint(0, show->height()));
        QVERIFY(std::abs(menu->pos().y() - below.y()) <= 2);
        menu->hide();
        plotFx->trigger();
        QVERIFY(PlotWindow().isVisible());
    }

    void closingStoresPlacementAndPlotSettings() {
        Request("sin(X)", "-10", "10", 200);
        PlotWindow().resize(700, 500);
        QCoreApplication::processEvents();
        PlotWindow().close();
        const QString ini = m_folder->Read(QStringLiteral("Mirla.INI"));
        QVERIFY2(ini.contains(QStringLiteral("[fmPlot2D]")), qPrintable(ini));
        QVERIFY(ini.contains(QStringLiteral("Width=700")));
        QVERIFY(ini.contains(QStringLiteral("Height=500")));
        QVERIFY(ini.contains(QStringLiteral("Plot_Saved=Yes")));

        // A new window reads its size back.
        TfmPlot2D again((m_folder->Path() + QStringLiteral("/Mirla.INI")).toStdString());
        QCOMPARE(again.size(), QSize(700, 500));
    }

    void aPlacementOffEveryScreenComesBackWhole() {
        m_folder->Write(QStringLiteral("Mirla.INI"),
                        QStringLiteral("[fmPlot2D]\nLeft=5000\nTop=-4000\nWidth=9000\nHeight=300\n"));
        TfmPlot2D again((m_folder->Path() + QStringLiteral("/Mirla.INI")).toStdString());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(again.geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                   .arg(again.x())
                                                                   .arg(again.y())
                                                                   .arg(again.width())
                                                                   .arg(again.height())));
    }

    void fittingMovesAPlacementOntoTheScreenItOverlapsMost_data() {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("fitted");
        // Two screens side by side: 0..999 and 1000..2279 wide.
        QTest::newRow("inside stays") << QRect(100, 100, 400, 300) << QRect(100, 100, 400, 300);
        QTest::newRow("corner off the right") << QRect(2200, 900, 400, 300) << QRect(1880, 724, 400, 300);
        QTest::newRow("mostly on the second") << QRect(900, 10, 400, 300) << QRect(1000, 10, 400, 300);
        QTest::newRow("too large shrinks") << QRect(-50, -50, 3000, 300) << QRect(1000, 0, 1280, 300);
        QTest::newRow("nowhere goes to the first") << QRect(-900, 5000, 200, 200) << QRect(0, 568, 200, 200);
    }
    void fittingMovesAPlacementOntoTheScreenItOverlapsMost() {
        QFETCH(QRect, saved);
        QFETCH(QRect, fitted);
        QCOMPARE(FitOnScreens(saved, {QRect(0, 0, 1000, 768), QRect(1000, 0, 1280, 1024)}), fitted);
    }

    void digitsReachThePlotInfo() {
        m_window->SetDisplayWidth(15);
        QCOMPARE(Chart().Graph().Info.NumberOfGeneralDigits, 15);
        m_window->SetDisplayWidth(9);
        QCOMPARE(Chart().Graph().Info.NumberOfGeneralDigits, 9);
    }
};

QTEST_MAIN(Plot2DWindowTest)
#include "Plot2DWindowTest.moc"
