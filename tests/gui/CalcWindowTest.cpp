#include "gui/GuiTestSupport.h"

#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using mirla::TCalcFiles;
using mirla::TfmCalc;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

namespace {

/// A program folder holding the files that start-up reads, so that no message box opens.
void PrepareFolder(const TScratchFolder& folder) {
    folder.Write(QStringLiteral("Mirla.CON"), QStringLiteral("c = 299792458\n"));
    folder.Write(QStringLiteral("Mirla.USR"), QString());
    folder.Write(QStringLiteral("Mirla.FNC"), QString());
}

std::unique_ptr<TfmCalc> OpenWindow(const TScratchFolder& folder) {
    const std::string path = folder.Path().toStdString();
    auto window = std::make_unique<TfmCalc>(TCalcFiles::Locate(path, path + "/user"));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("window not exposed");
    window->activateWindow();
    return window;
}

/// Types a line into the emptied input line and presses Enter.
void TypeLine(TfmCalc& window, const QString& line) {
    window.InputLine()->clear();
    QTest::keyClicks(window.InputLine(), line);
    QTest::keyClick(window.InputLine(), Qt::Key_Return);
}

QStringList TapeLines(TfmCalc& window) {
    auto* tape = window.findChild<QWidget*>(QStringLiteral("mmTape"));
    if (!tape)
        return {QStringLiteral("<no tape>")};
    return tape->property("plainText").toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

double ResultNumber(TfmCalc& window) {
    bool ok = false;
    const double value = window.ResultBox()->text().trimmed().toDouble(&ok);
    return ok ? value : -1e300;
}

bool ShowsError(TfmCalc& window) {
    const QColor colour = window.ResultBox()->palette().color(QPalette::Text);
    return colour.red() > colour.blue();
}

} // namespace

class CalcWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_folder = std::make_unique<TScratchFolder>();
        PrepareFolder(*m_folder);
        m_watchdog = std::make_unique<TModalWatchdog>();
        m_window = OpenWindow(*m_folder);
    }
    void cleanup() {
        m_window.reset();
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_folder.reset();
    }

    void enterEvaluatesAndRecordsTheLine() {
        TypeLine(*m_window, QStringLiteral("2+3*4"));
        QCOMPARE(ResultNumber(*m_window), 14.0);
        QVERIFY(!ShowsError(*m_window));
        QCOMPARE(m_window->InputLine()->selectedText(), QStringLiteral("2+3*4"));
        QCOMPARE(m_window->HistoryList()->Items(), QStringList{QStringLiteral("2+3*4")});
        QCOMPARE(m_window->ResultsList()->Items(), QStringList{m_window->ResultBox()->text()});
        const QStringList tape = TapeLines(*m_window);
        QCOMPARE(tape.size(), 1);
        QCOMPARE(tape.first(),
                 QStringLiteral("2+3*4 = ") + m_window->ResultBox()->text() + QStringLiteral("; "));
        QVERIFY(m_window->Pages()->isEnabled());
    }

    void previousResultFeedsTheNextLine() {
        TypeLine(*m_window, QStringLiteral("6*7"));
        TypeLine(*m_window, QStringLiteral("?/2"));
        QCOMPARE(ResultNumber(*m_window), 21.0);
    }

    void errorIsShownWithTheTypedCharactersSelected_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("selected");
        QTest::newRow("too many closing")
            << QString("2+3)") << QString("Too many \")\": position 4") << 4 << QString(")");
        QTest::newRow("missing closing")
            << QString("(2+3") << QString("Missing \")\": position 4") << 4 << QString("3");
        QTest::newRow("closing first")
            << QString(")2+3(") << QString("Syntax error: position 1") << 1 << QString(")");
        QTest::newRow("blanks typed")
            << QString("2 + 3 )") << QString("Too many \")\": position 7") << 7 << QString(")");
        QTest::newRow("division by zero")
            << QString("1/0") << QString("Division by zero: position 3") << 3 << QString("");
    }
    void errorIsShownWithTheTypedCharactersSelected() {
        QFETCH(QString, line);
        QFETCH(QString, message);
        QFETCH(int, position);
        QFETCH(QString, selected);
        TypeLine(*m_window, line);
        QCOMPARE(m_window->ResultBox()->text(), message);
        QVERIFY(ShowsError(*m_window));
        QCOMPARE(m_window->InputLine()->selectionStart(), position - 1);
        if (!selected.isEmpty())
            QCOMPARE(m_window->InputLine()->selectedText(), selected);
        QCOMPARE(m_window->InputLine()->text(), line);
        QCOMPARE(m_window->HistoryList()->count(), 0);
        QCOMPARE(m_window->ResultsList()->count(), 0);
        QVERIFY(TapeLines(*m_window).isEmpty());
        QVERIFY(!m_window->Engine().ErrorFlag);
        QVERIFY(m_window->Pages()->isEnabled());
    }

    void resultColoursStayReadableOnADarkTheme() {
        QPalette dark = m_window->palette();
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        m_window->setPalette(dark);
        const auto contrast = [this] {
            const QPalette palette = m_window->ResultBox()->palette();
            return palette.color(QPalette::Text).lightness() - palette.color(QPalette::Base).lightness();
        };
        TypeLine(*m_window, QStringLiteral("1+1"));
        QVERIFY(!ShowsError(*m_window));
        QVERIFY2(contrast() > 90, qPrintable(QString::number(contrast())));
        TypeLine(*m_window, QStringLiteral("1/0"));
        QVERIFY(ShowsError(*m_window));
        QVERIFY2(contrast() > 90, qPrintable(QString::number(contrast())));
    }

    void sameTypedLineTwiceAddsResultsButOneHistoryEntry() {
        TypeLine(*m_window, QStringLiteral("1+1"));
        QTest::keyClick(m_window->InputLine(), Qt::Key_Return);
        QCOMPARE(m_window->HistoryList()->Items(), QStringList{QStringLiteral("1+1")});
        QCOMPARE(m_window->ResultsList()->count(), 2);
        QCOMPARE(TapeLines(*m_window).size(), 2);

        TypeLine(*m_window, QStringLiteral("2*3"));
        TypeLine(*m_window, QStringLiteral("1+1"));
        QCOMPARE(m_window->HistoryList()->Items(),
                 (QStringList{QStringLiteral("1+1"), QStringLiteral("2*3")}));
        QCOMPARE(m_window->ResultsList()->count(), 4);
        QCOMPARE(TapeLines(*m_window).size(), 4);
        QCOMPARE(TapeLines(*m_window).first().left(6), QStringLiteral("1+1 = "));
    }

    void escapeRecallsAndARecalledLineAddsNothing() {
        TypeLine(*m_window, QStringLiteral("5-2"));
        TypeLine(*m_window, QStringLiteral("9*9"));
        m_window->InputLine()->clear();
        QTest::keyClick(m_window->InputLine(), Qt::Key_Escape);
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("9*9"));
        QCOMPARE(m_window->InputLine()->selectedText(), QStringLiteral("9*9"));
        QTest::keyClick(m_window->InputLine(), Qt::Key_Return);
        QCOMPARE(ResultNumber(*m_window), 81.0);
        QCOMPARE(m_window->HistoryList()->count(), 2);
        QCOMPARE(m_window->ResultsList()->count(), 2);
        QCOMPARE(TapeLines(*m_window).size(), 2);

        // In a line that holds text, Escape recalls nothing.
        m_window->InputLine()->setText(QStringLiteral("4"));
        QTest::keyClick(m_window->InputLine(), Qt::Key_Escape);
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("4"));
    }

    void firstStartFocusesTheInputLineAndExplainsTheEmptyRows() {
        QCOMPARE(m_window->focusWidget(), m_window->InputLine());
        QCOMPARE(m_window->InputLine()->placeholderText(),
                 QStringLiteral("Type an expression and press Enter"));
        QCOMPARE(m_window->ResultBox()->placeholderText(), QStringLiteral("Result"));
    }

    void windowFitsALaptopScreenWithRoomToSpare() {
        // A 1280 x 720 work area less room for the frame and a panel.
        const QSize smallest = m_window->minimumSize();
        QVERIFY2(smallest.width() <= 900 && smallest.height() <= 500,
                 qPrintable(QStringLiteral("%1 x %2").arg(smallest.width()).arg(smallest.height())));
        auto* key = m_window->findChild<QToolButton*>(QStringLiteral("fn1"));
        QVERIFY(key);
        const int smallHeight = key->height();
        m_window->resize(1200, 950);
        QTRY_VERIFY(key->height() > smallHeight + 10);
    }

    void upAndDownWalkTheHistoryLikeATerminal() {
        for (const QString& line : {QStringLiteral("1+1"), QStringLiteral("2+2"), QStringLiteral("3+3")})
            TypeLine(*m_window, line);
        QLineEdit* input = m_window->InputLine();
        const auto press = [input](Qt::Key key) {
            QTest::keyClick(input, key);
            return input->text();
        };
        // The line shows the newest entry after Enter, so Up goes on to the one before.
        QCOMPARE(press(Qt::Key_Up), QStringLiteral("2+2"));
        QCOMPARE(press(Qt::Key_Up), QStringLiteral("1+1"));
        QCOMPARE(press(Qt::Key_Up), QStringLiteral("1+1"));
        QCOMPARE(press(Qt::Key_Down), QStringLiteral("2+2"));
        QCOMPARE(press(Qt::Key_Down), QStringLiteral("3+3"));
        input->clear();
        QTest::keyClicks(input, QStringLiteral("4*"));
        QCOMPARE(press(Qt::Key_Up), QStringLiteral("3+3"));
        QCOMPARE(press(Qt::Key_Down), QStringLiteral("4*"));
        QCOMPARE(press(Qt::Key_Down), QStringLiteral("4*"));
        // A walked-to line evaluates as the user's own.
        press(Qt::Key_Up);
        press(Qt::Key_Up);
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(m_window->HistoryList()->Items(),
                 (QStringList{QStringLiteral("2+2"), QStringLiteral("3+3"), QStringLiteral("1+1")}));
        QCOMPARE(m_window->ResultsList()->count(), 4);
    }

    void clipboardKeysWorkBesideTheFunctionKeys_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("input");
        const QString in = QStringLiteral("Edit1");
        const QString out = QStringLiteral("Edit2");
        QTest::newRow("copy input") << in << "Ctrl+Shift+C"
                                    << "2+3"
                                    << "2+3";
        QTest::newRow("Ctrl+Insert copies") << in << "Ctrl+Insert"
                                            << "2+3"
                                            << "2+3";
        QTest::newRow("cut input") << in << "Ctrl+Shift+X"
                                   << "2+3"
                                   << "";
        QTest::newRow("paste input") << in << "Ctrl+Shift+V"
                                     << "9"
                                     << "9";
        QTest::newRow("Shift+Insert pastes") << in << "Shift+Insert"
                                             << "9"
                                             << "9";
        QTest::newRow("Ctrl+C still inserts cos") << in << "Ctrl+C"
                                                  << "9"
                                                  << "cos()";
        QTest::newRow("whole result") << out << "Ctrl+Shift+C"
                                      << "<result>"
                                      << "2+3";
        QTest::newRow("Ctrl+C in the result") << out << "Ctrl+C"
                                              << "<result>"
                                              << "2+3";
        QTest::newRow("paste from the result") << out << "Ctrl+Shift+V"
                                               << "9"
                                               << "9";
        QTest::newRow("select all and copy the tape") << "mmTape"
                                                      << "Ctrl+A, Ctrl+C"
                                                      << "2+3 = <result>; "
                                                      << "2+3";
    }
    void clipboardKeysWorkBesideTheFunctionKeys() {
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        QFETCH(QString, clipboard);
        QFETCH(QString, input);
        TypeLine(*m_window, QStringLiteral("2+3"));
        const QString result = m_window->ResultBox()->text();
        QApplication::clipboard()->setText(QStringLiteral("9"));
        if (focus == QStringLiteral("mmTape"))
            m_window->Pages()->setCurrentIndex(1);
        auto* target = m_window->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
        QTest::keySequence(target, QKeySequence(keys));
        QCOMPARE(QApplication::clipboard()->text(), QString(clipboard).replace("<result>", result));
        QCOMPARE(m_window->InputLine()->text(), input);
    }

    void editMenuOfTheInputLineNamesTheKeysThatWork() {
        QStringList captions;
        QTimer::singleShot(0, m_window.get(), [&captions] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (const QAction* action : menu->actions())
                captions << action->text();
            menu->close();
        });
        QLineEdit* input = m_window->InputLine();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(4, 4), input->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(input, &event);
        QVERIFY2(captions.contains(QStringLiteral("&Copy\tCtrl+Shift+C")), qPrintable(captions.join('|')));
        // These keys insert functions in the input line.
        for (const QString& caption : captions)
            for (const char* taken : {"\tCtrl+C", "\tCtrl+A"})
                QVERIFY2(!caption.endsWith(QLatin1String(taken)), qPrintable(caption));
    }

    void unitsConverterClosesWithEscape() {
        bool closedByEscape = false;
        m_watchdog->Expect([&closedByEscape](QWidget* dialog) {
            QWidget* focused = dialog->focusWidget();
            QTest::keyClick(focused ? focused : dialog, Qt::Key_Escape);
            closedByEscape = !dialog->isVisible();
            dialog->close();
        });
        m_window->findChild<QToolButton*>(QStringLiteral("sbCut"))->click();
        QVERIFY(closedByEscape);
    }

    void tapeLineNamesTheVariablesRead() {
        m_window->Engine().Variable(1).Value = 4; // X
        TypeLine(*m_window, QStringLiteral("X^2+X"));
        QCOMPARE(ResultNumber(*m_window), 20.0);
        const QRegularExpression pattern(QStringLiteral("^X\\^2\\+X = (\\S+); X=(\\S+); $"));
        const auto match = pattern.match(TapeLines(*m_window).value(0));
        QVERIFY2(match.hasMatch(), qPrintable(TapeLines(*m_window).value(0)));
        QCOMPARE(match.captured(1).toDouble(), 20.0);
        QCOMPARE(match.captured(2).toDouble(), 4.0);
    }

    void insertionPlacesTheCaretInsideTheParentheses() {
        m_window->InputLine()->setText(QStringLiteral("1+"));
        m_window->InputLine()->setCursorPosition(2);
        m_window->SetFunc(QStringLiteral("solve(,,)"));
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("1+solve(,,)"));
        QCOMPARE(m_window->InputLine()->cursorPosition(), 8);
        m_window->InputLine()->setText(QStringLiteral("abc"));
        m_window->InputLine()->setSelection(1, 1);
        m_window->SetFunc(QStringLiteral("random"));
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("arandomc"));
        QCOMPARE(m_window->InputLine()->cursorPosition(), 7);
    }

    void ctrlKeysInsertTheConstants() {
        m_window->InputLine()->clear();
        QTest::keyClick(m_window->InputLine(), Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(m_window->InputLine(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("e¶"));
    }

    void functionKeysClickTheFunctionButtons() {
        m_window->InputLine()->clear();
        QTest::keyClick(m_window->InputLine(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("sin()"));
        QCOMPARE(m_window->InputLine()->cursorPosition(), 4);
        m_window->InputLine()->clear();
        QTest::keyClick(m_window->InputLine(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("solve(,,)"));
        QCOMPARE(m_window->InputLine()->cursorPosition(), 6);
    }

    void assistantGreetsThenExplainsTheNameAtTheCaret() {
        auto* panel = m_window->findChild<QLabel*>(QStringLiteral("pnAssistant"));
        QVERIFY(panel);
        QTRY_VERIFY(panel->text().contains(QStringLiteral("Sir/Madam!")) ||
                    panel->text().contains(QStringLiteral("What is the time?")));
        m_window->InputLine()->clear();
        QTest::keyClicks(m_window->InputLine(), QStringLiteral("2*Jn("));
        QTRY_COMPARE(panel->text(), QStringLiteral(" Bessel function of the first kind J (..th,of ..) "));
        m_window->ShowFunctionHelp(1);
        QCOMPARE(panel->text(), QStringLiteral(" Sine of (degree) "));
        m_window->findChild<QCheckBox*>(QStringLiteral("chAssistant"))->setChecked(false);
        QVERIFY(!panel->isVisible());
    }

    void gaugeIsShownOnlyOnTheGraphicsPage() {
        auto* gauge = m_window->findChild<QWidget*>(QStringLiteral("Panel1"));
        QVERIFY(gauge);
        QVERIFY(!gauge->isVisible());
        m_window->Pages()->setCurrentIndex(3);
        QCOMPARE(m_window->Pages()->tabText(3), QStringLiteral("Graphics"));
        QVERIFY(gauge->isVisible());
        m_window->Pages()->setCurrentIndex(1);
        QVERIFY(!gauge->isVisible());
    }

    void choosingAListEntryInsertsItAndDeleteRemovesIt() {
        TypeLine(*m_window, QStringLiteral("3+4"));
        m_window->InputLine()->setText(QStringLiteral("2*"));
        m_window->InputLine()->setCursorPosition(2);
        emit m_window->HistoryList()->activated(0);
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("2*3+4"));
        emit m_window->ResultsList()->activated(0);
        QCOMPARE(m_window->InputLine()->text(),
                 QStringLiteral("2*3+4") + m_window->ResultsList()->itemText(0));

        auto* list = m_window->ResultsList();
        list->showPopup();
        list->view()->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list->view(), Qt::Key_Delete);
        list->hidePopup();
        QCOMPARE(list->count(), 0);
        QCOMPARE(m_window->HistoryList()->count(), 1);
    }

    void stopBreaksALongLoopAfterConfirmation() {
        auto& ctx = m_window->Engine();
        ctx.Variable(7).Value = 1; // J
        ctx.Variable(8).Value = 2; // K
        ctx.Variable(9).Value = 0; // M: a step of 0 never ends
        bool pagesDisabledWhileRunning = false;
        QString question;
        QTimer::singleShot(300, m_window.get(), [&] {
            pagesDisabledWhileRunning = m_window->Evaluating() && !m_window->Pages()->isEnabled();
            QVERIFY(m_window->StopButton()->isEnabled());
            m_window->StopButton()->click();
        });
        m_watchdog->Expect([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            question = box ? box->text() : QString();
            if (box)
                box->button(QMessageBox::Yes)->click();
            else
                dialog->close();
        });
        TypeLine(*m_window, QStringLiteral("for J to K step M do(J)"));
        QVERIFY(pagesDisabledWhileRunning);
        QCOMPARE(question, QStringLiteral("Do you realy wont break calculation?"));
        QVERIFY2(m_window->ResultBox()->text().startsWith(QStringLiteral("User break: position ")),
                 qPrintable(m_window->ResultBox()->text()));
        QVERIFY(m_window->Pages()->isEnabled());
        QCOMPARE(m_window->HistoryList()->count(), 0);
    }

    void closingDuringALongLoopBreaksItFirst() {
        auto& ctx = m_window->Engine();
        ctx.Variable(7).Value = 1; // J
        ctx.Variable(8).Value = 2; // K
        ctx.Variable(9).Value = 0; // M
        bool closedAtOnce = true;
        QTimer::singleShot(300, m_window.get(), [&] { closedAtOnce = m_window->close(); });
        m_watchdog->Expect([](QWidget* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog))
                box->button(QMessageBox::Yes)->click();
            else
                dialog->close();
        });
        TypeLine(*m_window, QStringLiteral("for J to K step M do(J)"));
        QVERIFY(!closedAtOnce);
        QVERIFY(m_window->ResultBox()->text().startsWith(QStringLiteral("User break")));
        QTRY_VERIFY(!m_window->isVisible());
        QVERIFY(m_folder->Read(QStringLiteral("Mirla.INI")).contains(QStringLiteral("[Calc Settings]")));
    }

    void settingsAndHistorySurviveARestart() {
        TypeLine(*m_window, QStringLiteral("7*6"));
        TypeLine(*m_window, QStringLiteral("10/4"));
        // The history file is written after every evaluation, before any close.
        const QStringList written = m_folder->Read(QStringLiteral("Mirla.HST")).split(QLatin1Char('\n'));
        QCOMPARE(written.mid(0, 3), (QStringList{"2", "10/4", "7*6"}));
        QCOMPARE(written.value(3), QStringLiteral("2"));
        m_window->findChild<QCheckBox*>(QStringLiteral("chAssistant"))->setChecked(false);
        const QString lastResult = m_window->ResultBox()->text();
        QVERIFY(m_window->close());
        m_window.reset();
        QVERIFY(m_folder->Read(QStringLiteral("Mirla.INI")).contains(QStringLiteral("[Calc Settings]")));

        m_window = OpenWindow(*m_folder);
        QCOMPARE(m_window->HistoryList()->Items(), (QStringList{"10/4", "7*6"}));
        QCOMPARE(m_window->ResultsList()->count(), 2);
        QCOMPARE(m_window->InputLine()->text(), QStringLiteral("10/4"));
        QCOMPARE(m_window->ResultBox()->text(), lastResult);
        QVERIFY(!m_window->findChild<QCheckBox*>(QStringLiteral("chAssistant"))->isChecked());
        // The first evaluation of the recalled line is recorded.
        QTest::keyClick(m_window->InputLine(), Qt::Key_Return);
        QCOMPARE(ResultNumber(*m_window), 2.5);
        QCOMPARE(m_window->ResultsList()->count(), 3);
        QCOMPARE(m_window->HistoryList()->count(), 2);
    }

    // Files this window must not write over

    void aDamagedSettingsFileIsKeptAndEachFailedUpdateSaysSoOnce() {
        m_window.reset();
        const QString damaged = QStringLiteral("[fmPlot2D]\nLeft=5\n") + QChar(0) + QStringLiteral("\n");
        m_folder->Write(QStringLiteral("Mirla.INI"), damaged);
        QStringList messages;
        CollectMessages(messages);
        m_window = OpenWindow(*m_folder);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("Can't read file ")), qPrintable(messages[0]));
        m_window->findChild<QMainWindow*>(QStringLiteral("fmPlot2D"))->show();
        QVERIFY(m_window->close());
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[1].endsWith(
                     QStringLiteral("The settings were not saved, so that the file keeps what it holds.")),
                 qPrintable(messages[1]));
        QCOMPARE(m_folder->Read(QStringLiteral("Mirla.INI")), damaged);
    }

    void aSecondWindowOnTheSameFilesSavesNothing() {
        TypeLine(*m_window, QStringLiteral("1+1"));
        QStringList messages;
        CollectMessages(messages);
        auto second = OpenWindow(*m_folder);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("Another Mirla keeps its files in ")),
                 qPrintable(messages[0]));
        const QString history = m_folder->Read(QStringLiteral("Mirla.HST"));
        const QString settings = m_folder->Read(QStringLiteral("Mirla.INI"));
        TypeLine(*second, QStringLiteral("2+2"));
        QVERIFY(second->close());
        QCOMPARE(m_folder->Read(QStringLiteral("Mirla.HST")), history);
        QCOMPARE(m_folder->Read(QStringLiteral("Mirla.INI")), settings);
        QVERIFY(m_window->close());
        QVERIFY(m_folder->Read(QStringLiteral("Mirla.INI")).contains(QStringLiteral("[Calc Settings]")));
    }

    void anUnreadableHistoryIsKeptAndToldOnce() {
        m_window.reset();
        const QString history = QStringLiteral("x\n1+1\n");
        m_folder->Write(QStringLiteral("Mirla.HST"), history);
        QStringList messages;
        CollectMessages(messages);
        m_window = OpenWindow(*m_folder);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QStringLiteral("The history of this run will not be saved")),
                 qPrintable(messages[0]));
        TypeLine(*m_window, QStringLiteral("3*3"));
        QVERIFY(m_window->close());
        QCOMPARE(m_folder->Read(QStringLiteral("Mirla.HST")), history);
    }

    void complexSwitchReachesTheGraphicsPageAndTheCycle() {
        auto* polar = m_window->findChild<QRadioButton*>(QStringLiteral("rbPlot4"));
        QVERIFY(polar);
        polar->click();
        QRadioButton* comp = nullptr;
        for (QRadioButton* button : m_window->findChildren<QRadioButton*>())
            comp = button->text() == QStringLiteral("Comp") ? button : comp;
        QVERIFY(comp);
        m_watchdog->Expect([](QWidget* notice) { notice->close(); });
        comp->click();
        QTRY_VERIFY(m_window->findChild<QRadioButton*>(QStringLiteral("rbPlot3"))->isChecked());
        QVERIFY(!polar->isEnabled());
        QVERIFY(!m_window->findChild<QRadioButton*>(QStringLiteral("rbPlot0"))->isEnabled());
        TypeLine(*m_window, QStringLiteral("comp(3,4)*comp(1,0)"));
        QCOMPARE(m_window->ResultBox()->text(), QStringLiteral("3.0E+0+4.0E+0i"));
    }

private:
    /// Records the text of every message box from now on and closes it.
    void CollectMessages(QStringList& texts) {
        m_watchdog->Expect([this, &texts](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            texts.append(box ? box->text() : dialog->windowTitle());
            dialog->close();
            CollectMessages(texts);
        });
    }

    std::unique_ptr<TScratchFolder> m_folder;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmCalc> m_window;
};

QTEST_MAIN(CalcWindowTest)
#include "CalcWindowTest.moc"
