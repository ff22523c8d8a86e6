#include "userdefs/ui/UserVarsPage.h"

#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "engine/Engine.h"
#include "engine/InputPreparation.h"
#include "runtime/SettingsFile.h"
#include "userdefs/UserVariables.h"
#include "userdefs/ui/DefinitionsPageLayout.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace mirla {

namespace {

constexpr int MaxFieldLength = 255;
const QString Separator = QStringLiteral(" = ");

const TFileDialogSpec SaveUsrSpec{QStringLiteral("Save variables to File"), QStringLiteral("USR"),
                                  QStringLiteral("User variables files (*.USR)")};
const TFileDialogSpec LoadUsrSpec{QStringLiteral("Load variables from File"), QStringLiteral("USR"),
                                  QStringLiteral("User variables files (*.USR)")};

} // namespace

TUserVarsPage::TUserVarsPage(TDefinitionsShell& shell, QWidget* parent) : TShellPage(shell, parent) {
    const TDefinitionsPageWidgets widgets =
        BuildDefinitionsPage(this, QStringLiteral("edName"), QStringLiteral("edValue"),
                             QStringLiteral("lbVars"), QStringLiteral("User define variables"));
    m_edName = widgets.Name;
    m_edValue = widgets.Expression;
    m_lbVars = widgets.List;
    m_lbVars->setToolTip(QStringLiteral("Double click for modify"));
    RestrictFieldCharacters(m_edName, IsAsciiLetter);
    const std::array<void (TUserVarsPage::*)(), 5> actions = {
        &TUserVarsPage::AddModifyClick, &TUserVarsPage::DeleteClick, &TUserVarsPage::SaveClick,
        &TUserVarsPage::LoadClick, &TUserVarsPage::SaveAsClick};
    for (std::size_t i = 0; i < actions.size(); ++i)
        connect(widgets.Buttons[i], &QPushButton::clicked, this, actions[i]);

    connect(m_edName, &QLineEdit::returnPressed, this, &TUserVarsPage::AddModifyClick);
    connect(m_edValue, &QLineEdit::returnPressed, this, &TUserVarsPage::AddModifyClick);
    connect(m_lbVars, &QListWidget::itemDoubleClicked, this, &TUserVarsPage::ListDoubleClicked);
}

void TUserVarsPage::Activate() {
    RefreshList();
    m_edName->setFocus();
}

void TUserVarsPage::Load() {
    // The first run has no variables file yet; that is not worth a message.
    const QString path = QString::fromStdString(Shell().Settings().Variables);
    if (QFileInfo::exists(path))
        LoadFile(path);
}

void TUserVarsPage::RefreshList() {
    const int row = m_lbVars->currentRow();
    m_lbVars->clear();
    for (const std::string& line : Shell().Engine().UserVariables.Lines())
        m_lbVars->addItem(QStringFromEngineText(line));
    if (row >= 0 && row < m_lbVars->count())
        m_lbVars->setCurrentRow(row);
}

void TUserVarsPage::AddModifyClick() {
    if (m_edName->text().isEmpty() || m_edValue->text().isEmpty()) {
        ShowErrorMessage(this, QStringLiteral("Varible name or value invalid!"));
        return;
    }
    EvalContext& ctx = Shell().Engine();
    const std::string typed = EngineTextFromQString(m_edValue->text());
    Extended value = 0;
    {
        CursorGuard guard(ctx);
        ctx.ClearError();
        // Blanks are removed as everywhere else an expression is typed.
        PrepareInput(ctx, typed);
        if (!ctx.ErrorFlag)
            value = Evaluate(ctx);
        if (ctx.ErrorFlag) {
            MapErrorPosition(ctx, typed, ctx.Input);
            const QString message = EngineErrorMessage(ctx);
            ctx.ClearError();
            ShowErrorMessage(this, message);
            return;
        }
    }
    DefineUserVariable(ctx, EngineTextFromQString(m_edName->text()), true, value);
    RefreshList();
}

void TUserVarsPage::DeleteClick() {
    const int row = m_lbVars->currentRow();
    if (row < 0 || m_lbVars->currentItem() == nullptr || !m_lbVars->currentItem()->isSelected())
        return;
    Shell().Engine().UserVariables.Delete(row);
    delete m_lbVars->takeItem(row);
}

void TUserVarsPage::SaveClick() {
    const QString path = QString::fromStdString(Shell().Settings().Variables);
    std::string message;
    if (!Shell().Engine().UserVariables.Save(path.toStdString(), message))
        ShowErrorMessage(this, ModelMessage(message, path));
}

void TUserVarsPage::SaveAsClick() {
    const QString path = AskSaveFileName(this, SaveUsrSpec);
    if (path.isEmpty())
        return;
    std::string message;
    if (!Shell().Engine().UserVariables.Save(path.toStdString(), message)) {
        ShowErrorMessage(this, ModelMessage(message, path));
        return;
    }
    WriteFilesSetting(this, Shell().Files().SettingsFile(), "Variables", path);
}

void TUserVarsPage::LoadClick() {
    const QString path = AskOpenFileName(this, LoadUsrSpec);
    if (!path.isEmpty())
        LoadFile(path);
}

void TUserVarsPage::LoadFile(const QString& path) {
    std::string message;
    const bool loaded = LoadUserVariables(Shell().Engine(), path.toStdString(), message);
    RefreshList();
    if (!loaded)
        ShowErrorMessage(this, ModelMessage(message, path));
}

void TUserVarsPage::ListDoubleClicked(QListWidgetItem* item) {
    const QString line = item->text();
    const int at = line.indexOf(Separator);
    if (at < 0)
        return;
    m_edName->setText(line.left(at));
    m_edValue->setText(line.mid(at + Separator.size()).left(MaxFieldLength));
}

bool WriteFilesSetting(QWidget* parent, const std::string& settingsFile, const std::string& key,
                       const QString& path) {
    std::string message;
    if (!UpdateSettingsFile(
            settingsFile, [&](TIniFile& ini) { ini.WriteString("Files", key, path.toStdString()); },
            message)) {
        ShowErrorMessage(parent, ModelMessage(message, QString::fromStdString(settingsFile)));
        return false;
    }
    return true;
}

} // namespace mirla
