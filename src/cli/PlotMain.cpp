// mirla-plot: curves f(X) and maps f(X,Y) drawn into picture and data files from the command
// line, with the calculator's engine and the plot windows' drawing, without a display.

#include "app/core/PlotSampling.h"
#include "cli/Calculator.h"
#include "cli/Interrupts.h"
#include "cli/PlotCommandLine.h"
#include "cli/TerminalHost.h"
#include "engine/EngineText.h"
#include "engine/EvalContext.h"
#include "engine/InputPreparation.h"
#include "numbers/ComplexEvaluator.h"
#include "plotlib/Contour.h"
#include "plotlib/DxfDevice.h"
#include "plotlib/FunctionCurve.h"
#include "plotlib/Graph.h"
#include "plotlib/GraphSettings.h"
#include "plotlib/PictureFiles.h"
#include "plotlib/Series.h"
#include "plotlib/core/DataText.h"
#include "runtime/FileBytes.h"
#include "runtime/IniFile.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace mirla;

constexpr int ExitWritten = 0;
constexpr int ExitCalculationFailed = 1;
constexpr int ExitBadUsage = 2;
constexpr double MillimetresPerInch = 25.4;
constexpr double PdfPixelsPerInch = 96;

/// What a format writes: a picture, a DXF drawing, or the plot's layers as text.
enum class TOutputKind { Picture, Dxf, Text };

/// One output format: the name users give it, what it writes and, for pictures, their format.
struct TOutputFormat {
    const char* Name;
    TOutputKind Kind;
    TPictureFormat Picture;
};

constexpr std::array OutputFormats{
    TOutputFormat{"png", TOutputKind::Picture, TPictureFormat::Png},
    TOutputFormat{"svg", TOutputKind::Picture, TPictureFormat::Svg},
    TOutputFormat{"pdf", TOutputKind::Picture, TPictureFormat::Pdf},
    TOutputFormat{"bmp", TOutputKind::Picture, TPictureFormat::Bmp},
    TOutputFormat{"wmf", TOutputKind::Picture, TPictureFormat::Wmf},
    TOutputFormat{"emf", TOutputKind::Picture, TPictureFormat::Emf},
    TOutputFormat{"dxf", TOutputKind::Dxf, TPictureFormat::Png},
    TOutputFormat{"txt", TOutputKind::Text, TPictureFormat::Png},
};

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

/// The format asked for with --format, else the one the output name's extension names; SVG for
/// standard output.
std::optional<TOutputFormat> OutputFormatOf(const TPlotCliOptions& options) {
    std::string name = options.Format;
    if (name.empty() && options.Output == "-") {
        name = "svg";
    } else if (name.empty()) {
        const std::size_t dot = options.Output.find_last_of("./");
        if (dot != std::string::npos && options.Output[dot] == '.') {
            name = options.Output.substr(dot + 1);
        }
    }
    name = LowerCase(name);
    for (const TOutputFormat& format : OutputFormats) {
        if (name == format.Name) {
            return format;
        }
    }
    return std::nullopt;
}

/// The picture size in pixels: as asked for, in millimetres for PDF, or the format's default.
QSize PictureSize(const TPlotCliOptions& options, TPictureFormat format) {
    const bool pdf = format == TPictureFormat::Pdf;
    const int width = options.Width > 0 ? options.Width : pdf ? 200 : 800;
    const int height = options.Height > 0 ? options.Height : pdf ? 150 : 600;
    if (!pdf) {
        return {width, height};
    }
    const double scale = PdfPixelsPerInch / MillimetresPerInch;
    return {std::max(1, static_cast<int>(width * scale + 0.5)),
            std::max(1, static_cast<int>(height * scale + 0.5))};
}

/// Qt's own notes (missing runtime folders and the like) would only clutter the output of a
/// command; its errors still reach standard error.
void ReportQtErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::cerr << "mirla-plot: " << message.toStdString() << '\n';
    }
}

int Usage(const std::string& problem) {
    std::cerr << "mirla-plot: " << problem << "\nTry 'mirla-plot --help' for more information.\n";
    return ExitBadUsage;
}

/// Takes the plot's look from the section of a settings file the plot windows wrote.
bool LoadLook(TGraph& graph, const std::string& path, const std::string& section) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        std::cerr << "mirla-plot: Can't read file " << path << '\n';
        return false;
    }
    TIniFile ini;
    std::string message;
    if (!ini.Load(path, message)) {
        std::cerr << "mirla-plot: " << message << '\n';
        return false;
    }
    LoadGraphSettings(graph, ini, section);
    return true;
}

void ApplyOptions(TGraph& graph, const TPlotCliOptions& options) {
    graph.Title.Text = options.Title;
    graph.XAxis().Name = options.XName;
    graph.YAxis().Name = options.YName;
    graph.XAxis().Grid = graph.XAxis().Grid || options.Grid;
    graph.YAxis().Grid = graph.YAxis().Grid || options.Grid;
    graph.XAxis().SetLog(options.LogX);
    graph.YAxis().SetLog(options.LogY);
    graph.Legend().SetVisible(options.Legend);
}

/// The engine of one run with its terminal host: samples the curves and maps and reports the
/// expression that cannot be calculated.
class TPlotRun {
public:
    explicit TPlotRun(const TPlotCliOptions& options)
        : m_options(options), m_host(false, isatty(STDERR_FILENO) != 0, options.Calc.Precision) {
        m_engine.SetHost(&m_host);
        ApplySettings(m_engine, options.Calc);
        m_complex.SetForm(static_cast<std::uint8_t>(options.Calc.ComplexForm));
        // Ctrl-C stops the sampling as "User break"; nothing is written then.
        InstallInterruptHandler(m_engine.BreakRequested, false);
    }

    bool LoadUserFiles() { return mirla::LoadUserFiles(m_engine, m_options.Calc, "mirla-plot"); }

    /// Adds the curve of one expression to the graph; false with the error reported.
    bool AddCurve(TGraph& graph, const std::string& expression) {
        const std::string typed = Prepare(expression);
        const int steps = m_options.X.Steps.value_or(DefaultXSteps(TPlotKind::Curves));
        auto curve = NewFunctionCurve(graph, "f(" + m_engine.Input + ")", steps);
        TSeries& series = *curve;
        const bool sampled = SampleCurve(
            m_engine, TSampleAxis::Spanning(m_options.X.Min, m_options.X.Max, steps),
            [this](int percent) { ShowProgress(percent); },
            [&series](double x, double y) { series.AddPoint(series.Color(), "", x, y); });
        m_host.ClearProgress();
        if (!sampled) {
            return Failed(expression, typed);
        }
        graph.AddLayer(std::move(curve));
        AddLineLegend(graph, series);
        return true;
    }

    /// Adds the contour or shaded map of one expression to the graph; false with the error reported.
    bool AddMap(TGraph& graph, const std::string& expression) {
        const bool complex = m_options.Calc.Complex;
        const std::string typed = Prepare(complex ? "abs(" + expression + ")" : expression);
        const TPlotKind kind = m_options.Kind;
        const TSampleGrid grid{TSampleAxis::Spanning(m_options.X.Min, m_options.X.Max,
                                                     m_options.X.Steps.value_or(DefaultXSteps(kind))),
                               TSampleAxis::Spanning(m_options.Y.Min, m_options.Y.Max,
                                                     m_options.Y.Steps.value_or(DefaultYSteps()))};
        TSampledGrid sampled;
        const bool ok = SampleGridValues(
            m_engine, complex ? &m_complex : nullptr, grid, [this](int percent) { ShowProgress(percent); },
            sampled);
        m_host.ClearProgress();
        if (!ok) {
            return Failed(expression, typed, complex ? AbsPrefix : 0);
        }
        const bool shading = kind == TPlotKind::Shade;
        auto map = std::make_unique<TContour>(
            graph, shading, shading ? 1 : m_options.Levels,
            TContourGrid(std::move(sampled.X), std::move(sampled.Y), std::move(sampled.Z)));
        map->SetName(expression);
        map->Palette = m_options.Palette;
        map->SquareSize = ShadingSquareSizes[m_options.Quality];
        AddMapWithLegends(graph, std::move(map));
        return true;
    }

private:
    static constexpr int AbsPrefix = 4; ///< the characters of "abs(" before a complex map's text

    /// Makes `expression` the engine's input (blanks removed, parentheses checked) from a clear
    /// state; returns it as engine text.
    std::string Prepare(const std::string& expression) {
        const std::string typed = EngineTextFromUtf8(expression);
        m_engine.BreakRequested = false;
        m_engine.ClearError();
        m_engine.ArgDepth = 0;
        PrepareInput(m_engine, typed);
        return typed;
    }

    void ShowProgress(int percent) {
        if (percent != m_lastPercent) {
            m_lastPercent = percent;
            m_host.ShowProgress(std::to_string(percent) + "%");
        }
    }

    /// Reports the engine's error in `typed`, whose first `prefix` characters the user did not type.
    bool Failed(const std::string& expression, const std::string& typed, int prefix = 0) {
        MapErrorPosition(m_engine, typed, m_engine.Input);
        m_engine.ErrorPos = std::max(1, m_engine.ErrorPos - prefix);
        std::cerr << ErrorLine(m_engine) << " in " << expression << '\n';
        return false;
    }

    const TPlotCliOptions& m_options;
    TTerminalHost m_host;
    EvalContext m_engine;
    TComplexEvaluator m_complex{m_engine};
    int m_lastPercent = -1;
};

/// Writes the bytes to standard output or, through a temporary, to the file.
bool WriteOutput(const std::string& path, const QByteArray& bytes) {
    const std::string_view data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (path == "-") {
        return std::fwrite(data.data(), 1, data.size(), stdout) == data.size() && std::fflush(stdout) == 0;
    }
    std::string reason;
    if (WriteFileAtomically(path, data, &reason)) {
        return true;
    }
    std::cerr << "mirla-plot: Can't write file " << path << ": " << reason << '\n';
    return false;
}

/// The plot's layers as text: curves as they are, maps as their traced lines, one series of
/// world coordinates per line, named after the map and the line's level.
std::string LayersAsText(TGraph& graph) {
    std::string text;
    for (int i = 0; i < graph.LayerCount(); ++i) {
        const auto* map = dynamic_cast<const TContour*>(graph.Layer(i));
        if (!map) {
            graph.Layer(i)->SaveToText(text);
            continue;
        }
        for (const TContourLine& line : map->Lines()) {
            TSeries series(graph, map->Name() + " Z=" + ExactNumberText(line.Level), ssLine,
                           map->ValueColor(line.Level));
            for (const TContourPoint& point : line.Points) {
                series.AddPoint(series.Color(), "", point.X, point.Y);
            }
            series.SaveToText(text);
        }
    }
    return text;
}

QByteArray OutputBytes(TGraph& graph, const TPlotCliOptions& options, TOutputFormat format) {
    switch (format.Kind) {
    case TOutputKind::Picture:
        return PictureData(graph, PictureSize(options, format.Picture), format.Picture);
    case TOutputKind::Dxf:
        return QByteArray::fromStdString(GraphDxf(graph, PictureSize(options, TPictureFormat::Png)));
    case TOutputKind::Text:
        return QByteArray::fromStdString(LayersAsText(graph));
    }
    return {};
}

int Run(const TPlotCliOptions& options, TOutputFormat format) {
    TPlotRun run(options);
    if (!run.LoadUserFiles()) {
        return ExitBadUsage;
    }
    const bool maps = options.Kind != TPlotKind::Curves;
    TGraph graph;
    const char* section = maps ? "fmContourPlotChart" : "fmPlot2DChart";
    if (!options.SettingsFile.empty() && !LoadLook(graph, options.SettingsFile, section)) {
        return ExitBadUsage;
    }
    ApplyOptions(graph, options);
    if (maps) {
        FixMapAxes(graph, options.X.Min, options.X.Max, options.Y.Min, options.Y.Max);
    }
    for (const std::string& expression : options.Calc.Expressions) {
        if (!(maps ? run.AddMap(graph, expression) : run.AddCurve(graph, expression))) {
            return ExitCalculationFailed;
        }
    }
    const QByteArray bytes = OutputBytes(graph, options, format);
    if (bytes.isEmpty()) {
        std::cerr << "mirla-plot: Can't draw the picture\n";
        return ExitBadUsage;
    }
    return WriteOutput(options.Output, bytes) ? ExitWritten : ExitBadUsage;
}

int Execute(int argc, char** argv) {
    const TPlotCommandLine commandLine =
        ParsePlotCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (commandLine.Action) {
    case CliAction::Help:
        std::cout << PlotUsageText();
        return ExitWritten;
    case CliAction::Version:
        std::cout << "mirla-plot " << MIRLA_VERSION << '\n';
        return ExitWritten;
    case CliAction::BadUsage:
        return Usage(commandLine.Problem);
    case CliAction::Run:
        break;
    }
    const std::optional<TOutputFormat> format = OutputFormatOf(commandLine.Options);
    if (!format) {
        return Usage("unknown output format: name the file with one of the extensions in --help");
    }
    // Pictures are drawn off screen: no display is needed, and none is used when there is one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ReportQtErrorsOnly);
    QGuiApplication application(argc, argv);
    return Run(commandLine.Options, *format);
}

} // namespace

int main(int argc, char** argv) {
    return Execute(argc, argv);
}
