#pragma once

#include "engine/EvalContext.h"

#include <QString>

class QLineEdit;
class QProgressBar;

namespace mirla {

class TCalcSettings;
class TCalcFiles;
class TComplexEvaluator;
class TfmPlot2D;

/// What the pages and dialogs of the main window need from it. The main window implements it;
/// window tests may replace it.
class TCalcShell {
public:
    virtual ~TCalcShell() = default;
    /// The engine context shared by every page.
    virtual EvalContext& Engine() = 0;
    /// Inserts text at the caret of the input line (function buttons, constants, lists).
    virtual void SetFunc(const QString& text) = 0;
    /// Runs one evaluation cycle of the input line and shows its result or error.
    virtual void ReturnClick() = 0;
    /// The input line's text as typed.
    virtual QString InputLineText() const = 0;
    /// Shows a one-line text in the assistant panel.
    virtual void ShowAssistantText(const QString& text) = 0;
    /// Puts the input line at the top of the history list.
    virtual void MoveToHistoryTop() = 0;
    /// W: the "Digits" width handed to the number formatter.
    virtual int DisplayWidth() const = 0;
    /// Opens the built-in help at a topic number (0, 3, 8, 10, 18, 19, 20, 21).
    virtual void ShowHelp(int topic) = 0;
    /// The settings read at start and written at close; the engine reads "Precison" from here
    /// while it runs, so a page that changes it takes effect at once.
    virtual TCalcSettings& Settings() = 0;
    /// Where the program's files live.
    virtual const TCalcFiles& Files() const = 0;

    // What the "Calculator", "Tape" and "Graphics" pages share with the window. The defaults
    // let a test shell leave out what its page does not use.

    /// Puts a line at the top of the tape (newest first).
    virtual void AddTapeLine(const QString& /*line*/) {}
    /// Shows a result text in the result box (in the result colour).
    virtual void ShowResultText(const QString& /*text*/) {}
    /// Sets W, the "Digits" width of results (also kept in the engine context for echoes).
    virtual void SetDisplayWidth(int /*width*/) {}
    /// True while results are computed in complex mode.
    virtual bool ComplexMode() const { return false; }
    /// Switches the evaluation cycle between real and complex mode (the "Calculator" page's switch).
    virtual void SetComplexMode(bool /*on*/) {}
    /// The text shown in the result box.
    virtual QString ResultText() const { return {}; }
    /// The complex evaluator (its form and last result); null when there is none.
    virtual TComplexEvaluator* ComplexEvaluator() { return nullptr; }
    /// The input line itself, for pages that follow its caret; null when there is none.
    virtual QLineEdit* InputLine() { return nullptr; }
    /// The progress gauge (0 to 100) shown while the "Graphics" page is active; null when none.
    virtual QProgressBar* ProgressGauge() { return nullptr; }
    /// Empties the history and results lists ("Clear All").
    virtual void ClearLists() {}
    /// Shows the help of a function code (-1: none) in the assistant panel when the assistant
    /// is on (function buttons).
    virtual void ShowFunctionHelp(int /*code*/) {}
    /// The state of "Evaluate after settings" in the last set-variable dialog closed with OK
    /// (variable buttons with "Evaluate" on).
    virtual bool EvaluateAfterSettings() const { return false; }
    /// The 2-D plot window that receives f(X) curves; null when there is none.
    virtual TfmPlot2D* Plot2D() { return nullptr; }
    /// Disables the page control while a plot request samples (true) and enables it again; a
    /// close of the window asked for meanwhile waits until the request has ended.
    virtual void SetPlotting(bool /*running*/) {}
};

} // namespace mirla
