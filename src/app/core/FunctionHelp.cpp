#include "app/core/FunctionHelp.h"

#include "engine/NameTable.h"
#include "numbers/ComplexEvaluator.h"

#include <array>

namespace mirla {

namespace {

using HelpTable = std::array<std::string_view, FunctionHelpCount>;

constexpr HelpTable RealHelp = {
    "Absolute minimum search of (..)",
    "Sine of (%A)",
    "Arc sine of (-1<=Value<=1)",
    "Arc cosine (-1<=Value<=1)",
    "Arc tangent of (..)",
    "Inverse hiperbolic sine (..)",
    "Invers haperbolic cosine of (..)",
    "Invert hiperbolic tangent of (..)",
    "Hiperbolic sine of (..)",
    " Hiperbolic cosine of ()",
    "Hiperbolic tangent of (..)",
    " 0.0 <= Random number <= 1.0",
    "Cosine of (%A)",
    "Tangent of (%A)",
    "Exponent",
    "Positive square root of (..)",
    "Natural logarithm ()",
    "Logarithm of (..)",
    "Bessel function of the first kind J (..th,of ..)",
    "Bessel function of the second kind Y (..th, of ..)",
    "Modified Bessel function first kind I (..th,of ..)",
    "Modified Bessel function of the second kind K (..th, of ..)",
    "Solve equation of f(x)=0. Syntax: solve(Low, Up, equation f(x))",
    "Integral Cosine of (..)",
    "Integral Sine of (..)",
    "Error function with normal distribution",
    "Euler gamma function of (..)",
    "Numerical Integration of f(x). Syntax: Integral(Low, Up, f(x))",
    "ratio of a circle's circumference to its diameter",
    "ratio of a circle's circumference to its diameter",
    "Base of the natural logarithm e = 2.71828...",
    "Factarial of (..)",
    "Fermi-Dirak function(..th, of..)",
    "Absolute value",
    "Round upward",
    "Fractional part of (..)",
    "Integer part of (..)",
    "Absolute maximum search of (..)",
    "Mean value from array (x1,x2,..xN)",
    "Standard deviation from array (x1,x2,..xN)",
    "Squared of (..)",
    "Sum of the elements from  array (x1,x2,..xN)",
    "Random numbers with Gaussian  distribution (Mean, StdDiv)",
    "Evaluates a uniform polynomial of one variable ( Variable, a0, a1,..,aN) ",
    "Statistical variance from array (x1,x2,..xN)",
    "Convert from feet to meters",
    "Convert from meters to feet",
    "Convert from miles to kilometers",
    "Convert from kilometers to miles",
    "Convert from pounds to grams",
    "Convert from grams to pounds",
    "Convert from pints to liters",
    "Convert from liters to pints",
    "Convert from yards to meters",
    "Convert from meters to yards",
    "Convert from inches to meters",
    "Convert from meters to inches",
    "Convert from ounces to grams",
    "Convert from grams to ounces",
    "Convert from barrels to liters",
    "Convert from liters to barrels",
    "Convert from US gallons to cubic meters",
    "Convert from cubic meters to US gallons",
    "Convert from gallons to liters",
    "Convert from liters to gallons",
    "Convert from British imperial gallons to cubic meters",
    "Convert from cubic meters to British imperial gallons",
};

/// Complex mode has its own texts for the complex functions and shares a few real ones.
constexpr HelpTable MakeComplexHelp() {
    HelpTable table{};
    for (int code : {11, 28, 29, 30, 33, 37, 41, 43})
        table[static_cast<std::size_t>(code)] = RealHelp[static_cast<std::size_t>(code)];
    table[1] = "Complex Sine of (%A)";
    table[2] = "Complex Arc sine of (-1<=Value<=1)";
    table[3] = "Complex Arc cosine (-1<=Value<=1)";
    table[4] = "Complex Arc tangent of (..)";
    table[5] = "Complex Inverse hiperbolic sine (..)";
    table[6] = "Complex Invers haperbolic cosine of (..)";
    table[7] = "Complex Invert hiperbolic tangent of (..)";
    table[8] = "Complex Hiperbolic sine of (..)";
    table[9] = "Complex Hiperbolic cosine of ()";
    table[10] = "Complex Hiperbolic tangent of (..)";
    table[12] = "Complex Cosine of (%A)";
    table[13] = "Complex Tangent of (%A)";
    table[14] = "Complex Exponent";
    table[15] = "Complex square root of (..)";
    table[16] = "Complex logarithm ()";
    table[17] = "Complex number of (..)";
    table[26] = "Logarithm Gamma of (..)";
    table[40] = "Complex Squared of (..)";
    return table;
}

constexpr HelpTable ComplexHelp = MakeComplexHelp();

constexpr std::string_view AngleMarker = "%A";

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || c == '_' || c == 'C' || c == 'I' || c == 'J' || c == 'K' || c == 'S' ||
           c == 'Y';
}

/// True when 1-based position `pos` of `line` holds a character a word may start from.
bool Qualifies(std::string_view line, int pos) {
    if (pos < 1 || pos > static_cast<int>(line.size()))
        return false;
    const char c = line[static_cast<std::size_t>(pos - 1)];
    return IsNameChar(c) || c == '(';
}

/// The 1-based position the word at the caret grows from, or 0 when there is none.
int WordSeed(std::string_view line, int caret) {
    if (Qualifies(line, caret))
        return caret;
    if (Qualifies(line, caret + 1))
        return caret + 1;
    if (caret - 1 > 2 && Qualifies(line, caret - 1))
        return caret - 1;
    return 0;
}

/// The word around 1-based position `seed`: name characters to the left, and to the right
/// name characters up to and including the first opening parenthesis.
std::string_view WordAround(std::string_view line, int seed) {
    const auto at = [&](int pos) { return line[static_cast<std::size_t>(pos - 1)]; };
    const int size = static_cast<int>(line.size());
    int last = seed;
    if (at(seed) != '(') {
        while (last < size && IsNameChar(at(last + 1)))
            ++last;
        if (last < size && at(last + 1) == '(')
            ++last;
    }
    int first = seed;
    while (first > 1 && IsNameChar(at(first - 1)))
        --first;
    return line.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

} // namespace

std::string_view FunctionHelpTable(int code, bool complexMode) {
    if (code < 0 || code >= FunctionHelpCount)
        return {};
    return (complexMode ? ComplexHelp : RealHelp)[static_cast<std::size_t>(code)];
}

std::string FunctionHelpText(int code, bool complexMode, int angleMode) {
    std::string text(FunctionHelpTable(code, complexMode));
    const std::size_t marker = text.find(AngleMarker);
    if (marker != std::string::npos)
        text.replace(marker, AngleMarker.size(), angleMode == 0 ? "radian" : "degree");
    return text;
}

std::string_view ArgumentTemplate(int argumentCount) {
    switch (argumentCount) {
    case 1:
        return ")";
    case 2:
        return ",)";
    case 3:
        return ",,)";
    default:
        return "";
    }
}

std::string FunctionButtonText(int code, bool complexMode) {
    if (code < 0 || code >= NameTableSize)
        return {};
    const NameEntry& row = (complexMode ? ComplexNameTable() : NameTable())[static_cast<std::size_t>(code)];
    std::string text(row.name);
    text += ArgumentTemplate(row.argc);
    return text;
}

int AssistantCodeAt(std::string_view line, int caret) {
    const int seed = WordSeed(line, caret);
    if (seed == 0)
        return -1;
    const std::string_view word = WordAround(line, seed);
    for (int code = 0; code < FunctionHelpCount; ++code) {
        if (code != FnE &&
            word.find(NameTable()[static_cast<std::size_t>(code)].name) != std::string_view::npos)
            return code;
    }
    return -1;
}

double DayFraction(int hour, int minute, int second) {
    return (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

std::string GreetingText(double dayFraction) {
    const std::string addressee = "Sir/Madam";
    const double t = dayFraction;
    if (t > 0 && t < 0.2)
        return "Oh... Good ... night ... " + addressee + "!";
    if (t >= 0.2 && t < 0.5)
        return "Good morning " + addressee + "!";
    if (t >= 0.5 && t < 0.75)
        return "Good afternoon " + addressee + "!";
    if (t >= 0.75 && t < 1)
        return "Good evening " + addressee + "!";
    return "What is the time?";
}

} // namespace mirla
