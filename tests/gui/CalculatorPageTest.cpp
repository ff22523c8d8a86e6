#include "app/CalculatorPage.h"
#include "app/ComplexNotice.h"
#include "app/TapePage.h"
#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "gui/GuiTestSupport.h"
#include "numbers/ComplexEvaluator.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace mirla::test {

class CalculatorPageTest : public QObject {
    Q_OBJECT

private:
    TFakeCalculatorShell* m_shell = nullptr;
    TCalculatorPage* m_page = nullptr;
    TModalWatchdog* m_watchdog = nullptr;

    QToolButton* Function(int code) {
        return m_page->findChild<QToolButton*>(QStringLiteral("fn%1").arg(code));
    }
    QToolButton* ButtonCaptioned(const QString& caption) {
        // Button texts double "&" so that it shows instead of marking a mnemonic.
        for (QToolButton* button : m_page->findChildren<QToolButton*>())
            if (button->text() == QString(caption).replace("&", "&&"))
                return button;
        return nullptr;
    }
    QButtonGroup* Group(const char* name) { return m_page->findChild<QButtonGroup*>(name); }
    QSpinBox* Digits() { return m_page->findChild<QSpinBox*>("udDigits"); }
    void ClickItem(const char* group, int index) { Group(group)->button(index)->click(); }
    bool ItemShown(const char* group, int index) { return !Group(group)->button(index)->isHidden(); }
    void SwitchToComplexWithoutNotice() {
        m_shell->Settings().ShowComp = false;
        ClickItem("rgReal", 1);
    }

private slots:
    void init() {
        m_watchdog = new TModalWatchdog;
        m_shell = new TFakeCalculatorShell;
        m_page = new TCalculatorPage(*m_shell, nullptr);
        m_page->Load();
    }
    void cleanup() {
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        delete m_page;
        delete m_shell;
        delete m_watchdog;
    }

    void functionButtonsInsertTheirNameWithTheCaretInTheParentheses() {
        struct Case {
            int code;
            QString text;
            int caret;
        };
        const QList<Case> cases = {{22, "solve(,,)", 6}, {11, "random", 6}, {1, "sin()", 4},
                                   {18, "Jn(,)", 3},     {87, "10^()", 4},  {27, "integral(,,)", 9}};
        for (const Case& c : cases) {
            m_shell->InputLine()->clear();
            QVERIFY2(Function(c.code), qPrintable(c.text));
            Function(c.code)->click();
            QCOMPARE(m_shell->InputLineText(), c.text);
            QCOMPARE(m_shell->InputLine()->cursorPosition(), c.caret);
            QCOMPARE(m_shell->helpCodes.last(), c.code);
        }
    }

    void buttonsHaveTheirCaptionsAndHints() {
        QCOMPARE(Function(22)->text(), QString("solv"));
        QCOMPARE(Function(11)->text(), QString("rand"));
        QCOMPARE(Function(87)->text(), QString("10\u00AA"));
        QCOMPARE(Function(17)->toolTip(), QString("Logarithm (..)"));
        QVERIFY(ButtonCaptioned("?"));
        QCOMPARE(ButtonCaptioned("?")->toolTip(), QString("Last Result"));
        QCOMPARE(ButtonCaptioned("\\")->toolTip(), QString("xor"));
        QCOMPARE(ButtonCaptioned("&")->toolTip(), QString("and"));
        QCOMPARE(ButtonCaptioned("|")->toolTip(), QString("or"));
        QVERIFY(ButtonCaptioned("Matrix")->isEnabled());
        QVERIFY(ButtonCaptioned("Units")->isEnabled());
    }

    void keypadInsertsItsCharacters() {
        for (const QString caption : {"7", "+", "\u00B2", "?"})
            ButtonCaptioned(caption)->click();
        ButtonCaptioned("Loop")->click();
        QCOMPARE(m_shell->InputLineText(), QString("7+\u00B2?for J to K step M do(?)"));
    }

    void clickFunctionActsLikeItsButtonButNotWhenDisabled() {
        m_page->ClickFunction(2);
        QCOMPARE(m_shell->InputLineText(), QString("arcsin()"));
        SwitchToComplexWithoutNotice();
        m_shell->InputLine()->clear();
        m_page->ClickFunction(18); // "Jn" exists only in real mode
        QCOMPARE(m_shell->InputLineText(), QString());
        m_page->ClickFunction(17);
        QCOMPARE(m_shell->InputLineText(), QString("comp(,)"));
    }

    void variableButtonsInsertTheLetterWhenEvaluateIsOff() {
        m_page->ClickVariable(1);
        m_page->ClickVariable(10);
        m_page->findChild<QToolButton*>("sbVarW")->click();
        QCOMPARE(m_shell->InputLineText(), QString("XNW"));
    }

    void baseTwoCounterStepsThroughTheBitGroups() {
        ClickItem("rgBase", 2);
        QCOMPARE(m_shell->Engine().Base, int(BaseBinary));
        QCOMPARE(m_page->findChild<QLabel*>("lbDigits")->text(), QString("Bits"));
        QCOMPARE(Digits()->value(), 32);
        const QList<QPair<int, int>> steps = {{-1, 16}, {-1, 8}, {-1, 7}, {-1, 7},
                                              {1, 8},   {1, 16}, {1, 32}, {1, 32}};
        for (const auto& [direction, expected] : steps) {
            Digits()->stepBy(direction);
            QCOMPARE(Digits()->value(), expected);
            QCOMPARE(m_shell->Engine().BitGroup, expected);
        }
        QCOMPARE(m_shell->returnClicks, 1);
        QVERIFY(m_shell->tape.first().endsWith("; Base=2"));
    }

    void baseChangeAddsATapeLineAndKeepsTheWidth() {
        m_shell->Engine().PrevValue = 255;
        m_shell->InputLine()->setText("255");
        ClickItem("rgBase", 1);
        QCOMPARE(m_shell->tape.first(), "255 = " + m_shell->result + "; Base=16");
        QVERIFY2(m_shell->result.contains("FF"), qPrintable(m_shell->result));
        ClickItem("rgBase", 0);
        QCOMPARE(m_page->findChild<QLabel*>("lbDigits")->text(), QString("Digits"));
        QCOMPARE(Digits()->value(), 12);
    }

    void notationSetsTheDigitRangeAndFloor() {
        struct Case {
            int notation;
            int minimum;
            int maximum;
            int widthAfter;
        };
        m_shell->SetDisplayWidth(9);
        const QList<Case> cases = {{2, 11, 21, 11}, {1, 3, 20, 11}, {3, 3, 20, 11}, {0, 8, 21, 11}};
        for (const Case& c : cases) {
            ClickItem("rgNotation", c.notation);
            QCOMPARE(m_shell->Engine().NotationMode, c.notation);
            QCOMPARE(Digits()->minimum(), c.minimum);
            QCOMPARE(Digits()->maximum(), c.maximum);
            QCOMPARE(m_shell->DisplayWidth(), c.widthAfter);
        }
        ClickItem("rgNotation", 1);
        Digits()->setValue(4);
        QCOMPARE(m_shell->DisplayWidth(), 4);
        QCOMPARE(Digits()->maximum(), 22);
    }

    void complexSwitchShowsTheNoticeOnceAndRemovesRealOnlyItems() {
        ClickItem("rgAngle", 1);
        m_watchdog->Expect([](QWidget* dialog) {
            auto* notice = qobject_cast<TfmCompMess*>(dialog);
            QVERIFY(notice);
            QCOMPARE(notice->windowTitle(), QString("Complex Numbers"));
            QVERIFY(notice->ShowAgain());
            notice->SetShowAgain(false);
            notice->accept();
        });
        ClickItem("rgReal", 1);
        QVERIFY(!m_shell->Settings().ShowComp);
        QVERIFY(m_shell->complexMode);
        QVERIFY(!ItemShown("rgBase", 1));
        QVERIFY(!ItemShown("rgBase", 2));
        QVERIFY(!ItemShown("rgAngle", 1));
        QVERIFY(!ItemShown("rgNotation", 3));
        QVERIFY(ItemShown("rgNotation", 2));
        QCOMPARE(m_shell->Engine().AngleMode, 0);
        QVERIFY(m_page->findChild<QGroupBox*>("rgBase")->isHidden());
        QVERIFY(!m_page->findChild<QGroupBox*>("rgComplexForm")->isHidden());
        QCOMPARE(Function(17)->text(), QString("comp"));
        QCOMPARE(Function(17)->toolTip(), QString("Complex number of (..,..)"));
        QCOMPARE(Function(26)->text(), QString("Ln(G)"));
        for (int code :
             {34, 35, 87, 24, 23, 0, 37, 38, 39, 44, 42, 20, 19, 18, 21, 32, 25, 31, 22, 43, 27, 41})
            QVERIFY2(!Function(code)->isEnabled(), qPrintable(QString::number(code)));
        for (const QString caption : {"%", "\\", "|", "&", "Loop"})
            QVERIFY2(!ButtonCaptioned(caption)->isEnabled(), qPrintable(caption));
        QVERIFY(Function(1)->isEnabled());
        QVERIFY(Function(26)->isEnabled());
        Function(26)->click();
        QCOMPARE(m_shell->InputLineText(), QString("LnGamma()"));

        ClickItem("rgReal", 0);
        QVERIFY(!m_shell->complexMode);
        QVERIFY(ItemShown("rgBase", 2));
        QVERIFY(ItemShown("rgAngle", 1));
        QVERIFY(ItemShown("rgNotation", 3));
        QCOMPARE(Function(17)->text(), QString("log"));
        QCOMPARE(Function(26)->text(), QString("\u0393"));
        QVERIFY(Function(22)->isEnabled());
        QVERIFY(ButtonCaptioned("Loop")->isEnabled());
        QVERIFY(m_page->findChild<QGroupBox*>("rgComplexForm")->isHidden());

        // Shown once per run, even with the setting on again.
        m_shell->Settings().ShowComp = true;
        ClickItem("rgReal", 1);
        QVERIFY(m_shell->complexMode);
    }

    void complexFormReshowsTheLastValueWithATapeLine() {
        SwitchToComplexWithoutNotice();
        m_shell->ComplexEvaluator().SetLastComplex(ComplexValue{FormRect, 3, 4});
        m_shell->InputLine()->setText("comp(3,4)");
        ClickItem("rgComplexForm", 0);
        QCOMPARE(m_shell->ComplexEvaluator().Form(), std::uint8_t(FormPolar));
        QVERIFY2(m_shell->result.contains('5'), qPrintable(m_shell->result));
        QCOMPARE(m_shell->tape.first(), "comp(3,4) = " + m_shell->result);
    }

    void clearAllForgetsVariablesAndTheInputLine() {
        m_shell->Engine().Variable(1).Value = 2;
        m_shell->Engine().Variable(1).Definition = QStringLiteral("1+1").toStdString();
        m_shell->Engine().PrevValue = 7;
        m_shell->InputLine()->setText("X+1");
        ButtonCaptioned("Clear All")->click();
        QCOMPARE(m_shell->listClears, 1);
        QVERIFY(m_shell->Engine().Variable(1).Value == UndefinedValue);
        QVERIFY(m_shell->Engine().Variable(1).Definition.empty());
        QVERIFY(m_shell->Engine().LastLower == UndefinedValue);
        QVERIFY(m_shell->Engine().PrevValue == 7);
        QCOMPARE(m_shell->InputLineText(), QString());
    }

    void settingsRoundTrip() {
        m_shell->Settings().Notation = 1;
        m_shell->Settings().Digits = 15;
        m_shell->Settings().Precision = 5;
        m_shell->Settings().Angle = false;
        m_shell->Settings().Hint = false;
        m_page->Load();
        QVERIFY(Group("rgNotation")->button(1)->isChecked());
        QCOMPARE(m_shell->Engine().AngleMode, 0);
        QCOMPARE(Digits()->value(), 15);
        QCOMPARE(m_page->findChild<QSpinBox*>("udPrecision")->value(), 5);
        QVERIFY(!m_page->findChild<QCheckBox*>("chHint")->isChecked());
        m_page->findChild<QSpinBox*>("udPrecision")->setValue(7);
        QCOMPARE(m_shell->Settings().Precision, 7);
        ClickItem("rgAngle", 1);
        m_page->Save();
        QVERIFY(m_shell->Settings().Angle);
        QCOMPARE(m_shell->Settings().Notation, 1);
        QCOMPARE(m_shell->Settings().Digits, 15);
    }
};

class TapePageTest : public QObject {
    Q_OBJECT

private:
    TFakeCalculatorShell m_shell;

    static QPushButton* Button(TTapePage& page, const QString& caption) {
        for (QPushButton* button : page.findChildren<QPushButton*>())
            if (button->text() == caption)
                return button;
        return nullptr;
    }

private slots:
    void newLinesGoToTheTop() {
        TTapePage page(m_shell, nullptr);
        QVERIFY(page.Lines().isEmpty());
        page.AddLine("1+1 = 2; ");
        page.AddLine("2*3 = 6; ");
        QCOMPARE(page.Lines(), QStringList({"2*3 = 6; ", "1+1 = 2; "}));
    }

    void printAndToFileNeedLinesCopyAndCutASelection() {
        TTapePage page(m_shell, nullptr);
        QVERIFY(!Button(page, "Print")->isEnabled());
        QVERIFY(!Button(page, "To File...")->isEnabled());
        page.AddLine("1+1 = 2; ");
        QVERIFY(Button(page, "Print")->isEnabled());
        QVERIFY(Button(page, "To File...")->isEnabled());
        QVERIFY(!Button(page, "Copy")->isEnabled());
        QVERIFY(!Button(page, "Cut")->isEnabled());
        auto* tape = page.findChild<QPlainTextEdit*>("mmTape");
        QVERIFY(tape->isReadOnly());
        tape->selectAll();
        QVERIFY(Button(page, "Copy")->isEnabled());
        QVERIFY(Button(page, "Cut")->isEnabled());
        Button(page, "Cut")->click();
        QVERIFY(tape->isReadOnly());
        QVERIFY(page.Lines().isEmpty());
        QVERIFY(!Button(page, "Print")->isEnabled());
        QVERIFY(!Button(page, "Cut")->isEnabled());
    }

    void toFileWritesTheLinesInOrder() {
        TModalWatchdog watchdog;
        TScratchFolder folder;
        TTapePage page(m_shell, nullptr);
        page.AddLine("1+1 = 2; ");
        page.AddLine("X^2 = 16; X=4; ");
        const QString path = folder.Path() + "/tape.TXT";
        watchdog.Expect([&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            QVERIFY(files);
            QCOMPARE(files->windowTitle(), QString("Save to Text File"));
            QCOMPARE(files->defaultSuffix(), QString("TXT"));
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            name->setText(path);
            QMetaObject::invokeMethod(files, "accept");
        });
        Button(page, "To File...")->click();
        QVERIFY(!watchdog.SawUnexpected());
        QCOMPARE(folder.Read("tape.TXT"), QString("X^2 = 16; X=4; \n1+1 = 2; \n"));
    }

    void saveToAMissingFolderFails() {
        TTapePage page(m_shell, nullptr);
        page.AddLine("1");
        QVERIFY(!page.SaveToFile("/nonexistent-folder/tape.TXT"));
    }

    void helpOpensTopic21() {
        TTapePage page(m_shell, nullptr);
        Button(page, "&Help")->click();
        QCOMPARE(m_shell.helpTopics.last(), 21);
    }

    void noticeHoldsItsFixedText() {
        const QStringList lines = TfmCompMess::NoticeLines();
        QCOMPARE(lines.size(), 14);
        QCOMPARE(lines.first(), QString("Complex number:"));
        QCOMPARE(lines[1], QString("     comp(Real, Image) -wher Real and Image is  any real "));
        QCOMPARE(lines[3], QString());
        QCOMPARE(lines.last(), QString("  o Rect   -  Z  =  X +  Yi "));
    }
};

} // namespace mirla::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        mirla::test::CalculatorPageTest calculator;
        status |= QTest::qExec(&calculator, argc, argv);
    }
    {
        mirla::test::TapePageTest tape;
        status |= QTest::qExec(&tape, argc, argv);
    }
    return status;
}

#include "CalculatorPageTest.moc"
