#include "cli/CommandLine.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>

namespace mirla {

namespace {

/// One accepted word of a keyword option and the setting it stands for.
struct Keyword {
    std::string_view Word;
    int Value;
};

constexpr std::array NotationWords{Keyword{"scn", 0}, Keyword{"fix", 1}, Keyword{"eng", 2},
                                   Keyword{"sxg", 3}};
constexpr std::array BaseWords{Keyword{"dec", 0}, Keyword{"hex", 1}, Keyword{"bin", 2}};
constexpr std::array AngleWords{Keyword{"rad", 0}, Keyword{"deg", 1}};
constexpr std::array FormWords{Keyword{"polar", 0}, Keyword{"rect", 1}};

template <std::size_t N>
std::optional<int> ParseKeyword(std::string_view text, const std::array<Keyword, N>& words) {
    for (const Keyword& keyword : words) {
        if (keyword.Word == text) {
            return keyword.Value;
        }
    }
    return std::nullopt;
}

std::optional<int> ParseBits(std::string_view text) {
    const std::optional<int> bits = ParseCliInteger(text, 7, 32);
    if (bits && (*bits == 7 || *bits == 8 || *bits == 16 || *bits == 32)) {
        return bits;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> ParseCliInteger(std::string_view text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() < '0' || text.front() > '9' || error != std::errc() || stop != end ||
        value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool ApplyCalcOption(std::string_view name, std::string_view value, TCliOptions& options) {
    auto store = [](std::optional<int> parsed, int& target) {
        if (parsed) {
            target = *parsed;
        }
        return parsed.has_value();
    };
    if (name == "notation") {
        return store(ParseKeyword(value, NotationWords), options.Notation);
    }
    if (name == "digits") {
        return store(ParseCliInteger(value, 3, 40), options.Width);
    }
    if (name == "base") {
        return store(ParseKeyword(value, BaseWords), options.Base);
    }
    if (name == "bits") {
        return store(ParseBits(value), options.Bits);
    }
    if (name == "angle") {
        return store(ParseKeyword(value, AngleWords), options.AngleMode);
    }
    if (name == "form") {
        return store(ParseKeyword(value, FormWords), options.ComplexForm);
    }
    if (name == "precision") {
        return store(ParseCliInteger(value, 1, 20), options.Precision);
    }
    if (name == "functions") {
        options.FunctionsFile = value;
        return !value.empty();
    }
    if (name == "variables") {
        options.VariablesFile = value;
        return !value.empty();
    }
    return false;
}

namespace {

TCommandLine BadUsage(std::string problem) {
    TCommandLine result;
    result.Action = CliAction::BadUsage;
    result.Problem = std::move(problem);
    return result;
}

/// Complex results are decimal numbers in "Scn", "Fix" or "Eng"; the problem with the other
/// settings, empty when there is none.
std::string ComplexModeProblem(const TCliOptions& options) {
    if (!options.Complex) {
        return {};
    }
    if (options.Base != 0) {
        return "--complex shows decimal results only; it cannot be used with --base=hex or --base=bin";
    }
    if (options.Notation == 3) {
        return "--complex shows results in scn, fix or eng only; it cannot be used with --notation=sxg";
    }
    return {};
}

} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine result;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        const std::string_view text = arg;
        if (optionsEnded || !text.starts_with("--")) {
            result.Options.Expressions.push_back(arg);
        } else if (text == "--") {
            optionsEnded = true;
        } else if (text == "--help") {
            result.Action = CliAction::Help;
            return result;
        } else if (text == "--version") {
            result.Action = CliAction::Version;
            return result;
        } else if (text == "--complex") {
            result.Options.Complex = true;
        } else {
            const std::size_t equals = text.find('=');
            if (equals == std::string_view::npos) {
                return BadUsage("unknown option or missing value: " + arg);
            }
            if (!ApplyCalcOption(text.substr(2, equals - 2), text.substr(equals + 1), result.Options)) {
                return BadUsage("unknown option or invalid value: " + arg);
            }
        }
    }
    std::string problem = ComplexModeProblem(result.Options);
    return problem.empty() ? result : BadUsage(std::move(problem));
}

std::string UsageText() {
    return "Usage: mirlac [OPTIONS] [EXPRESSION ...]\n"
           "Evaluates each EXPRESSION, or else each line of standard input, and prints its result.\n"
           "\n"
           "  --notation=scn|fix|eng|sxg  notation of results (default scn)\n"
           "  --digits=N                  width of results in characters, 3 to 40 (default 12)\n"
           "  --base=dec|hex|bin          number base of input and results (default dec)\n"
           "  --bits=7|8|16|32            digit group length of base-2 results (default 32)\n"
           "  --angle=deg|rad             angle unit (default deg)\n"
           "  --precision=N               decimals integration passes must agree on, 1 to 20 (default 9)\n"
           "  --complex                   evaluate complex expressions, built from comp(A,B) operands\n"
           "  --form=rect|polar           comp(A,B) is A+Bi (rect) or A*exp(Bi) (polar), B in radians;\n"
           "                              complex results show in the same form (default rect)\n"
           "  --functions=FILE            load user functions from a .FNC file\n"
           "  --variables=FILE            load user variables from a .USR file\n"
           "  --help                      show this text\n"
           "  --version                   show the version\n"
           "  --                          treat every further argument as an expression\n"
           "\n"
           "\"?\" is the previous result (with --complex, the previous complex result). Complex\n"
           "results are decimal, in scn, fix or eng.\n"
           "Exit status: 0 when every line succeeded, 1 when one failed, 2 on bad usage or an\n"
           "unreadable file.\n";
}

} // namespace mirla
