#pragma once

#include "app/PageShell.h"

#include <QString>

namespace mirla {

class TfmContourPlot;
class TfmPlot2D;
class TfmSurface;

/// What the pages that work on the input line's expression ("Calculator" and "Graphics") share:
/// its text, one evaluation cycle of it, and the plot window its f(X) curves go to.
class TEvaluationShell : public virtual TPageShell {
public:
    /// The input line's text as typed.
    virtual QString InputLineText() const = 0;
    /// Runs one evaluation cycle of the input line and shows its result or error.
    virtual void ReturnClick() = 0;
    /// The 2-D plot window that receives f(X) curves; null when there is none.
    virtual TfmPlot2D* Plot2D() = 0;
    /// The surface window that receives surfaces; null when there is none.
    virtual TfmSurface* Surface() = 0;
    /// The contour window that receives contour and colour-shading maps; null when there is none.
    virtual TfmContourPlot* ContourPlot() { return nullptr; }
};

} // namespace mirla
