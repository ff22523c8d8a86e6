#include "gui/GuiTestSupport.h"

#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"
#include "plotlib/Contour.h"
#include "plotlib/Plot.h"
#include "plotlib/PlotCursors.h"
#include "plots/ContourPlotWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <cmath>
#include <memory>
#include <optional>

using namespace mirla;
using mirla::test::Child;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

class ContourPlotWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TScratchFolder> m_folder;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmCalc> m_window;

    TfmContourPlot& MapWindow() { return *m_window->ContourPlot(); }
    TPlot& Chart() { return MapWindow().Chart(); }
    QAction* Command(const char* name) { return Child<QAction>(&MapWindow(), QString::fromLatin1(name)); }
    void SetField(const char* name, const QString& text) {
        Child<QLineEdit>(m_window.get(), QString::fromLatin1(name))->setText(text);
    }

    /// Types `line`, chooses plot type `type` on the "Graphics" page, a 21 x 21 grid over
    /// -5..5 x -5..5, and clicks "&OK"; returns the text of the error box it showed ("" when none).
    QString Request(const QString& line, int type) {
        m_window->Pages()->setCurrentIndex(0);
        m_window->InputLine()->setText(line);
        QTabWidget* pages = m_window->Pages();
        for (int i = 0; i < pages->count(); ++i)
            if (pages->tabText(i) == QStringLiteral("Graphics"))
                pages->setCurrentIndex(i);
        Child<QRadioButton>(m_window.get(), QStringLiteral("rbPlot%1").arg(type))->click();
        for (const char* field : {"edFromX", "edFromY"})
            SetField(field, "-5");
        for (const char* field : {"edToX", "edToY"})
            SetField(field, "5");
        for (const char* field : {"edStepsX", "edStepsY"})
            SetField(field, "21");
        return m_watchdog->MessageShownBy([&] { Child<QPushButton>(m_window.get(), "bbOK")->click(); });
    }

    /// Checks that every node of the map holds `f` of its coordinates.
    template <typename F> void ExpectGrid(F f) {
        const TContourGrid& grid = MapWindow().Map()->Grid();
        QCOMPARE(grid.Nx(), 21);
        QCOMPARE(grid.Ny(), 21);
        QCOMPARE(grid.X(0), -5.0);
        QCOMPARE(grid.Y(0, 20), 5.0);
        for (int i = 0; i < grid.Nx(); ++i)
            for (int j = 0; j < grid.Ny(); ++j)
                QVERIFY2(std::abs(grid.Z(i, j) - f(grid.X(i), grid.Y(i, j))) < 1e-12,
                         qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
    }

private slots:
    void init() {
        m_folder = std::make_unique<TScratchFolder>();
        for (const char* file : {"Mirla.CON", "Mirla.USR", "Mirla.FNC"})
            m_folder->Write(QString::fromLatin1(file), QString());
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

    void aContourRequestShowsLabelledLines() {
        QCOMPARE(MapWindow().objectName(), QStringLiteral("fmContourPlot"));
        QCOMPARE(MapWindow().windowTitle(), QStringLiteral("Contour Plot"));
        QAction* entry = Child<QAction>(m_window.get(), "miPlotFxy");
        QVERIFY(!entry->isEnabled());
        SetField("edNumCont", "6");
        QCOMPARE(Request("X^2-X*Y", 1), QString());
        QVERIFY(MapWindow().isVisible());
        QVERIFY(entry->isEnabled());
        QCOMPARE(MapWindow().windowTitle(), QStringLiteral("Contour Plot f(x,y)"));
        TContour* map = MapWindow().Map();
        QVERIFY(map && !map->Shading && !MapWindow().ShadingState());
        QCOMPARE(map->Levels.Count, 6);
        ExpectGrid([](double x, double y) { return x * x - x * y; });
        QVERIFY(!map->Lines().empty());
        QCOMPARE(Chart().Legend().Count(), 1);
        QCOMPARE(QString::fromStdString(Chart().Legend().Entry(0).Caption), QStringLiteral("X^2-X*Y"));
        QCOMPARE(QString::fromStdString(Chart().Title().Text), QStringLiteral("f(X^2-X*Y)"));
        QCOMPARE(Chart().XAxis().Minimum(), -5.0);
        QCOMPARE(Chart().YAxis().Maximum(), 5.0);
        QVERIFY(Command("acAddContour")->isVisible());

        // A second request replaces the map and its legend entry.
        QCOMPARE(Request("X+Y", 1), QString());
        QCOMPARE(Chart().Graph().LayerCount(), 1);
        QCOMPARE(Chart().Legend().Count(), 1);
    }

    void theEditCommandsSetTheModeOfTheMap() {
        QCOMPARE(Request("X*Y", 1), QString());
        TContour& map = *MapWindow().Map();
        const struct {
            const char* Command;
            TContourEditMode Mode;
            std::optional<TPlotCursor> Cursor;
        } commands[] = {{"acAddContour", emAddContour, TPlotCursor::SerAdd},
                        {"acDeleteContour", emDeleteContour, TPlotCursor::SerDel},
                        {"acLabelPosition", emAddLabel, TPlotCursor::SerAdd},
                        {"acLabelOff", emRemoveLabel, TPlotCursor::SerDel},
                        {"acEndEdit", emNone, std::nullopt}};
        for (const auto& c : commands) {
            Command(c.Command)->trigger();
            QCOMPARE(map.EditMode(), c.Mode);
            QVERIFY(Command(c.Command)->isChecked());
            // The plot keeps the mode's cursor when the mouse moves over it.
            QTest::mouseMove(&Chart(), Chart().rect().center());
            QCOMPARE(Chart().testAttribute(Qt::WA_SetCursor), c.Cursor.has_value());
            if (c.Cursor)
                QCOMPARE(Chart().cursor().pixmap().toImage(), PlotCursor(*c.Cursor).pixmap().toImage());
        }
    }

    void theFileMenuSavesAndLoadsTheMap() {
        QStringList texts;
        for (QAction* menu : MapWindow().menuBar()->actions())
            if (menu->text() == QStringLiteral("&File"))
                for (QAction* action : menu->menu()->actions())
                    texts << action->text();
        for (const char* text : {"Save as DXF...", "&Import", "&Export", "Save &Layers...", "Loa&d Layers...",
                                 "&Replace Layers by Name"})
            QVERIFY2(texts.contains(QString::fromLatin1(text)), text);

        QCOMPARE(Request("X*Y", 1), QString());
        const QString path = m_folder->Path() + QStringLiteral("/maps.txt");
        QVERIFY(Chart().SaveLayersTo(path));
        // Loading replaces the shown map by its namesake: the window edits the loaded one.
        QVERIFY(Chart().LoadLayersFrom(path, true));
        QCOMPARE(Chart().Graph().LayerCount(), 1);
        QCOMPARE(static_cast<TLayer*>(MapWindow().Map()), Chart().Graph().Layer(0));
        Command("acAddContour")->trigger();
        QCOMPARE(MapWindow().Map()->EditMode(), emAddContour);
        QCOMPARE(Chart().Legend().Count(), 1);
    }

    void aShadingRequestShowsTheColourScale() {
        QCOMPARE(Request("X^2+Y", 2), QString());
        QCOMPARE(MapWindow().windowTitle(), QStringLiteral("Color Shade f(x,y)"));
        QVERIFY(MapWindow().ShadingState());
        QVERIFY(!Command("acAddContour")->isVisible());
        QCOMPARE(Chart().Legend().Count(), 0);
        QCOMPARE(Chart().ColorLegend().Source, static_cast<TLayer*>(MapWindow().Map()));
        ExpectGrid([](double x, double y) { return x * x + y; });
        const bool lineLegend = Chart().Legend().Visible();
        Command("acShowLegend")->trigger();
        QVERIFY(!Chart().ColorLegend().Visible());
        QCOMPARE(Chart().Legend().Visible(), lineLegend);
        QVERIFY(!Command("acShowLegend")->isChecked());
    }

    void complexModeMapsTheModulus() {
        m_window->SetComplexMode(true);
        QCOMPARE(Request("comp(X,Y)", 1), QString());
        ExpectGrid([](double x, double y) { return std::hypot(x, y); });
        QCOMPARE(QString::fromStdString(Chart().Title().Text), QStringLiteral("|f(comp(X,Y))|"));
    }

    void integralAgreementFollowsTheMapRequests() {
        EvalContext& engine = m_window->Engine();
        QCOMPARE(int(engine.IntegralAgreement), 9);
        QCOMPARE(Request("X/(X-Y)", 1), QStringLiteral("Cann't calculate this function"));
        QCOMPARE(int(engine.IntegralAgreement), 9);
        QCOMPARE(Chart().Graph().LayerCount(), 0);
        QVERIFY(!MapWindow().Map());
        QCOMPARE(Request("X-Y", 2), QString());
        QCOMPARE(int(engine.IntegralAgreement), 7);
        // An evaluation in the calculator keeps it.
        m_window->Pages()->setCurrentIndex(0);
        m_window->InputLine()->setText("1+1");
        m_window->ReturnClick();
        QCOMPARE(int(engine.IntegralAgreement), 7);
    }
};

QTEST_MAIN(ContourPlotWindowTest)
#include "ContourPlotWindowTest.moc"
