#include "gui/GuiTestSupport.h"

#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace mirla;
using mirla::test::TModalWatchdog;

namespace {

QString ErrorMessage(int code, int position) {
    return QString::fromStdString(ErrorText(code)) + QStringLiteral(": position ") +
           QString::number(position);
}

template <typename T> T* Child(QWidget* dialog, const char* name) {
    T* child = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("missing control %s", name);
    return child;
}

} // namespace

class TSetVarDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<EvalContext> m_ctx;
    std::unique_ptr<TModalWatchdog> m_watchdog;

private slots:
    void init() {
        m_ctx = std::make_unique<EvalContext>();
        m_watchdog = std::make_unique<TModalWatchdog>();
    }
    void cleanup() {
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_ctx.reset();
    }

    void showsCaptionsLabelsAndTheCurrentState_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<bool>("set");
        QTest::newRow("X unset") << 1 << "X" << false;
        QTest::newRow("N set") << 10 << "N" << true;
    }
    void showsCaptionsLabelsAndTheCurrentState() {
        QFETCH(int, index);
        QFETCH(QString, letter);
        QFETCH(bool, set);
        if (set)
            m_ctx->Variable(index) = PredefinedVariable{Extended(42), "6*7"};
        TSetVar dialog(nullptr, *m_ctx, index);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Set variable"));
        QCOMPARE(Child<QLabel>(&dialog, "lbExp")->text(), QStringLiteral("Expession ") + letter);
        QCOMPARE(Child<QLabel>(&dialog, "lbValue")->text(), QStringLiteral("Value ") + letter);
        QCOMPARE(Child<QCheckBox>(&dialog, "cbEval")->text(), QStringLiteral("Evaluate after settings"));
        QCOMPARE(Child<QPushButton>(&dialog, "btOK")->text(), QStringLiteral("       &OK"));
        QCOMPARE(Child<QPushButton>(&dialog, "btCancel")->text(), QStringLiteral("     &Cancel"));
        QCOMPARE(Child<QPushButton>(&dialog, "btHelp")->text(), QStringLiteral("       &Help"));
        QVERIFY(Child<QPushButton>(&dialog, "btOK")->isDefault());
        QVERIFY(!dialog.Edit2->isEnabled());
        QCOMPARE(dialog.Edit1->text(), set ? QStringLiteral("6*7") : QString());
        if (set)
            QCOMPARE(dialog.Edit2->text().toDouble(), 42.0);
        else
            QCOMPARE(dialog.Edit2->text(), QStringLiteral("undefined"));
    }

    void okEvaluatesStoresAndReportsTheBlankFreeText() {
        bool evaluateAfter = false;
        m_watchdog->Expect([](QWidget* dialog) {
            auto* edit = Child<QLineEdit>(dialog, "Edit1");
            QCOMPARE(dialog->focusWidget(), edit);
            edit->setText(QStringLiteral("2 * (3 + 4)"));
            Child<QCheckBox>(dialog, "cbEval")->setChecked(true);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        std::string expression;
        QVERIFY(AskVariableDialog(nullptr, *m_ctx, 3, expression, evaluateAfter));
        QCOMPARE(expression, std::string("2*(3+4)"));
        QVERIFY(evaluateAfter);
        QCOMPARE(m_ctx->Variable(3).Value, Extended(14));
        QCOMPARE(m_ctx->Variable(3).Definition, std::string("2*(3+4)"));
    }

    void cancelLeavesTheVariableAlone() {
        m_ctx->Variable(2) = PredefinedVariable{Extended(5), "5"};
        bool evaluateAfter = true;
        m_watchdog->Expect([](QWidget* dialog) {
            Child<QLineEdit>(dialog, "Edit1")->setText(QStringLiteral("99"));
            Child<QPushButton>(dialog, "btCancel")->click();
        });
        std::string expression = "unchanged";
        QVERIFY(!AskVariableDialog(nullptr, *m_ctx, 2, expression, evaluateAfter));
        QCOMPARE(expression, std::string("unchanged"));
        QVERIFY(evaluateAfter);
        QCOMPARE(m_ctx->Variable(2).Value, Extended(5));
        QCOMPARE(m_ctx->Variable(2).Definition, std::string("5"));
    }

    void anErrorKeepsTheDialogOpenAndIsShownInPlace_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("selected");
        QTest::newRow("division by zero after blanks")
            << "1 /  0" << ErrorMessage(ErrDivisionByZero, 6) << "0";
        QTest::newRow("missing closing parenthesis") << "(1+2" << ErrorMessage(ErrMissingClose, 4) << "2";
        QTest::newRow("empty expression") << "" << ErrorMessage(ErrSyntax, 1) << "";
    }
    void anErrorKeepsTheDialogOpenAndIsShownInPlace() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, selected);
        TSetVar dialog(nullptr, *m_ctx, 1);
        dialog.show();
        dialog.Edit1->setText(typed);
        Child<QPushButton>(&dialog, "btOK")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.Edit2->isEnabled());
        QCOMPARE(dialog.Edit2->text(), message);
        QCOMPARE(dialog.Edit1->selectedText(), selected);
        QVERIFY(!m_ctx->ErrorFlag);
        QCOMPARE(m_ctx->Variable(1).Value, UndefinedValue);
        QVERIFY(m_ctx->Variable(1).Definition.empty());

        dialog.Edit1->setText(QStringLiteral("7"));
        Child<QPushButton>(&dialog, "btOK")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_ctx->Variable(1).Value, Extended(7));
    }

    void theEngineInputSurvivesTheDialog() {
        m_ctx->Input = "X+1";
        m_ctx->ReadPos = 2;
        TSetVar dialog(nullptr, *m_ctx, 1);
        dialog.Edit1->setText(QStringLiteral("3"));
        dialog.accept();
        QCOMPARE(m_ctx->Input, std::string("X+1"));
        QCOMPARE(m_ctx->ReadPos, 2);
    }
};

QTEST_MAIN(TSetVarDialogTest)
#include "SetVarDialogTest.moc"
