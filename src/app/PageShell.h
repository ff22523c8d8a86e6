#pragma once

#include "engine/EvalContext.h"

namespace mirla {

class TCalcSettings;

/// What every page of the main window reaches through it: the engine, the settings and the help.
/// The main window implements it; window tests may replace it.
class TPageShell {
public:
    virtual ~TPageShell() = default;
    /// The engine context shared by every page.
    virtual EvalContext& Engine() = 0;
    /// The settings read at start and written at close; the engine reads "Precison" from here
    /// while it runs, so a page that changes it takes effect at once.
    virtual TCalcSettings& Settings() = 0;
    /// Opens the built-in help at a topic number (0, 3, 8, 10, 18, 19, 20, 21).
    virtual void ShowHelp(int topic) = 0;
};

} // namespace mirla
