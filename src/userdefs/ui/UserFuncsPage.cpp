#include "userdefs/ui/UserFuncsPage.h"

#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "userdefs/ui/DefinitionsPageLayout.h"
#include "userdefs/ui/SetVarDialog.h"
#include "userdefs/ui/UserVarsPage.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace mirla {

namespace {

constexpr int MaxFieldLength = 255;

const TFileDialogSpec SaveFncSpec{QStringLiteral("Save functions to File"), QStringLiteral("FNC"),
                                  QStringLiteral("User functions files (*.FNC)")};
const TFileDialogSpec LoadFncSpec{QStringLiteral("Load functions from File"), QStringLiteral("FNC"),
                                  QStringLiteral("User functions files (*.FNC)")};

bool IsFunctionNameCharacter(QChar c) {
    return IsAsciiLetter(c) || c == u'(' || c == u')' || c == u',';
}

} // namespace

TUserFuncsPage::TUserFuncsPage(TDefinitionsShell& shell, QWidget* parent) : TShellPage(shell, parent) {
    const TDefinitionsPageWidgets widgets =
        BuildDefinitionsPage(this, QStringLiteral("edFuncName"), QStringLiteral("edFuncExpres"),
                             QStringLiteral("lbFuncs"), QStringLiteral("User define functions"));
    m_edFuncName = widgets.Name;
    m_edFuncExpres = widgets.Expression;
    m_lbFuncs = widgets.List;
    RestrictFieldCharacters(m_edFuncName, IsFunctionNameCharacter);
    const std::array<void (TUserFuncsPage::*)(), 5> actions = {
        &TUserFuncsPage::AddUserFunction, &TUserFuncsPage::DeleteClick, &TUserFuncsPage::SaveClick,
        &TUserFuncsPage::LoadClick, &TUserFuncsPage::SaveAsClick};
    for (std::size_t i = 0; i < actions.size(); ++i)
        connect(widgets.Buttons[i], &QPushButton::clicked, this, actions[i]);
    connect(m_lbFuncs, &QListWidget::itemClicked, this, &TUserFuncsPage::ListClicked);
}

void TUserFuncsPage::Load() {
    LoadFile(QString::fromStdString(Shell().Settings().Functions));
}

void TUserFuncsPage::RefreshFunctionList() {
    m_lbFuncs->clear();
    for (const std::string& line : Shell().Engine().UserFunctions.ListLines())
        m_lbFuncs->addItem(QStringFromEngineText(line));
}

void TUserFuncsPage::AddUserFunction() {
    const QString text = m_edFuncName->text() + QStringLiteral(" = ") + m_edFuncExpres->text();
    std::string message;
    if (!Shell().Engine().UserFunctions.AddUserFunction(EngineTextFromQString(text), message)) {
        ShowWarningMessage(this, QStringLiteral("Invalid user function ") + text);
        return;
    }
    RefreshFunctionList();
}

void TUserFuncsPage::DeleteClick() {
    const int row = m_lbFuncs->currentRow();
    if (row < 0 || m_lbFuncs->currentItem() == nullptr || !m_lbFuncs->currentItem()->isSelected())
        return;
    Shell().Engine().UserFunctions.Delete(row);
    delete m_lbFuncs->takeItem(row);
}

void TUserFuncsPage::SaveClick() {
    const QString path = QString::fromStdString(Shell().Settings().Functions);
    std::string message;
    if (!Shell().Engine().UserFunctions.Save(path.toStdString(), message))
        ShowErrorMessage(this, ModelMessage(message, path));
}

void TUserFuncsPage::SaveAsClick() {
    const QString path = AskSaveFileName(this, SaveFncSpec);
    if (path.isEmpty())
        return;
    std::string message;
    if (!Shell().Engine().UserFunctions.Save(path.toStdString(), message)) {
        ShowErrorMessage(this, ModelMessage(message, path));
        return;
    }
    WriteFilesSetting(this, Shell().Files().SettingsFile(), "Functions", path);
}

void TUserFuncsPage::LoadClick() {
    const QString path = AskOpenFileName(this, LoadFncSpec);
    if (!path.isEmpty())
        LoadFile(path);
}

void TUserFuncsPage::LoadFile(const QString& path) {
    std::string message;
    const bool loaded = Shell().Engine().UserFunctions.LoadFunctions(path.toStdString(), message);
    // The list shows the functions themselves, so that list and container indexes always match.
    RefreshFunctionList();
    if (!loaded)
        ShowErrorMessage(this, ModelMessage(message, path));
}

void TUserFuncsPage::ListClicked(QListWidgetItem* item) {
    const QString line = item->text();
    const int equals = line.indexOf(u'=');
    m_edFuncName->setText((equals < 0 ? line : line.left(equals)).trimmed());
    m_edFuncExpres->setText(equals < 0 ? QString() : line.mid(equals + 1).trimmed().left(MaxFieldLength));
}

} // namespace mirla
