#pragma once

#include "engine/Extended.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mirla {

/// One user-defined function, "name(params) = body ;comment". Arguments are substituted into
/// the body as text: each parameter is replaced by a placeholder character (code k for
/// parameter k) and, during a call, the placeholders by the argument texts.
class TUserFunc {
public:
    /// Parses and validates a definition line; test Valid() afterwards.
    explicit TUserFunc(std::string_view definition);

    /// Rebuilds the working body (parameters replaced by placeholders) from the body.
    void PrepareBody();
    /// Puts argument text `argument` in place of every placeholder of parameter k (1-based).
    bool SubstituteArgument(int k, std::string_view argument);
    /// 1-based position of the first whole-word occurrence of p in s, 0 when none.
    static int FindWholeWord(std::string_view p, std::string_view s);

    /// "f(": the name with its opening parenthesis; empty for a comment line.
    const std::string& Name() const { return m_name; }
    const std::string& ParameterText() const { return m_parameterText; }
    const std::string& Body() const { return m_body; }
    const std::string& Comment() const { return m_comment; }
    const std::string& WorkingBody() const { return m_workingBody; }
    int ParameterCount() const { return m_count; }
    bool Valid() const { return m_valid; }
    bool MissingParameter() const { return m_missingParameter; }
    bool DuplicateParameter() const { return m_duplicateParameter; }
    /// The line the "User Funcs" list shows for this definition.
    std::string ListLine() const;
    /// Records the lines a file holds for this definition (blank lines before it, then its
    /// own line as read), so that saving writes them unchanged.
    void SetFileLines(std::vector<std::string> lines) { m_fileLines = std::move(lines); }
    /// The lines saving writes for this definition: those of its file, or else its list line.
    std::vector<std::string> FileLines() const;

    /// Most parameters a definition may have: placeholders must stay below the printable characters.
    static constexpr int MaxParameters = 31;

private:
    /// Splits a blank-free "name(params)=body;comment" into its fields; false when malformed.
    bool SplitDefinition(const std::string& t);

    std::string m_parameterText;
    std::string m_body;
    std::string m_name;
    std::string m_comment;
    std::string m_workingBody;
    int m_count = 0;
    bool m_valid = false;
    std::vector<std::string> m_byLength;
    std::vector<std::string> m_inOrder;
    bool m_missingParameter = false;
    bool m_duplicateParameter = false;
    std::vector<std::string> m_fileLines;
};

/// All user functions in call-resolution order, with the value stack on which completed
/// calls hand their values back to the engine.
class TUserFunctions {
public:
    /// Frees every function and value and forgets the loaded lines.
    void ClearFunctions();
    /// Loads a .FNC file: clears, then adds its lines until one is refused (its message goes
    /// to `message`); the refused line and those after it are kept for saving. A missing file
    /// changes nothing; an unreadable one leaves the container empty with "Cannot load <name>!".
    /// Returns false when a message was produced.
    bool LoadFunctions(const std::string& fileName, std::string& message);
    /// Appends a definition line; on refusal returns false with the message.
    bool AddDefinition(std::string_view line, std::string& message);
    /// Adds or replaces (same name) a definition at the front, as the "User Funcs" page does;
    /// false with "Invalid user function <text>" when it is refused.
    bool AddUserFunction(std::string_view text, std::string& message);
    /// Removes and frees function `index` (0-based).
    void Delete(int index);

    int Count() const { return static_cast<int>(m_functions.size()); }
    TUserFunc& Function(int index) { return *m_functions[static_cast<std::size_t>(index)]; }
    const TUserFunc& Function(int index) const { return *m_functions[static_cast<std::size_t>(index)]; }
    /// One list line per function, in container order.
    std::vector<std::string> ListLines() const;
    /// The lines of the .FNC file: each function's file lines in container order, then the
    /// lines of the loaded file that were not loaded.
    std::vector<std::string> FileLines() const;
    /// Writes the file lines to a .FNC file, replacing it safely; false with
    /// "Can't create file <name>" and nothing changed, or with a refusal when it is a file that
    /// could not be read.
    bool Save(const std::string& fileName, std::string& message) const;

    void PushValue(Extended v) { m_valueStack.push_back(v); }
    /// Takes back the value of the last completed call.
    Extended PopValue();

    const std::string& FileName() const { return m_fileName; }
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::string m_fileName;
    /// A file that could not be read: saving never writes over it.
    std::string m_unreadFile;
    std::vector<std::unique_ptr<TUserFunc>> m_functions;
    std::vector<Extended> m_valueStack;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_keptLines;
};

} // namespace mirla
