#pragma once

#include "engine/EngineHost.h"

#include <QElapsedTimer>

class QLineEdit;
class QWidget;

namespace mirla {

class TCalcSettings;

/// The engine's host inside the main window: lets window events through during long loops,
/// asks before a break, asks for unset variables and shows progress in the result box.
class TGuiEngineHost : public TEngineHost {
public:
    /// A host whose dialogs belong to `window`, showing progress in `resultBox` and reading the
    /// precision from `settings`; all three outlive the host.
    TGuiEngineHost(QWidget& window, QLineEdit& resultBox, const TCalcSettings& settings);
    /// Processes pending window events, at most about every 20 ms so that tight loops stay fast.
    void PumpMessages() override;
    /// Asks "Do you realy wont break calculation?"; true on Yes.
    bool ConfirmBreak() override;
    /// Shows the set-variable dialog for variable `index`; false on Cancel.
    bool AskVariable(EvalContext& ctx, int index, std::string& expression) override;
    /// Shows the progress text in the result box.
    void ShowProgress(const std::string& text) override;
    /// The precision counter of the settings.
    int PrecisionSetting() const override;
    /// "Evaluate after settings" of the last set-variable dialog closed with OK.
    bool EvaluateAfterSettings() const { return m_evaluateAfter; }

private:
    QWidget& m_window;
    QLineEdit& m_resultBox;
    const TCalcSettings& m_settings;
    QElapsedTimer m_sincePump;
    bool m_evaluateAfter = false;
};

} // namespace mirla
