#pragma once

#include "plots/ChartWindow.h"

class QStatusBar;

namespace mirla {

/// The surface window "Surface": a lit 3-D surface that the surface request refills, turned by
/// the toolbar and the mouse. Its surface colour ("ElevationColor") and wall width ("WallWidth")
/// persist in section "fmSurface" of the settings file.
class TfmSurface : public TfmChartWindow {
    Q_OBJECT
public:
    /// Default colour of the surface: red 0, green 255, blue 255.
    static constexpr int DefaultElevationColor = 16776960;
    /// Default wall width.
    static constexpr int DefaultWallWidth = 10;

    /// A surface drawn in 3-D; placement and appearance are read from `settingsFile` (none when empty).
    explicit TfmSurface(const std::string& settingsFile, QWidget* parent = nullptr);

protected:
    void ReadSettings(const TIniFile& ini) override;
    void WriteSettings(TIniFile& ini) const override;

private:
    void BuildMenus();
    void Turn(void (TVtChartData::*rotate)());
    void ShowView();

    QAction* acHorizontalGrid = nullptr;
    QAction* acPedestalGrid = nullptr;
    QAction* acRotateLeft = nullptr;
    QAction* acRotateRight = nullptr;
    QAction* acRotateDown = nullptr;
    QAction* acRotateUp = nullptr;
};

} // namespace mirla
