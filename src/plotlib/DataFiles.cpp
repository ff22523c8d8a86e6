#include "plotlib/DataFiles.h"

#include "runtime/FileBytes.h"
#include "runtime/TextEncoding.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QProgressDialog>

namespace mirla {

namespace {

/// Work shorter than this shows no progress bar.
constexpr int ProgressDelayMs = 1000;
constexpr int ProgressSteps = 1000;

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

std::string ClipboardText() {
    return QApplication::clipboard()->text().left(static_cast<qsizetype>(ClipboardTextLimit)).toStdString();
}

void SetClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

bool ReadDataFile(const QString& path, std::string& text, QString& error) {
    std::string bytes;
    std::string reason;
    if (!ReadTextFileBytes(path.toStdString(), bytes, &reason)) {
        error = QStringLiteral("Can't read file %1 (%2)").arg(FileName(path), QString::fromStdString(reason));
        return false;
    }
    text = Utf8FromFileBytes(bytes);
    if (TextLines(text).empty()) {
        error = QStringLiteral("Can't read file %1 (it holds no line of text)").arg(FileName(path));
        return false;
    }
    return true;
}

bool WriteDataFile(const QString& path, std::string_view text, QString& error) {
    std::string reason;
    if (WriteFileAtomically(path.toStdString(), text, &reason))
        return true;
    error = QStringLiteral("Can not create file %1 (%2)").arg(path, QString::fromStdString(reason));
    return false;
}

TProgressGuard::TProgressGuard(QWidget* parent, const QString& what)
    : m_dialog(std::make_unique<QProgressDialog>(what, QStringLiteral("Stop"), 0, ProgressSteps, parent)) {
    m_dialog->setObjectName(QStringLiteral("pbProgress"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(ProgressDelayMs);
    m_dialog->setAutoReset(false);
}

TProgressGuard::~TProgressGuard() = default;

TLineProgress TProgressGuard::Reporter() {
    return [dialog = m_dialog.get()](std::size_t done, std::size_t total) {
        dialog->setValue(total == 0 ? 0 : static_cast<int>(done * ProgressSteps / total));
        QCoreApplication::processEvents();
        return !dialog->wasCanceled();
    };
}

} // namespace mirla
