// mirlac: the terminal calculator. Evaluates lines exactly as the calculator window's input
// line does, in real or complex mode, and prints one result or error line for each.

#include "cli/Calculator.h"
#include "cli/CommandLine.h"
#include "cli/Interrupts.h"
#include "cli/TerminalHost.h"
#include "cli/TerminalInput.h"
#include "engine/ErrorCodes.h"
#include "engine/EvalContext.h"
#include "numbers/ComplexEvaluator.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace mirla;

constexpr int ExitAllSucceeded = 0;
constexpr int ExitSomeFailed = 1;
constexpr int ExitBadUsage = 2;

/// Evaluates lines one by one, with the real engine or, in complex mode, with the complex
/// evaluator, and remembers whether any failed.
class TLineRunner {
public:
    /// `complex` is the evaluator of complex mode, or null in real mode.
    TLineRunner(EvalContext& ctx, TTerminalHost& host, int width, TComplexEvaluator* complex)
        : m_ctx(ctx), m_host(host), m_width(width), m_complex(complex) {}

    /// Evaluates one line and prints its result; an empty line prints nothing.
    void Run(std::string_view line) {
        if (line.empty()) {
            return;
        }
        const TLineResult result = m_complex != nullptr
                                       ? CalculateComplexLine(m_ctx, *m_complex, m_width, line)
                                       : CalculateLine(m_ctx, m_width, line);
        m_host.ClearProgress();
        m_allOk = m_allOk && result.Ok;
        if (!(std::cout << NameUnansweredVariable(result.Output) << std::endl) && m_outputError == 0) {
            m_outputError = errno;
        }
    }

    int ExitStatus() const { return m_allOk ? ExitAllSucceeded : ExitSomeFailed; }

    /// The system's error number of the first result that could not be written, or 0.
    int OutputError() const { return m_outputError; }

private:
    /// The engine stops at a variable nobody could be asked for as at a break; the line says
    /// which variable lacks a value instead.
    std::string NameUnansweredVariable(const std::string& output) {
        const char letter = m_host.TakeUnansweredVariable();
        const std::string breakLine = "error: " + ErrorText(ErrUserBreak);
        if (letter == '\0' || !output.starts_with(breakLine)) {
            return output;
        }
        return "error: Variable " + std::string(1, letter) + " has no value" +
               output.substr(breakLine.size());
    }

    EvalContext& m_ctx;
    TTerminalHost& m_host;
    int m_width;
    TComplexEvaluator* m_complex;
    bool m_allOk = true;
    int m_outputError = 0;
};

/// Says that results never reached their reader (a full disk, a closed output), which makes the
/// run a failure; `error` is the system's error number, 0 when unknown.
int ReportLostOutput(int error) {
    std::cerr << "mirlac: Can't write standard output";
    if (error != 0) {
        std::cerr << ": " << std::strerror(error);
    }
    std::cerr << '\n';
    return ExitSomeFailed;
}

void RunInteractive(TLineRunner& runner) {
    for (;;) {
        const TTerminalLine line = ReadTerminalLine("> ");
        if (line.Status == TReadStatus::EndOfInput) {
            std::cerr << '\n';
            return;
        }
        if (line.Status == TReadStatus::Line && !line.Text.empty()) {
            RememberLine(line.Text);
            runner.Run(line.Text);
        }
    }
}

/// Reads lines from a pipe or file; false when reading failed.
bool RunPiped(TLineRunner& runner) {
    std::string line;
    while (std::getline(std::cin, line)) {
        // Lines written on other systems end with CR LF; the CR is not part of the line.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        runner.Run(line);
    }
    return std::ferror(stdin) == 0;
}

int Run(const TCliOptions& options) {
    const bool atTerminal = isatty(STDIN_FILENO) != 0;
    TTerminalHost host(atTerminal, isatty(STDERR_FILENO) != 0, options.Precision);
    EvalContext ctx;
    ctx.SetHost(&host);
    ApplySettings(ctx, options);
    TComplexEvaluator complexEvaluator(ctx);
    complexEvaluator.SetForm(static_cast<std::uint8_t>(options.ComplexForm));
    if (!LoadUserFiles(ctx, options, "mirlac")) {
        return ExitBadUsage;
    }
    InstallInterruptHandler(ctx.BreakRequested, atTerminal);
    if (atTerminal) {
        InitTerminalInput();
    }

    TLineRunner runner(ctx, host, options.Width, options.Complex ? &complexEvaluator : nullptr);
    if (!options.Expressions.empty()) {
        for (const std::string& expression : options.Expressions) {
            runner.Run(expression);
        }
    } else if (atTerminal) {
        RunInteractive(runner);
    } else if (!RunPiped(runner)) {
        std::cerr << "mirlac: Can't read standard input\n";
        return ExitBadUsage;
    }
    if (runner.OutputError() != 0) {
        return ReportLostOutput(runner.OutputError());
    }
    return runner.ExitStatus();
}

int Execute(const TCommandLine& commandLine) {
    switch (commandLine.Action) {
    case CliAction::Help:
        std::cout << UsageText();
        return ExitAllSucceeded;
    case CliAction::Version:
        std::cout << "mirlac " << MIRLA_VERSION << '\n';
        return ExitAllSucceeded;
    case CliAction::BadUsage:
        std::cerr << "mirlac: " << commandLine.Problem << "\nTry 'mirlac --help' for more information.\n";
        return ExitBadUsage;
    case CliAction::Run:
        break;
    }
    return Run(commandLine.Options);
}

} // namespace

int main(int argc, char** argv) {
    const int status = Execute(ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc)));
    errno = 0;
    if (std::cout.good() && !std::cout.flush()) {
        return ReportLostOutput(errno);
    }
    return status;
}
