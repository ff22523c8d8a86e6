#include "userdefs/UserFunctions.h"

#include "userdefs/UserVariables.h"

#include <algorithm>
#include <utility>

namespace mirla {

namespace {

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < ' ';
}

/// The definition without the blanks that stand before its first ";" (the comment keeps its own).
std::string WithoutBlanks(std::string_view definition) {
    const std::size_t commentStart = std::min(definition.find(';'), definition.size());
    std::string t;
    t.reserve(definition.size());
    for (std::size_t i = 0; i < commentStart; ++i) {
        if (definition[i] != ' ') {
            t += definition[i];
        }
    }
    t += definition.substr(commentStart);
    return t;
}

/// The pieces of text between the commas of s.
std::vector<std::string> SplitAtCommas(const std::string& s) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = s.find(',', start);
        pieces.push_back(s.substr(start, comma - start));
        if (comma == std::string::npos) {
            return pieces;
        }
        start = comma + 1;
    }
}

/// Orders names by decreasing length, keeping the exchange order of a selection sort so that
/// names of equal length are replaced in a fixed order.
void SortByDecreasingLength(std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = i + 1; j < names.size(); ++j) {
            if (names[j].size() > names[i].size()) {
                std::swap(names[i], names[j]);
            }
        }
    }
}

bool HasDuplicates(const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::find(names.begin() + static_cast<std::ptrdiff_t>(i) + 1, names.end(), names[i]) !=
            names.end()) {
            return true;
        }
    }
    return false;
}

std::string RefusalMessage(const TUserFunc& f, std::string_view line) {
    if (f.DuplicateParameter()) {
        return "Dublicate parametrs (" + QuotedLine(f.ParameterText()) + ")";
    }
    if (f.MissingParameter()) {
        return "Parametr missing " + QuotedLine(line);
    }
    return "Invalid functions " + QuotedLine(line);
}

} // namespace

TUserFunc::TUserFunc(std::string_view definition) {
    const std::string t = WithoutBlanks(definition);
    if (!t.empty() && t.front() == ';') {
        m_comment = t;
        PrepareBody();
        m_valid = true;
        return;
    }
    if (!SplitDefinition(t)) {
        return;
    }
    PrepareBody();
    m_valid = m_count > 0 && !m_missingParameter && !m_duplicateParameter;
}

bool TUserFunc::SplitDefinition(const std::string& t) {
    const std::size_t commentStart = std::min(t.find(';'), t.size());
    const std::string_view head = std::string_view(t).substr(0, commentStart);
    // Control characters would be mistaken for parameter placeholders.
    if (std::any_of(head.begin(), head.end(), IsControl)) {
        return false;
    }
    const std::size_t open = head.find('(');
    const std::size_t close = head.find(')');
    const std::size_t equals = head.find('=');
    // The header must read name(parameters)= so that the name can be called at all.
    if (open == 0 || open == std::string_view::npos || close == std::string_view::npos || close < open ||
        equals != close + 1) {
        return false;
    }
    m_name = head.substr(0, open + 1);
    m_parameterText = head.substr(open + 1, close - open - 1);
    m_body = head.substr(equals + 1);
    m_comment = t.substr(commentStart);
    return !m_parameterText.empty() && !m_body.empty();
}

void TUserFunc::PrepareBody() {
    m_byLength.clear();
    m_inOrder.clear();
    m_count = 0;
    m_workingBody = m_body;
    m_missingParameter = false;
    m_duplicateParameter = false;

    std::vector<std::string> names = SplitAtCommas(m_parameterText);
    const bool hasEmptyName =
        std::any_of(names.begin(), names.end(), [](const std::string& n) { return n.empty(); });
    if (hasEmptyName || names.size() > static_cast<std::size_t>(MaxParameters)) {
        return;
    }
    m_inOrder = names;
    m_byLength = std::move(names);
    SortByDecreasingLength(m_byLength);
    if (HasDuplicates(m_byLength)) {
        m_duplicateParameter = true;
        return;
    }
    for (const std::string& p : m_byLength) {
        if (m_workingBody.find(p) == std::string::npos) {
            m_missingParameter = true;
            return;
        }
        const auto k = std::find(m_inOrder.begin(), m_inOrder.end(), p) - m_inOrder.begin() + 1;
        const char placeholder = static_cast<char>(k);
        for (int pos = FindWholeWord(p, m_workingBody); pos != 0; pos = FindWholeWord(p, m_workingBody)) {
            m_workingBody.replace(static_cast<std::size_t>(pos - 1), p.size(), 1, placeholder);
        }
        ++m_count;
    }
}

bool TUserFunc::SubstituteArgument(int k, std::string_view argument) {
    if (k < 1 || k > m_count) {
        return false;
    }
    const char placeholder = static_cast<char>(k);
    std::size_t pos = m_workingBody.find(placeholder);
    if (pos == std::string::npos) {
        m_missingParameter = true;
        return false;
    }
    // The search resumes after the inserted text, so an argument never gets substituted into itself.
    while (pos != std::string::npos) {
        m_workingBody.replace(pos, 1, argument);
        pos = m_workingBody.find(placeholder, pos + argument.size());
    }
    return true;
}

int TUserFunc::FindWholeWord(std::string_view p, std::string_view s) {
    if (p.empty()) {
        return 0;
    }
    for (std::size_t i = s.find(p); i != std::string_view::npos; i = s.find(p, i + 1)) {
        const std::size_t after = i + p.size();
        const bool freeBefore = i == 0 || !IsLetterOrDigit(s[i - 1]);
        const bool freeAfter = after == s.size() || !IsLetterOrDigit(s[after]);
        if (freeBefore && freeAfter) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::string TUserFunc::ListLine() const {
    if (m_name.empty()) {
        return m_comment;
    }
    return m_name + m_parameterText + ") = " + m_body + m_comment;
}

std::vector<std::string> TUserFunc::FileLines() const {
    return m_fileLines.empty() ? std::vector<std::string>{ListLine()} : m_fileLines;
}

void TUserFunctions::ClearFunctions() {
    m_functions.clear();
    m_valueStack.clear();
    m_lines.clear();
    m_keptLines.clear();
}

bool TUserFunctions::LoadFunctions(const std::string& fileName, std::string& message) {
    std::vector<std::string> lines;
    switch (ReadLines(fileName, lines)) {
    case ReadOutcome::Missing:
        return true;
    case ReadOutcome::Unreadable:
        ClearFunctions();
        m_fileName = fileName;
        m_unreadFile = fileName;
        message = "Cannot load " + fileName + "!";
        return false;
    case ReadOutcome::Read:
        break;
    }
    TUserFunctions loaded;
    loaded.m_fileName = fileName;
    bool allAdded = true;
    // Lines [start, i] belong to the function of line i: its own line and the blank lines above it.
    std::size_t start = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsBlankLine(lines[i])) {
            continue;
        }
        if (!loaded.AddDefinition(lines[i], message)) {
            allAdded = false;
            break;
        }
        loaded.m_functions.back()->SetFileLines({lines.begin() + static_cast<std::ptrdiff_t>(start),
                                                 lines.begin() + static_cast<std::ptrdiff_t>(i + 1)});
        start = i + 1;
    }
    // The load stops at a refused line; it and the lines after it still belong to the file.
    loaded.m_keptLines.assign(lines.begin() + static_cast<std::ptrdiff_t>(start), lines.end());
    loaded.m_lines = std::move(lines);
    *this = std::move(loaded);
    return allAdded;
}

bool TUserFunctions::AddDefinition(std::string_view line, std::string& message) {
    auto function = std::make_unique<TUserFunc>(line);
    if (!function->Valid()) {
        message = RefusalMessage(*function, line);
        return false;
    }
    m_functions.push_back(std::move(function));
    return true;
}

bool TUserFunctions::AddUserFunction(std::string_view text, std::string& message) {
    auto function = std::make_unique<TUserFunc>(text);
    if (!function->Valid()) {
        message = "Invalid user function " + std::string(text);
        return false;
    }
    const std::string& name = function->Name();
    if (!name.empty()) {
        std::erase_if(m_functions,
                      [&name](const std::unique_ptr<TUserFunc>& f) { return f->Name() == name; });
    }
    m_functions.insert(m_functions.begin(), std::move(function));
    return true;
}

void TUserFunctions::Delete(int index) {
    if (index >= 0 && index < Count()) {
        m_functions.erase(m_functions.begin() + index);
    }
}

std::vector<std::string> TUserFunctions::ListLines() const {
    std::vector<std::string> lines;
    lines.reserve(m_functions.size());
    for (const auto& f : m_functions) {
        lines.push_back(f->ListLine());
    }
    return lines;
}

std::vector<std::string> TUserFunctions::FileLines() const {
    std::vector<std::string> lines;
    for (const auto& f : m_functions) {
        const std::vector<std::string> own = f->FileLines();
        lines.insert(lines.end(), own.begin(), own.end());
    }
    lines.insert(lines.end(), m_keptLines.begin(), m_keptLines.end());
    return lines;
}

bool TUserFunctions::Save(const std::string& fileName, std::string& message) const {
    return SaveLines(fileName, FileLines(), message, m_unreadFile);
}

Extended TUserFunctions::PopValue() {
    if (m_valueStack.empty()) {
        return 0;
    }
    const Extended v = m_valueStack.back();
    m_valueStack.pop_back();
    return v;
}

} // namespace mirla
