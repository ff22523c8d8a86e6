#include "userdefs/ui/ConstantsPage.h"

#include "app/core/CalcFiles.h"
#include "engine/EngineText.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace mirla {

namespace {

constexpr int ConstantsHelpTopic = 8;

/// Starts the user's text editor ($VISUAL, then $EDITOR, else the desktop's default
/// application for the file) without waiting for it.
void StartEditor(const QString& path) {
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        QStringList command = QProcess::splitCommand(qEnvironmentVariable(variable));
        if (command.isEmpty())
            continue;
        const QString program = command.takeFirst();
        command << path;
        if (QProcess::startDetached(program, command))
            return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace

TConstantsPage::TConstantsPage(TDefinitionsShell& shell, QWidget* parent) : TShellPage(shell, parent) {
    m_edFind = new QLineEdit(this);
    m_edFind->setObjectName(QStringLiteral("edFind"));
    m_lbConst = new QListWidget(this);
    m_lbConst->setObjectName(QStringLiteral("lbConst"));
    auto* findLabel = new QLabel(QStringLiteral("Find"), this);
    findLabel->setBuddy(m_edFind);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& text, const QString& name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        buttons->addWidget(button);
        return button;
    };
    connect(addButton(QStringLiteral("&Paste"), QStringLiteral("btPaste")), &QPushButton::clicked, this,
            &TConstantsPage::PasteClick);
    connect(addButton(QStringLiteral("&Edit"), QStringLiteral("btEdit")), &QPushButton::clicked, this,
            &TConstantsPage::EditClick);
    m_btReload = addButton(QStringLiteral("&Reload"), QStringLiteral("btReload"));
    m_btReload->setEnabled(false);
    connect(m_btReload, &QPushButton::clicked, this, &TConstantsPage::ReloadClick);
    connect(addButton(QStringLiteral("Help"), QStringLiteral("btHelp")), &QPushButton::clicked, this,
            [this] { Shell().ShowHelp(ConstantsHelpTopic); });
    buttons->addStretch();

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(m_edFind, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(findRow);
    layout->addWidget(m_lbConst, 1);
    layout->addLayout(buttons);

    connect(m_edFind, &QLineEdit::textChanged, this, &TConstantsPage::Find);
    connect(m_lbConst, &QListWidget::itemClicked, this, &TConstantsPage::PasteClick);
}

void TConstantsPage::Load() {
    if (!ReadConstants())
        ShowWarningMessage(this, NotFoundText() + QStringLiteral("."));
}

bool TConstantsPage::ReadConstants() {
    m_lbConst->clear();
    std::vector<std::string> lines;
    if (!ReadEngineTextLines(Shell().Files().ConstantsFile(), lines))
        return false;
    QStringList items;
    for (const std::string& line : lines) {
        const QString item = QStringFromEngineText(line);
        if (!item.trimmed().isEmpty())
            items << item;
    }
    items.sort(Qt::CaseInsensitive);
    m_lbConst->addItems(items);
    return true;
}

QString TConstantsPage::NotFoundText() {
    return QStringLiteral("File <") + QString::fromStdString(Shell().Files().BasePath()) +
           QStringLiteral(".CON> not found");
}

void TConstantsPage::Find(const QString& text) {
    // An empty find text leaves the selection alone: it would match every line.
    if (text.isEmpty())
        return;
    for (int row = 0; row < m_lbConst->count(); ++row) {
        if (m_lbConst->item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
            m_lbConst->setCurrentRow(row);
            m_lbConst->scrollToItem(m_lbConst->item(row));
            return;
        }
    }
    ShowWarningMessage(this, QStringLiteral("Constant name begining from <\"") + text.toUpper() +
                                 QStringLiteral("\"> not found"));
}

QString TConstantsPage::ConstantValueText(const QString& line) {
    QString text = line;
    text.remove(u' ');
    const int equals = text.indexOf(u'=');
    if (equals >= 0)
        text.remove(0, equals + 1);
    const int comment = text.indexOf(u';');
    if (comment >= 0)
        text.truncate(comment);
    return text;
}

void TConstantsPage::PasteClick() {
    const QListWidgetItem* item = m_lbConst->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    Shell().SetFunc(ConstantValueText(item->text()));
}

void TConstantsPage::EditClick() {
    const TCalcFiles& files = Shell().Files();
    const QString own = QString::fromStdString(files.BasePath() + ".CON");
    const QString current = QString::fromStdString(files.ConstantsFile());
    // Edits go to the user's own copy, never to the one shipped beside the program.
    if (current != own && !QFile::exists(own) && QFile::copy(current, own))
        QFile::setPermissions(own,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    StartEditor(QFile::exists(own) ? own : current);
    m_btReload->setEnabled(true);
}

void TConstantsPage::ReloadClick() {
    if (!ReadConstants())
        ShowWarningMessage(this, NotFoundText());
    m_btReload->setEnabled(false);
}

} // namespace mirla
