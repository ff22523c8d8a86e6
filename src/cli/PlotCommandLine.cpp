#include "cli/PlotCommandLine.h"

#include "app/core/CalcSettings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace mirla {

namespace {

constexpr std::array QualityWords{std::string_view("high"), std::string_view("good"),
                                  std::string_view("middle"), std::string_view("poor"),
                                  std::string_view("low")};
constexpr int MaxPictureSide = 20000;

/// A coordinate as the Graphics page accepts it: a finite number within its limits.
std::optional<double> ParseCoordinate(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value) ||
        std::fabs(value) > MaxPlotCoordinate) {
        return std::nullopt;
    }
    return value;
}

/// "MIN:MAX" or "MIN:MAX:STEPS" with MIN < MAX.
bool ParseRange(std::string_view text, TPlotRange& range) {
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos) {
        return false;
    }
    const std::size_t second = text.find(':', first + 1);
    const std::optional<double> low = ParseCoordinate(text.substr(0, first));
    const std::optional<double> high = ParseCoordinate(text.substr(first + 1, second - first - 1));
    if (!low || !high || *low >= *high) {
        return false;
    }
    range.Min = *low;
    range.Max = *high;
    if (second != std::string_view::npos) {
        range.Steps = ParseCliInteger(text.substr(second + 1), 2, MaxPlotSteps);
        return range.Steps.has_value();
    }
    return true;
}

/// "WxH", each side 1 to MaxPictureSide.
bool ParseSize(std::string_view text, TPlotCliOptions& options) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    const std::optional<int> width = ParseCliInteger(text.substr(0, x), 1, MaxPictureSide);
    const std::optional<int> height = ParseCliInteger(text.substr(x + 1), 1, MaxPictureSide);
    if (!width || !height) {
        return false;
    }
    options.Width = *width;
    options.Height = *height;
    return true;
}

bool ParseQuality(std::string_view text, int& quality) {
    for (std::size_t i = 0; i < QualityWords.size(); ++i) {
        if (QualityWords[i] == text) {
            quality = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool StoreInteger(std::optional<int> parsed, int& target) {
    if (parsed) {
        target = *parsed;
    }
    return parsed.has_value();
}

bool StoreText(std::string_view value, std::string& target) {
    target = value;
    return true;
}

/// Applies one "--name=value" option; false when the name is unknown or the value invalid.
bool ApplyPlotOption(std::string_view name, std::string_view value, TPlotCliOptions& options) {
    if (name == "x") {
        return ParseRange(value, options.X);
    }
    if (name == "y") {
        return ParseRange(value, options.Y);
    }
    if (name == "levels") {
        return StoreInteger(ParseCliInteger(value, 1, 1000), options.Levels);
    }
    if (name == "palette") {
        return StoreInteger(ParseCliInteger(value, 0, 7), options.Palette);
    }
    if (name == "quality") {
        return ParseQuality(value, options.Quality);
    }
    if (name == "size") {
        return ParseSize(value, options);
    }
    if (name == "title") {
        return StoreText(value, options.Title);
    }
    if (name == "xname") {
        return StoreText(value, options.XName);
    }
    if (name == "yname") {
        return StoreText(value, options.YName);
    }
    if (name == "output") {
        return StoreText(value, options.Output) && !value.empty();
    }
    if (name == "format") {
        return StoreText(value, options.Format) && !value.empty();
    }
    if (name == "settings") {
        return StoreText(value, options.SettingsFile) && !value.empty();
    }
    if (name == "angle" || name == "precision" || name == "functions" || name == "variables") {
        return ApplyCalcOption(name, value, options.Calc);
    }
    return false;
}

/// Applies one option without a value; false when there is no such switch.
bool ApplySwitch(std::string_view name, TPlotCliOptions& options) {
    const std::array<std::pair<std::string_view, bool*>, 5> switches{{
        {"complex", &options.Calc.Complex},
        {"legend", &options.Legend},
        {"grid", &options.Grid},
        {"log-x", &options.LogX},
        {"log-y", &options.LogY},
    }};
    for (const auto& [word, flag] : switches) {
        if (word == name) {
            *flag = true;
            return true;
        }
    }
    if (name == "no-legend") {
        options.Legend = false;
        return true;
    }
    if (name == "contour" || name == "shade") {
        options.Kind = name == "contour" ? TPlotKind::Contour : TPlotKind::Shade;
        return true;
    }
    return false;
}

TPlotCommandLine BadUsage(std::string problem) {
    TPlotCommandLine result;
    result.Action = CliAction::BadUsage;
    result.Problem = std::move(problem);
    return result;
}

/// What a complete command line still lacks or contradicts; empty when nothing.
std::string MissingPart(const TPlotCliOptions& options) {
    if (options.Calc.Expressions.empty()) {
        return "no expression to plot";
    }
    if (options.Output.empty()) {
        return "no output file: give -o FILE";
    }
    if (options.Calc.Complex && options.Kind == TPlotKind::Curves) {
        return "--complex plots |f(X+Yi)| as a map: add --contour or --shade";
    }
    return {};
}

} // namespace

int DefaultXSteps(TPlotKind kind) {
    const TCalcSettings defaults;
    return defaults.StepTable[kind == TPlotKind::Curves ? 0 : kind == TPlotKind::Contour ? 1 : 2];
}

int DefaultYSteps() {
    const TCalcSettings defaults;
    return defaults.StepTable[PlotTypeCount + 1];
}

TPlotCommandLine ParsePlotCommandLine(const std::vector<std::string>& args) {
    TPlotCommandLine result;
    TPlotCliOptions& options = result.Options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view text = args[i];
        if (optionsEnded || (!text.starts_with("--") && text != "-o")) {
            options.Calc.Expressions.push_back(args[i]);
        } else if (text == "--") {
            optionsEnded = true;
        } else if (text == "--help" || text == "--version") {
            result.Action = text == "--help" ? CliAction::Help : CliAction::Version;
            return result;
        } else if (text == "-o") {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                return BadUsage("-o needs a file name");
            }
            options.Output = args[++i];
        } else if (const std::size_t equals = text.find('='); equals == std::string_view::npos) {
            if (!ApplySwitch(text.substr(2), options)) {
                return BadUsage("unknown option or missing value: " + args[i]);
            }
        } else if (!ApplyPlotOption(text.substr(2, equals - 2), text.substr(equals + 1), options)) {
            return BadUsage("unknown option or invalid value: " + args[i]);
        }
    }
    std::string problem = MissingPart(options);
    return problem.empty() ? result : BadUsage(std::move(problem));
}

std::string PlotUsageText() {
    return "Usage: mirla-plot [OPTIONS] EXPRESSION... -o FILE\n"
           "Plots each EXPRESSION as a curve f(X), or with --contour or --shade as a map of f(X,Y),\n"
           "into FILE. The format follows FILE's extension: png, svg, pdf, bmp, wmf, emf, dxf, or txt\n"
           "for the plot's layers as text (maps as their traced lines); \"-o -\" writes SVG, or\n"
           "with --format=txt the text, to standard output.\n"
           "\n"
           "  -o FILE, --output=FILE  the file to write (\"-\": standard output)\n"
           "  --format=EXT            write this format whatever FILE's extension\n"
           "  --contour               contour lines of f(X,Y), one map per expression\n"
           "  --shade                 colour-shaded map of f(X,Y)\n"
           "  --x=MIN:MAX[:STEPS]     X range and sample points (default -10:10, 200 points for\n"
           "                          curves, 40 for maps); coordinates within +-115425.2,\n"
           "                          2 to 16000 points\n"
           "  --y=MIN:MAX[:STEPS]     Y range of maps (default -10:10:40)\n"
           "  --levels=N              contour levels, 1 to 1000 (default 10)\n"
           "  --palette=0..7          colour palette of maps (default 0)\n"
           "  --quality=high|good|middle|poor|low  shading resolution (default high)\n"
           "  --title=TEXT            plot title\n"
           "  --xname=TEXT            X axis name (default X)\n"
           "  --yname=TEXT            Y axis name (default Y)\n"
           "  --legend, --no-legend   show or hide the legend (default shown)\n"
           "  --grid                  grid lines at the major ticks\n"
           "  --log-x, --log-y        logarithmic X or Y axis\n"
           "  --size=WxH              picture size in pixels, in millimetres for PDF\n"
           "                          (default 800x600, PDF 200x150)\n"
           "  --angle=deg|rad         angle unit of the expressions (default deg)\n"
           "  --precision=N           decimals integration passes must agree on, 1 to 20\n"
           "  --complex               maps of |f(X+Yi)|, expressions built from comp(A,B)\n"
           "  --functions=FILE        load user functions from a .FNC file\n"
           "  --variables=FILE        load user variables from a .USR file\n"
           "  --settings=FILE         take the plot's look (colours, fonts, axes) from the\n"
           "                          settings file the windows write (Mirla.ini)\n"
           "  --help                  show this text\n"
           "  --version               show the version\n"
           "  --                      treat every further argument as an expression\n"
           "\n"
           "Exit status: 0 when the file was written, 1 when an expression could not be\n"
           "calculated (nothing is written), 2 on bad usage or a file that cannot be read or\n"
           "written.\n";
}

} // namespace mirla
