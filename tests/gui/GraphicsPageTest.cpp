#include "gui/GuiTestSupport.h"

#include "app/GraphicsPage.h"
#include "app/GraphicsShell.h"
#include "app/core/CalcSettings.h"
#include "engine/EngineHost.h"
#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "numbers/ComplexEvaluator.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"
#include "plots/Plot2DWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using namespace mirla;
using mirla::test::TModalWatchdog;

namespace {

/// A main window stand-in that records what the page asks of it.
class TFakeShell : public TGraphicsShell {
public:
    EvalContext& Engine() override { return m_engine; }
    TCalcSettings& Settings() override { return SettingsData; }
    void ShowHelp(int topic) override { HelpTopics.push_back(topic); }
    QString InputLineText() const override { return InputLine; }
    void ReturnClick() override { ++ReturnClicks; }
    TfmPlot2D* Plot2D() override { return PlotWindow; }
    void ShowAssistantText(const QString& text) override { AssistantText = text; }
    void MoveToHistoryTop() override { ++HistoryMoves; }
    void SetPlotting(bool running) override { PlottingStates.push_back(running); }
    void ShowProgress(int percent) override { Progress = percent; }
    TComplexEvaluator& ComplexEvaluator() override { return m_complex; }

    /// Sets the input line and, as a page change does, the engine input text.
    void Type(const QString& line) {
        InputLine = line;
        m_engine.Input = line.toStdString();
    }

    QString InputLine;
    QString AssistantText;
    std::vector<int> HelpTopics;
    TCalcSettings SettingsData;
    int ReturnClicks = 0;
    int HistoryMoves = 0;
    std::vector<bool> PlottingStates;
    int Progress = -1; ///< none shown yet
    TfmPlot2D* PlotWindow = nullptr;

private:
    EvalContext m_engine;
    TComplexEvaluator m_complex{m_engine};
};

template <typename T> T* Child(QWidget* page, const char* name) {
    T* child = page->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("missing control %s", name);
    return child;
}

const char* const ValidPrompt = "The fields are valid; plotting arrives with the plot windows";

/// An engine host that runs a probe at every pause of a long loop and answers a break with yes.
class TProbeHost : public TEngineHost {
public:
    void PumpMessages() override {
        ++Pauses;
        if (Probe)
            Probe(Pauses);
    }
    bool ConfirmBreak() override { return true; }
    std::function<void(int pause)> Probe;
    int Pauses = 0;
};

} // namespace

class TGraphicsPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TFakeShell> m_shell;
    std::unique_ptr<TGraphicsPage> m_page;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmPlot2D> m_plotWindow;
    TProbeHost m_host;

    QLineEdit* Edit(const char* name) { return Child<QLineEdit>(m_page.get(), name); }
    QLabel* Label(const char* name) { return Child<QLabel>(m_page.get(), name); }
    bool Shown(QWidget* widget) { return widget->isVisibleTo(m_page.get()); }
    void Choose(int type) {
        Child<QRadioButton>(m_page.get(), qPrintable(QString("rbPlot%1").arg(type)))->click();
    }

    /// Clicks "&OK" and returns the text of the error box it showed ("" when none).
    QString ClickOk() {
        QString seen;
        m_watchdog->Expect([&seen](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            seen = box ? box->text() : QStringLiteral("<not a message box>");
            if (box)
                QVERIFY(box->icon() == QMessageBox::Critical);
            dialog->close();
        });
        Child<QPushButton>(m_page.get(), "bbOK")->click();
        m_watchdog->Expect(nullptr);
        return seen;
    }

    /// Gives the shell a 2-D plot window (without a settings file) and a probing engine host.
    TPlot& AttachPlotWindow() {
        m_plotWindow = std::make_unique<TfmPlot2D>(std::string());
        m_shell->PlotWindow = m_plotWindow.get();
        m_host = TProbeHost();
        m_shell->Engine().SetHost(&m_host);
        return m_plotWindow->Chart();
    }

    /// Types `line`, sets the X range and clicks "&OK" for an f(X) plot; returns the error text.
    QString RequestFx(const QString& line, const QString& from, const QString& to, int steps) {
        m_shell->Type(line);
        if (m_page->PlotType() != 0)
            Choose(0);
        Edit("edFromX")->setText(from);
        Edit("edToX")->setText(to);
        Edit("edStepsX")->setText(QString::number(steps));
        return ClickOk();
    }

    TSeries& Curve(TPlot& plot, int index) {
        auto* series = dynamic_cast<TSeries*>(plot.Graph().Layer(index));
        if (!series)
            qFatal("layer %d is not a series", index);
        return *series;
    }

private slots:
    void init() {
        m_watchdog = std::make_unique<TModalWatchdog>();
        m_shell = std::make_unique<TFakeShell>();
        m_shell->Type("X^2");
        m_page = std::make_unique<TGraphicsPage>(*m_shell, nullptr);
        m_page->Load();
        m_page->show();
    }
    void cleanup() {
        m_page.reset();
        m_shell->Engine().SetHost(nullptr);
        m_plotWindow.reset();
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_shell.reset();
    }

    void showsTheControlsWithTheirCaptions() {
        QCOMPARE(Child<QGroupBox>(m_page.get(), "rgPlot")->title(), QStringLiteral("Plot "));
        const QStringList captions = {"Plot f(X)", "Contour Plot f(X,Y)", "Color Shading f(X,Y)", "Surface",
                                      "Polar"};
        for (int type = 0; type < 5; ++type)
            QCOMPARE(Child<QRadioButton>(m_page.get(), qPrintable(QString("rbPlot%1").arg(type)))->text(),
                     captions[type]);
        QCOMPARE(Child<QGroupBox>(m_page.get(), "gbY")->title(), QStringLiteral("Y range"));
        QCOMPARE(Child<QPushButton>(m_page.get(), "btHelp")->text(), QStringLiteral("Help"));
        QCOMPARE(Child<QPushButton>(m_page.get(), "bbOK")->text(), QStringLiteral("&OK"));
        auto* color = Child<QPushButton>(m_page.get(), "sbColor");
        QCOMPARE(color->text(), QStringLiteral("&Color"));
        QVERIFY(!color->isEnabled());
        QVERIFY(!color->toolTip().isEmpty());
        QCOMPARE(Label("lbExaggerate")->text(), QStringLiteral("Exaggerate (0-maximize graphic area)"));
        QCOMPARE(Label("lbNumCont")->text(), QStringLiteral("Number of Contours"));
    }

    void plotTypeChangeFollowsItsTable_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("color");
        QTest::addColumn<bool>("yRange");
        QTest::addColumn<bool>("contours");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("legendShown");
        QTest::addColumn<bool>("exaggeration");
        QTest::addColumn<int>("agreement");
        QTest::addColumn<QString>("titleLabel");
        QTest::addColumn<QString>("legendLabel");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("f(X)") << 0 << true << false << false << "" << true << true << 9 << "Title "
                              << "Legend"
                              << "To plot F(X) type you function in input line and click OK";
        QTest::newRow("contour") << 1 << false << true << true << "f(X^2)" << false << true << 7 << "Title "
                                 << "Legend"
                                 << "To plot contours Z:=F(X,Y) type you function in input line and click OK";
        QTest::newRow("shading")
            << 2 << false << true << false << "f(X^2)" << false << true << 7 << "Title "
            << "Legend"
            << "To plot color shade Z:=F(X,Y) type you function in input line and click OK";
        QTest::newRow("surface") << 3 << false << true << false << "Z" << true << false << 7 << " Z axis"
                                 << "Title"
                                 << "To plot Z:=F(X,Y) type you function in input line and click OK";
        QTest::newRow("polar") << 4 << true << false << false << "" << true << false << 9 << "Title "
                               << "Legend"
                               << "To plot F(X) type you function in input line and click OK";
    }
    void plotTypeChangeFollowsItsTable() {
        QFETCH(int, type);
        QFETCH(bool, color);
        QFETCH(bool, yRange);
        QFETCH(bool, contours);
        QFETCH(QString, title);
        QFETCH(bool, legendShown);
        QFETCH(bool, exaggeration);
        QFETCH(int, agreement);
        QFETCH(QString, titleLabel);
        QFETCH(QString, legendLabel);
        QFETCH(QString, prompt);
        m_shell->Engine().IntegralAgreement = 9;
        Edit("edTitle")->setText("old title");
        Edit("edLegend")->setText("old legend");
        Choose(type);
        QCOMPARE(m_page->PlotType(), type);
        QCOMPARE(Shown(Child<QPushButton>(m_page.get(), "sbColor")), color);
        QCOMPARE(Child<QGroupBox>(m_page.get(), "gbY")->isEnabled(), yRange);
        QCOMPARE(Shown(Edit("edNumCont")), contours);
        QCOMPARE(Shown(Label("lbNumCont")), contours);
        QCOMPARE(Edit("edTitle")->text(), title);
        QCOMPARE(Shown(Edit("edLegend")), legendShown);
        QCOMPARE(Edit("edLegend")->text(),
                 legendShown ? QStringLiteral("f(X^2)") : QStringLiteral("old legend"));
        QCOMPARE(Shown(Edit("edExaggerate")), exaggeration);
        QCOMPARE(Shown(Label("lbExaggerate")), exaggeration);
        QCOMPARE(int(m_shell->Engine().IntegralAgreement), agreement);
        QCOMPARE(Label("lbTitle")->text(), titleLabel);
        QCOMPARE(Label("lbLegend")->text(), legendLabel);
        QCOMPARE(m_shell->AssistantText, prompt);
    }

    void axisNamesAreRestoredForFlatPlotsOnly_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("yLabel");
        QTest::newRow("f(X)") << 0 << "X"
                              << "Y"
                              << " Y axis";
        QTest::newRow("contour") << 1 << "X"
                                 << "Y"
                                 << " Y axis";
        QTest::newRow("shading") << 2 << "X"
                                 << "Y"
                                 << " Y axis";
        QTest::newRow("surface") << 3 << ""
                                 << "Z"
                                 << "-";
        QTest::newRow("polar") << 4 << ""
                               << "Z"
                               << "";
    }
    void axisNamesAreRestoredForFlatPlotsOnly() {
        QFETCH(int, type);
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, yLabel);
        Label("lbYAxis")->setText("-");
        Edit("edX")->clear();
        Edit("edY")->setText("Z");
        Choose(type);
        QCOMPARE(Edit("edX")->text(), x);
        QCOMPARE(Edit("edY")->text(), y);
        QCOMPARE(Label("lbYAxis")->text(), yLabel);
    }

    void anEmptyYAxisNameBecomesY() {
        Edit("edY")->clear();
        Edit("edX")->setText("Time");
        Choose(1);
        QCOMPARE(Edit("edY")->text(), QStringLiteral("Y"));
        QCOMPARE(Edit("edX")->text(), QStringLiteral("Time"));
    }

    void eachPlotTypeKeepsItsOwnSteps() {
        const int expected[5][2] = {{200, 0}, {40, 40}, {40, 40}, {40, 40}, {360, 0}};
        for (int type : {4, 0, 3, 1, 2}) {
            Choose(type);
            QCOMPARE(Edit("edStepsX")->text(), QString::number(expected[type][0]));
            QCOMPARE(Edit("edStepsY")->text(), QString::number(expected[type][1]));
        }
        Choose(4);
        Edit("edStepsX")->setText("720");
        Choose(1);
        Edit("edStepsY")->setText("25");
        Choose(0);
        QCOMPARE(Edit("edStepsX")->text(), QStringLiteral("200"));
        Choose(4);
        QCOMPARE(Edit("edStepsX")->text(), QStringLiteral("720"));
        Choose(1);
        QCOMPARE(Edit("edStepsY")->text(), QStringLiteral("25"));
        QCOMPARE(Edit("edStepsX")->text(), QStringLiteral("40"));
    }

    void anOutOfRangeStepCountIsNotStored() {
        Choose(1);
        Edit("edStepsY")->setText("1");
        Choose(0);
        Choose(1);
        QCOMPARE(Edit("edStepsY")->text(), QStringLiteral("40"));
    }

    void typingRefusesCharactersThatCannotBelongToANumber() {
        QLineEdit* steps = Edit("edStepsX");
        steps->clear();
        QTest::keyClicks(steps, "2.5");
        QCOMPARE(steps->text(), QStringLiteral("25"));
        QLineEdit* from = Edit("edFromX");
        from->clear();
        QTest::keyClicks(from, "-1.5e3");
        QCOMPARE(from->text(), QStringLiteral("-1.5e3"));
        from->setText("150");
        from->setCursorPosition(1);
        QTest::keyClicks(from, "x");
        QCOMPARE(from->text(), QStringLiteral("150"));
        QCOMPARE(from->cursorPosition(), 1);
        from->setCursorPosition(3);
        QTest::keyClicks(from, "-");
        QCOMPARE(from->text(), QStringLiteral("150"));
        QCOMPARE(from->cursorPosition(), 3);
    }

    void okChecksFieldsInOrderWithTheirMessages_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("settings"); // field name, text, field name, text, ...
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString steps = "Number of Steps must be in the range [2..16000]";
        QTest::newRow("X steps before X minimum")
            << 0 << QStringList{"edStepsX", "1", "edFromX", ""} << steps << "edStepsX";
        QTest::newRow("X minimum") << 0 << QStringList{"edFromX", "-", "edToX", ""}
                                   << "Minimum X-coordinate must be in the range [-115425.2 ... 115425.2]"
                                   << "edFromX";
        QTest::newRow("X maximum") << 0 << QStringList{"edToX", "200000", "edExaggerate", ""}
                                   << "Maximum X-coordinate must be in the range [-115425.2 ... 115425.2]"
                                   << "edToX";
        QTest::newRow("exaggeration before Y steps")
            << 1 << QStringList{"edExaggerate", "", "edStepsY", "1"}
            << "Vertical exaggerate must be in the range [0 ... 1E30]"
            << "edExaggerate";
        QTest::newRow("Y steps of a map")
            << 1 << QStringList{"edStepsY", "1", "edFromY", ""} << steps << "edStepsY";
        QTest::newRow("Y minimum") << 2 << QStringList{"edFromY", "1e6"}
                                   << "Minimum Y-coordinate must be in the range [-115425.2 ... 115425.2]"
                                   << "edFromY";
        QTest::newRow("Y maximum") << 3 << QStringList{"edToY", "-"}
                                   << "Maximum Y-coordinate must be in the range [-115425.2 ... 115425.2]"
                                   << "edToY";
        QTest::newRow("contours") << 1 << QStringList{"edNumCont", "0", "edFromX", "5", "edToX", "5"}
                                  << " Number of Cntours must be in the range [1..1000]"
                                  << "edNumCont";
        QTest::newRow("X order after the fields")
            << 2 << QStringList{"edNumCont", "0", "edFromX", "5", "edToX", "5", "edFromY", "5", "edToY", "5"}
            << "Maximum X-coordinate must be more than minimum one"
            << "";
        QTest::newRow("Y order") << 1 << QStringList{"edFromY", "3", "edToY", "-3"}
                                 << "Maximum Y-coordinate must be more than minimum one"
                                 << "";
        QTest::newRow("Y steps 0 is valid for f(X)") << 0 << QStringList{"edStepsY", "0"} << ""
                                                     << "";
        QTest::newRow("disabled Y range is not checked for f(X)")
            << 0 << QStringList{"edFromY", "", "edToY", "-5"} << ""
            << "";
        QTest::newRow("hidden exaggeration is not checked for polar")
            << 4 << QStringList{"edExaggerate", ""} << ""
            << "";
    }
    void okChecksFieldsInOrderWithTheirMessages() {
        QFETCH(int, type);
        QFETCH(QStringList, settings);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        Choose(type);
        for (int i = 0; i + 1 < settings.size(); i += 2)
            Edit(qPrintable(settings[i]))->setText(settings[i + 1]);
        Child<QPushButton>(m_page.get(), "bbOK")->setFocus();
        QCOMPARE(ClickOk(), message);
        if (!focus.isEmpty())
            QCOMPARE(m_page->focusWidget(), Edit(qPrintable(focus)));
        if (message.isEmpty())
            QCOMPARE(m_shell->AssistantText, QString::fromLatin1(ValidPrompt));
    }

    void equalXBoundsStop() {
        Edit("edFromX")->setText("5");
        Edit("edToX")->setText("5");
        QCOMPARE(ClickOk(), QStringLiteral("Maximum X-coordinate must be more than minimum one"));
    }

    void contourShowsTheLastAcceptedExaggeration() {
        Edit("edExaggerate")->setText("2.5");
        QCOMPARE(ClickOk(), QString());
        QCOMPARE(double(m_page->LastExaggeration()), 2.5);
        Edit("edExaggerate")->setText("7");
        Choose(1);
        QCOMPARE(Edit("edExaggerate")->text().toDouble(), 2.5);
    }

    void inputLineGoesToLegendOrTitleByType_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("field");
        QTest::newRow("f(X)") << 0 << "edLegend";
        QTest::newRow("contour") << 1 << "edTitle";
        QTest::newRow("shading") << 2 << "edTitle";
        QTest::newRow("surface") << 3 << "edLegend";
        QTest::newRow("polar") << 4 << "edLegend";
    }
    void inputLineGoesToLegendOrTitleByType() {
        QFETCH(int, type);
        QFETCH(QString, field);
        Choose(type);
        const QString other = field == "edTitle" ? "edLegend" : "edTitle";
        const QString before = Edit(qPrintable(other))->text();
        m_page->InputLineChanged("sin(X)");
        QCOMPARE(Edit(qPrintable(field))->text(), QStringLiteral("f(sin(X))"));
        QCOMPARE(Edit(qPrintable(other))->text(), before);
    }

    void activationPresetsLegendAndTitle() {
        Choose(2);
        m_shell->Type("X*Y");
        m_shell->AssistantText.clear();
        m_page->Activate();
        QCOMPARE(Edit("edLegend")->text(), QStringLiteral("f(X*Y)"));
        QCOMPARE(Edit("edTitle")->text(), QStringLiteral("f(X*Y)"));
        QCOMPARE(
            m_shell->AssistantText,
            QStringLiteral("To plot color shade Z:=F(X,Y) type you function in input line and click OK"));
        Choose(0);
        m_page->Activate();
        QCOMPARE(Edit("edTitle")->text(), QString());
    }

    void helpOpensTheTopicOfThePlotType() {
        for (int type = 0; type < 5; ++type) {
            Choose(type);
            Child<QPushButton>(m_page.get(), "btHelp")->click();
        }
        QCOMPARE(m_shell->HelpTopics, (std::vector<int>{10, 18, 19, 20}));
    }

    void settingsSurviveARoundTrip() {
        TCalcSettings& stored = m_shell->SettingsData;
        stored.PlotType = 4;
        stored.XMin = "0";
        stored.XMax = "360";
        stored.YMin = "-2.5";
        stored.YMax = "7";
        stored.Legend = "r(t)";
        stored.Title = "Spiral";
        stored.XAxis = "Angle";
        stored.YAxis = "Radius";
        stored.StepTable = {100, 30, 31, 32, 720, 0, 33, 34, 35, 0};
        TGraphicsPage page(*m_shell, nullptr);
        page.Load();
        QCOMPARE(page.PlotType(), 4);
        QCOMPARE(Child<QLineEdit>(&page, "edStepsX")->text(), QStringLiteral("720"));
        QCOMPARE(Child<QLineEdit>(&page, "edFromX")->text(), QStringLiteral("0"));
        QCOMPARE(Child<QLineEdit>(&page, "edToY")->text(), QStringLiteral("7"));
        QCOMPARE(Child<QLineEdit>(&page, "edX")->text(), QStringLiteral("Angle"));
        Child<QLineEdit>(&page, "edLegend")->setText("r(t)");
        Child<QLineEdit>(&page, "edTitle")->setText("Spiral");

        m_shell->SettingsData = TCalcSettings();
        page.Save();
        QCOMPARE(stored.PlotType, 4);
        QCOMPARE(stored.XMin, std::string("0"));
        QCOMPARE(stored.XMax, std::string("360"));
        QCOMPARE(stored.YMin, std::string("-2.5"));
        QCOMPARE(stored.YMax, std::string("7"));
        QCOMPARE(stored.Legend, std::string("r(t)"));
        QCOMPARE(stored.Title, std::string("Spiral"));
        QCOMPARE(stored.XAxis, std::string("Angle"));
        QCOMPARE(stored.YAxis, std::string("Radius"));
        QVERIFY((stored.StepTable == std::array<int, 10>{100, 30, 31, 32, 720, 0, 33, 34, 35, 0}));

        Child<QRadioButton>(&page, "rbPlot0")->click();
        QCOMPARE(Child<QLineEdit>(&page, "edStepsX")->text(), QStringLiteral("100"));
    }

    void fxRequestBuildsOneStyledCurve() {
        TPlot& plot = AttachPlotWindow();
        Choose(0);
        Edit("edX")->setText("Time");
        Edit("edY")->setText("Height");
        Edit("edTitle")->setText("Parabola");
        QCOMPARE(RequestFx("X ^ 2", "-10", "10", 200), QString());
        QCOMPARE(Edit("edLegend")->text(), QStringLiteral("f(X ^ 2)"));
        QCOMPARE(plot.Graph().LayerCount(), 1);
        TSeries& curve = Curve(plot, 0);
        QCOMPARE(QString::fromStdString(curve.Name()), QStringLiteral("f(X^2)"));
        QCOMPARE(curve.Style(), 3);
        QCOMPARE(curve.Color(), clRed);
        QCOMPARE(curve.MarkerColor(), clRed);
        QCOMPARE(curve.MarkerStyle(), msRect);
        QCOMPARE(curve.MarkerStep(), 10);
        QCOMPARE(curve.Count(), 200);
        const double h = 20.0 / 199.0;
        for (int i = 0; i < curve.Count(); ++i) {
            const std::optional<TMarker> marker = curve.PointMarker(i);
            QVERIFY2(std::abs(curve.X(i) - (-10 + i * h)) < 1e-12, qPrintable(QString::number(i)));
            QVERIFY2(std::abs(curve.Y(i) - curve.X(i) * curve.X(i)) < 1e-12, qPrintable(QString::number(i)));
            QVERIFY2(marker && marker->Color == clRed, qPrintable(QString::number(i)));
        }
        QCOMPARE(QString::fromStdString(plot.XAxis().Name), QStringLiteral("Time"));
        QCOMPARE(QString::fromStdString(plot.YAxis().Name), QStringLiteral("Height"));
        QCOMPARE(QString::fromStdString(plot.Title().Text), QStringLiteral("Parabola"));
        QCOMPARE(plot.Legend().Count(), 1);
        QCOMPARE(QString::fromStdString(plot.Legend().Entry(0).Caption), QStringLiteral("f(X^2)"));
        QVERIFY(m_plotWindow->isVisible());
        QCOMPARE(m_shell->HistoryMoves, 1);
        QCOMPARE(m_shell->ReturnClicks, 0);
        QCOMPARE(m_shell->PlottingStates, (std::vector<bool>{true, false}));
        QCOMPARE(m_shell->Progress, 0);
    }

    void fxRequestThatFailsLeavesNoCurve_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("steps");
        QTest::newRow("division by zero at the middle point") << "1/X"
                                                              << "-1"
                                                              << "1" << 3;
        QTest::newRow("missing parenthesis") << "sin(X"
                                             << "-1"
                                             << "1" << 10;
        QTest::newRow("too large for the curve's numbers") << "exp(X)"
                                                           << "700"
                                                           << "720" << 3;
    }
    void fxRequestThatFailsLeavesNoCurve() {
        QFETCH(QString, line);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, steps);
        TPlot& plot = AttachPlotWindow();
        QCOMPARE(RequestFx("sin(X)", "-1", "1", 20), QString());
        QCOMPARE(RequestFx(line, from, to, steps), QStringLiteral("Cann't calculate this function"));
        QCOMPARE(plot.Graph().LayerCount(), 1);
        QCOMPARE(plot.Legend().Count(), 1);
        QCOMPARE(m_shell->ReturnClicks, 1);
        QCOMPARE(m_shell->HistoryMoves, 1);
        QCOMPARE(m_shell->Progress, 0);
        QCOMPARE(m_shell->PlottingStates, (std::vector<bool>{true, false, true, false}));
    }

    void aUserBreakEndsTheRequestSilently() {
        TPlot& plot = AttachPlotWindow();
        m_host.Probe = [this](int pause) {
            if (pause == 5)
                m_shell->Engine().BreakRequested = true;
        };
        QCOMPARE(RequestFx("sin(X)", "0", "9", 10), QString());
        QCOMPARE(m_host.Pauses, 5);
        QCOMPARE(plot.Graph().LayerCount(), 0);
        QCOMPARE(m_shell->ReturnClicks, 1);
        QCOMPARE(m_shell->HistoryMoves, 0);
        QVERIFY(!m_plotWindow->isVisible());
        // The break came before the fifth point, X = 4, was computed.
        QCOMPARE(double(m_shell->Engine().Variable(1).Value), 4.0);
    }

    void samplingShowsProgressAndHoldsThePlotWindow() {
        AttachPlotWindow();
        std::vector<int> progress;
        bool windowDisabled = true;
        m_host.Probe = [&](int) {
            progress.push_back(m_shell->Progress);
            windowDisabled = windowDisabled && !m_plotWindow->isEnabled();
        };
        QCOMPARE(RequestFx("X", "0", "3", 4), QString());
        // 100 * i / (N + 1) for i = 1 .. 4.
        QCOMPARE(progress, (std::vector<int>{20, 40, 60, 80}));
        QVERIFY(windowDisabled);
        QVERIFY(m_plotWindow->isEnabled());
        QCOMPARE(m_shell->Progress, 0);
        // X is left one step past the maximum.
        QCOMPARE(double(m_shell->Engine().Variable(1).Value), 4.0);
    }

    void otherPlotTypesDoNotTouchThePlotWindow() {
        TPlot& plot = AttachPlotWindow();
        Choose(1);
        QCOMPARE(ClickOk(), QString());
        QCOMPARE(plot.Graph().LayerCount(), 0);
        QCOMPARE(m_shell->AssistantText, QString::fromLatin1(ValidPrompt));
    }

    void complexModeMovesFlatTypesToMaps() {
        Choose(4);
        m_page->SetComplexMode(true);
        QCOMPARE(m_page->PlotType(), 3);
        QCOMPARE(Child<QRadioButton>(m_page.get(), "rbPlot3")->text(), QStringLiteral("Surface Z=|f(X+Yi)|"));
        QVERIFY(!Child<QRadioButton>(m_page.get(), "rbPlot0")->isEnabled());
        QVERIFY(!Child<QRadioButton>(m_page.get(), "rbPlot4")->isEnabled());
        m_page->SetComplexMode(false);
        QCOMPARE(Child<QRadioButton>(m_page.get(), "rbPlot1")->text(), QStringLiteral("Contour Plot f(X,Y)"));
        QVERIFY(Child<QRadioButton>(m_page.get(), "rbPlot0")->isEnabled());
        QCOMPARE(m_page->PlotType(), 3);
    }
};

QTEST_MAIN(TGraphicsPageTest)
#include "GraphicsPageTest.moc"
