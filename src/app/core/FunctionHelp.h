#pragma once

#include <string>
#include <string_view>

namespace mirla {

/// Number of function codes that carry a one-line help text (codes 0..66).
constexpr int FunctionHelpCount = 67;

/// The raw one-line help text of function `code` in real or complex mode, "%A" marker
/// included; "" when the code has no help or lies outside 0..66.
std::string_view FunctionHelpTable(int code, bool complexMode);

/// The help text of `code` with its first "%A" replaced by "radian" (angle mode 0) or
/// "degree" (angle mode 1); "" when there is no help.
std::string FunctionHelpText(int code, bool complexMode, int angleMode);

/// The text appended to a function name by its argument count: "", ")", ",)" or ",,)".
std::string_view ArgumentTemplate(int argumentCount);

/// What a function button inserts: the name of row `code` of the real or complex name table
/// followed by the template of its argument count ("solve(,,)", "random"); "" for a bad code.
std::string FunctionButtonText(int code, bool complexMode);

/// The function code of the name at the caret of `line` (characters as the engine sees them,
/// `caret` = number of characters before the caret): the first row among codes 0..66 except
/// 30 whose name occurs inside the word there, or -1 when there is no word or no such row.
int AssistantCodeAt(std::string_view line, int caret);

/// The time of day as a fraction of a day (0 at midnight, 0.5 at noon).
double DayFraction(int hour, int minute, int second);

/// The assistant's greeting for the time of day `dayFraction` (see `DayFraction`).
std::string GreetingText(double dayFraction);

} // namespace mirla
