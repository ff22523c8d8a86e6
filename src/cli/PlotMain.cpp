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
#include "plotlib/FunctionCurve.h"
#include "plotlib/Graph.h"
#include "plotlib/GraphSettings.h"
#include "plotlib/PictureFiles.h"
#include "plotlib/Series.h"
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

/// One output format: the name users give it and the picture format that writes it.
struct TOutputFormat {
    const char* Name;
    TPictureFormat Picture;
};

constexpr std::array OutputFormats{
    TOutputFormat{"png", TPictureFormat::Png}, TOutputFormat{"svg", TPictureFormat::Svg},
    TOutputFormat{"pdf", TPictureFormat::Pdf}, TOutputFormat{"bmp", TPictureFormat::Bmp},
    TOutputFormat{"wmf", TPictureFormat::Wmf}, TOutputFormat{"emf", TPictureFormat::Emf},
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

/// Samples and engine run for one invocation: the engine with its host, and what failed.
class TPlotRun {
public:
    explicit TPlotRun(const TPlotCliOptions& options)
        : m_options(options), m_host(false, isatty(STDERR_FILENO) != 0, options.Calc.Precision) {
        m_engine.SetHost(&m_host);
        ApplySettings(m_engine, options.Calc);
        // Ctrl-C stops the sampling as "User break"; nothing is written then.
        InstallInterruptHandler(m_engine.BreakRequested, false);
    }

    bool LoadUserFiles() { return mirla::LoadUserFiles(m_engine, m_options.Calc, "mirla-plot"); }

    /// Adds the curve of one expression to the graph; false with the error reported.
    bool AddCurve(TGraph& graph, const std::string& expression) {
        const std::string typed = EngineTextFromUtf8(expression);
        m_engine.BreakRequested = false;
        m_engine.ClearError();
        m_engine.ArgDepth = 0;
        PrepareInput(m_engine, typed);
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

private:
    void ShowProgress(int percent) {
        if (percent != m_lastPercent) {
            m_lastPercent = percent;
            m_host.ShowProgress(std::to_string(percent) + "%");
        }
    }

    bool Failed(const std::string& expression, const std::string& typed) {
        MapErrorPosition(m_engine, typed, m_engine.Input);
        std::cerr << ErrorLine(m_engine) << " in " << expression << '\n';
        return false;
    }

    const TPlotCliOptions& m_options;
    TTerminalHost m_host;
    EvalContext m_engine;
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

int Run(const TPlotCliOptions& options, TOutputFormat format) {
    TPlotRun run(options);
    if (!run.LoadUserFiles()) {
        return ExitBadUsage;
    }
    TGraph graph;
    if (!options.SettingsFile.empty() && !LoadLook(graph, options.SettingsFile, "fmPlot2DChart")) {
        return ExitBadUsage;
    }
    ApplyOptions(graph, options);
    for (const std::string& expression : options.Calc.Expressions) {
        if (!run.AddCurve(graph, expression)) {
            return ExitCalculationFailed;
        }
    }
    const QByteArray bytes = PictureData(graph, PictureSize(options, format.Picture), format.Picture);
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
