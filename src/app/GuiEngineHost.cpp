#include "app/GuiEngineHost.h"

#include "app/core/CalcSettings.h"
#include "engine/EngineText.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>

namespace mirla {

namespace {
// Often enough for a responsive Stop button, rarely enough not to slow a tight loop down.
constexpr qint64 PumpIntervalMs = 20;
} // namespace

TGuiEngineHost::TGuiEngineHost(QWidget& window, QLineEdit& resultBox, const TCalcSettings& settings)
    : m_window(window), m_resultBox(resultBox), m_settings(settings) {
    m_sincePump.start();
}

void TGuiEngineHost::PumpMessages() {
    if (m_sincePump.elapsed() < PumpIntervalMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_sincePump.restart();
}

bool TGuiEngineHost::ConfirmBreak() {
    return QMessageBox::warning(&m_window, QStringLiteral("Warning"),
                                QStringLiteral("Do you realy wont break calculation?"),
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool TGuiEngineHost::AskVariable(EvalContext& ctx, int index, std::string& expression) {
    // "Evaluate after settings" is kept for the variable buttons, which evaluate the input line.
    bool evaluateAfter = false;
    const bool answered = AskVariableDialog(&m_window, ctx, index, expression, evaluateAfter);
    m_evaluateAfter = answered && evaluateAfter;
    return answered;
}

void TGuiEngineHost::ShowProgress(const std::string& text) {
    m_resultBox.setText(QString::fromStdString(Utf8FromEngineText(text)));
}

int TGuiEngineHost::PrecisionSetting() const {
    return m_settings.Precision;
}

} // namespace mirla
