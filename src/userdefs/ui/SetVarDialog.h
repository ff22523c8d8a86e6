#pragma once

#include "engine/EvalContext.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace mirla {

/// The set-variable dialog "Set variable": asks for the expression of one-letter variable
/// 1..10, evaluates it through the engine and stores the value. `expression` receives the
/// blank-free text; `evaluateAfter` the state of "Evaluate after settings". False on Cancel.
bool AskVariableDialog(QWidget* parent, EvalContext& ctx, int index, std::string& expression,
                       bool& evaluateAfter);

/// The dialog behind `AskVariableDialog`. OK evaluates the expression into the variable and
/// closes only on success; an error is shown in red in the value field and the dialog stays.
class TSetVar : public QDialog {
    Q_OBJECT
public:
    /// Fills the dialog for variable `index` (1..10) with its definition text and value.
    TSetVar(QWidget* parent, EvalContext& ctx, int index);
    /// The blank-free expression that the last successful OK evaluated.
    const std::string& Expression() const { return m_expression; }
    /// The state of "Evaluate after settings".
    bool EvaluateAfter() const;
    /// Sets the state of "Evaluate after settings".
    void SetEvaluateAfter(bool on);

    QLineEdit* Edit1 = nullptr; ///< the expression field
    QLineEdit* Edit2 = nullptr; ///< the value field (shows the value or the error)

    /// Evaluates the expression; closes with OK only when it succeeded.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowError(const std::string& typed);

    EvalContext& m_ctx;
    int m_index;
    std::string m_expression;
    QCheckBox* m_cbEval = nullptr;
};

// Helpers shared by the dialog and the pages of user definitions.

/// Engine text as a QString (the four calculator symbols become their characters).
QString QStringFromEngineText(std::string_view text);
/// A QString as engine text (one engine character per character).
std::string EngineTextFromQString(const QString& text);
/// The message of the engine's current error: its text, ": position " and the position.
QString EngineErrorMessage(const EvalContext& ctx);
/// Converts a message of the user-definition models to a QString: `path` is a file name in
/// UTF-8, the rest is engine text.
QString ModelMessage(const std::string& message, const QString& path);
/// Keeps only the characters that `allowed` accepts in a field: the others are removed after
/// each change and the caret stays where it was.
void RestrictFieldCharacters(QLineEdit* field, std::function<bool(QChar)> allowed);
/// True for "A" to "Z" and "a" to "z".
bool IsAsciiLetter(QChar c);
/// The display text of a value in width W; a formatting error (base overflow) leaves no error
/// state behind.
QString DisplayText(EvalContext& ctx, int width, Extended x);
/// Shows a red (error) or the normal text colour in a field or label.
void SetErrorColour(QWidget* widget, bool error);

/// The settings of one open or save dialog for a user file.
struct TFileDialogSpec {
    QString Title;
    QString DefaultSuffix; ///< without the dot, e.g. "USR"
    QString Filter;        ///< e.g. "User variables files (*.USR)"
};
/// Asks for a file to save (asking before overwriting); empty on Cancel.
QString AskSaveFileName(QWidget* parent, const TFileDialogSpec& spec);
/// Asks for an existing file to open; empty on Cancel.
QString AskOpenFileName(QWidget* parent, const TFileDialogSpec& spec);
/// Shows an error message box with an OK button.
void ShowErrorMessage(QWidget* parent, const QString& text);
/// Shows a warning message box with an OK button.
void ShowWarningMessage(QWidget* parent, const QString& text);

} // namespace mirla
