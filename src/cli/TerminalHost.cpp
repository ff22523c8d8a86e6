#include "cli/TerminalHost.h"

#include "cli/Calculator.h"
#include "cli/TerminalInput.h"
#include "engine/EngineText.h"
#include "engine/EvalContext.h"

#include <algorithm>
#include <iostream>

namespace mirla {

namespace {

bool IsBlankOnly(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

void TTerminalHost::ShowProgress(const std::string& text) {
    if (!m_showProgress) {
        return;
    }
    // Blanks cover what a longer earlier text leaves on the line.
    m_progressWidth = std::max(m_progressWidth, text.size());
    std::cerr << '\r' << text << std::string(m_progressWidth - text.size(), ' ') << std::flush;
}

void TTerminalHost::ClearProgress() {
    if (m_progressWidth == 0) {
        return;
    }
    std::cerr << '\r' << std::string(m_progressWidth, ' ') << '\r' << std::flush;
    m_progressWidth = 0;
}

bool TTerminalHost::ConfirmBreak() {
    ClearProgress();
    if (!m_atTerminal) {
        return true;
    }
    for (;;) {
        std::cerr << "Do you realy wont break calculation? (y/n) " << std::flush;
        const std::optional<std::string> answer = ReadAnswer();
        if (!answer) {
            std::cerr << '\n';
            return true;
        }
        const std::size_t first = answer->find_first_not_of(' ');
        const char choice = first == std::string::npos ? '\0' : (*answer)[first];
        if (choice == 'y' || choice == 'Y') {
            return true;
        }
        if (choice == 'n' || choice == 'N') {
            return false;
        }
    }
}

bool TTerminalHost::AskVariable(EvalContext& ctx, int index, std::string& expression) {
    ClearProgress();
    const char letter = VariableLetters[static_cast<std::size_t>(index - 1)];
    if (!m_atTerminal) {
        m_unansweredVariable = letter;
        return false;
    }
    const std::string prompt = std::string(1, letter) + " = ";
    for (;;) {
        const TTerminalLine answer = ReadTerminalLine(prompt);
        if (answer.Status != TReadStatus::Line || IsBlankOnly(answer.Text)) {
            return false;
        }
        const Extended value = PrepareAndEvaluate(ctx, EngineTextFromUtf8(answer.Text));
        if (!ctx.ErrorFlag) {
            ctx.Variable(index).Value = value;
            expression = ctx.Input;
            return true;
        }
        std::cerr << ErrorLine(ctx) << '\n';
        ctx.ClearError();
    }
}

} // namespace mirla
