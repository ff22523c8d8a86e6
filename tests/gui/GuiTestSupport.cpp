#include "gui/GuiTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

namespace mirla::test {

namespace {
constexpr int WatchIntervalMs = 50;
}

TModalWatchdog::TModalWatchdog() {
    connect(&m_timer, &QTimer::timeout, this, &TModalWatchdog::Check);
    m_timer.start(WatchIntervalMs);
}

void TModalWatchdog::Expect(std::function<void(QWidget*)> handler) {
    m_handler = std::move(handler);
}

QString TModalWatchdog::MessageShownBy(const std::function<void()>& action) {
    QString seen;
    Expect([&seen](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        seen = box ? box->text() : QStringLiteral("<not a message box>");
        dialog->close();
    });
    action();
    Expect(nullptr);
    return seen;
}

void TModalWatchdog::Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    m_lastText = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        m_lastText += ": " + box->text();
    if (m_handler) {
        auto handler = std::move(m_handler);
        m_handler = nullptr;
        handler(modal);
        return;
    }
    m_unexpected = true;
    qWarning("Unexpected modal dialog: %s", qPrintable(m_lastText));
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

TScratchFolder::TScratchFolder() {
    m_dir.setAutoRemove(true);
}

QString TScratchFolder::Write(const QString& name, const QString& text) const {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
    return path;
}

QString TScratchFolder::Read(const QString& name) const {
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void TFakeCalculatorShell::SetFunc(const QString& text) {
    m_input.del();
    const int origin = m_input.cursorPosition();
    m_input.insert(text);
    for (const QString pattern : {"()", "(,)", "(,,)"}) {
        const int at = text.indexOf(pattern);
        if (at >= 0)
            m_input.setCursorPosition(origin + at + 1);
    }
}

void TFakeCalculatorShell::PasteIntoInputLine() {
    m_input.paste();
    m_input.setFocus();
}

} // namespace mirla::test
