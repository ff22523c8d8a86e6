#include "gui/GuiTestSupport.h"

#include "plotlib/Contour.h"
#include "plotlib/Plot.h"
#include "plotlib/PrintDialog.h"
#include "plots/ContourPlotWindow.h"
#include "plots/Plot2DWindow.h"
#include "runtime/IniFile.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

using namespace mirla;
using mirla::test::Child;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

namespace {

/// Answers the next question box with `answer`, keeping its text.
void Answer(TModalWatchdog& watchdog, QMessageBox::StandardButton answer, QString& text) {
    watchdog.Expect([answer, &text](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        text = box ? box->text() : QStringLiteral("<not a message box>");
        if (box)
            box->button(answer)->click();
        else
            dialog->close();
    });
}

} // namespace

class PrintDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TScratchFolder> m_folder;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    TPageSetup m_setup;

    std::string IniPath() const { return (m_folder->Path() + QStringLiteral("/Mirla.INI")).toStdString(); }
    TIniFile Ini() const {
        TIniFile ini;
        std::string message;
        if (!ini.Load(IniPath(), message))
            qFatal("%s", message.c_str());
        return ini;
    }
    std::unique_ptr<TPrintDlg> Dialog() {
        return std::make_unique<TPrintDlg>(m_setup, std::vector<TGraph*>{}, IniPath(), TPrintTexts{});
    }

private slots:
    void init() {
        m_folder = std::make_unique<TScratchFolder>();
        m_watchdog = std::make_unique<TModalWatchdog>();
        m_setup = TPageSetup();
    }
    void cleanup() {
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_folder.reset();
    }

    void marginFieldsFollowTheUnits() {
        m_folder->Write(QStringLiteral("Mirla.INI"), QStringLiteral("[Print]\nUnits=25.4\nLeft=25\n"));
        auto dialog = Dialog();
        auto* left = Child<QSpinBox>(dialog.get(), QStringLiteral("edLeft"));
        auto* units = Child<QButtonGroup>(dialog.get(), QStringLiteral("rgUnits"));
        QCOMPARE(left->value(), 25);
        units->button(1)->click();
        QCOMPARE(left->value(), 10);
        left->setValue(12);
        QCOMPARE(m_setup.Margins.Left, 30);
        units->button(0)->click();
        QCOMPARE(left->value(), 30);
    }

    void saveStoresMarginsAndBlocks() {
        auto dialog = Dialog();
        Child<QSpinBox>(dialog.get(), QStringLiteral("edTop"))->setValue(14);
        Child<QPlainTextEdit>(dialog.get(), QStringLiteral("mmDescription"))->setPlainText("Run 7\nDamped");
        Child<QPushButton>(dialog.get(), QStringLiteral("btSave"))->click();
        const TIniFile ini = Ini();
        QCOMPARE(ini.ReadInteger("Print", "Top", 0), 14);
        QCOMPARE(ini.ReadString("Print", "Units", ""), std::string("25.4"));
        QCOMPARE(ini.ReadInteger("Comment Logo", "LogoLines", 0), 2);
        QCOMPARE(ini.ReadString("Comment Logo", "LogoLine1", ""), std::string("Damped"));
    }

    void anEditedBlockAsksToBeSavedOnLeaving() {
        auto dialog = Dialog();
        auto* lines = Child<QPlainTextEdit>(dialog.get(), QStringLiteral("mmLines"));
        auto* blocks = Child<QComboBox>(dialog.get(), QStringLiteral("cbLogo"));
        lines->setPlainText(QStringLiteral("ACME Labs"));
        QString question;
        Answer(*m_watchdog, QMessageBox::Yes, question);
        blocks->setCurrentIndex(1);
        QCOMPARE(question, QStringLiteral("New Logo not saved!\nSave?"));
        QCOMPARE(Ini().ReadString("Owner LOGO", "LogoLine0", ""), std::string("ACME Labs"));

        lines->setPlainText(QStringLiteral("Bridge"));
        question.clear();
        Answer(*m_watchdog, QMessageBox::No, question);
        dialog->reject();
        QVERIFY(!question.isEmpty());
        QCOMPARE(Ini().ReadInteger("Project LOGO", "LogoLines", -1), -1);
        QCOMPARE(m_setup.Blocks[2].Lines, std::vector<std::string>{"Bridge"});
    }

    void thePreviewShowsThePage() {
        m_setup.Landscape = true;
        auto dialog = Dialog();
        int pages = 0;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        m_watchdog->Expect([&](QWidget* preview) {
            QCOMPARE(preview->windowTitle(), QStringLiteral("Print Preview"));
            const QPrintPreviewWidget* widget = static_cast<TPreView*>(preview)->Preview();
            pages = widget->pageCount();
            orientation = widget->orientation();
            preview->close();
        });
        Child<QPushButton>(dialog.get(), QStringLiteral("btPreview"))->click();
        QCOMPARE(pages, 1);
        QCOMPARE(orientation, QPageLayout::Landscape);
    }

    void severalGraphsChooseHowTheyShareThePage() {
        QVERIFY(!Dialog()->findChild<QComboBox*>(QStringLiteral("cbArrangement")));
        TGraph first;
        TGraph second;
        TPrintDlg dialog(m_setup, {&first, &second}, IniPath(), TPrintTexts{});
        Child<QComboBox>(&dialog, QStringLiteral("cbArrangement"))->setCurrentIndex(2);
        QCOMPARE(m_setup.Arrangement, TGraphArrangement::SideBySide);
    }

    void thePlotWindowPrintsItsTitleBlockToPdf_data() {
        QTest::addColumn<bool>("contour");
        QTest::newRow("2-D window") << false;
        QTest::newRow("contour window") << true;
    }
    void thePlotWindowPrintsItsTitleBlockToPdf() {
        QFETCH(bool, contour);
        std::unique_ptr<TfmPlot2D> window;
        if (contour) {
            auto maps = std::make_unique<TfmContourPlot>(IniPath());
            maps->ShowMap(std::make_unique<TContour>(maps->Chart().Graph(), false, 5,
                                                     TContourGrid({0, 1}, {0, 1}, {0, 1, 2, 3})));
            window = std::move(maps);
        } else {
            window = std::make_unique<TfmPlot2D>(IniPath());
        }
        const QString pdf = m_folder->Path() + QStringLiteral("/plot.pdf");
        bool printed = false;
        m_watchdog->Expect([&](QWidget* dialog) {
            auto* print = qobject_cast<TPrintDlg*>(dialog);
            if (print) {
                Child<QCheckBox>(print, QStringLiteral("cbProgramTitle"))->setChecked(true);
                printed = print->PrintToPdf(pdf);
            }
            dialog->close();
        });
        window->findChild<QAction*>(QStringLiteral("acPrint"))->trigger();
        QVERIFY(printed);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        QVERIFY(
            QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("Mirla " MIRLA_VERSION)));
    }
};

QTEST_MAIN(PrintDialogTest)
#include "PrintDialogTest.moc"
