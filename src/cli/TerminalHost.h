#pragma once

#include "engine/EngineHost.h"

#include <cstddef>
#include <string>
#include <utility>

namespace mirla {

/// The engine's host in the terminal calculator. At a terminal it asks for unset variables
/// and confirms a requested break; otherwise it cancels every question about a variable and
/// breaks at once. Progress shows on standard error when that is a terminal.
class TTerminalHost : public TEngineHost {
public:
    /// `atTerminal`: standard input is a terminal; `showProgress`: standard error is one;
    /// `precision`: the integration agreement.
    TTerminalHost(bool atTerminal, bool showProgress, int precision)
        : m_atTerminal(atTerminal), m_showProgress(showProgress), m_precision(precision) {}

    /// Asks "Do you realy wont break calculation? (y/n)" at a terminal; yes elsewhere.
    bool ConfirmBreak() override;
    /// Asks "X = " until an answer evaluates; an empty answer, end of input or Ctrl-C cancels.
    bool AskVariable(EvalContext& ctx, int index, std::string& expression) override;
    /// Writes `text` on standard error over the previous progress text, when progress shows.
    void ShowProgress(const std::string& text) override;
    /// The precision setting given on the command line.
    int PrecisionSetting() const override { return m_precision; }

    /// Blanks out the progress text, if one shows, and returns to the start of its line.
    void ClearProgress();
    /// The letter of the variable that was left without a value for want of a terminal to ask,
    /// or '\0'; forgets it, so each line starts afresh.
    char TakeUnansweredVariable() { return std::exchange(m_unansweredVariable, '\0'); }

private:
    bool m_atTerminal;
    bool m_showProgress;
    int m_precision;
    std::size_t m_progressWidth = 0; ///< columns the progress line covers; 0 when none shows
    char m_unansweredVariable = '\0';
};

} // namespace mirla
