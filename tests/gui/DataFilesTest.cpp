#include "gui/GuiTestSupport.h"

#include "plotlib/GraphExport.h"
#include "plotlib/GraphImport.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"
#include "plots/Plot2DWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace mirla;
using mirla::test::Child;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

namespace {

TSeries& SeriesAt(TPlot& plot, int index) {
    return dynamic_cast<TSeries&>(*plot.Graph().Layer(index));
}

} // namespace

class DataFilesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TScratchFolder> m_folder;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmPlot2D> m_window;

    TPlot& Chart() { return m_window->Chart(); }

    /// Expects a message box and returns a pointer to the text it showed, filled when it closes.
    std::shared_ptr<QString> ExpectMessage() {
        auto seen = std::make_shared<QString>();
        m_watchdog->Expect([seen](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            *seen = box ? box->text() : QStringLiteral("<no message box>");
            dialog->close();
        });
        return seen;
    }

    /// Expects a dialog named `name` and lets `handle` work on it before it is accepted.
    void ExpectDialog(const QString& name, std::function<void(QDialog&)> handle) {
        m_watchdog->Expect([name, handle](QWidget* widget) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            QVERIFY2(dialog && dialog->objectName() == name, qPrintable(widget->objectName()));
            handle(*dialog);
            dialog->accept();
        });
    }

    void Import(const QString& clipboard, TSeries* target = nullptr) {
        QApplication::clipboard()->setText(clipboard);
        TfmGraphImport dialog(Chart().Graph(), target, Chart().ImportDelimiters);
        dialog.btPasteClick();
        dialog.accept();
    }

private slots:
    void init() {
        m_folder = std::make_unique<TScratchFolder>();
        m_watchdog = std::make_unique<TModalWatchdog>();
        m_window = std::make_unique<TfmPlot2D>(std::string());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() {
        m_window.reset();
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_folder.reset();
    }

    void pastedRowsBecomeANewSeriesUpToTheFirstBadRow() {
        Import(QStringLiteral("1 2\r\n3,4\n\nx 5\n6 7"));
        QCOMPARE(Chart().Graph().LayerCount(), 1);
        TSeries& series = SeriesAt(Chart(), 0);
        QCOMPARE(series.Count(), 2);
        QCOMPARE(series.Y(1), 4.0);
        QCOMPARE(series.PointColor(0), clGreen);
        QCOMPARE(series.Name(), std::string("Series 1"));
        QCOMPARE(Chart().Legend().IndexOfSeries(&series), 0);
    }

    void aGridWithoutNumbersMakesNoSeriesAndSaysSo() {
        const auto seen = ExpectMessage();
        Import(QStringLiteral("# time volt\n1 2\n"));
        QVERIFY2(seen->startsWith(QStringLiteral("No series made")), qPrintable(*seen));
        QCOMPARE(Chart().Graph().LayerCount(), 0);
    }

    void pastingIntoASeriesReplacesItsPoints() {
        Import(QStringLiteral("1 2\n3 4\n5 6"));
        TSeries& series = SeriesAt(Chart(), 0);
        Import(QStringLiteral("7\t8"), &series);
        QCOMPARE(Chart().Graph().LayerCount(), 1);
        QCOMPARE(series.Count(), 1);
        QCOMPARE(series.X(0), 7.0);
        QCOMPARE(Chart().Legend().Count(), 1);
        // Nothing readable leaves the series as it was.
        ExpectMessage();
        Import(QStringLiteral("none"), &series);
        QCOMPARE(series.Count(), 1);
    }

    void pasteByFieldNameUsesTheLinks() {
        QApplication::clipboard()->setText(QStringLiteral("time,volt,amp\n1,2,3\n4,5,6\n"));
        TfmGraphImport dialog(Chart().Graph(), nullptr, Chart().ImportDelimiters);
        ExpectDialog(QStringLiteral("fmFields"), [](QDialog& fields) {
            auto* required = Child<QListWidget>(&fields, "lbRequired");
            auto* input = Child<QListWidget>(&fields, "lbInput");
            QCOMPARE(input->count(), 3);
            required->setCurrentRow(0);
            input->setCurrentRow(2);
            static_cast<TfmFields&>(fields).btLinkClick();
            required->setCurrentRow(1);
            input->setCurrentRow(0);
            static_cast<TfmFields&>(fields).btLinkClick();
        });
        dialog.btPasteByNameClick();
        QCOMPARE(dialog.Grid().X, (std::vector<std::string>{"3", "6"}));
        QCOMPARE(dialog.Grid().Y, (std::vector<std::string>{"1", "4"}));

        QApplication::clipboard()->clear();
        const auto seen = ExpectMessage();
        dialog.btPasteByNameClick();
        QCOMPARE(*seen, QStringLiteral("Clipboard not contents text information"));
    }

    void aFileIsReadWithTheColumnsAndDelimitersChosen() {
        const QString path = m_folder->Write(QStringLiteral("data.txt"),
                                             QStringLiteral("\uFEFFa;b;c\r\n1;10;100\r\n2;20;200\r\n"));
        TfmGraphImport dialog(Chart().Graph(), nullptr, Chart().ImportDelimiters);
        ExpectDialog(QStringLiteral("fmFileData"), [](QDialog& data) {
            Child<QLineEdit>(&data, "edXColumn")->setText(QStringLiteral("3"));
            Child<QLineEdit>(&data, "edYColumn")->setText(QStringLiteral("1"));
            Child<QCheckBox>(&data, "cbUser")->setChecked(true);
            Child<QLineEdit>(&data, "edUser")->setText(QStringLiteral(";"));
        });
        dialog.LoadFile(path);
        QCOMPARE(dialog.Grid().X, (std::vector<std::string>{"c", "100", "200"}));
        QCOMPARE(dialog.Grid().Y, (std::vector<std::string>{"a", "1", "2"}));
        // The choice is kept for the next file.
        QCOMPARE(Chart().ImportDelimiters, *TDelimiterSet::FromChoices(true, true, true, false, ";"));
    }

    void showDataRefusesWrongChoices() {
        struct TCase {
            const char* Field;
            QString Text;
            QString Message;
        };
        const TCase cases[] = {{"edXColumn", "a", "Column for X undefined"},
                               {"edYColumn", "1.5", "Column for Y undefined"},
                               {"edUser", "1234567", "The number of User Define charakters must be <=6."}};
        for (const TCase& c : cases) {
            TfmFileData data({"1 2"}, TDelimiterSet());
            data.show();
            Child<QCheckBox>(&data, "cbUser")->setChecked(true);
            Child<QLineEdit>(&data, c.Field)->setText(c.Text);
            const auto seen = ExpectMessage();
            data.accept();
            QTRY_COMPARE(*seen, c.Message);
            QVERIFY(data.isVisible());
        }
    }

    void filesThatAreNoTextAreRefused() {
        const QString binary = m_folder->Path() + "/binary.dat";
        QFile file(binary);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("1 2\n\0\x01\x02", 7));
        file.close();
        for (const QString& path : {binary, m_folder->Write(QStringLiteral("empty.txt"), QString())}) {
            TfmGraphImport dialog(Chart().Graph(), nullptr, Chart().ImportDelimiters);
            const auto seen = ExpectMessage();
            dialog.LoadFile(path);
            QVERIFY2(seen->startsWith(QStringLiteral("Can't read file ")), qPrintable(*seen));
        }
    }

    void theExportPreviewFollowsTheOptions() {
        Import(QStringLiteral("1 2\n3 4"));
        Chart().XAxis().Name = "t";
        Chart().YAxis().Name = "v";
        TfmExports dialog(Chart().Graph());
        QCOMPARE(dialog.Lines(), (std::vector<std::string>{"1\t2", "3\t4"}));
        Child<QCheckBox>(&dialog, "cbName")->setChecked(true);
        Child<QCheckBox>(&dialog, "cbXAxis")->setChecked(true);
        Child<QCheckBox>(&dialog, "cbYAxis")->setChecked(true);
        auto* xColumn = Child<QLineEdit>(&dialog, "edXColumn");
        auto* yColumn = Child<QLineEdit>(&dialog, "edYColumn");
        xColumn->setText(QStringLiteral("2"));
        yColumn->setText(QStringLiteral("1"));
        dialog.RebuildPreview();
        QCOMPARE(dialog.Lines(), (std::vector<std::string>{"Series 1", "v\tt", "2\t1", "4\t3"}));

        dialog.btClipboardClick();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Series 1\nv\tt\n2\t1\n4\t3\n"));
        QVERIFY(dialog.WriteTo(m_folder->Path() + "/out.txt"));
        QCOMPARE(m_folder->Read(QStringLiteral("out.txt")), QStringLiteral("Series 1\nv\tt\n2\t1\n4\t3\n"));
        const auto cannot = ExpectMessage();
        QVERIFY(!dialog.WriteTo(m_folder->Path() + "/missing/out.txt"));
        QVERIFY2(cannot->startsWith(QStringLiteral("Can not create file ")), qPrintable(*cannot));

        const auto refused = ExpectMessage();
        xColumn->setText(QStringLiteral("2"));
        yColumn->setText(QStringLiteral("2"));
        dialog.RebuildPreview();
        QCOMPARE(*refused,
                 QStringLiteral("X Column, Y Column must be in range[1..2] and X Colunm not equal Y Column"));
        QCOMPARE(dialog.Lines(), (std::vector<std::string>{"Series 1"}));
    }

    void theUserDelimiterIsTheFirstCharacterTyped() {
        Import(QStringLiteral("1 2"));
        TfmExports dialog(Chart().Graph());
        auto* user = Child<QLineEdit>(&dialog, "edUserDelimiters");
        QCOMPARE(user->text(), QStringLiteral("(none)"));
        QRadioButton* userChoice = nullptr;
        for (QRadioButton* choice : dialog.findChildren<QRadioButton*>())
            if (choice->text() == QStringLiteral("User define"))
                userChoice = choice;
        QVERIFY(userChoice);
        userChoice->click();
        QVERIFY(user->isEnabled() && user->text().isEmpty());
        user->setText(QStringLiteral(";:"));
        emit user->editingFinished();
        QCOMPARE(dialog.Lines(), (std::vector<std::string>{"1;2"}));
        userChoice->click();
        user->clear();
        emit user->editingFinished();
        QCOMPARE(dialog.Lines(), (std::vector<std::string>{"1\t2"}));
    }

    void theWindowCommandsOpenTheirDialogs() {
        struct TCase {
            const char* Command;
            const char* Dialog;
        };
        for (const TCase& c : {TCase{"acImportData", "fmGraphImport"}, TCase{"miImport", "fmGraphImport"},
                               TCase{"acExportData", "fmExports"}, TCase{"miExport", "fmExports"}}) {
            QString opened;
            m_watchdog->Expect([&opened](QWidget* dialog) {
                opened = dialog->objectName();
                static_cast<QDialog*>(dialog)->reject();
            });
            Child<QAction>(m_window.get(), c.Command)->trigger();
            QCOMPARE(opened, QString::fromLatin1(c.Dialog));
        }
    }

    void layerFilesRoundTripAndAFaultChangesNothing() {
        Import(QStringLiteral("1 2\n3 4"));
        const QString path = m_folder->Path() + "/layers.txt";
        QVERIFY(Chart().SaveLayersTo(path));
        QVERIFY(Chart().LoadLayersFrom(path, false));
        QCOMPARE(Chart().Graph().LayerCount(), 2);
        QVERIFY(Chart().LoadLayersFrom(path, true));
        QCOMPARE(Chart().Graph().LayerCount(), 1);

        QString text = m_folder->Read(QStringLiteral("layers.txt"));
        text.replace(QStringLiteral("\n3 4 "), QStringLiteral("\n3 four "));
        const QString broken = m_folder->Write(QStringLiteral("broken.txt"), text);
        const auto seen = ExpectMessage();
        QVERIFY(!Chart().LoadLayersFrom(broken, true));
        QVERIFY2(seen->contains(broken) && seen->contains(QStringLiteral("line 7:")), qPrintable(*seen));
        QCOMPARE(Chart().Graph().LayerCount(), 1);
        QCOMPARE(SeriesAt(Chart(), 0).Count(), 2);
    }

    void theDrawingIsSavedAsDxf() {
        Import(QStringLiteral("1 2\n3 4"));
        const QString path = m_folder->Path() + "/plot.dxf";
        QVERIFY(Chart().SaveDxfTo(path));
        const QString text = m_folder->Read(QStringLiteral("plot.dxf"));
        QVERIFY(text.startsWith(QStringLiteral("0\nSECTION\n")));
        QVERIFY(text.contains(QStringLiteral("\n8\nSERIES_1\n")));
        QVERIFY(text.endsWith(QStringLiteral("0\nEOF\n")));
        QVERIFY(Child<QAction>(m_window.get(), "miSaveAsDxf"));
    }
};

QTEST_MAIN(DataFilesTest)
#include "DataFilesTest.moc"
