#pragma once

#include "engine/Extended.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    std::string Line; ///< "name = value text" as the list shows it
    /// What saving writes for it: its own line ("name = value" with every digit the value
    /// needs, or the line it was read from), then the lines of its file kept after it.
    std::vector<std::string> FileLines;
};

/// The user variables, newest first. Codes are never reused while the table lives, so a
/// deletion in the middle never lets a code reach another variable.
class UserVariableTable {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    const UserVariable& At(int index) const { return m_items[Slot(index)]; }
    UserVariable& At(int index) { return m_items[Slot(index)]; }
    /// The variable with exactly this name (the newest one), or nullptr.
    UserVariable* FindByName(std::string_view name);
    /// The variable with this code, or nullptr.
    const UserVariable* FindByCode(int code) const;
    /// Inserts a new variable at the front and returns it; saving writes `fileLines` for it,
    /// which start with its own line.
    UserVariable& InsertFront(std::string_view name, Extended value, std::string line,
                              std::vector<std::string> fileLines);
    /// Removes variable `index` (0-based).
    void Delete(int index);
    /// Removes every variable and every kept line; codes start again at 1000.
    void Clear();
    /// The list lines, in table order.
    std::vector<std::string> Lines() const;
    /// Keeps lines of a loaded file that were read into no variable; saving writes them first.
    void SetKeptLines(std::vector<std::string> lines) { m_keptLines = std::move(lines); }
    /// The lines of the .USR file: the kept lines, then each variable's file lines in table order.
    std::vector<std::string> FileLines() const;
    /// Remembers a file that could not be read, so that saving never writes over it.
    void SetUnreadFile(std::string fileName) { m_unreadFile = std::move(fileName); }
    /// Writes the file lines to `fileName`, replacing it safely; false with the message when it
    /// is the file that could not be read or cannot be written.
    bool Save(const std::string& fileName, std::string& message) const;

private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    /// Position in m_items of the variable at table index `index`.
    std::size_t Slot(int index) const { return m_items.size() - 1 - static_cast<std::size_t>(index); }
    /// Rebuilds the name index; a later (newer) variable wins a shared name.
    void IndexNames();

    // Oldest first, so that a new variable is appended and the codes increase along the vector.
    std::vector<UserVariable> m_items;
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> m_slotByName;
    std::vector<std::string> m_keptLines;
    std::string m_unreadFile;
    int m_nextCode = 1000;
};

/// Stores value x under name n (found: updated in place with a new line; not found: a new
/// variable at the front, its line made only when `show`). Returns the variable's code.
int DefineUserVariable(EvalContext& ctx, std::string_view name, bool show, Extended x);

/// Reads a .USR file ("name = value" lines) into the table, replacing it. False with
/// "Can't read file <f>" or the message of the line that could not be read; the lines not
/// read into variables are kept in the table, so that saving writes them back.
bool LoadUserVariables(EvalContext& ctx, const std::string& fileName, std::string& message);

/// Writes lines to a file, replacing it safely; false with "Can't create file <f>". A file
/// named `unreadFile` (one that could not be read, so saving would lose what it holds) is
/// refused with a message that says so.
bool SaveLines(const std::string& fileName, const std::vector<std::string>& lines, std::string& message,
               const std::string& unreadFile = {});

/// Outcome of reading a text file whole.
enum class ReadOutcome { Read, Missing, Unreadable };

/// Reads the lines of a text file (a final "\r" of each line dropped); `lines` is untouched
/// unless the outcome is Read.
ReadOutcome ReadLines(const std::string& fileName, std::vector<std::string>& lines);

/// True when a line holds nothing but blanks.
bool IsBlankLine(std::string_view line);

/// A file line as a message quotes it: at most 80 characters, then "...", with every
/// character that is not text shown as "?".
std::string QuotedLine(std::string_view line);

/// Reads a decimal number in plain or exponent form ("-1.5", "2.5E+3"), blanks around it
/// allowed, independent of the locale; every finite extended value reads, subnormal ones
/// included. False for anything else, or a value that overflows or underflows to zero.
bool ParseDecimalNumber(std::string_view text, Extended& value);

} // namespace mirla
