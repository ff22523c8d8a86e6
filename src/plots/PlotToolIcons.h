#pragma once

#include <QIcon>

namespace mirla {

/// Side of a toolbar picture in pixels.
inline constexpr int PlotToolIconSize = 24;

/// The pictures of the plot windows' toolbar buttons.
enum class TPlotTool {
    Print,
    SaveAs,
    ZoomIn,
    ZoomOut,
    ZoomPrevious,
    AnimatedZoom,
    Properties,
    Legend,
    VerticalGrid,
    HorizontalGrid,
    View3D,
    Copy,
    ExportData,
    ImportData
};

/// A toolbar picture drawn in code (`PlotToolIconSize` pixels square, transparent background).
QIcon PlotToolIcon(TPlotTool tool);

} // namespace mirla
