#include "gui/GuiTestSupport.h"

#include "app/DefinitionsShell.h"
#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "engine/Engine.h"
#include "engine/EngineHost.h"
#include "engine/ErrorCodes.h"
#include "engine/InputPreparation.h"
#include "runtime/IniFile.h"
#include "userdefs/ui/ConstantsPage.h"
#include "userdefs/ui/SetVarDialog.h"
#include "userdefs/ui/UserFuncsPage.h"
#include "userdefs/ui/UserVarsPage.h"
#include "userdefs/ui/VariablesPage.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace mirla;
using mirla::test::TModalWatchdog;
using mirla::test::TScratchFolder;

namespace {

/// The main window as far as the pages see it, over a scratch program folder.
class TFakeShell : public TDefinitionsShell, public TEngineHost {
public:
    explicit TFakeShell(const QString& folder)
        : m_files(TCalcFiles::Locate(folder.toStdString(), (folder + "/user").toStdString())),
          m_settings(m_files) {
        m_ctx.SetHost(this);
    }
    ~TFakeShell() override { m_ctx.SetHost(nullptr); }

    EvalContext& Engine() override { return m_ctx; }
    TCalcSettings& Settings() override { return m_settings; }
    void ShowHelp(int topic) override { HelpTopics << topic; }
    const TCalcFiles& Files() const override { return m_files; }
    int DisplayWidth() const override { return 12; }
    void SetFunc(const QString& text) override { Inserted << text; }

    bool AskVariable(EvalContext& ctx, int index, std::string& expression) override {
        bool evaluateAfter = false;
        return AskVariableDialog(nullptr, ctx, index, expression, evaluateAfter);
    }

    QStringList Inserted;
    QList<int> HelpTopics;

private:
    EvalContext m_ctx;
    TCalcFiles m_files;
    TCalcSettings m_settings;
};

/// Answers the next message box with OK and records its text and kind.
struct TMessageAnswer {
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    bool Seen = false;
};

void ExpectMessage(TModalWatchdog& watchdog, TMessageAnswer& answer) {
    watchdog.Expect([&answer](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        answer.Seen = box != nullptr;
        if (box) {
            answer.Text = box->text();
            answer.Icon = box->icon();
        }
        dialog->close();
    });
}

/// Types an absolute file name into a file dialog and closes it with OK. The dialog's own
/// checks and selectFile() depend on its folder model, which fills asynchronously, so the
/// name goes straight into the name field.
void TypeFileName(QFileDialog* files, const QString& path) {
    files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
    static_cast<QDialog*>(files)->done(QDialog::Accepted);
}

/// Answers the next file dialog by choosing `path`, recording its title and filters.
struct TFileAnswer {
    QString Title;
    QStringList Filters;
    QString Suffix;
    bool Seen = false;
};

void ExpectFileDialog(TModalWatchdog& watchdog, const QString& path, TFileAnswer& answer) {
    watchdog.Expect([path, &answer](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        answer.Seen = files != nullptr;
        if (!files) {
            dialog->close();
            return;
        }
        answer.Title = files->windowTitle();
        answer.Filters = files->nameFilters();
        answer.Suffix = files->defaultSuffix();
        TypeFileName(files, path);
    });
}

/// Answers the next set-variable dialog with an expression (OK) or with Cancel when empty.
void ExpectSetVariable(TModalWatchdog& watchdog, const QString& expression, QString& title, QString& label) {
    watchdog.Expect([expression, &title, &label](QWidget* dialog) {
        title = dialog->windowTitle();
        label = dialog->findChild<QLabel*>(QStringLiteral("lbExp"))->text();
        if (expression.isEmpty()) {
            qobject_cast<QDialog*>(dialog)->reject();
            return;
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(expression);
        qobject_cast<QDialog*>(dialog)->accept();
    });
}

QString ErrorMessage(int code, int position) {
    return QString::fromStdString(ErrorText(code)) + QStringLiteral(": position ") +
           QString::number(position);
}

/// A value text read back as a number, so that checks do not depend on the notation in force.
QString Number(const QString& text) {
    return QString::number(text.toDouble(), 'g', 15);
}

/// "name = value text" with the value read back as a number.
QString VariableLine(const QString& line) {
    const int at = line.indexOf(QStringLiteral(" = "));
    return at < 0 ? line : line.left(at + 3) + Number(line.mid(at + 3));
}

/// The lines of a .USR list or file with their values read back as numbers.
QStringList VariableLines(const QStringList& lines) {
    QStringList result;
    for (const QString& line : lines)
        result << VariableLine(line);
    return result;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

/// Evaluates a line through the engine as the calculator would.
Extended EvaluateLine(EvalContext& ctx, const std::string& line) {
    ctx.ClearError();
    PrepareInput(ctx, line);
    return Evaluate(ctx);
}

void SelectRow(QListWidget* list, int row) {
    list->setCurrentRow(row);
    list->item(row)->setSelected(true);
}

} // namespace

class TUserDefinitionsPagesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TScratchFolder> m_folder;
    std::unique_ptr<TFakeShell> m_shell;
    std::unique_ptr<TModalWatchdog> m_watchdog;

private slots:
    void init() {
        m_folder = std::make_unique<TScratchFolder>();
        m_shell = std::make_unique<TFakeShell>(m_folder->Path());
        m_watchdog = std::make_unique<TModalWatchdog>();
    }
    void cleanup() {
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_shell.reset();
        m_folder.reset();
    }

    // "Variables" page

    void calculateAllAsksForUnsetVariableAndCancelShowsUserBreak() {
        TVariablesPage page(*m_shell, nullptr);
        page.ExpressionField(1)->setText(QStringLiteral("Y+1"));
        QString title, label;
        ExpectSetVariable(*m_watchdog, {}, title, label);
        page.CalculateAll();
        QCOMPARE(title, QStringLiteral("Set variable"));
        QCOMPARE(label, QStringLiteral("Expession Y"));
        QVERIFY(page.ErrorLabel()->text().startsWith(QString::fromStdString(ErrorText(ErrUserBreak)) +
                                                     QStringLiteral(": position ")));
        QCOMPARE(m_shell->Engine().Variable(1).Value, UndefinedValue);
        QVERIFY(!m_shell->Engine().ErrorFlag);
    }

    void calculateAllAsksForUnsetVariableAndUsesTheAnswer() {
        TVariablesPage page(*m_shell, nullptr);
        page.ExpressionField(1)->setText(QStringLiteral("Y+1"));
        QString title, label;
        ExpectSetVariable(*m_watchdog, QStringLiteral("2"), title, label);
        page.CalculateAll();
        QCOMPARE(m_shell->Engine().Variable(2).Value, Extended(2));
        QCOMPARE(m_shell->Engine().Variable(1).Value, Extended(3));
        QCOMPARE(Number(page.ValueField(1)->text()), QStringLiteral("3"));
        QCOMPARE(Number(page.ValueField(2)->text()), QStringLiteral("2"));
        QVERIFY(page.ErrorLabel()->text().isEmpty());
    }

    void refreshShowsUndefindForVariablesNeverSet() {
        m_shell->Engine().Variable(3).Value = 7;
        m_shell->Engine().Variable(4).Definition = "1+1";
        m_shell->Engine().Variable(4).Value = 2;
        TVariablesPage page(*m_shell, nullptr);
        page.RefreshVariablesPage();
        for (int k : {1, 2, 5, 6, 7, 8, 9, 10})
            QVERIFY2(page.ValueField(k)->text() == QStringLiteral("Undefind"),
                     qPrintable(QString::number(k)));
        QCOMPARE(Number(page.ValueField(3)->text()), QStringLiteral("7"));
        QCOMPARE(page.ExpressionField(4)->text(), QStringLiteral("1+1"));
        QCOMPARE(Number(page.ValueField(4)->text()), QStringLiteral("2"));
    }

    void rowErrorIsShownAtThePositionAsTyped() {
        TVariablesPage page(*m_shell, nullptr);
        page.show();
        page.ExpressionField(1)->setText(QStringLiteral("1 /  0"));
        page.EvaluateVariableRow(1);
        QCOMPARE(page.ErrorLabel()->text(), ErrorMessage(ErrDivisionByZero, 6));
        QCOMPARE(page.ExpressionField(1)->selectedText(), QStringLiteral("0"));
        QCOMPARE(m_shell->Engine().Variable(1).Value, UndefinedValue);
        QVERIFY(!m_shell->Engine().ErrorFlag);
    }

    void enterInARowEvaluatesThatRowOnly() {
        TVariablesPage page(*m_shell, nullptr);
        page.show();
        page.ExpressionField(1)->setText(QStringLiteral("5"));
        page.ExpressionField(3)->setText(QStringLiteral("2 * 3"));
        page.ExpressionField(3)->setFocus();
        QTest::keyClick(page.ExpressionField(3), Qt::Key_Return);
        QCOMPARE(m_shell->Engine().Variable(3).Value, Extended(6));
        QCOMPARE(m_shell->Engine().Variable(3).Definition, std::string("2*3"));
        QCOMPARE(Number(page.ValueField(3)->text()), QStringLiteral("6"));
        QCOMPARE(m_shell->Engine().Variable(1).Value, UndefinedValue);
    }

    void varFileSaveAndLoadRoundTrip() {
        TVariablesPage page(*m_shell, nullptr);
        page.ExpressionField(1)->setText(QStringLiteral("2+3"));
        page.ExpressionField(2)->setText(QStringLiteral("X*2"));
        const QString path = m_folder->Path() + QStringLiteral("/vars.VAR");
        TFileAnswer save;
        ExpectFileDialog(*m_watchdog, path, save);
        page.SaveClick();
        QCOMPARE(save.Title, QStringLiteral("Save variables to File"));
        QCOMPARE(save.Filters, QStringList{QStringLiteral("Variables files (*.VAR)")});
        QCOMPARE(save.Suffix, QStringLiteral("VAR"));
        QVERIFY(QFile::exists(path));

        for (int k = 1; k <= VariableCount; ++k) {
            m_shell->Engine().Variable(k) = PredefinedVariable{};
            page.ExpressionField(k)->clear();
        }
        TFileAnswer load;
        ExpectFileDialog(*m_watchdog, path, load);
        page.LoadClick();
        QCOMPARE(load.Title, QStringLiteral("Load variables from File"));
        QCOMPARE(load.Filters, QStringList{QStringLiteral("User variables files (*.VAR)")});
        QCOMPARE(page.ExpressionField(1)->text(), QStringLiteral("2+3"));
        QCOMPARE(page.ExpressionField(2)->text(), QStringLiteral("X*2"));
        QCOMPARE(m_shell->Engine().Variable(2).Value, Extended(10));
        QCOMPARE(page.ValueField(3)->text(), QStringLiteral("Undefind"));
    }

    void varFileThatCannotBeCreatedIsReported() {
        TVariablesPage page(*m_shell, nullptr);
        const QString path = m_folder->Path() + QStringLiteral("/missing/vars.VAR");
        TMessageAnswer answer;
        m_watchdog->Expect([&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            QVERIFY(files);
            TypeFileName(files, path);
            ExpectMessage(*m_watchdog, answer);
        });
        page.SaveClick();
        QVERIFY(answer.Seen);
        QCOMPARE(answer.Icon, QMessageBox::Critical);
        QVERIFY2(answer.Text.startsWith(QStringLiteral("Can't create file ")), qPrintable(answer.Text));
    }

    void helpOpensTopicThree() {
        TVariablesPage page(*m_shell, nullptr);
        page.findChild<QPushButton*>(QStringLiteral("btHelp"))->click();
        QCOMPARE(m_shell->HelpTopics, QList<int>{3});
    }

    // "User Vars" page

    void definingTheSameNameTwiceReplacesInPlaceAndCaseMatters() {
        TUserVarsPage page(*m_shell, nullptr);
        const auto add = [&page](const QString& name, const QString& expression) {
            page.NameField()->setText(name);
            page.ExpressionField()->setText(expression);
            page.AddModifyClick();
        };
        add(QStringLiteral("rate"), QStringLiteral("2"));
        add(QStringLiteral("b"), QStringLiteral("1"));
        add(QStringLiteral("rate"), QStringLiteral("2 + 3"));
        QCOMPARE(VariableLines(Items(page.List())),
                 (QStringList{QStringLiteral("b = 1"), QStringLiteral("rate = 5")}));
        add(QStringLiteral("Rate"), QStringLiteral("7"));
        QCOMPARE(
            VariableLines(Items(page.List())),
            (QStringList{QStringLiteral("Rate = 7"), QStringLiteral("b = 1"), QStringLiteral("rate = 5")}));
        QCOMPARE(EvaluateLine(m_shell->Engine(), "rate*Rate"), Extended(35));
    }

    void addModifyRefusesEmptyFieldsAndShowsEvaluationErrors_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << ""
                                    << "1"
                                    << "Varible name or value invalid!";
        QTest::newRow("empty expression") << "a"
                                          << ""
                                          << "Varible name or value invalid!";
        QTest::newRow("division by zero") << "a"
                                          << "1 / 0" << ErrorMessage(ErrDivisionByZero, 5);
    }
    void addModifyRefusesEmptyFieldsAndShowsEvaluationErrors() {
        QFETCH(QString, name);
        QFETCH(QString, expression);
        QFETCH(QString, message);
        TUserVarsPage page(*m_shell, nullptr);
        page.NameField()->setText(name);
        page.ExpressionField()->setText(expression);
        TMessageAnswer answer;
        ExpectMessage(*m_watchdog, answer);
        page.AddModifyClick();
        QCOMPARE(answer.Text, message);
        QCOMPARE(answer.Icon, QMessageBox::Critical);
        QCOMPARE(m_shell->Engine().UserVariables.Count(), 0);
        QVERIFY(!m_shell->Engine().ErrorFlag);
    }

    void enterInTheExpressionFieldAdds() {
        TUserVarsPage page(*m_shell, nullptr);
        page.show();
        page.NameField()->setText(QStringLiteral("k"));
        page.ExpressionField()->setText(QStringLiteral("3^2"));
        page.ExpressionField()->setFocus();
        QTest::keyClick(page.ExpressionField(), Qt::Key_Return);
        QCOMPARE(VariableLines(Items(page.List())), QStringList{QStringLiteral("k = 9")});
    }

    void nameFieldsKeepOnlyTheirCharacters_data() {
        QTest::addColumn<bool>("functionPage");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("variable: digits and signs") << false << "ab1c_d("
                                                    << "abcd";
        QTest::newRow("variable: letters only") << false << "Rate"
                                                << "Rate";
        QTest::newRow("function: parameters kept") << true << "f(x,y)1 +"
                                                   << "f(x,y)";
        QTest::newRow("function: blank removed") << true << "g (a)"
                                                 << "g(a)";
    }
    void nameFieldsKeepOnlyTheirCharacters() {
        QFETCH(bool, functionPage);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        TUserVarsPage vars(*m_shell, nullptr);
        TUserFuncsPage funcs(*m_shell, nullptr);
        QLineEdit* field = functionPage ? funcs.NameField() : vars.NameField();
        field->show();
        QTest::keyClicks(field, typed);
        QCOMPARE(field->text(), kept);
        QCOMPARE(field->cursorPosition(), kept.size());
    }

    void usrFileLoadsInOrderAndDeleteRemovesThatVariable() {
        m_folder->Write(QStringLiteral("two.USR"), QStringLiteral("a = 1\nb = 2\n"));
        m_shell->Settings().Variables = (m_folder->Path() + QStringLiteral("/two.USR")).toStdString();
        TUserVarsPage page(*m_shell, nullptr);
        page.Load();
        QCOMPARE(Items(page.List()), (QStringList{QStringLiteral("a = 1"), QStringLiteral("b = 2")}));
        SelectRow(page.List(), 0);
        page.DeleteClick();
        QCOMPARE(Items(page.List()), QStringList{QStringLiteral("b = 2")});
        EvalContext& ctx = m_shell->Engine();
        QVERIFY(ctx.UserVariables.FindByName("a") == nullptr);
        QCOMPARE(EvaluateLine(ctx, "b*3"), Extended(6));
        QVERIFY(!ctx.ErrorFlag);
    }

    void usrLinesThatCouldNotBeReadAreSavedBack() {
        const QString text = QStringLiteral("a = 1\nb = FF\nc = 3\n");
        m_folder->Write(QStringLiteral("part.USR"), text);
        m_shell->Settings().Variables = (m_folder->Path() + QStringLiteral("/part.USR")).toStdString();
        TUserVarsPage page(*m_shell, nullptr);
        TMessageAnswer answer;
        ExpectMessage(*m_watchdog, answer);
        page.Load();
        QVERIFY(answer.Text.endsWith(QStringLiteral(": b = FF")));
        QCOMPARE(Items(page.List()), QStringList{QStringLiteral("c = 3")});
        page.SaveClick();
        QCOMPARE(m_folder->Read(QStringLiteral("part.USR")), text);
    }

    void missingVariablesFileAtStartIsSilent() {
        m_shell->Settings().Variables = (m_folder->Path() + QStringLiteral("/none.USR")).toStdString();
        TUserVarsPage page(*m_shell, nullptr);
        page.Load();
        QCOMPARE(page.List()->count(), 0);
    }

    void doubleClickFillsTheFields() {
        TUserVarsPage page(*m_shell, nullptr);
        page.NameField()->setText(QStringLiteral("speed"));
        page.ExpressionField()->setText(QStringLiteral("12.5"));
        page.AddModifyClick();
        page.NameField()->clear();
        page.ExpressionField()->clear();
        emit page.List()->itemDoubleClicked(page.List()->item(0));
        QCOMPARE(page.NameField()->text(), QStringLiteral("speed"));
        QCOMPARE(Number(page.ExpressionField()->text()), QStringLiteral("12.5"));
    }

    void usrSaveSaveAsAndLoadRoundTrip() {
        const QString start = m_folder->Path() + QStringLiteral("/Mirla.USR");
        m_shell->Settings().Variables = start.toStdString();
        TUserVarsPage page(*m_shell, nullptr);
        page.NameField()->setText(QStringLiteral("vol"));
        page.ExpressionField()->setText(QStringLiteral("4"));
        page.AddModifyClick();
        page.SaveClick();
        QCOMPARE(VariableLines(m_folder->Read(QStringLiteral("Mirla.USR")).split(u'\n')),
                 (QStringList{"vol = 4", ""}));

        const QString other = m_folder->Path() + QStringLiteral("/other.USR");
        TFileAnswer saveAs;
        ExpectFileDialog(*m_watchdog, other, saveAs);
        page.SaveAsClick();
        QCOMPARE(saveAs.Title, QStringLiteral("Save variables to File"));
        QCOMPARE(saveAs.Filters, QStringList{QStringLiteral("User variables files (*.USR)")});
        QCOMPARE(saveAs.Suffix, QStringLiteral("USR"));
        QCOMPARE(m_folder->Read(QStringLiteral("other.USR")), m_folder->Read(QStringLiteral("Mirla.USR")));
        TIniFile ini;
        std::string message;
        QVERIFY(ini.Load(m_shell->Files().SettingsFile(), message));
        QCOMPARE(QString::fromStdString(ini.ReadString("Files", "Variables", "")), other);
        QCOMPARE(m_shell->Settings().Variables, start.toStdString());

        m_folder->Write(QStringLiteral("other.USR"), QStringLiteral("len = 2.5\nvol = 4\n"));
        TFileAnswer load;
        ExpectFileDialog(*m_watchdog, other, load);
        page.LoadClick();
        QCOMPARE(load.Title, QStringLiteral("Load variables from File"));
        QCOMPARE(VariableLines(Items(page.List())),
                 (QStringList{QStringLiteral("len = 2.5"), QStringLiteral("vol = 4")}));
        QCOMPARE(EvaluateLine(m_shell->Engine(), "len*vol"), Extended(10));
    }

    void usrSaveToAnUncreatableFileIsReported() {
        const QString path = m_folder->Path() + QStringLiteral("/missing/Mirla.USR");
        m_shell->Settings().Variables = path.toStdString();
        TUserVarsPage page(*m_shell, nullptr);
        TMessageAnswer answer;
        ExpectMessage(*m_watchdog, answer);
        page.SaveClick();
        QCOMPARE(answer.Text, QStringLiteral("Can't create file ") + path);
        QCOMPARE(answer.Icon, QMessageBox::Critical);
    }

    // "Constants" page

    void constantsAreSortedFoundAndPasted_data() {
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("pasted");
        QTest::newRow("pl finds Planck") << "pl"
                                         << "Planck = 6.62607015E-34 ;J s, Planck constant"
                                         << "6.62607015E-34";
        QTest::newRow("upper case PI finds pi2") << "PI"
                                                 << "pi2 = 6.283185307 ;two pi"
                                                 << "6.283185307";
        QTest::newRow("unit without ; stays") << "g"
                                              << "g = 9.80665 m/s2"
                                              << "9.80665m/s2";
        QTest::newRow("line without =") << "note"
                                        << "note 42"
                                        << "note42";
    }
    void constantsAreSortedFoundAndPasted() {
        QFETCH(QString, find);
        QFETCH(QString, selected);
        QFETCH(QString, pasted);
        m_folder->Write(QStringLiteral("Mirla.CON"),
                        QStringLiteral("pi2 = 6.283185307 ;two pi\ng = 9.80665 m/s2\n"
                                       "Planck = 6.62607015E-34 ;J s, Planck constant\n"
                                       "c = 2.99792458E8 ;m/s\nnote 42\n"));
        TConstantsPage page(*m_shell, nullptr);
        page.Load();
        QCOMPARE(Items(page.List()),
                 (QStringList{"c = 2.99792458E8 ;m/s", "g = 9.80665 m/s2", "note 42",
                              "pi2 = 6.283185307 ;two pi", "Planck = 6.62607015E-34 ;J s, Planck constant"}));
        page.FindField()->setText(find);
        QCOMPARE(page.List()->currentItem()->text(), selected);
        page.PasteClick();
        QCOMPARE(m_shell->Inserted, QStringList{pasted});
    }

    void clickOnAConstantPastesIt() {
        m_folder->Write(QStringLiteral("Mirla.CON"), QStringLiteral("c = 2.99792458E8 ;m/s\n"));
        TConstantsPage page(*m_shell, nullptr);
        page.Load();
        page.show();
        QListWidget* list = page.List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(m_shell->Inserted, QStringList{QStringLiteral("2.99792458E8")});
    }

    void findWithoutMatchWarns() {
        m_folder->Write(QStringLiteral("Mirla.CON"), QStringLiteral("c = 2.99792458E8\n"));
        TConstantsPage page(*m_shell, nullptr);
        page.Load();
        TMessageAnswer answer;
        ExpectMessage(*m_watchdog, answer);
        page.FindField()->setText(QStringLiteral("zq"));
        QCOMPARE(answer.Text, QStringLiteral("Constant name begining from <\"ZQ\"> not found"));
        QCOMPARE(answer.Icon, QMessageBox::Warning);
    }

    void missingConstantsFileWarnsAtStartAndOnReload() {
        TConstantsPage page(*m_shell, nullptr);
        const QString base = QString::fromStdString(m_shell->Files().BasePath());
        TMessageAnswer atStart;
        ExpectMessage(*m_watchdog, atStart);
        page.Load();
        QCOMPARE(atStart.Text, QStringLiteral("File <") + base + QStringLiteral(".CON> not found."));
        QCOMPARE(atStart.Icon, QMessageBox::Warning);
        QCOMPARE(page.List()->count(), 0);
        QVERIFY(!page.ReloadButton()->isEnabled());

        page.ReloadButton()->setEnabled(true);
        TMessageAnswer onReload;
        ExpectMessage(*m_watchdog, onReload);
        page.ReloadClick();
        QCOMPARE(onReload.Text, QStringLiteral("File <") + base + QStringLiteral(".CON> not found"));
        QVERIFY(!page.ReloadButton()->isEnabled());
    }

    void editStartsTheEditorAndReloadReadsTheFileAgain() {
        const QString constants = m_folder->Write(QStringLiteral("Mirla.CON"), QStringLiteral("a = 1\n"));
        const QString marker = m_folder->Path() + QStringLiteral("/edited");
        const QString editor =
            m_folder->Write(QStringLiteral("editor.sh"),
                            QStringLiteral("#!/bin/sh\necho \"$1\" > \"") + marker + QStringLiteral("\"\n"));
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray oldVisual = qgetenv("VISUAL");
        qputenv("VISUAL", editor.toUtf8());
        TConstantsPage page(*m_shell, nullptr);
        page.Load();
        page.EditClick();
        qputenv("VISUAL", oldVisual);
        QVERIFY(page.ReloadButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(m_folder->Read(QStringLiteral("edited")).trimmed(), constants, 5000);

        m_folder->Write(QStringLiteral("Mirla.CON"), QStringLiteral("b = 2\na = 1\n"));
        page.ReloadClick();
        QCOMPARE(Items(page.List()), (QStringList{QStringLiteral("a = 1"), QStringLiteral("b = 2")}));
        QVERIFY(!page.ReloadButton()->isEnabled());
    }

    // "User Funcs" page

    void functionFileStopsAtTheFirstInvalidLine() {
        m_folder->Write(QStringLiteral("Mirla.FNC"),
                        QStringLiteral("f(x) = x^2\n;a remark\ng(x,y) = x*y\nh() = 1\nk(x) = x\n"));
        TUserFuncsPage page(*m_shell, nullptr);
        TMessageAnswer answer;
        ExpectMessage(*m_watchdog, answer);
        page.Load();
        QVERIFY2(answer.Text.startsWith(QStringLiteral("Invalid functions h()")), qPrintable(answer.Text));
        QCOMPARE(Items(page.List()), (QStringList{QStringLiteral("f(x) = x^2"), QStringLiteral(";a remark"),
                                                  QStringLiteral("g(x,y) = x*y")}));
        QCOMPARE(EvaluateLine(m_shell->Engine(), "g(3,4)+f(2)"), Extended(16));
    }

    void missingFunctionFileAtStartIsSilent() {
        TUserFuncsPage page(*m_shell, nullptr);
        page.Load();
        QCOMPARE(page.List()->count(), 0);
    }

    void addModifyPutsTheFunctionFirstAndReplacesItsNamesake() {
        m_folder->Write(QStringLiteral("Mirla.FNC"), QStringLiteral("f(x) = x^2\ng(x) = x+10\n"));
        TUserFuncsPage page(*m_shell, nullptr);
        page.Load();
        page.NameField()->setText(QStringLiteral("g(x)"));
        page.ExpressionField()->setText(QStringLiteral("x*100 ;hundredfold"));
        page.AddUserFunction();
        QCOMPARE(Items(page.List()),
                 (QStringList{QStringLiteral("g(x) = x*100;hundredfold"), QStringLiteral("f(x) = x^2")}));
        QCOMPARE(EvaluateLine(m_shell->Engine(), "g(3)"), Extended(300));

        page.NameField()->setText(QStringLiteral("h(t)"));
        page.ExpressionField()->setText(QStringLiteral("t-1"));
        page.AddUserFunction();
        QCOMPARE(page.List()->item(0)->text(), QStringLiteral("h(t) = t-1"));
        QCOMPARE(page.List()->count(), 3);
    }

    void invalidUserFunctionWarnsAndChangesNothing() {
        TUserFuncsPage page(*m_shell, nullptr);
        page.NameField()->setText(QStringLiteral("f()"));
        page.ExpressionField()->setText(QStringLiteral("1"));
        TMessageAnswer answer;
        ExpectMessage(*m_watchdog, answer);
        page.AddUserFunction();
        QCOMPARE(answer.Text, QStringLiteral("Invalid user function f() = 1"));
        QCOMPARE(answer.Icon, QMessageBox::Warning);
        QCOMPARE(m_shell->Engine().UserFunctions.Count(), 0);
        QCOMPARE(page.List()->count(), 0);
    }

    void deleteRemovesTheFunctionOfTheSelectedLine() {
        m_folder->Write(QStringLiteral("Mirla.FNC"), QStringLiteral("f(x) = x^2\ng(x) = x+10\nq(x) = x/2\n"));
        TUserFuncsPage page(*m_shell, nullptr);
        page.Load();
        SelectRow(page.List(), 1);
        page.DeleteClick();
        QCOMPARE(Items(page.List()),
                 (QStringList{QStringLiteral("f(x) = x^2"), QStringLiteral("q(x) = x/2")}));
        EvalContext& ctx = m_shell->Engine();
        EvaluateLine(ctx, "g(1)");
        QVERIFY(ctx.ErrorFlag);
        QCOMPARE(EvaluateLine(ctx, "q(8)"), Extended(4));
    }

    void clickOnAFunctionFillsTheFields() {
        m_folder->Write(QStringLiteral("Mirla.FNC"),
                        QStringLiteral("dist(x,y) = sqrt(x^2+y^2) ;Euclidean\n"));
        TUserFuncsPage page(*m_shell, nullptr);
        page.Load();
        page.show();
        QListWidget* list = page.List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(page.NameField()->text(), QStringLiteral("dist(x,y)"));
        QCOMPARE(page.ExpressionField()->text(), QStringLiteral("sqrt(x^2+y^2);Euclidean"));
    }

    void fncSaveSaveAsAndLoadRoundTrip() {
        const QString start = m_folder->Path() + QStringLiteral("/Mirla.FNC");
        TUserFuncsPage page(*m_shell, nullptr);
        page.NameField()->setText(QStringLiteral("f(x)"));
        page.ExpressionField()->setText(QStringLiteral("x + 1"));
        page.AddUserFunction();
        page.SaveClick();
        QCOMPARE(m_folder->Read(QStringLiteral("Mirla.FNC")), QStringLiteral("f(x) = x+1\n"));
        QCOMPARE(m_shell->Settings().Functions, start.toStdString());

        const QString other = m_folder->Path() + QStringLiteral("/other.FNC");
        TFileAnswer saveAs;
        ExpectFileDialog(*m_watchdog, other, saveAs);
        page.SaveAsClick();
        QCOMPARE(saveAs.Title, QStringLiteral("Save functions to File"));
        QCOMPARE(saveAs.Filters, QStringList{QStringLiteral("User functions files (*.FNC)")});
        QCOMPARE(saveAs.Suffix, QStringLiteral("FNC"));
        QCOMPARE(m_folder->Read(QStringLiteral("other.FNC")), QStringLiteral("f(x) = x+1\n"));
        TIniFile ini;
        std::string message;
        QVERIFY(ini.Load(m_shell->Files().SettingsFile(), message));
        QCOMPARE(QString::fromStdString(ini.ReadString("Files", "Functions", "")), other);

        m_folder->Write(QStringLiteral("other.FNC"), QStringLiteral("u(a) = a*a\nf(x) = x+1\n"));
        TFileAnswer load;
        ExpectFileDialog(*m_watchdog, other, load);
        page.LoadClick();
        QCOMPARE(load.Title, QStringLiteral("Load functions from File"));
        QCOMPARE(Items(page.List()),
                 (QStringList{QStringLiteral("u(a) = a*a"), QStringLiteral("f(x) = x+1")}));
        QCOMPARE(EvaluateLine(m_shell->Engine(), "u(3)+f(1)"), Extended(11));
    }
};

QTEST_MAIN(TUserDefinitionsPagesTest)
#include "UserDefinitionsPagesTest.moc"
