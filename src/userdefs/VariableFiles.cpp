#include "userdefs/VariableFiles.h"

#include "numbers/RealFormat.h"
#include "userdefs/UserVariables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mirla {

namespace {

std::string MalformedLine(const std::string& fileName, std::size_t lineIndex) {
    return "Invalid variables file " + fileName + ": line " + std::to_string(lineIndex + 1);
}

} // namespace

std::string VariableValueText(Extended x) {
    std::string text = ScientificField(std::fabs(x), VariableValueWidth);
    if (x < 0) {
        text.front() = '-';
    }
    return text;
}

std::vector<std::string> VariableFileLines(const EvalContext& ctx) {
    std::vector<std::string> lines;
    lines.reserve(2 * VariableCount);
    for (int k = 1; k <= VariableCount; ++k) {
        lines.push_back(VariableValueText(ctx.Variable(k).Value));
    }
    for (int k = 1; k <= VariableCount; ++k) {
        lines.push_back(ctx.Variable(k).Definition);
    }
    return lines;
}

bool SaveVariableFile(const EvalContext& ctx, const std::string& fileName, std::string& message) {
    return SaveLines(fileName, VariableFileLines(ctx), message);
}

bool LoadVariableFile(EvalContext& ctx, const std::string& fileName, std::string& message) {
    std::vector<std::string> lines;
    if (ReadLines(fileName, lines) != ReadOutcome::Read) {
        message = "Can't open file " + fileName;
        return false;
    }
    // Everything is checked before any variable changes. Missing definition lines at the end
    // (an editor may drop trailing empty lines) read as empty definitions.
    std::array<Extended, VariableCount> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i >= lines.size() || !ParseDecimalNumber(lines[i], values[i])) {
            message = MalformedLine(fileName, std::min(i, lines.size()));
            return false;
        }
    }
    for (std::size_t i = 2 * VariableCount; i < lines.size(); ++i) {
        if (!IsBlankLine(lines[i])) {
            message = MalformedLine(fileName, i);
            return false;
        }
    }
    lines.resize(std::max(lines.size(), std::size_t{2 * VariableCount}));
    for (int k = 1; k <= VariableCount; ++k) {
        ctx.Variable(k).Value = values[static_cast<std::size_t>(k - 1)];
        ctx.Variable(k).Definition = lines[static_cast<std::size_t>(VariableCount + k - 1)];
    }
    return true;
}

} // namespace mirla
