#pragma once

#include "engine/EvalContext.h"

#include <QDialog>

#include <string>

namespace mirla {

/// The set-variable dialog "Set variable": asks for the expression of one-letter variable
/// 1..10, evaluates it through the engine and stores the value. `expression` receives the
/// blank-free text; `evaluateAfter` the state of "Evaluate after settings". False on Cancel.
bool AskVariableDialog(QWidget* parent, EvalContext& ctx, int index, std::string& expression, bool& evaluateAfter);

} // namespace mirla
