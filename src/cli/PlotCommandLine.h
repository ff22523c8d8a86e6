#pragma once

#include "cli/CommandLine.h"

#include <optional>
#include <string>
#include <vector>

namespace mirla {

/// What `mirla-plot` draws: curves f(X), or one contour or shaded map of f(X,Y) per expression.
enum class TPlotKind { Curves, Contour, Shade };

/// An axis range with its number of sample points; no steps means the plot kind's default.
struct TPlotRange {
    double Min = -10;
    double Max = 10;
    std::optional<int> Steps;
};

/// The settings of a `mirla-plot` run.
struct TPlotCliOptions {
    /// The engine's settings: angle unit, complex mode, user-function and user-variable files.
    TCliOptions Calc;
    TPlotKind Kind = TPlotKind::Curves;
    TPlotRange X;
    TPlotRange Y;
    int Levels = 10;
    int Palette = 0;
    int Quality = 0; ///< 0 "High" to 4 "Low"
    std::string Title;
    std::string XName = "X";
    std::string YName = "Y";
    bool Legend = true;
    bool Grid = false;
    bool LogX = false;
    bool LogY = false;
    /// Pixels; millimetres for PDF. Zero means the format's default.
    int Width = 0;
    int Height = 0;
    std::string SettingsFile;
    /// The file written; "-" is standard output.
    std::string Output;
    /// The picture or data format ("png", "txt", ...); empty: the output name's extension.
    std::string Format;
};

/// The result of reading a `mirla-plot` command line.
struct TPlotCommandLine {
    CliAction Action = CliAction::Run;
    TPlotCliOptions Options;
    std::string Problem;
};

/// The X sample points of a plot kind when none were asked for.
int DefaultXSteps(TPlotKind kind);
/// The Y sample points of a map when none were asked for.
int DefaultYSteps();

/// Reads the arguments (without the program name). Options begin with "-" or "--" wherever
/// they stand, until a lone "--"; every other argument is an expression.
TPlotCommandLine ParsePlotCommandLine(const std::vector<std::string>& args);

/// The text that --help prints.
std::string PlotUsageText();

} // namespace mirla
