#include "userdefs/ui/UserFuncsPage.h"

#include "app/CalcShell.h"
#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "userdefs/ui/SetVarDialog.h"
#include "userdefs/ui/UserVarsPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

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

TUserFuncsPage::TUserFuncsPage(TCalcShell& shell, QWidget* parent) : TCalcPage(shell, parent) {
    m_edFuncName = new QLineEdit(this);
    m_edFuncName->setObjectName(QStringLiteral("edFuncName"));
    m_edFuncExpres = new QLineEdit(this);
    m_edFuncExpres->setObjectName(QStringLiteral("edFuncExpres"));
    m_lbFuncs = new QListWidget(this);
    m_lbFuncs->setObjectName(QStringLiteral("lbFuncs"));
    RestrictFieldCharacters(m_edFuncName, IsFunctionNameCharacter);

    auto* fields = new QGridLayout;
    auto* nameLabel = new QLabel(QStringLiteral("Name"), this);
    auto* expressionLabel = new QLabel(QStringLiteral("Expression"), this);
    nameLabel->setBuddy(m_edFuncName);
    expressionLabel->setBuddy(m_edFuncExpres);
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_edFuncName, 1, 0);
    fields->addWidget(expressionLabel, 0, 1);
    fields->addWidget(m_edFuncExpres, 1, 1);
    fields->setColumnStretch(1, 3);

    auto* buttons = new QVBoxLayout;
    const auto addButton = [&](const QString& text, const QString& name, void (TUserFuncsPage::*slot)()) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, slot);
    };
    addButton(QStringLiteral("&Add/Modify"), QStringLiteral("btAdd"), &TUserFuncsPage::AddUserFunction);
    addButton(QStringLiteral("&Delete"), QStringLiteral("btDelete"), &TUserFuncsPage::DeleteClick);
    addButton(QStringLiteral("&Save"), QStringLiteral("btSave"), &TUserFuncsPage::SaveClick);
    addButton(QStringLiteral("&Load"), QStringLiteral("btLoad"), &TUserFuncsPage::LoadClick);
    addButton(QStringLiteral("Save &As"), QStringLiteral("btSaveAs"), &TUserFuncsPage::SaveAsClick);
    buttons->addStretch();

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(QStringLiteral("User define functions"), this));
    listColumn->addWidget(m_lbFuncs);
    auto* lower = new QHBoxLayout;
    lower->addLayout(listColumn, 1);
    lower->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(lower, 1);

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
        ShowErrorMessage(this, QStringLiteral("Can't create file ") + path);
}

void TUserFuncsPage::SaveAsClick() {
    const QString path = AskSaveFileName(this, SaveFncSpec);
    if (path.isEmpty())
        return;
    std::string message;
    if (!Shell().Engine().UserFunctions.Save(path.toStdString(), message)) {
        ShowErrorMessage(this, QStringLiteral("Can't create file ") + path);
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
