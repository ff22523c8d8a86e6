#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirla {

/// The settings of a `mirlac` run, as the calculator window would hold them.
struct TCliOptions {
    int Notation = 0;     ///< 0 Scn, 1 Fix, 2 Eng, 3 Sxg
    int Width = 12;       ///< the "Digits" width handed to the formatter
    int Base = 0;         ///< 0 decimal, 1 hexadecimal, 2 base two
    int Bits = 32;        ///< group length of base-2 output: 7, 8, 16 or 32
    int AngleMode = 1;    ///< 0 radians, 1 degrees
    int Precision = 9;    ///< decimals that successive integration passes must agree on
    bool Complex = false; ///< lines are complex expressions built from "comp(" operands
    int ComplexForm = 1;  ///< 0 Polar, 1 Rect: how "comp(" reads its parts and results show
    std::string FunctionsFile;
    std::string VariablesFile;
    /// Lines given as arguments; when empty the lines come from standard input.
    std::vector<std::string> Expressions;
};

/// What the command line asks for.
enum class CliAction { Run, Help, Version, BadUsage };

/// The result of reading the command line: the action, the options for a run, and for bad
/// usage the problem in one sentence.
struct TCommandLine {
    CliAction Action = CliAction::Run;
    TCliOptions Options;
    std::string Problem;
};

/// A decimal number made of digits only, within [low, high].
std::optional<int> ParseCliInteger(std::string_view text, int low, int high);

/// Applies one "--name=value" option of the calculator's settings; false when the name is
/// unknown or the value invalid.
bool ApplyCalcOption(std::string_view name, std::string_view value, TCliOptions& options);

/// Reads the arguments (without the program name). Arguments beginning with "--" are options
/// wherever they stand, until a lone "--"; every other argument is an expression.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

/// The text that --help prints.
std::string UsageText();

} // namespace mirla
