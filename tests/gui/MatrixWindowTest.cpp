#include "app/CalculatorPage.h"
#include "gui/GuiTestSupport.h"

#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "matrix/ui/MatrixWindow.h"
#include "matrix/ui/MultDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace mirla;
using mirla::test::TFakeCalculatorShell;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

namespace {

template <typename T> T* Child(QWidget* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child)
        qFatal("missing control %s", qPrintable(name));
    return child;
}

using TRows = QList<QStringList>;

void Fill(QTableWidget* grid, const TRows& rows) {
    for (int i = 0; i < rows.size(); ++i)
        for (int j = 0; j < rows[i].size(); ++j)
            grid->setItem(i, j, new QTableWidgetItem(rows[i][j]));
}

TRows Texts(const QTableWidget* grid) {
    TRows rows;
    for (int i = 0; i < grid->rowCount(); ++i) {
        QStringList row;
        for (int j = 0; j < grid->columnCount(); ++j)
            row << (grid->item(i, j) ? grid->item(i, j)->text() : QString());
        rows << row;
    }
    return rows;
}

QString EngineMessage(int code, int position) {
    return QString::fromStdString(ErrorText(code)) + QStringLiteral(": position ") +
           QString::number(position);
}
} // namespace

class TMatrixWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<EvalContext> m_ctx;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmMatrix> m_window;

    /// Types a size into a rows or columns edit as the user would.
    void TypeSize(const QString& edit, const QString& text) {
        auto* field = Child<QLineEdit>(m_window.get(), edit);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    /// Sets the size of A (or B) through its edits.
    void SizeOf(const QString& matrix, int rows, int cols) {
        TypeSize("ed" + matrix + "Rows", QString::number(rows));
        TypeSize("ed" + matrix + "Cols", QString::number(cols));
    }
    /// The next modal dialog is a message box; its text goes to `text`.
    void ExpectMessage(QString& text) {
        m_watchdog->Expect([&text](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QVERIFY(box);
            text = box->text();
            box->accept();
        });
    }
    /// The next modal dialog is the matrix-function dialog; `typed` is entered and OK pressed.
    void ExpectMultDialog(const QString& typed) {
        m_watchdog->Expect([typed](QWidget* dialog) {
            Child<QLineEdit>(dialog, "edValue")->setText(typed);
            Child<QPushButton>(dialog, "btOK")->click();
        });
    }

private slots:
    void init() {
        m_ctx = std::make_unique<EvalContext>();
        m_watchdog = std::make_unique<TModalWatchdog>();
        m_window = std::make_unique<TfmMatrix>(*m_ctx);
        m_window->show();
    }
    void cleanup() {
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_window.reset();
        m_watchdog.reset();
        m_ctx.reset();
    }

    void theMainWindowButtonShowsOneMatrixWindow() {
        TFakeCalculatorShell shell;
        TCalculatorPage page(shell, nullptr);
        auto* button = Child<QToolButton>(&page, "SpeedButton2");
        QVERIFY(button->isEnabled());
        QCOMPARE(button->toolTip(), QStringLiteral("Matrix Operations"));
        button->click();
        const QList<TfmMatrix*> windows = page.findChildren<TfmMatrix*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        windows[0]->sgA->setItem(0, 0, new QTableWidgetItem("kept"));
        windows[0]->close();
        QVERIFY(!windows[0]->isVisible());
        button->click();
        QCOMPARE(page.findChildren<TfmMatrix*>(), windows);
        QVERIFY(windows[0]->isVisible());
        QCOMPARE(windows[0]->sgA->item(0, 0)->text(), QStringLiteral("kept"));
    }

    void startsWithFiveByFiveGridsAndNamedHeaders() {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Matrix"));
        for (QTableWidget* grid : {m_window->sgA, m_window->sgB, m_window->sgC}) {
            QCOMPARE(grid->rowCount(), 5);
            QCOMPARE(grid->columnCount(), 5);
        }
        QCOMPARE(m_window->sgA->verticalHeaderItem(1)->text(), QStringLiteral("A[2,J]"));
        QCOMPARE(m_window->sgA->horizontalHeaderItem(2)->text(), QStringLiteral("A[I,3]"));
        Child<QLineEdit>(m_window.get(), "edBName")->setText("M");
        QCOMPARE(m_window->sgB->horizontalHeaderItem(0)->text(), QStringLiteral("M[I,1]"));
        QCOMPARE(m_window->edOperation->text(), QStringLiteral("A*M=C"));
    }

    void operationButtonsShowFormulasAndApplyShapes_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QList<int>>("shapes"); // rows and columns of A, B, C
        QTest::newRow("solve") << "btOperation1"
                               << "A*(X)=B Solve->C" << QList<int>{3, 3, 3, 1, 3, 1};
        QTest::newRow("add") << "btOperation2"
                             << "A+B=C" << QList<int>{3, 4, 3, 4, 3, 4};
        QTest::newRow("multiply") << "btOperation3"
                                  << "A*B=C" << QList<int>{3, 4, 2, 6, 3, 6};
        QTest::newRow("inverse") << "btOperation4"
                                 << "inverse(A)=C" << QList<int>{3, 3, 2, 6, 3, 3};
        QTest::newRow("det") << "btOperation6"
                             << "det |A|=C[1,1]" << QList<int>{3, 3, 2, 6, 1, 1};
        QTest::newRow("subtract") << "btOperation7"
                                  << "A-B=C" << QList<int>{3, 4, 3, 4, 3, 4};
    }
    void operationButtonsShowFormulasAndApplyShapes() {
        QFETCH(QString, button);
        QFETCH(QString, formula);
        QFETCH(QList<int>, shapes);
        SizeOf("B", 2, 6);
        SizeOf("A", 3, 4);
        Child<QPushButton>(m_window.get(), button)->click();
        QCOMPARE(m_window->edOperation->text(), formula);
        const QList<int> actual = {m_window->sgA->rowCount(), m_window->sgA->columnCount(),
                                   m_window->sgB->rowCount(), m_window->sgB->columnCount(),
                                   m_window->sgC->rowCount(), m_window->sgC->columnCount()};
        QCOMPARE(actual, shapes);
    }

    void sizeEditsRefuseJunkAndMarkOutOfRangeValues() {
        auto* rows = Child<QLineEdit>(m_window.get(), "edARows");
        rows->selectAll();
        QTest::keyClicks(rows, "2x");
        QCOMPARE(rows->text(), QStringLiteral("2"));
        QCOMPARE(m_window->sgA->rowCount(), 2);
        QTest::keyClicks(rows, "00");
        QCOMPARE(rows->text(), QStringLiteral("200"));
        QVERIFY(rows->styleSheet().contains("background"));
        QCOMPARE(m_window->sgA->rowCount(), 20);
        rows->selectAll();
        QTest::keyClicks(rows, "+");
        QCOMPARE(rows->text(), QString());
        QTest::keyClicks(rows, "200");
        QTest::keyClick(rows, Qt::Key_Backspace);
        QVERIFY(rows->styleSheet().isEmpty());
        QCOMPARE(m_window->sgA->rowCount(), 20);
    }

    void inverseIsComputedEndToEnd_data() {
        QTest::addColumn<TRows>("a");
        QTest::addColumn<TRows>("inverse");
        QTest::newRow("2x2") << TRows{{"4", "7"}, {"2", "6"}} << TRows{{"0.6", "-0.7"}, {"-0.2", "0.4"}};
        QTest::newRow("3x3") << TRows{{"1", "2", "3"}, {"0", "1", "4"}, {"5", "6", "0"}}
                             << TRows{{"-24", "18", "5"}, {"20", "-15", "-4"}, {"-5", "4", "1"}};
        QTest::newRow("expressions in cells")
            << TRows{{"2*2", "sqrt(49)"}, {"1+1", "n!(3)"}} << TRows{{"0.6", "-0.7"}, {"-0.2", "0.4"}};
        QTest::newRow("exchange") << TRows{{"0", "1"}, {"1", "0"}} << TRows{{"0", "1"}, {"1", "0"}};
    }
    void inverseIsComputedEndToEnd() {
        QFETCH(TRows, a);
        QFETCH(TRows, inverse);
        Child<QPushButton>(m_window.get(), "btOperation4")->click();
        SizeOf("A", static_cast<int>(a.size()), static_cast<int>(a.size()));
        Fill(m_window->sgA, a);
        m_window->Button1Click();
        QCOMPARE(Texts(m_window->sgC), inverse);
        const QString n = QString::number(a.size());
        QCOMPARE(m_window->lbR->count(), 2);
        QCOMPARE(m_window->lbR->item(0)->text(), "A" + n + n + "Inverse");
        QCOMPARE(m_window->lbR->item(1)->text(), "C" + n + n + "Inverse");
    }

    void aThreeByThreeResultShowsWholeAtTheDefaultSize() {
        Child<QPushButton>(m_window.get(), "btOperation4")->click();
        SizeOf("A", 3, 3);
        Fill(m_window->sgA, {{"0.0000001", "2", "3"}, {"0", "1", "4"}, {"5", "6", "0"}});
        m_window->Button1Click();
        QCoreApplication::processEvents();
        QCOMPARE(Texts(m_window->sgC).value(0).value(0), QStringLiteral("-0.9600001"));
        for (QTableWidget* grid : {m_window->sgA, m_window->sgC}) {
            QVERIFY2(!grid->horizontalScrollBar()->isVisible(), qPrintable(grid->objectName()));
            const QFontMetrics metrics(grid->font());
            const TRows texts = Texts(grid);
            for (int col = 0; col < 3; ++col) {
                QStringList shown = {grid->model()->headerData(col, Qt::Horizontal).toString()};
                for (const QStringList& row : texts)
                    shown << row.value(col);
                for (const QString& text : shown)
                    QVERIFY2(grid->columnWidth(col) > metrics.horizontalAdvance(text), qPrintable(text));
            }
        }
        const QListWidget* list = m_window->lbR;
        QCOMPARE(list->count(), 2);
        QVERIFY(list->viewport()->width() > list->fontMetrics().horizontalAdvance(list->item(0)->text()));
    }

    void productAndSumFollowTheirShapeRules() {
        SizeOf("A", 2, 3);
        SizeOf("B", 3, 2);
        QCOMPARE(m_window->sgC->rowCount(), 2);
        QCOMPARE(m_window->sgC->columnCount(), 2);
        Fill(m_window->sgA, {{"1", "2", "3"}, {"4", "5", "6"}});
        Fill(m_window->sgB, {{"7", "8"}, {"9", "10"}, {"11", "12"}});
        m_window->Button1Click();
        QCOMPARE(Texts(m_window->sgC), (TRows{{"58", "64"}, {"139", "154"}}));
        QCOMPARE(m_window->lbR->item(1)->text(), QStringLiteral("B32Mult"));

        Child<QPushButton>(m_window.get(), "btOperation2")->click();
        QCOMPARE(m_window->sgB->rowCount(), 2);
        QCOMPARE(m_window->sgB->columnCount(), 3);
        Fill(m_window->sgB, {{"2*pi", "0.25", "1E10"}, {"-4", "", "1/3"}});
        m_window->Button1Click();
        QCOMPARE(Texts(m_window->sgC), (TRows{{"7.283185", "2.25", "1E10"}, {"0", "5", "6.333333"}}));
        QCOMPARE(m_window->sgB->item(1, 1)->text(), QStringLiteral("0"));
    }

    void mismatchedShapesAndSingularMatricesAreReported_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<TRows>("a");
        QTest::addColumn<QString>("message");
        QTest::newRow("singular inverse")
            << "btOperation4" << TRows{{"1", "2"}, {"2", "4"}} << "Could not inverse this matrix";
        QTest::newRow("singular system")
            << "btOperation1" << TRows{{"1", "2"}, {"2", "4"}} << "No solution for this equations";
    }
    void mismatchedShapesAndSingularMatricesAreReported() {
        QFETCH(QString, button);
        QFETCH(TRows, a);
        QFETCH(QString, message);
        Child<QPushButton>(m_window.get(), button)->click();
        SizeOf("A", 2, 2);
        Fill(m_window->sgA, a);
        Fill(m_window->sgB, {{"1"}, {"1"}});
        Fill(m_window->sgC, {{"kept"}, {"kept"}});
        QString shown;
        ExpectMessage(shown);
        m_window->Button1Click();
        QCOMPARE(shown, message);
        QCOMPARE(m_window->lbR->count(), 0);
    }

    void aProductOfIncompatibleShapesIsRefused() {
        SizeOf("A", 2, 3);
        SizeOf("B", 2, 3);
        QString shown;
        ExpectMessage(shown);
        m_window->Button1Click();
        QCOMPARE(shown, QStringLiteral("Can not Multiply"));
    }

    void anOverflowingResultIsReportedAndCIsKept() {
        SizeOf("A", 1, 1);
        SizeOf("B", 1, 1);
        Fill(m_window->sgA, {{"1E4900"}});
        Fill(m_window->sgB, {{"1E4900"}});
        Fill(m_window->sgC, {{"kept"}});
        QString shown;
        ExpectMessage(shown);
        m_window->Button1Click();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(m_window->sgC->item(0, 0)->text(), QStringLiteral("kept"));
    }

    void solveAndDeterminant() {
        Child<QPushButton>(m_window.get(), "btOperation1")->click();
        SizeOf("A", 2, 2);
        Fill(m_window->sgA, {{"0", "1"}, {"1", "0"}});
        Fill(m_window->sgB, {{"2"}, {"3"}});
        m_window->Button1Click();
        QCOMPARE(Texts(m_window->sgC), (TRows{{"3"}, {"2"}}));

        Child<QPushButton>(m_window.get(), "btOperation6")->click();
        Fill(m_window->sgA, {{"0", "2"}, {"3", "0"}});
        m_window->Button1Click();
        QCOMPARE(Texts(m_window->sgC), (TRows{{"-6"}}));
        QCOMPARE(m_window->lbR->item(m_window->lbR->count() - 1)->text(), QStringLiteral("C11Power"));
    }

    void anInvalidCellStopsTheOperationAndIsFocused() {
        SizeOf("A", 2, 2);
        SizeOf("B", 2, 2);
        Fill(m_window->sgA, {{"1", ""}, {"1/0", "2+"}});
        Fill(m_window->sgC, {{"kept"}});
        QString shown;
        ExpectMessage(shown);
        m_window->Button1Click();
        QCOMPARE(shown, EngineMessage(ErrDivisionByZero, 3));
        QCOMPARE(m_window->sgA->currentRow(), 1);
        QCOMPARE(m_window->sgA->currentColumn(), 0);
        QCOMPARE(m_window->sgA->item(0, 1)->text(), QStringLiteral("0"));
        QCOMPARE(m_window->sgC->item(0, 0)->text(), QStringLiteral("kept"));
        QCOMPARE(m_window->lbR->count(), 0);
    }

    void powerAndScalarAskThroughTheDialog() {
        ExpectMultDialog("1+2");
        QVERIFY(m_window->SelectOperation(OpPower));
        QCOMPARE(m_window->edOperation->text(), QStringLiteral("Power(A,3)=C"));
        SizeOf("A", 2, 2);
        Fill(m_window->sgA, {{"1", "1"}, {"0", "1"}});
        m_window->Button1Click();
        QCOMPARE(Texts(m_window->sgC), (TRows{{"1", "3"}, {"0", "1"}}));

        m_watchdog->Expect([](QWidget* dialog) { Child<QPushButton>(dialog, "btCancel")->click(); });
        QVERIFY(!m_window->SelectOperation(OpScalar));
        QCOMPARE(m_window->Operation(), int(OpPower));

        ExpectMultDialog("-0.5");
        QVERIFY(m_window->SelectOperation(OpScalar));
        QCOMPARE(m_window->edOperation->text(), QStringLiteral("-0.5*A=C"));
        m_window->Button1Click();
        QCOMPARE(Texts(m_window->sgC), (TRows{{"-0.5", "-0.5"}, {"0", "-0.5"}}));
    }

    void integerDialogRefusesFractionsAndErrors() {
        TfmMult dialog(nullptr, *m_ctx);
        int n = 4;
        m_watchdog->Expect([this](QWidget* shown) {
            auto* edit = Child<QLineEdit>(shown, "edValue");
            QCOMPARE(edit->text(), QStringLiteral("4"));
            edit->setText("2.5");
            Child<QPushButton>(shown, "btOK")->click();
            QVERIFY(shown->isVisible());
            edit->setText("1/0");
            Child<QPushButton>(shown, "btOK")->click();
            QCOMPARE(Child<QLabel>(shown, "lbError")->text(), EngineMessage(ErrDivisionByZero, 3));
            edit->setText("10/2");
            Child<QPushButton>(shown, "btOK")->click();
        });
        m_ctx->Input = "X+1";
        QVERIFY(dialog.AskInteger(n));
        QCOMPARE(n, 5);
        QCOMPARE(m_ctx->Input, std::string("X+1"));
    }

    void elementwiseFunctionMarksFailingElements() {
        m_watchdog->Expect([](QWidget* dialog) {
            auto* edit = Child<QLineEdit>(dialog, "edValue");
            QCOMPARE(edit->text(), QStringLiteral("sin(A)+cos(A)/3"));
            edit->setText("ln(A");
            Child<QPushButton>(dialog, "btOK")->click();
            QVERIFY(dialog->isVisible());
            edit->setText("ln(A)*2");
            Child<QPushButton>(dialog, "btOK")->click();
        });
        QVERIFY(m_window->SelectOperation(OpFunction));
        QCOMPARE(m_window->edOperation->text(), QStringLiteral("ln(A)*2=C"));
        SizeOf("A", 1, 3);
        Fill(m_window->sgA, {{"1", "-1", "e"}});
        m_window->Button1Click();
        const TRows c = Texts(m_window->sgC);
        QCOMPARE(c[0][0].toDouble(), 0.0);
        QCOMPARE(c[0][1], QStringLiteral("Error"));
        QCOMPARE(c[0][2].toDouble(), 2.0);
    }

    void clipboardCopyAndPasteRoundTrip() {
        SizeOf("A", 2, 3);
        Fill(m_window->sgA, {{"1", "2*pi", "3"}, {"4", "5", "-6"}});
        Child<QPushButton>(m_window.get(), "btCopyA")->click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1\t2*pi\t3\n4\t5\t-6\n"));
        m_window->sgB->setCurrentCell(1, 1);
        Child<QPushButton>(m_window.get(), "btPasteB")->click();
        const TRows b = Texts(m_window->sgB);
        QCOMPARE(b[1].mid(1, 3), (QStringList{"1", "2*pi", "3"}));
        QCOMPARE(b[2].mid(1, 3), (QStringList{"4", "5", "-6"}));
        QCOMPARE(b[0][1], QString());
        QCOMPARE(b[1][0], QString());
    }

    void pasteSplitsFieldsAtTheFirstSeparatorPresent_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields"); // row,col:text
        QTest::newRow("blank then comma lines")
            << "1 2 3\r4,5,6\r" << QStringList{"0,0:1", "0,1:2", "0,2:3", "1,0:4", "1,1:5", "1,2:6"};
        QTest::newRow("CR LF, empty lines, LF and a last line without end")
            << "1\t2\r\n\r\n3\n4" << QStringList{"0,0:1", "0,1:2", "1,0:3", "2,0:4"};
        QTest::newRow("a blank anywhere wins over commas")
            << "1,2 3\r1,,2  \r" << QStringList{"0,0:1,2", "0,1:3", "1,0:1,,2"};
        QTest::newRow("repeated separators are one")
            << "1,,2\r3  4 \r" << QStringList{"0,0:1", "0,1:2", "1,0:3", "1,1:4"};
        QTest::newRow("a leading blank leaves an empty field") << " 7\r" << QStringList{"0,1:7"};
    }
    void pasteSplitsFieldsAtTheFirstSeparatorPresent() {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        QStringList actual;
        for (const TPastedField& field : ParseMatrixClipboard(text))
            actual << QString("%1,%2:%3").arg(field.Row).arg(field.Col).arg(field.Text);
        QCOMPARE(actual, fields);
    }

    void pastingJunkFillsOnlyTheGrid() {
        QString junk;
        for (int i = 0; i < 70000; ++i)
            junk += QChar(u" ,\t\rx9(\n"[i % 8]);
        QApplication::clipboard()->setText(junk);
        m_window->PasteFromClipboard(m_window->sgA);
        QCOMPARE(m_window->sgA->rowCount(), 5);
        // Lines alternate between empty fields and one field "x9(".
        QVERIFY(!m_window->sgA->item(0, 0));
        QCOMPARE(m_window->sgA->item(1, 0)->text(), QStringLiteral("x9("));
        QString shown;
        ExpectMessage(shown);
        m_window->Button1Click();
        QVERIFY(shown.contains(": position "));
    }

    void saveWritesTheFormulaAndTheMatricesColumnByColumn() {
        TScratchFolder folder;
        Child<QPushButton>(m_window.get(), "btOperation2")->click();
        SizeOf("A", 2, 2);
        Fill(m_window->sgA, {{"1", "2"}, {"3", "4"}});
        Fill(m_window->sgB, {{"1", "1"}, {"1", "1"}});
        m_window->Button1Click();
        QVERIFY(m_window->SaveToFile(folder.Path() + "/m.TXT"));
        QCOMPARE(folder.Read("m.TXT"),
                 QStringLiteral("A+B=C\nMatrix A\n1,3\n2,4\nMatrix B\n1,1\n1,1\nMatrix C\n2,4\n3,5\n"));

        QString shown;
        ExpectMessage(shown);
        QVERIFY(!m_window->SaveToFile(folder.Path() + "/missing/m.TXT"));
        QCOMPARE(shown, "Can not create file " + folder.Path() + "/missing/m.TXT");
    }

    void repositoryAndCopyButtonsMoveMatrices() {
        SizeOf("A", 2, 2);
        SizeOf("B", 2, 2);
        Fill(m_window->sgA, {{"1", "2"}, {"3", "4"}});
        Fill(m_window->sgB, {{"1", "0"}, {"0", "1"}});
        m_window->Button1Click();
        Child<QPushButton>(m_window.get(), "btCopyCB")->click();
        QCOMPARE(Texts(m_window->sgB), (TRows{{"1", "2"}, {"3", "4"}}));
        m_window->lbR->setCurrentRow(1);
        Child<QPushButton>(m_window.get(), "btRToA")->click();
        QCOMPARE(Texts(m_window->sgA), (TRows{{"1", "0"}, {"0", "1"}}));
    }

    void keyboardDeletesCellsAndInsertsRows() {
        SizeOf("A", 2, 2);
        Fill(m_window->sgA, {{"1", "2"}, {"3", "4"}});
        m_window->sgA->setFocus();
        m_window->sgA->setCurrentCell(0, 1);
        QTest::keyClick(m_window->sgA, Qt::Key_Delete);
        QCOMPARE(m_window->sgA->item(0, 1)->text(), QString());
        QTest::keyClick(m_window->sgA, Qt::Key_Return);
        QCOMPARE(m_window->sgA->currentRow(), 1);
        m_window->sgA->setCurrentCell(0, 1);
        QTest::keyClick(m_window->sgA, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(m_window->sgA->rowCount(), 3);
        QCOMPARE(Child<QLineEdit>(m_window.get(), "edARows")->text(), QStringLiteral("3"));
        QCOMPARE(m_window->sgA->item(1, 0)->text(), QStringLiteral("1"));
    }

    void printedTablesAreBoxedAndGrowWithTheMatrices() {
        SizeOf("A", 2, 2);
        Fill(m_window->sgA, {{"1", "2"}, {"3", "4"}});
        QImage page(600, 1200, QImage::Format_RGB32);
        page.fill(Qt::white);
        int height = 0;
        {
            QPainter painter(&page);
            height = m_window->PaintTables(painter, page.width());
        }
        int boxedRows = 0;
        for (int y = 0; y < height; ++y)
            boxedRows += qGray(page.pixel(0, y)) < 128 ? 1 : 0;
        QVERIFY2(boxedRows > 0, "no box border at the left edge");
        SizeOf("A", 4, 2);
        QImage larger(600, 1200, QImage::Format_RGB32);
        QPainter painter(&larger);
        QVERIFY(m_window->PaintTables(painter, larger.width()) > height);
    }

    void enterEndingAnEditMovesDown() {
        m_window->show();
        m_window->activateWindow();
        m_window->sgA->setFocus();
        m_window->sgA->setCurrentCell(0, 0);
        if (!m_window->sgA->item(0, 0))
            m_window->sgA->setItem(0, 0, new QTableWidgetItem);
        m_window->sgA->editItem(m_window->sgA->item(0, 0));
        QLineEdit* editor = nullptr;
        QTRY_VERIFY((editor = m_window->sgA->viewport()->findChild<QLineEdit*>()) != nullptr);
        QTest::keyClicks(editor, QStringLiteral("7"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_window->sgA->item(0, 0)->text(), QStringLiteral("7"));
        QTRY_COMPARE(m_window->sgA->currentRow(), 1);
    }

    void focusedRepositoryPrintsItsSelectedMatrixOnly() {
        Child<QPushButton>(m_window.get(), "btOperation4")->click();
        SizeOf("A", 2, 2);
        Fill(m_window->sgA, {{"1", "2"}, {"3", "4"}});
        m_window->Button1Click();
        QImage page(600, 1200, QImage::Format_RGB32);
        const auto printedHeight = [&] {
            QPainter painter(&page);
            return m_window->PaintTables(painter, page.width());
        };
        const int grids = printedHeight();
        m_window->show();
        m_window->activateWindow();
        m_window->lbR->setFocus();
        m_window->lbR->setCurrentRow(1);
        QTRY_VERIFY(m_window->lbR->hasFocus());
        const int stored = printedHeight();
        QVERIFY2(stored < grids, "one stored matrix takes less room than the formula and three grids");
        QVERIFY(stored > 0);
    }

    void generalTextUsesSevenSignificantDigits_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("third") << 1.0 / 3 << "0.3333333";
        QTest::newRow("seven integer digits") << 1234567.0 << "1234567";
        QTest::newRow("eight integer digits") << 12345678.0 << "1.234568E7";
        QTest::newRow("rounding up to eight digits") << 9999999.6 << "1E7";
        QTest::newRow("smallest fixed") << 0.00001 << "0.00001";
        QTest::newRow("below fixed") << 0.000001234 << "1.234E-6";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("large") << 1e100 << "1E100";
    }
    void generalTextUsesSevenSignificantDigits() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(GeneralText(value), text);
    }
};

QTEST_MAIN(TMatrixWindowTest)
#include "MatrixWindowTest.moc"
