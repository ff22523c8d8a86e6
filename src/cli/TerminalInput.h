#pragma once

#include <optional>
#include <string>

namespace mirla {

/// How reading a line at the terminal ended.
enum class TReadStatus { Line, Interrupted, EndOfInput };

/// One line read at the terminal (UTF-8, without its line end).
struct TTerminalLine {
    TReadStatus Status = TReadStatus::EndOfInput;
    std::string Text;
};

/// Prepares line editing on standard input: keys are decoded as UTF-8, Ctrl-C ends the line
/// being edited, Tab is an ordinary character. Prompts go to standard error when standard
/// output is not the terminal, so that they never mix with the results.
void InitTerminalInput();

/// Reads one line with editing, showing `prompt`. Ctrl-C gives `Interrupted` and drops what
/// was typed.
TTerminalLine ReadTerminalLine(const std::string& prompt);

/// Adds a line to the editing history.
void RememberLine(const std::string& line);

/// Reads a short answer from the terminal without editing; nullopt on end of input or Ctrl-C.
std::optional<std::string> ReadAnswer();

} // namespace mirla
