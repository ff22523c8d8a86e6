#pragma once

#include "engine/EngineHost.h"

#include <string>

namespace mirla {

/// The engine's host in the terminal calculator. At a terminal it asks for unset variables
/// and confirms a requested break; otherwise it cancels every question about a variable and
/// breaks at once.
class TTerminalHost : public TEngineHost {
public:
    /// `atTerminal`: standard input is a terminal; `precision`: the integration agreement.
    TTerminalHost(bool atTerminal, int precision) : m_atTerminal(atTerminal), m_precision(precision) {}

    /// Asks "Do you realy wont break calculation? (y/n)" at a terminal; yes elsewhere.
    bool ConfirmBreak() override;
    /// Asks "X = " until an answer evaluates; an empty answer, end of input or Ctrl-C cancels.
    bool AskVariable(EvalContext& ctx, int index, std::string& expression) override;
    /// The precision setting given on the command line.
    int PrecisionSetting() const override { return m_precision; }

private:
    bool m_atTerminal;
    int m_precision;
};

} // namespace mirla
