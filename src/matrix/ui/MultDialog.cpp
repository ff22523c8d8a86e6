#include "matrix/ui/MultDialog.h"

#include "engine/Engine.h"
#include "engine/ErrorCodes.h"
#include "engine/InputPreparation.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>
#include <limits>

namespace mirla {

namespace {

constexpr int GeneralDigits = 7;
constexpr int FixedLowestExponent = -5;
const QString DefaultFunction = QStringLiteral("sin(A)+cos(A)/3");
const QString ElementMark = QStringLiteral("(A)");

/// Domain errors of built-in functions: an element may fail that way without the function
/// being wrong.
bool IsDomainError(int code) {
    return (code >= ErrArgument && code <= ErrDivisionByZero) || code == ErrOutOfRange;
}

/// Removes trailing zeros of the fraction and a point left alone.
void TrimFraction(std::string& digits) {
    if (digits.find('.') == std::string::npos)
        return;
    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.back() == '.')
        digits.pop_back();
}

} // namespace

bool EvaluateTyped(EvalContext& ctx, const QString& typed, Extended& value, QString& error, int& errorCode) {
    const std::string text = EngineTextFromQString(typed);
    CursorGuard guard(ctx);
    ctx.ClearError();
    PrepareInput(ctx, text);
    // An empty text would count as 0; a blank cell or field is an error, not a silent zero.
    if (!ctx.ErrorFlag && ctx.Input.empty())
        RaiseEvalErrorSpan(ctx, ErrSyntax, 1, 1);
    if (!ctx.ErrorFlag)
        value = Evaluate(ctx);
    if (!ctx.ErrorFlag && !std::isfinite(value))
        RaiseEvalErrorSpan(ctx, ErrOverflow, 1, static_cast<int>(ctx.Input.size()));
    if (!ctx.ErrorFlag)
        return true;
    MapErrorPosition(ctx, text, ctx.Input);
    error = EngineErrorMessage(ctx);
    errorCode = ctx.ErrorCode;
    ctx.ClearError();
    return false;
}

QString GeneralText(Extended x) {
    if (std::isnan(x))
        return QStringLiteral("NaN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (x == 0)
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", GeneralDigits - 1, x);
    std::string scientific = buffer;
    const std::size_t e = scientific.find('e');
    const int exponent = std::stoi(scientific.substr(e + 1));
    if (exponent >= FixedLowestExponent && exponent < GeneralDigits) {
        std::snprintf(buffer, sizeof buffer, "%.*Lf", GeneralDigits - 1 - exponent, x);
        std::string fixed = buffer;
        TrimFraction(fixed);
        return QString::fromStdString(fixed);
    }
    std::string mantissa = scientific.substr(0, e);
    TrimFraction(mantissa);
    return QString::fromStdString(mantissa + "E" + std::to_string(exponent));
}

TfmMult::TfmMult(QWidget* parent, EvalContext& ctx) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("fmMult"));
    edValue = new QLineEdit(this);
    edValue->setObjectName(QStringLiteral("edValue"));
    edValue->setMinimumWidth(edValue->fontMetrics().averageCharWidth() * 36);
    lbError = new QLabel(this);
    lbError->setObjectName(QStringLiteral("lbError"));
    SetErrorColour(lbError, true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TfmMult::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TfmMult::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edValue);
    layout->addWidget(lbError);
    layout->addWidget(buttons);
}

bool TfmMult::AskReal(Extended& value) {
    if (!Ask(TQuestion::Real, QStringLiteral("Value r"), GeneralText(value)))
        return false;
    value = m_real;
    return true;
}

bool TfmMult::AskInteger(int& n) {
    if (!Ask(TQuestion::Integer, QStringLiteral("Power n"), QString::number(n)))
        return false;
    n = m_integer;
    return true;
}

bool TfmMult::AskFunction(QString& text) {
    if (!Ask(TQuestion::Function, QStringLiteral("Function f(A)"), text.isEmpty() ? DefaultFunction : text))
        return false;
    text = edValue->text();
    return true;
}

bool TfmMult::Ask(TQuestion question, const QString& caption, const QString& text) {
    m_question = question;
    setWindowTitle(caption);
    edValue->setText(text);
    edValue->selectAll();
    edValue->setFocus();
    lbError->clear();
    return exec() == QDialog::Accepted;
}

void TfmMult::accept() {
    bool accepted = false;
    switch (m_question) {
    case TQuestion::Real:
        accepted = CheckReal();
        break;
    case TQuestion::Integer:
        accepted = CheckInteger();
        break;
    case TQuestion::Function:
        accepted = CheckFunction();
        break;
    }
    if (accepted)
        QDialog::accept();
}

bool TfmMult::CheckReal() {
    QString error;
    int code = 0;
    if (EvaluateTyped(m_ctx, edValue->text(), m_real, error, code))
        return true;
    Refuse(error);
    return false;
}

bool TfmMult::CheckInteger() {
    Extended value = 0;
    QString error;
    int code = 0;
    if (!EvaluateTyped(m_ctx, edValue->text(), value, error, code)) {
        Refuse(error);
        return false;
    }
    const Extended rounded = std::round(value);
    if (std::fabs(value - rounded) != 0 || rounded < std::numeric_limits<int>::min() ||
        rounded > std::numeric_limits<int>::max()) {
        Refuse(QStringLiteral("An integer is needed"));
        return false;
    }
    m_integer = static_cast<int>(rounded);
    return true;
}

bool TfmMult::CheckFunction() {
    QString probe = edValue->text();
    probe.replace(ElementMark, QStringLiteral("(1)"));
    Extended value = 0;
    QString error;
    int code = 0;
    if (EvaluateTyped(m_ctx, probe, value, error, code) || IsDomainError(code))
        return true;
    Refuse(error);
    return false;
}

void TfmMult::Refuse(const QString& message) {
    lbError->setText(message);
    edValue->setFocus();
    edValue->selectAll();
}

} // namespace mirla
