#include "app/TapePage.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace mirla {

TTapePage::TTapePage(TPageShell& shell, QWidget* parent) : TShellPage(shell, parent) {
    setObjectName("tsTape");
    m_mmTape = new QPlainTextEdit(this);
    m_mmTape->setObjectName("mmTape");
    m_mmTape->setReadOnly(true);
    m_mmTape->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_btPrint = new QPushButton("Print", this);
    m_btCopy = new QPushButton("Copy", this);
    m_btCut = new QPushButton("Cut", this);
    m_btToFile = new QPushButton("To File...", this);
    auto* help = new QPushButton("&Help", this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_btPrint, m_btCopy, m_btCut, m_btToFile, help})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_mmTape, 1);
    layout->addLayout(buttons);

    connect(m_btPrint, &QPushButton::clicked, this, &TTapePage::PrintClick);
    connect(m_btCopy, &QPushButton::clicked, m_mmTape, &QPlainTextEdit::copy);
    connect(m_btCut, &QPushButton::clicked, this, &TTapePage::CutClick);
    connect(m_btToFile, &QPushButton::clicked, this, &TTapePage::ToFileClick);
    connect(help, &QPushButton::clicked, this, [this] { Shell().ShowHelp(21); });
    connect(m_mmTape, &QPlainTextEdit::selectionChanged, this, &TTapePage::UpdateButtons);
    connect(m_mmTape, &QPlainTextEdit::textChanged, this, &TTapePage::UpdateButtons);
    UpdateButtons();
}

void TTapePage::Activate() {
    if (m_btPrint->isEnabled())
        m_btPrint->setFocus();
}

void TTapePage::AddLine(const QString& line) {
    QTextCursor cursor(m_mmTape->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(m_mmTape->document()->isEmpty() ? line : line + '\n');
}

QStringList TTapePage::Lines() const {
    if (m_mmTape->document()->isEmpty())
        return {};
    return m_mmTape->toPlainText().split('\n');
}

bool TTapePage::SaveToFile(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    for (const QString& line : Lines())
        file.write((line + '\n').toUtf8());
    return file.commit();
}

void TTapePage::UpdateButtons() {
    const bool hasLines = !m_mmTape->document()->isEmpty();
    const bool hasSelection = m_mmTape->textCursor().hasSelection();
    m_btPrint->setEnabled(hasLines);
    m_btToFile->setEnabled(hasLines);
    m_btCopy->setEnabled(hasSelection);
    m_btCut->setEnabled(hasSelection);
}

void TTapePage::PrintClick() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Print");
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTextDocument document;
    document.setDefaultFont(m_mmTape->font());
    document.setPlainText(Lines().join('\n'));
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error)
        QMessageBox::critical(this, "Mirla", "Can't print the tape");
}

void TTapePage::CutClick() {
    // The tape stays read-only for the user; only this operation may change it.
    m_mmTape->setReadOnly(false);
    m_mmTape->cut();
    m_mmTape->setReadOnly(true);
}

void TTapePage::ToFileClick() {
    QFileDialog dialog(this, "Save to Text File");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("TXT");
    dialog.setNameFilter("Text files (*.TXT)");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!SaveToFile(path))
        QMessageBox::critical(this, "Mirla", "Can't create file " + path);
}

} // namespace mirla
