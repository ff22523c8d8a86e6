#pragma once

#include "app/PageShell.h"

#include <QString>

namespace mirla {

class TCalcFiles;

/// What the pages of constants, variables, user variables and user functions need from the
/// main window besides the engine, the settings and the help.
class TDefinitionsShell : public virtual TPageShell {
public:
    /// Where the program's files live.
    virtual const TCalcFiles& Files() const = 0;
    /// W: the "Digits" width handed to the number formatter.
    virtual int DisplayWidth() const = 0;
    /// Inserts text at the caret of the input line (function buttons, constants, lists).
    virtual void SetFunc(const QString& text) = 0;
};

} // namespace mirla
