#include "plotlib/OperationsPage.h"

#include "plotlib/FitSeries.h"
#include "plotlib/Graph.h"
#include "plotlib/SeriesOperations.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mirla {

TSeries* DerivativeOrWarning(QWidget* parent, TGraph& graph, const TSeries* source) {
    if (!source) {
        QMessageBox::warning(parent, "Warning", "Select series for create derivative");
        return nullptr;
    }
    return &AddDerivative(graph, *source);
}

TOperationsPage::TOperationsPage(TGraph& graph, bool derivativeDisabled, QWidget* parent)
    : TPropertiesPage(parent), m_graph(graph), m_derivativeDisabled(derivativeDisabled) {
    BuildControls();
    RefreshSeries();
}

void TOperationsPage::BuildControls() {
    m_list = new QListWidget(this);
    m_list->setObjectName("tbSeries");
    auto* listLabel = new QLabel("&Series", this);
    listLabel->setBuddy(m_list);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(listLabel);
    listColumn->addWidget(m_list);

    auto* operands = new QGridLayout;
    const char* captions[] = {"Fi&rst", "Se&cond"};
    const char* fieldNames[] = {"edFirst", "edSecond"};
    const char* buttonNames[] = {"btFirst", "btSecond"};
    for (int which = 0; which < 2; ++which) {
        auto* take = new QPushButton(">>", this);
        take->setObjectName(buttonNames[which]);
        m_operandFields[which] = new QLineEdit(this);
        m_operandFields[which]->setObjectName(fieldNames[which]);
        m_operandFields[which]->setReadOnly(true);
        auto* label = new QLabel(captions[which], this);
        label->setBuddy(take);
        operands->addWidget(label, which, 0);
        operands->addWidget(take, which, 1);
        operands->addWidget(m_operandFields[which], which, 2);
        connect(take, &QPushButton::clicked, this, [this, which] { TakeOperand(which); });
    }

    auto* operationRow = new QHBoxLayout;
    const std::pair<const char*, TCurveOperation> operations[] = {{"sbAdd", TCurveOperation::Add},
                                                                  {"sbSubtract", TCurveOperation::Subtract},
                                                                  {"sbMultiply", TCurveOperation::Multiply},
                                                                  {"sbDivide", TCurveOperation::Divide}};
    for (const auto& [name, operation] : operations) {
        auto* button = new QPushButton(OperationSign(operation), this);
        button->setObjectName(name);
        button->setEnabled(false);
        operationRow->addWidget(button);
        m_operationButtons.push_back(button);
        connect(button, &QPushButton::clicked, this, [this, operation] { Combine(operation); });
    }
    operationRow->addStretch();

    m_derivative = new QPushButton("&Derivative", this);
    m_derivative->setObjectName("btDeriv2");
    m_degreeLabel = new QLabel("De&grees", this);
    m_degree = new QLineEdit("1", this);
    m_degree->setObjectName("edDegree");
    m_degreeLabel->setBuddy(m_degree);
    m_fit = new QPushButton("&Fit", this);
    m_fit->setObjectName("btFit");
    for (QWidget* control : std::initializer_list<QWidget*>{m_derivative, m_degreeLabel, m_degree, m_fit})
        control->setEnabled(false);
    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(m_degreeLabel);
    fitRow->addWidget(m_degree);
    fitRow->addWidget(m_fit);
    fitRow->addStretch();

    auto* actions = new QVBoxLayout;
    actions->addLayout(operands);
    actions->addLayout(operationRow);
    actions->addWidget(m_derivative, 0, Qt::AlignLeft);
    actions->addLayout(fitRow);
    actions->addStretch();
    auto* page = new QHBoxLayout(this);
    page->addLayout(listColumn);
    page->addLayout(actions, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_derivative->setEnabled(!m_derivativeDisabled);
        for (QWidget* control : std::initializer_list<QWidget*>{m_degreeLabel, m_degree, m_fit})
            control->setEnabled(true);
    });
    connect(m_derivative, &QPushButton::clicked, this, [this] {
        if (TSeries* derivative = DerivativeOrWarning(this, m_graph, Selected()))
            Added(*derivative);
    });
    connect(m_fit, &QPushButton::clicked, this, [this] { Fit(); });
}

void TOperationsPage::RefreshSeries() {
    const TSeries* selected = Selected();
    m_series.clear();
    for (int i = 0; i < m_graph.LayerCount(); ++i)
        if (auto* series = dynamic_cast<TSeries*>(m_graph.Layer(i)))
            m_series.push_back(series);
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const TSeries* series : m_series)
        m_list->addItem(QString::fromStdString(series->Name()));
    const auto kept = std::find(m_series.begin(), m_series.end(), selected);
    m_list->setCurrentRow(kept == m_series.end() ? -1 : static_cast<int>(kept - m_series.begin()));
    // An operand that left the graph is forgotten with its name.
    for (int which = 0; which < 2; ++which)
        if (m_operands[which] && m_graph.IndexOf(m_operands[which]) < 0) {
            m_operands[which] = nullptr;
            m_operandFields[which]->clear();
        }
    UpdateOperations();
}

TSeries* TOperationsPage::Selected() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < static_cast<int>(m_series.size()) ? m_series[row] : nullptr;
}

void TOperationsPage::TakeOperand(int which) {
    TSeries* series = Selected();
    if (!series)
        return;
    m_operands[which] = series;
    m_operandFields[which]->setText(QString::fromStdString(series->Name()));
    UpdateOperations();
}

void TOperationsPage::UpdateOperations() {
    const bool ready = m_operands[0] && m_operands[1];
    for (QPushButton* button : m_operationButtons)
        button->setEnabled(ready);
}

void TOperationsPage::Combine(TCurveOperation operation) {
    const TSeries& a = *m_operands[0];
    const TSeries& b = *m_operands[1];
    if (TSeries* result = AddCombination(m_graph, a, b, operation))
        Added(*result);
    else
        QMessageBox::critical(this, "Error",
                              QString::fromStdString("Can not create Series " + a.Name() +
                                                     OperationSign(operation) + b.Name()));
}

void TOperationsPage::Fit() {
    bool isNumber = false;
    const int degree = m_degree->text().trimmed().toInt(&isNumber);
    if (!isNumber || degree < 1 || degree > MaxFitDegree) {
        QMessageBox::critical(this, "Error",
                              QString("Polynomial degree must be in the range [1..%1]").arg(MaxFitDegree));
        m_degree->setFocus();
        m_degree->selectAll();
        return;
    }
    if (const TSeries* source = Selected())
        Added(AddFit(m_graph, *source, degree));
}

void TOperationsPage::Added(TSeries& series) {
    RefreshSeries();
    if (SeriesAdded)
        SeriesAdded(series);
}

} // namespace mirla
