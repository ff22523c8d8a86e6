#include "userdefs/ui/VariablesPage.h"

#include "engine/Engine.h"
#include "engine/InputPreparation.h"
#include "userdefs/VariableFiles.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mirla {

namespace {

constexpr int VariablesHelpTopic = 3;
const QString UndefinedText = QStringLiteral("Undefind");

const TFileDialogSpec SaveVarSpec{QStringLiteral("Save variables to File"), QStringLiteral("VAR"),
                                  QStringLiteral("Variables files (*.VAR)")};
const TFileDialogSpec LoadVarSpec{QStringLiteral("Load variables from File"), QStringLiteral("VAR"),
                                  QStringLiteral("User variables files (*.VAR)")};

QPushButton* AddButton(QLayout* layout, const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

} // namespace

TVariablesPage::TVariablesPage(TDefinitionsShell& shell, QWidget* parent) : TShellPage(shell, parent) {
    auto* rows = new QGridLayout;
    for (int k = 1; k <= VariableCount; ++k) {
        const QString letter(QChar(VariableLetters[static_cast<std::size_t>(k - 1)]));
        auto* label = new QLabel(letter + QStringLiteral("  ="), this);
        auto* expression = new QLineEdit(this);
        auto* value = new QLineEdit(this);
        auto* calculate = new QPushButton(QStringLiteral("Calculate"), this);
        expression->setObjectName(QStringLiteral("ed") + letter + QStringLiteral("Var"));
        value->setObjectName(QStringLiteral("ed") + letter + QStringLiteral("Val"));
        calculate->setObjectName(QStringLiteral("btCalc") + letter);
        // Read-only rather than disabled, so that the values stay readable in every theme.
        value->setReadOnly(true);
        value->setFocusPolicy(Qt::NoFocus);
        value->setReadOnly(true);
        label->setBuddy(expression);
        rows->addWidget(label, k - 1, 0);
        rows->addWidget(expression, k - 1, 1);
        rows->addWidget(value, k - 1, 2);
        rows->addWidget(calculate, k - 1, 3);
        m_expression[static_cast<std::size_t>(k - 1)] = expression;
        m_value[static_cast<std::size_t>(k - 1)] = value;
        connect(calculate, &QPushButton::clicked, this, [this, k] { EvaluateVariableRow(k); });
        connect(expression, &QLineEdit::returnPressed, this, [this, k] { EvaluateVariableRow(k); });
    }
    rows->setColumnStretch(1, 3);
    rows->setColumnStretch(2, 2);

    m_lbError = new QLabel(this);
    m_lbError->setObjectName(QStringLiteral("lbError"));
    m_lbError->setWordWrap(true);
    SetErrorColour(m_lbError, true);

    auto* buttons = new QHBoxLayout;
    connect(AddButton(buttons, QStringLiteral("Calculate &All"), QStringLiteral("btCalcAll"), this),
            &QPushButton::clicked, this, &TVariablesPage::CalculateAll);
    connect(AddButton(buttons, QStringLiteral("&Save"), QStringLiteral("btSave"), this),
            &QPushButton::clicked, this, &TVariablesPage::SaveClick);
    connect(AddButton(buttons, QStringLiteral("&Load"), QStringLiteral("btLoad"), this),
            &QPushButton::clicked, this, &TVariablesPage::LoadClick);
    connect(AddButton(buttons, QStringLiteral("Help"), QStringLiteral("btHelp"), this), &QPushButton::clicked,
            this, [this] { Shell().ShowHelp(VariablesHelpTopic); });
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addWidget(m_lbError);
    layout->addLayout(buttons);
    layout->addStretch();
}

void TVariablesPage::Activate() {
    RefreshVariablesPage();
    ExpressionField(1)->setFocus();
}

void TVariablesPage::EvaluateVariableRow(int k) {
    QLineEdit* field = ExpressionField(k);
    if (field->text().isEmpty())
        return;
    EvalContext& ctx = Shell().Engine();
    const std::string typed = EngineTextFromQString(field->text());
    Extended value = 0;
    std::string blankFree;
    {
        CursorGuard guard(ctx);
        ctx.ClearError();
        PrepareInput(ctx, typed);
        if (!ctx.ErrorFlag)
            value = Evaluate(ctx);
        if (ctx.ErrorFlag) {
            MapErrorPosition(ctx, typed, ctx.Input);
            m_lbError->setText(EngineErrorMessage(ctx));
            field->setFocus();
            field->setSelection(std::clamp(ctx.ErrorPos - 1, 0, static_cast<int>(field->text().size())),
                                std::max(ctx.ErrorLength, 1));
            ctx.ClearError();
            return;
        }
        blankFree = ctx.Input;
    }
    ValueField(k)->setText(DisplayText(ctx, Shell().DisplayWidth(), value));
    ctx.Variable(k).Definition = blankFree;
    ctx.Variable(k).Value = value;
    m_lbError->clear();
}

void TVariablesPage::RefreshVariablesPage() {
    EvalContext& ctx = Shell().Engine();
    for (int k = 1; k <= VariableCount; ++k) {
        ExpressionField(k)->setText(QStringFromEngineText(ctx.Variable(k).Definition));
        ShowStoredValue(k);
    }
}

void TVariablesPage::ShowStoredValue(int k) {
    EvalContext& ctx = Shell().Engine();
    const PredefinedVariable& v = ctx.Variable(k);
    const bool set = !v.Definition.empty() || v.Value != UndefinedValue;
    ValueField(k)->setText(set ? DisplayText(ctx, Shell().DisplayWidth(), v.Value) : UndefinedText);
}

void TVariablesPage::CalculateAll() {
    EvalContext& ctx = Shell().Engine();
    for (int k = 1; k <= VariableCount; ++k) {
        ctx.Variable(k).Definition = EngineTextFromQString(ExpressionField(k)->text());
        ctx.Variable(k).Value = UndefinedValue;
    }
    for (int k = 1; k <= VariableCount; ++k)
        EvaluateVariableRow(k);
    // Rows without an expression were reset (or set through the set-variable dialog); their
    // old value texts would mislead.
    for (int k = 1; k <= VariableCount; ++k) {
        if (ExpressionField(k)->text().isEmpty())
            ShowStoredValue(k);
    }
}

void TVariablesPage::SaveClick() {
    CalculateAll();
    const QString path = AskSaveFileName(this, SaveVarSpec);
    if (path.isEmpty())
        return;
    std::string message;
    if (!SaveVariableFile(Shell().Engine(), path.toStdString(), message))
        ShowErrorMessage(this, QStringLiteral("Can't create file ") + path);
}

void TVariablesPage::LoadClick() {
    const QString path = AskOpenFileName(this, LoadVarSpec);
    if (!path.isEmpty()) {
        std::string message;
        if (!LoadVariableFile(Shell().Engine(), path.toStdString(), message)) {
            ShowErrorMessage(this, ModelMessage(message, path));
            return;
        }
    }
    RefreshVariablesPage();
    CalculateAll();
}

} // namespace mirla
