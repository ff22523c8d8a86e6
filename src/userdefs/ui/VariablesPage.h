#pragma once

#include "app/DefinitionsShell.h"
#include "app/PageBase.h"
#include "engine/EvalContext.h"

#include <array>

class QLabel;
class QLineEdit;

namespace mirla {

/// The "Variables" page: one row per one-letter variable X..N with its expression, its value
/// and a "Calculate" button; "Calculate &All", .VAR save and load, help.
class TVariablesPage : public TShellPage<TDefinitionsShell> {
    Q_OBJECT
public:
    TVariablesPage(TDefinitionsShell& shell, QWidget* parent);
    /// Shows every definition text and value.
    void Activate() override;

    /// Evaluates row k (1..10): the value goes to the row and the variable, an error to lbError.
    void EvaluateVariableRow(int k);
    /// Shows all ten definition texts and values ("Undefind" for a variable never set).
    void RefreshVariablesPage();
    /// Copies every expression field into its variable and evaluates the rows X..N in order.
    void CalculateAll();
    /// "&Save": recalculates, asks for a .VAR file and writes it.
    void SaveClick();
    /// "&Load": asks for a .VAR file, reads it, then refreshes and recalculates.
    void LoadClick();

    /// The expression field of row k (1..10).
    QLineEdit* ExpressionField(int k) const { return m_expression[static_cast<std::size_t>(k - 1)]; }
    /// The value field of row k (1..10).
    QLineEdit* ValueField(int k) const { return m_value[static_cast<std::size_t>(k - 1)]; }
    /// The error label below the rows.
    QLabel* ErrorLabel() const { return m_lbError; }

private:
    /// Shows variable k's stored value, or "Undefind" when it was never set.
    void ShowStoredValue(int k);

    std::array<QLineEdit*, VariableCount> m_expression{};
    std::array<QLineEdit*, VariableCount> m_value{};
    QLabel* m_lbError = nullptr;
};

} // namespace mirla
