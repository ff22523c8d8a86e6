#include "userdefs/ui/SetVarDialog.h"

#include "app/HelpWindow.h"
#include "engine/Engine.h"
#include "engine/EngineText.h"
#include "engine/InputPreparation.h"
#include "numbers/RealFormat.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mirla {

namespace {

constexpr int VariablesHelpTopic = 3;

QString Letter(int index) {
    return QString(QChar(VariableLetters[static_cast<std::size_t>(index - 1)]));
}

QString CurrentValueText(EvalContext& ctx, int index) {
    const PredefinedVariable& v = ctx.Variable(index);
    return v.Value == UndefinedValue ? QStringLiteral("undefined")
                                     : DisplayText(ctx, ctx.DisplayWidth, v.Value);
}

QString RunFileDialog(QWidget* parent, const TFileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, spec.Title, QString(), spec.Filter);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(spec.DefaultSuffix);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

TSetVar::TSetVar(QWidget* parent, EvalContext& ctx, int index) : QDialog(parent), m_ctx(ctx), m_index(index) {
    setWindowTitle(QStringLiteral("Set variable"));
    auto* lbExp = new QLabel(QStringLiteral("Expession ") + Letter(index), this);
    auto* lbValue = new QLabel(QStringLiteral("Value ") + Letter(index), this);
    lbExp->setObjectName(QStringLiteral("lbExp"));
    lbValue->setObjectName(QStringLiteral("lbValue"));
    Edit1 = new QLineEdit(QStringFromEngineText(ctx.Variable(index).Definition), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(Edit1->fontMetrics().averageCharWidth() * 40);
    Edit2 = new QLineEdit(CurrentValueText(ctx, index), this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEnabled(false);
    Edit2->setReadOnly(true);
    lbExp->setBuddy(Edit1);
    m_cbEval = new QCheckBox(QStringLiteral("Evaluate after settings"), this);
    m_cbEval->setObjectName(QStringLiteral("cbEval"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("       &OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("     &Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("       &Help"), QDialogButtonBox::HelpRole);
    ok->setObjectName(QStringLiteral("btOK"));
    cancel->setObjectName(QStringLiteral("btCancel"));
    help->setObjectName(QStringLiteral("btHelp"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSetVar::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSetVar::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { ShowHelpTopic(this, VariablesHelpTopic); });

    auto* fields = new QGridLayout;
    fields->addWidget(lbExp, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(lbValue, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_cbEval);
    layout->addWidget(buttons);
}

bool TSetVar::EvaluateAfter() const {
    return m_cbEval->isChecked();
}

void TSetVar::SetEvaluateAfter(bool on) {
    m_cbEval->setChecked(on);
}

void TSetVar::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

void TSetVar::accept() {
    const std::string typed = EngineTextFromQString(Edit1->text());
    Extended value = 0;
    {
        // The engine may be in the middle of reading another line when it asks for a variable.
        CursorGuard guard(m_ctx);
        m_ctx.ClearError();
        PrepareInput(m_ctx, typed);
        if (!m_ctx.ErrorFlag && m_ctx.Input.empty()) {
            m_ctx.ErrorFlag = true;
            m_ctx.ErrorCode = ErrSyntax;
            m_ctx.ErrorPos = 1;
            m_ctx.ErrorLength = 1;
        }
        if (!m_ctx.ErrorFlag)
            value = Evaluate(m_ctx);
        if (m_ctx.ErrorFlag) {
            MapErrorPosition(m_ctx, typed, m_ctx.Input);
            ShowError(typed);
            return;
        }
        m_expression = m_ctx.Input;
    }
    // Only a value that evaluated is stored, so an error leaves the variable as it was.
    m_ctx.Variable(m_index).Value = value;
    m_ctx.Variable(m_index).Definition = m_expression;
    QDialog::accept();
}

void TSetVar::ShowError(const std::string& typed) {
    Edit2->setEnabled(true);
    Edit2->setText(EngineErrorMessage(m_ctx));
    SetErrorColour(Edit2, true);
    const int start = std::clamp(m_ctx.ErrorPos - 1, 0, static_cast<int>(typed.size()));
    Edit1->setFocus();
    Edit1->setSelection(start, std::max(m_ctx.ErrorLength, 1));
    m_ctx.ClearError();
}

bool AskVariableDialog(QWidget* parent, EvalContext& ctx, int index, std::string& expression,
                       bool& evaluateAfter) {
    TSetVar dialog(parent, ctx, index);
    dialog.SetEvaluateAfter(evaluateAfter);
    const bool ok = dialog.exec() == QDialog::Accepted;
    evaluateAfter = dialog.EvaluateAfter();
    if (ok)
        expression = dialog.Expression();
    return ok;
}

QString QStringFromEngineText(std::string_view text) {
    return QString::fromStdString(Utf8FromEngineText(text));
}

std::string EngineTextFromQString(const QString& text) {
    return EngineTextFromUtf8(text.toStdString());
}

QString EngineErrorMessage(const EvalContext& ctx) {
    return QStringFromEngineText(ctx.CurrentErrorText()) + QStringLiteral(": position ") +
           QString::number(ctx.ErrorPos);
}

QString ModelMessage(const std::string& message, const QString& path) {
    const std::string pathText = path.toStdString();
    const std::size_t at = pathText.empty() ? std::string::npos : message.find(pathText);
    if (at == std::string::npos)
        return QStringFromEngineText(message);
    return QStringFromEngineText(message.substr(0, at)) + path +
           QStringFromEngineText(message.substr(at + pathText.size()));
}

void RestrictFieldCharacters(QLineEdit* field, std::function<bool(QChar)> allowed) {
    QObject::connect(field, &QLineEdit::textChanged, field, [field, allowed](const QString& text) {
        QString kept;
        int caret = field->cursorPosition();
        const int oldCaret = caret;
        for (int i = 0; i < text.size(); ++i) {
            if (allowed(text[i]))
                kept += text[i];
            else if (i < oldCaret)
                --caret;
        }
        if (kept.size() == text.size())
            return;
        field->setText(kept);
        field->setCursorPosition(caret);
    });
}

bool IsAsciiLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

QString DisplayText(EvalContext& ctx, int width, Extended x) {
    const bool hadError = ctx.ErrorFlag;
    const std::string text = RealToText(ctx, width, x);
    if (!hadError)
        ctx.ClearError();
    return QStringFromEngineText(text);
}

void SetErrorColour(QWidget* widget, bool error) {
    // A fixed red keeps its contrast on light and dark themes alike.
    widget->setStyleSheet(error ? QStringLiteral("color: #e02020;") : QString());
}

QString AskSaveFileName(QWidget* parent, const TFileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptSave);
}

QString AskOpenFileName(QWidget* parent, const TFileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptOpen);
}

void ShowErrorMessage(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Mirla"), text);
}

void ShowWarningMessage(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Mirla"), text);
}

} // namespace mirla
