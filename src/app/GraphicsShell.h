#pragma once

#include "app/EvaluationShell.h"

namespace mirla {

class TComplexEvaluator;
class TfmPolar;

/// What the "Graphics" page needs from the main window while it checks and runs plot requests.
class TGraphicsShell : public virtual TEvaluationShell {
public:
    /// Shows a one-line text in the assistant panel.
    virtual void ShowAssistantText(const QString& text) = 0;
    /// Puts the input line at the top of the history list.
    virtual void MoveToHistoryTop() = 0;
    /// Disables the page control while a plot request samples (true) and enables it again; a
    /// close of the window asked for meanwhile waits until the request has ended.
    virtual void SetPlotting(bool running) = 0;
    /// Shows how far a plot request has sampled, 0 to 100 percent.
    virtual void ShowProgress(int percent) = 0;
    /// The polar window that receives polar curves; null when there is none.
    virtual TfmPolar* Polar() = 0;
    /// The complex evaluator that samples |f(X+Yi)| in complex mode.
    virtual TComplexEvaluator& ComplexEvaluator() = 0;
};

} // namespace mirla
