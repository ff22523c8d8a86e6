#pragma once

#include "plotlib/PropertiesControls.h"
#include "plotlib/core/CurveOperations.h"

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace mirla {

class TGraph;
class TSeries;

/// Adds the derivative of `source` to `graph` (see `AddDerivative`) and returns it; with no source
/// it warns "Select series for create derivative" over `parent` and returns nullptr.
TSeries* DerivativeOrWarning(QWidget* parent, TGraph& graph, const TSeries* source);

/// Operations that make new series out of the graph's series at once: the derivative, the sum,
/// difference, product and quotient of two series, and least-squares polynomial fits.
class TOperationsPage : public TPropertiesPage {
public:
    /// A page on the series of `graph`; `derivativeDisabled` locks the derivative button.
    TOperationsPage(TGraph& graph, bool derivativeDisabled, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override { return std::nullopt; }
    /// Lists the series again: other pages may have deleted some.
    void Apply() override { RefreshSeries(); }
    /// Lists the graph's series again; the selection and the operands stay while their series do.
    void RefreshSeries();

    /// Told of every series an operation added, after the page listed it.
    std::function<void(TSeries&)> SeriesAdded;

private:
    void BuildControls();
    TSeries* Selected() const;
    void TakeOperand(int which);
    void UpdateOperations();
    void Combine(TCurveOperation operation);
    void Fit();
    void Added(TSeries& series);

    TGraph& m_graph;
    bool m_derivativeDisabled;
    /// The series in list order.
    std::vector<TSeries*> m_series;
    std::array<TSeries*, 2> m_operands{};
    QListWidget* m_list = nullptr;
    std::array<QLineEdit*, 2> m_operandFields{};
    std::vector<QPushButton*> m_operationButtons;
    QPushButton* m_derivative = nullptr;
    QPushButton* m_fit = nullptr;
    QLabel* m_degreeLabel = nullptr;
    QLineEdit* m_degree = nullptr;
};

} // namespace mirla
