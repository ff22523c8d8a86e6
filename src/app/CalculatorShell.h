#pragma once

#include "app/DefinitionsShell.h"
#include "app/EvaluationShell.h"

namespace mirla {

class TComplexEvaluator;

/// What the "Calculator" page needs from the main window: the input line, the result box,
/// the tape, the lists and the evaluation modes.
class TCalculatorShell : public virtual TDefinitionsShell, public virtual TEvaluationShell {
public:
    /// Gives the input line the keyboard focus (when it is enabled).
    virtual void FocusInputLine() = 0;
    /// Copies the selected text of the input line to the clipboard.
    virtual void CopyInputLine() = 0;
    /// Pastes the clipboard at the caret of the input line and gives it the focus.
    virtual void PasteIntoInputLine() = 0;
    /// Empties the input line.
    virtual void ClearInputLine() = 0;
    /// Shows a result text in the result box (in the result colour).
    virtual void ShowResultText(const QString& text) = 0;
    /// Puts a line at the top of the tape (newest first).
    virtual void AddTapeLine(const QString& line) = 0;
    /// Empties the history and results lists ("Clear All").
    virtual void ClearLists() = 0;
    /// Sets W, the "Digits" width of results (also kept in the engine context for echoes).
    virtual void SetDisplayWidth(int width) = 0;
    /// Switches the evaluation cycle between real and complex mode (the page's switch).
    virtual void SetComplexMode(bool on) = 0;
    /// The complex evaluator (its form and last result).
    virtual TComplexEvaluator& ComplexEvaluator() = 0;
    /// Shows the help of a function code (-1: none) in the assistant panel when the assistant
    /// is on (function buttons).
    virtual void ShowFunctionHelp(int code) = 0;
    /// The state of "Evaluate after settings" in the last set-variable dialog closed with OK
    /// (variable buttons with "Evaluate" on).
    virtual bool EvaluateAfterSettings() const = 0;
};

} // namespace mirla
