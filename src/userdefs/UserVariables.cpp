#include "userdefs/UserVariables.h"

#include "engine/EngineText.h"
#include "engine/EvalContext.h"
#include "numbers/RealFormat.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <system_error>

namespace mirla {

namespace {

constexpr int FirstCode = 1000;
constexpr std::size_t QuotedLength = 80;

std::string ListLine(EvalContext& ctx, std::string_view name, Extended x) {
    return std::string(name) + " = " + RealToText(ctx, ctx.DisplayWidth, x);
}

/// The line a file stores for a variable, with every digit its value needs to read back.
std::string StoredLine(std::string_view name, Extended x) {
    return std::string(name) + " = " + StoredValueText(x);
}

/// True when s holds only the characters of a decimal number in plain or exponent form.
bool HasOnlyDecimalCharacters(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789.Ee+-") == std::string_view::npos;
}

/// Engine text holds printable ASCII, the calculator symbols and, for anything else a file
/// held, the rejected character.
bool IsTextCharacter(char c) {
    return c != RejectedChar && EngineCharFor(static_cast<unsigned char>(c)) == c;
}

/// Splits "name = value" at its first " = "; false when there is no name or no decimal value.
bool ReadVariableLine(std::string_view line, std::string_view& name, Extended& value) {
    const std::size_t separator = line.find(" = ");
    if (separator == 0 || separator == std::string_view::npos ||
        !ParseDecimalNumber(line.substr(separator + 3), value)) {
        return false;
    }
    name = line.substr(0, std::min(separator, UserVariableNameLength));
    return true;
}

} // namespace

UserVariable* UserVariableTable::FindByName(std::string_view name) {
    const auto it = m_slotByName.find(name);
    return it == m_slotByName.end() ? nullptr : &m_items[it->second];
}

const UserVariable* UserVariableTable::FindByCode(int code) const {
    const auto it = std::lower_bound(m_items.begin(), m_items.end(), code,
                                     [](const UserVariable& v, int c) { return v.Code < c; });
    return it == m_items.end() || it->Code != code ? nullptr : &*it;
}

UserVariable& UserVariableTable::InsertFront(std::string_view name, Extended value, std::string line,
                                             std::vector<std::string> fileLines) {
    UserVariable& v =
        m_items.emplace_back(UserVariable{std::string(name.substr(0, UserVariableNameLength)), m_nextCode++,
                                          value, std::move(line), std::move(fileLines)});
    m_slotByName.insert_or_assign(v.Name, m_items.size() - 1);
    return v;
}

void UserVariableTable::Delete(int index) {
    if (index >= 0 && index < Count()) {
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(Slot(index)));
        IndexNames();
    }
}

void UserVariableTable::Clear() {
    m_items.clear();
    m_slotByName.clear();
    m_keptLines.clear();
    m_unreadFile.clear();
    m_nextCode = FirstCode;
}

std::vector<std::string> UserVariableTable::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(m_items.size());
    for (auto v = m_items.rbegin(); v != m_items.rend(); ++v) {
        lines.push_back(v->Line);
    }
    return lines;
}

bool UserVariableTable::Save(const std::string& fileName, std::string& message) const {
    return SaveLines(fileName, FileLines(), message, m_unreadFile);
}

std::vector<std::string> UserVariableTable::FileLines() const {
    std::vector<std::string> lines = m_keptLines;
    for (auto v = m_items.rbegin(); v != m_items.rend(); ++v) {
        lines.insert(lines.end(), v->FileLines.begin(), v->FileLines.end());
    }
    return lines;
}

void UserVariableTable::IndexNames() {
    m_slotByName.clear();
    for (std::size_t slot = 0; slot < m_items.size(); ++slot) {
        m_slotByName.insert_or_assign(m_items[slot].Name, slot);
    }
}

int DefineUserVariable(EvalContext& ctx, std::string_view name, bool show, Extended x) {
    // Cut before searching, so that defining a long name twice finds the variable made the first time.
    const std::string_view n = name.substr(0, UserVariableNameLength);
    if (UserVariable* v = ctx.UserVariables.FindByName(n)) {
        v->Value = x;
        v->Line = ListLine(ctx, n, x);
        v->FileLines.front() = StoredLine(n, x);
        return v->Code;
    }
    return ctx.UserVariables.InsertFront(n, x, show ? ListLine(ctx, n, x) : std::string(), {StoredLine(n, x)})
        .Code;
}

bool LoadUserVariables(EvalContext& ctx, const std::string& fileName, std::string& message) {
    std::vector<std::string> lines;
    const ReadOutcome outcome = ReadLines(fileName, lines);
    if (outcome != ReadOutcome::Read) {
        // A file that is there but could not be read must not be saved over.
        if (outcome == ReadOutcome::Unreadable)
            ctx.UserVariables.SetUnreadFile(fileName);
        message = "Can't read file " + fileName;
        return false;
    }
    UserVariableTable& table = ctx.UserVariables;
    table.Clear();
    bool allRead = true;
    // From the last line to the first, so that inserting at the front keeps the file's order.
    // Lines [i, end) belong to the variable of line i: blank or repeated lines below it go
    // with it, and what lies above the topmost variable read is kept as it is.
    std::size_t end = lines.size();
    for (std::size_t i = lines.size(); i-- > 0;) {
        const std::string& line = lines[i];
        if (IsBlankLine(line)) {
            continue;
        }
        std::string_view name;
        Extended value = 0;
        if (!ReadVariableLine(line, name, value)) {
            message =
                "Can't read line " + std::to_string(i + 1) + " of " + fileName + ": " + QuotedLine(line);
            allRead = false;
            break;
        }
        const auto own = lines.begin() + static_cast<std::ptrdiff_t>(i);
        const auto below = lines.begin() + static_cast<std::ptrdiff_t>(end);
        if (UserVariable* v = table.FindByName(name)) {
            v->Value = value;
            v->Line = line;
            v->FileLines.insert(v->FileLines.begin(), own, below);
        } else {
            table.InsertFront(name, value, line, {own, below});
        }
        end = i;
    }
    lines.resize(end);
    table.SetKeptLines(std::move(lines));
    return allRead;
}

bool SaveLines(const std::string& fileName, const std::vector<std::string>& lines, std::string& message,
               const std::string& unreadFile) {
    if (!unreadFile.empty() && fileName == unreadFile) {
        message = "Cannot load " + fileName +
                  "!\nIt is not written over, so that it keeps what it holds; save to "
                  "another file.";
        return false;
    }
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

std::string QuotedLine(std::string_view line) {
    std::string quoted(line.substr(0, QuotedLength));
    std::replace_if(
        quoted.begin(), quoted.end(), [](char c) { return !IsTextCharacter(c); }, '?');
    if (line.size() > QuotedLength) {
        quoted += "...";
    }
    return quoted;
}

bool ParseDecimalNumber(std::string_view text, Extended& value) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return false;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // One leading "+" is dropped (so "+-1" stays refused); the character check keeps out the
    // infinity, NaN and hexadecimal forms, and the end check whatever follows the number.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    if (!HasOnlyDecimalCharacters(text) || text.front() == '+') {
        return false;
    }
    // The C locale reads "." as the point whatever the user's locale. Subnormal results come
    // with ERANGE but are exact enough to keep; only an overflow or an underflow to zero fails.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string digits(text);
    char* end = nullptr;
    errno = 0;
    const Extended parsed = strtold_l(digits.c_str(), &end, cLocale);
    const bool outOfRange = errno == ERANGE && (parsed == 0 || !std::isfinite(parsed));
    if (end != digits.c_str() + digits.size() || outOfRange) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace mirla
