#include "gui/GuiTestSupport.h"

#include "app/CalcWindow.h"
#include "app/GraphicsPage.h"
#include "app/core/CalcFiles.h"
#include "plots/PolarWindow.h"
#include "plots/SurfaceWindow.h"
#include "plots/VtChartDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QtDataVisualization/Q3DCamera>
#include <QtDataVisualization/Q3DSurface>

#include <cmath>
#include <memory>
#include <numbers>

using namespace mirla;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

namespace {

constexpr double Tolerance = 1e-12;

/// The settings of a scratch folder whose surface section holds `keys`.
void PrepareFolder(const TScratchFolder& folder, const QString& surfaceKeys = QString()) {
    folder.Write(QStringLiteral("Mirla.CON"), QStringLiteral("c = 299792458\n"));
    folder.Write(QStringLiteral("Mirla.USR"), QString());
    folder.Write(QStringLiteral("Mirla.FNC"), QString());
    if (!surfaceKeys.isNull())
        folder.Write(QStringLiteral("Mirla.INI"), QStringLiteral("[fmSurface]\n") + surfaceKeys);
}

template <typename T> T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("missing control %s", name);
    return child;
}

} // namespace

class ChartWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TScratchFolder> m_folder;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmCalc> m_window;

    void Open() {
        const std::string path = m_folder->Path().toStdString();
        m_window = std::make_unique<TfmCalc>(TCalcFiles::Locate(path, path + "/user"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    QLineEdit* Field(const char* name) { return Child<QLineEdit>(m_window.get(), name); }

    /// Types `line` and fills the "Graphics" page for a request of plot type `type`.
    void Prepare(int type, const QString& line, const QStringList& x, const QStringList& y) {
        m_window->InputLine()->clear();
        QTest::keyClicks(m_window->InputLine(), line);
        QTabWidget* pages = m_window->Pages();
        for (int index = 0; index < pages->count(); ++index)
            if (pages->tabText(index) == QStringLiteral("Graphics"))
                pages->setCurrentIndex(index);
        // Choosing the type again would take the legend from the last line evaluated.
        auto* typeButton =
            Child<QRadioButton>(m_window.get(), qPrintable(QStringLiteral("rbPlot%1").arg(type)));
        if (!typeButton->isChecked())
            typeButton->click();
        Field("edFromX")->setText(x[0]);
        Field("edToX")->setText(x[1]);
        Field("edStepsX")->setText(x[2]);
        if (!y.isEmpty()) {
            Field("edFromY")->setText(y[0]);
            Field("edToY")->setText(y[1]);
            Field("edStepsY")->setText(y[2]);
        }
    }
    /// Runs a request as `Prepare` sets it up and returns the text of the message box it showed
    /// ("" when none).
    QString Request(int type, const QString& line, const QStringList& x, const QStringList& y = {}) {
        Prepare(type, line, x, y);
        return m_watchdog->MessageShownBy([&] { Child<QPushButton>(m_window.get(), "bbOK")->click(); });
    }
    TVtChartData& SurfaceData() { return m_window->Surface()->Chart().Model(); }
    TVtChartData& PolarData() { return m_window->Polar()->Chart().Model(); }

private slots:
    void init() {
        m_folder = std::make_unique<TScratchFolder>();
        PrepareFolder(*m_folder);
        m_watchdog = std::make_unique<TModalWatchdog>();
        Open();
    }
    void cleanup() {
        m_window.reset();
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_folder.reset();
    }

    void surfaceRequestFillsTheGridAndShowsTheWindow() {
        QVERIFY(!Child<QAction>(m_window.get(), "miPlot3D")->isEnabled());
        Field("edX")->setText("East");
        QCOMPARE(Request(3, "X * 10 + Y", {"-1", "1", "3"}, {"0", "3", "4"}), QString());
        const TVtChartData& data = SurfaceData();
        QVERIFY(m_window->Surface()->isVisible());
        QVERIFY(Child<QAction>(m_window.get(), "miPlot3D")->isEnabled());
        QCOMPARE(data.RowCount(), 3);
        QCOMPARE(data.ColumnCount(), 4);
        QCOMPARE(QString::fromStdString(data.RowLabelAt(1)), QStringLiteral("-1.0E+0"));
        QCOMPARE(QString::fromStdString(data.ColumnLabelAt(4)), QStringLiteral("3.0E+0"));
        for (int row = 1; row <= 3; ++row)
            for (int column = 1; column <= 4; ++column)
                QVERIFY(std::abs(*data.Cell(row, column) - ((row - 2.0) * 10 + column - 1.0)) < Tolerance);
        QCOMPARE(QString::fromStdString(data.TitleText), QStringLiteral("f(X * 10 + Y)"));
        QCOMPARE(QString::fromStdString(data.Axes[0].Title), QStringLiteral("East"));
        QCOMPARE(QString::fromStdString(data.Axes[1].Title), QStringLiteral("Z"));
        QCOMPARE(QString::fromStdString(data.Axes[2].Title), QStringLiteral("Z"));
        QCOMPARE(QString::fromStdString(data.Axes[3].Title), QStringLiteral("Y"));
        QCOMPARE(m_window->ProgressGauge()->value(), 0);
        QVERIFY(m_window->Pages()->isEnabled());
    }

    void complexSurfacesShowTheModulus() {
        m_window->SetComplexMode(true);
        QCOMPARE(Request(3, "comp(X,Y)", {"0", "3", "2"}, {"0", "4", "2"}), QString());
        QVERIFY(std::abs(*SurfaceData().Cell(2, 2) - 5.0) < Tolerance);
        QCOMPARE(QString::fromStdString(SurfaceData().TitleText), QStringLiteral("|f(comp(X,Y))|"));
    }

    void polarRequestsAddColumnPairsInDegrees() {
        QCOMPARE(Request(4, "1 + cos(X)", {"0", "360", "361"}), QString());
        QVERIFY(m_window->Polar()->isVisible());
        TVtChartData& data = PolarData();
        QCOMPARE(data.RowCount(), 361);
        QCOMPARE(data.ColumnCount(), 2);
        QCOMPARE(QString::fromStdString(data.ColumnLabelAt(1)), QStringLiteral("f(1 + cos(X))"));
        for (int k : {1, 91, 181, 361}) {
            const double degrees = k - 1.0;
            QVERIFY(std::abs(*data.Cell(k, 1) - degrees) < Tolerance);
            QVERIFY(std::abs(*data.Cell(k, 2) - (1 + std::cos(degrees * std::numbers::pi / 180))) <
                    Tolerance);
        }
        // A shorter second curve keeps the rows of the first.
        QCOMPARE(Request(4, "2 * sin(3 * X)", {"0", "180", "19"}), QString());
        QCOMPARE(data.ColumnCount(), 4);
        QCOMPARE(data.RowCount(), 361);
        QCOMPARE(QString::fromStdString(data.ColumnLabelAt(3)), QStringLiteral("f(2 * sin(3 * X))"));
        QVERIFY(data.Cell(361, 2).has_value());
        QVERIFY(!data.Cell(20, 4).has_value());
        QVERIFY(std::abs(*data.Cell(2, 4) - 2 * std::sin(3 * 10 * std::numbers::pi / 180)) < Tolerance);
    }

    void anErrorMidwayStopsTheRequestAndKeepsTheCharts() {
        QCOMPARE(Request(3, "X + Y", {"0", "1", "2"}, {"0", "1", "2"}), QString());
        QCOMPARE(Request(4, "X", {"0", "90", "2"}), QString());
        const std::string surface = SurfaceData().TabText();
        const std::string polar = PolarData().TabText();
        QCOMPARE(Request(3, "1/X", {"-1", "1", "3"}, {"0", "1", "2"}),
                 QStringLiteral("Cann't calculate this function"));
        QCOMPARE(Request(4, "1/X", {"-90", "90", "3"}), QStringLiteral("Cann't calculate this function"));
        QVERIFY(m_window->ResultBox()->text().contains(QStringLiteral("position")));
        QCOMPARE(SurfaceData().TabText(), surface);
        QCOMPARE(PolarData().TabText(), polar);
        QVERIFY(!m_window->Surface()->isVisible());
        QCOMPARE(m_window->ProgressGauge()->value(), 0);
        QVERIFY(m_window->Pages()->isEnabled());
    }

    void stopBreaksOffTheRequestSilently_data() {
        QTest::addColumn<int>("type");
        QTest::newRow("surface") << 3;
        QTest::newRow("polar") << 4;
    }
    void stopBreaksOffTheRequestSilently() {
        QFETCH(int, type);
        QString question;
        m_watchdog->Expect([&question](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            question = box ? box->text() : QString();
            if (box)
                box->button(QMessageBox::Yes)->click();
        });
        Prepare(type, "X*2", {"0", "1", "50"}, {"0", "1", "50"});
        // Stop is pressed as soon as the sampling lets the first window messages through.
        QTimer::singleShot(0, m_window->StopButton(), &QToolButton::click);
        Child<QPushButton>(m_window.get(), "bbOK")->click();
        QCOMPARE(question, QStringLiteral("Do you realy wont break calculation?"));
        QCOMPARE(SurfaceData().RowCount(), 0);
        QCOMPARE(PolarData().ColumnCount(), 0);
        QVERIFY(!m_window->Surface()->isVisible() && !m_window->Polar()->isVisible());
        QCOMPARE(m_window->ProgressGauge()->value(), 0);
    }

    void surfaceAppearanceRoundTripsThroughTheSettings_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("color");
        QTest::addColumn<int>("wallWidth");
        QTest::newRow("no settings file") << QString() << 16776960 << 10;
        QTest::newRow("no keys") << QString("") << 16776960 << 10;
        QTest::newRow("keys") << QString("ElevationColor=255\nWallWidth=4\n") << 255 << 4;
        QTest::newRow("unreadable keys") << QString("ElevationColor=blue\nWallWidth=-3\n") << 16776960 << 10;
    }
    void surfaceAppearanceRoundTripsThroughTheSettings() {
        QFETCH(QString, keys);
        QFETCH(int, color);
        QFETCH(int, wallWidth);
        m_window.reset();
        m_folder = std::make_unique<TScratchFolder>();
        PrepareFolder(*m_folder, keys);
        Open();
        QCOMPARE(ColorOfRgb(SurfaceData().ElevationColor), color);
        QCOMPARE(SurfaceData().WallWidth, float(wallWidth));
        SurfaceData().ElevationColor = {1, 2, 3};
        SurfaceData().WallWidth = 6.6f;
        m_window->Surface()->show();
        m_window->Surface()->close();
        const QString ini = m_folder->Read(QStringLiteral("Mirla.INI"));
        QVERIFY2(ini.contains(QStringLiteral("ElevationColor=197121")), qPrintable(ini));
        QVERIFY2(ini.contains(QStringLiteral("WallWidth=7")), qPrintable(ini));
    }

    void rotationCommandsTurnTheSurface() {
        TfmSurface& window = *m_window->Surface();
        window.show();
        SurfaceData().Elevation = 90;
        Child<QAction>(&window, "acRotateDown")->trigger();
        Child<QAction>(&window, "acRotateLeft")->trigger();
        QCOMPARE(SurfaceData().Elevation, 0.0f);
        QCOMPARE(SurfaceData().Rotation, 35.0f);
        QCOMPARE(SurfaceData().DrawMode, 1);
        Q3DCamera* camera = window.Chart().SurfaceGraph()->scene()->activeCamera();
        QCOMPARE(camera->xRotation(), 35.0f);
        // A turn by the mouse moves the camera; the next toolbar turn goes on from there.
        camera->setXRotation(50);
        camera->setYRotation(20);
        Child<QAction>(&window, "acRotateLeft")->trigger();
        QCOMPARE(SurfaceData().Rotation, 55.0f);
        QCOMPARE(SurfaceData().Elevation, 20.0f);
        QCOMPARE(camera->xRotation(), 55.0f);
    }

    void clipboardCarriesTheDataGrid() {
        QCOMPARE(Request(3, "X - Y", {"0", "1", "2"}, {"0", "2", "3"}), QString());
        TVtChart& chart = m_window->Surface()->Chart();
        chart.CopyToClipboard();
        QCOMPARE(QApplication::clipboard()->text().toStdString(), chart.Model().TabText());
        QVERIFY(!QApplication::clipboard()->image().isNull());
        QApplication::clipboard()->setText("\tA\tB\n1\t5\t6\n");
        QVERIFY(chart.PasteFromClipboard());
        QCOMPARE(chart.Model().ColumnCount(), 2);
        QCOMPARE(chart.Model().Cell(1, 2), 6.0);
    }

    void picturesAreSavedThroughTheirDialogs_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("bitmap") << "miSaveBmp"
                                << "Save to file as BMP"
                                << "polar" << QByteArray("BM");
        QTest::newRow("metafile") << "miSaveWmf"
                                  << "Save to file as WMF"
                                  << "polar.WMF" << QByteArray("\xD7\xCD\xC6\x9A", 4);
    }
    void picturesAreSavedThroughTheirDialogs() {
        QFETCH(QString, command);
        QFETCH(QString, title);
        QFETCH(QString, file);
        QFETCH(QByteArray, header);
        QCOMPARE(Request(4, "1 + cos(X)", {"0", "360", "37"}), QString());
        TfmPolar& polar = *m_window->Polar();
        QString seenTitle;
        m_watchdog->Expect([&](QWidget* dialog) {
            seenTitle = dialog->windowTitle();
            auto* name = Child<QLineEdit>(dialog, "fileNameEdit");
            name->setText(m_folder->Path() + "/" + file);
            QTest::keyClick(name, Qt::Key_Return);
        });
        Child<QAction>(&polar, qPrintable(command))->trigger();
        QCOMPARE(seenTitle, title);
        const QString path = m_folder->Path() + "/polar." + title.right(3);
        QFile saved(path);
        QVERIFY2(saved.open(QIODevice::ReadOnly), qPrintable(path));
        QVERIFY(saved.read(header.size()) == header);
        QVERIFY(saved.size() > 1000);
    }

    void propertyPagesAndWizardSetTheModel() {
        TVtChartData model;
        TChartPropertiesDialog properties(model, true, nullptr);
        Child<QCheckBox>(&properties, "cbGrid3")->setChecked(false);
        Child<QCheckBox>(&properties, "cbLegend")->setChecked(false);
        Child<QLineEdit>(&properties, "edAxisTitle3")->setText("Depth");
        properties.accept();
        QCOMPARE(model.Axes[3].Grid, TGridStyle::None);
        QCOMPARE(model.Axes[0].Grid, TGridStyle::Solid);
        QVERIFY(!model.ShowLegend);
        QCOMPARE(QString::fromStdString(model.Axes[3].Title), QStringLiteral("Depth"));

        TChartWizard wizard(model, false, nullptr);
        QVERIFY(!wizard.findChild<QLineEdit*>("edAxisTitle3"));
        Child<QRadioButton>(&wizard, "rbStyle1")->setChecked(true);
        Child<QLineEdit>(&wizard, "edChartTitle")->setText("Rose");
        wizard.accept();
        QCOMPARE(model.ChartStyle, 1);
        QCOMPARE(QString::fromStdString(model.TitleText), QStringLiteral("Rose"));
    }

    void dataEditorRefusesTextAndAppliesNumbers() {
        TVtChartData model;
        model.SetRowCount(1);
        model.SetColumnCount(2);
        model.SetCell(1, 2, 7);
        TChartDataEditor editor(model, nullptr);
        editor.Table()->item(1, 2)->setText("two");
        QString refusal;
        m_watchdog->Expect([&refusal](QWidget* box) {
            refusal = qobject_cast<QMessageBox*>(box)->text();
            box->close();
        });
        editor.accept();
        QCOMPARE(refusal, QStringLiteral("Row 1, column 2 holds no number: \"two\""));
        QCOMPARE(model.Cell(1, 2), 7.0);
        editor.Table()->item(1, 2)->setText("2.5");
        editor.Table()->item(0, 1)->setText("Angle");
        editor.accept();
        QCOMPARE(model.Cell(1, 2), 2.5);
        QCOMPARE(QString::fromStdString(model.ColumnLabelAt(1)), QStringLiteral("Angle"));
    }
};

QTEST_MAIN(ChartWindowsTest)
#include "ChartWindowsTest.moc"
