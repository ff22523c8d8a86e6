#include "userdefs/UserVariables.h"

#include "engine/EngineText.h"
#include "engine/EvalContext.h"
#include "numbers/RealFormat.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace mirla {

namespace {

constexpr int FirstCode = 1000;

std::string ListLine(EvalContext& ctx, std::string_view name, Extended x) {
    return std::string(name) + " = " + RealToText(ctx, ctx.DisplayWidth, x);
}

/// True when s holds only the characters of a decimal number in plain or exponent form.
bool HasOnlyDecimalCharacters(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789.Ee+-") == std::string_view::npos;
}

} // namespace

UserVariable* UserVariableTable::FindByName(std::string_view name) {
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [name](const UserVariable& v) { return v.Name == name; });
    return it == m_items.end() ? nullptr : &*it;
}

const UserVariable* UserVariableTable::FindByCode(int code) const {
    // While nothing but front records was deleted, the code tells the index directly.
    const long long index = static_cast<long long>(Count()) - 1 - (static_cast<long long>(code) - FirstCode);
    if (index >= 0 && index < Count() && m_items[static_cast<std::size_t>(index)].Code == code) {
        return &m_items[static_cast<std::size_t>(index)];
    }
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [code](const UserVariable& v) { return v.Code == code; });
    return it == m_items.end() ? nullptr : &*it;
}

UserVariable& UserVariableTable::InsertFront(std::string_view name, Extended value, std::string line) {
    UserVariable v{std::string(name.substr(0, UserVariableNameLength)), m_nextCode++, value, std::move(line)};
    return *m_items.insert(m_items.begin(), std::move(v));
}

void UserVariableTable::Delete(int index) {
    if (index >= 0 && index < Count()) {
        m_items.erase(m_items.begin() + index);
    }
}

void UserVariableTable::Clear() {
    m_items.clear();
    m_nextCode = FirstCode;
}

std::vector<std::string> UserVariableTable::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(m_items.size());
    for (const UserVariable& v : m_items) {
        lines.push_back(v.Line);
    }
    return lines;
}

int DefineUserVariable(EvalContext& ctx, std::string_view name, bool show, Extended x) {
    // Cut before searching, so that defining a long name twice finds the variable made the first time.
    const std::string_view n = name.substr(0, UserVariableNameLength);
    if (UserVariable* v = ctx.UserVariables.FindByName(n)) {
        v->Value = x;
        v->Line = ListLine(ctx, n, x);
        return v->Code;
    }
    return ctx.UserVariables.InsertFront(n, x, show ? ListLine(ctx, n, x) : std::string()).Code;
}

bool LoadUserVariables(EvalContext& ctx, const std::string& fileName, std::string& message) {
    std::vector<std::string> lines;
    if (ReadLines(fileName, lines) != ReadOutcome::Read) {
        message = "Can't read file " + fileName;
        return false;
    }
    ctx.UserVariables.Clear();
    // From the last line to the first, so that inserting at the front keeps the file's order.
    for (std::size_t i = lines.size(); i-- > 0;) {
        const std::string& line = lines[i];
        if (IsBlankLine(line)) {
            continue;
        }
        const std::size_t separator = line.find(" = ");
        Extended value = 0;
        if (separator == 0 || separator == std::string::npos ||
            !ParseDecimalNumber(std::string_view(line).substr(separator + 3), value)) {
            message = "Can't read line " + std::to_string(i + 1) + " of " + fileName + ": " + line;
            return false;
        }
        const std::string_view name = std::string_view(line).substr(0, separator);
        DefineUserVariable(ctx, name, false, value);
        ctx.UserVariables.FindByName(name.substr(0, UserVariableNameLength))->Line = line;
    }
    return true;
}

bool SaveLines(const std::string& fileName, const std::vector<std::string>& lines, std::string& message) {
    if (!WriteEngineTextLines(fileName, lines)) {
        message = "Can't create file " + fileName;
        return false;
    }
    return true;
}

ReadOutcome ReadLines(const std::string& fileName, std::vector<std::string>& lines) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(fileName, ec);
    if (fileName.empty() || status.type() == std::filesystem::file_type::not_found) {
        return ReadOutcome::Missing;
    }
    return ReadEngineTextLines(fileName, lines) ? ReadOutcome::Read : ReadOutcome::Unreadable;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool ParseDecimalNumber(std::string_view text, Extended& value) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return false;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // from_chars reads no "+" sign (so "+-1" stays refused), knows no locale and refuses what
    // follows the number; the character check keeps out the infinity, NaN and hexadecimal forms.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    if (!HasOnlyDecimalCharacters(text)) {
        return false;
    }
    Extended parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace mirla
