#pragma once

#include "plots/ChartWindow.h"

namespace mirla {

/// The polar window "Polar": a polar chart that gains one curve, a pair of angle and radius
/// columns, per polar request.
class TfmPolar : public TfmChartWindow {
    Q_OBJECT
public:
    /// An empty chart; the placement is read from `settingsFile` (none when empty).
    explicit TfmPolar(const std::string& settingsFile, QWidget* parent = nullptr);

private:
    void BuildMenus();
    void GridClick();

    QAction* acGrid = nullptr;
};

} // namespace mirla
