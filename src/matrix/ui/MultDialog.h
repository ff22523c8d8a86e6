#pragma once

#include "engine/EvalContext.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

namespace mirla {

/// Evaluates a typed expression with the engine, keeping the engine's input text and cursor.
/// On success stores the value and returns true; on failure returns false with `error` set to
/// the engine's message and the 1-based position in the text as typed, and `errorCode` to the
/// engine's error code. The engine's error state is left clear either way.
bool EvaluateTyped(EvalContext& ctx, const QString& typed, Extended& value, QString& error, int& errorCode);

/// The text of a value in the general format with 7 significant digits: fixed notation for
/// magnitudes from 0.00001 up to 7 integer digits, otherwise mantissa, "E" and the exponent
/// without leading zeros or plus sign; trailing zeros are removed.
QString GeneralText(Extended x);

/// The matrix-function dialog: asks for the scalar, the exponent or the element-wise function
/// of the matrix window. Every question is modal, checks the typed text with the engine and
/// stays open while the text is not acceptable.
class TfmMult : public QDialog {
    Q_OBJECT
public:
    /// A dialog evaluating through `ctx`.
    TfmMult(QWidget* parent, EvalContext& ctx);

    /// Asks for a real value shown in the 7-digit general format; false on Cancel.
    bool AskReal(Extended& value);
    /// Asks for an integer (a value without fractional part within the int range); false on Cancel.
    bool AskInteger(int& n);
    /// Asks for a function of the element "(A)" ("sin(A)+cos(A)/3" when `text` is empty);
    /// false on Cancel.
    bool AskFunction(QString& text);

    QLineEdit* edValue = nullptr; ///< the typed expression
    QLabel* lbError = nullptr;    ///< the reason the last OK was refused

    /// Checks the typed text for the current question; closes with OK only when it is accepted.
    void accept() override;

private:
    enum class TQuestion { Real, Integer, Function };
    bool Ask(TQuestion question, const QString& caption, const QString& text);
    bool CheckReal();
    bool CheckInteger();
    bool CheckFunction();
    void Refuse(const QString& message);

    EvalContext& m_ctx;
    TQuestion m_question = TQuestion::Real;
    Extended m_real = 0;
    int m_integer = 0;
};

} // namespace mirla
