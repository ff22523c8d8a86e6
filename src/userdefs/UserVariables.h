#pragma once

#include "engine/Extended.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mirla {

struct EvalContext;

/// Longest user-variable name; longer names are cut to it.
constexpr std::size_t UserVariableNameLength = 20;

/// A named user variable with the line the "User Vars" list shows for it.
struct UserVariable {
    std::string Name; ///< at most 20 characters
    int Code = 0;     ///< 1000 and above, unique for the life of the table
    Extended Value = 0;
    std::string Line; ///< "name = value text"
};

/// The user variables, newest first. Codes are never reused while the table lives, so a
/// deletion in the middle never lets a code reach another variable.
class UserVariableTable {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    const UserVariable& At(int index) const { return m_items[static_cast<std::size_t>(index)]; }
    UserVariable& At(int index) { return m_items[static_cast<std::size_t>(index)]; }
    /// The variable with exactly this name, or nullptr.
    UserVariable* FindByName(std::string_view name);
    /// The variable with this code, or nullptr.
    const UserVariable* FindByCode(int code) const;
    /// Inserts a new variable at the front and returns it.
    UserVariable& InsertFront(std::string_view name, Extended value, std::string line);
    /// Removes variable `index` (0-based).
    void Delete(int index);
    /// Removes every variable; codes start again at 1000.
    void Clear();
    /// The list lines, in table order.
    std::vector<std::string> Lines() const;

private:
    std::vector<UserVariable> m_items;
    int m_nextCode = 1000;
};

/// Stores value x under name n (found: updated in place with a new line; not found: a new
/// variable at the front, its line made only when `show`). Returns the variable's code.
int DefineUserVariable(EvalContext& ctx, std::string_view name, bool show, Extended x);

/// Reads a .USR file ("name = value" lines) into the table, replacing it. False with
/// "Can't read file <f>" or the message of the line that could not be read.
bool LoadUserVariables(EvalContext& ctx, const std::string& fileName, std::string& message);

/// Writes lines to a file, replacing it safely; false with "Can't create file <f>".
bool SaveLines(const std::string& fileName, const std::vector<std::string>& lines, std::string& message);

/// Outcome of reading a text file whole.
enum class ReadOutcome { Read, Missing, Unreadable };

/// Reads the lines of a text file (a final "\r" of each line dropped); `lines` is untouched
/// unless the outcome is Read.
ReadOutcome ReadLines(const std::string& fileName, std::vector<std::string>& lines);

/// True when a line holds nothing but blanks.
bool IsBlankLine(std::string_view line);

/// Reads a decimal number in plain or exponent form ("-1.5", "2.5E+3"), blanks around it
/// allowed, independent of the locale; false for anything else or a value out of range.
bool ParseDecimalNumber(std::string_view text, Extended& value);

} // namespace mirla
