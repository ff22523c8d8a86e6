#pragma once

#include <QToolBar>

class QCheckBox;

namespace mirla {

class TPlot;

/// The "Annotate Tools" palette of a plot window: one button per drawing tool of the plot's
/// annotation layer (select, symbol, line, arrow, rectangle, circle, text, pencil) and "All
/// Visible", which shows or hides every figure.
class TfmAnnotateTools : public QToolBar {
public:
    /// A palette working on `plot`'s annotations, with select chosen.
    explicit TfmAnnotateTools(TPlot& plot, QWidget* parent = nullptr);

private:
    void cbVisibleClick(bool visible);

    TPlot& m_plot;
    QCheckBox* cbVisible = nullptr;
};

} // namespace mirla
