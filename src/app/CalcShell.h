#pragma once

#include "engine/EvalContext.h"

#include <QString>

namespace mirla {

class TCalcSettings;
class TCalcFiles;

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
    /// The settings read at start and written at close.
    virtual TCalcSettings& Settings() = 0;
    /// Where the program's files live.
    virtual const TCalcFiles& Files() const = 0;
};

} // namespace mirla
