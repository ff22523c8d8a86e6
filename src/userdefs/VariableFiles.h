#pragma once

#include "engine/EvalContext.h"

#include <string>
#include <vector>

namespace mirla {

/// Width of a value line of a .VAR file.
constexpr int VariableValueWidth = 23;

/// The .VAR text of a value: the sign place ("-" or a blank), d.dddddddddddddd, "E", the
/// exponent sign and four exponent digits; 23 characters.
std::string VariableValueText(Extended x);

/// The twenty lines of a .VAR file: the values of X Y Z V W I J K M N (an unset variable as the
/// text of `UndefinedValue`), then their ten definition texts.
std::vector<std::string> VariableFileLines(const EvalContext& ctx);

/// Writes the ten one-letter variables to a .VAR file, replacing it safely; false with
/// "Can't create file <name>" and the old file kept.
bool SaveVariableFile(const EvalContext& ctx, const std::string& fileName, std::string& message);

/// Reads a .VAR file into the ten one-letter variables; false with "Can't open file <name>" or
/// the message naming a malformed line, and then no variable is changed.
bool LoadVariableFile(EvalContext& ctx, const std::string& fileName, std::string& message);

} // namespace mirla
