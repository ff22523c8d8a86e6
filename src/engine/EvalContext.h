#pragma once

#include "engine/ErrorCodes.h"
#include "engine/Extended.h"
#include "userdefs/UserFunctions.h"
#include "userdefs/UserVariables.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace mirla {

class TEngineHost;

/// The character the engine sees past the last character of its input text.
constexpr char EndMarker = '\x7F';
/// Engine characters for the postfix operators and pi (single bytes of the Windows-1252 set).
constexpr char SquareChar = '\xB2';
constexpr char CubeChar = '\xB3';
constexpr char RootChar = '\xBD';
constexpr char PiChar = '\xB6';
/// The character that stands for anything the engine may not read (a control character, the
/// end marker itself, a character it has no byte for); no part of the grammar accepts it, so
/// it is a syntax error at its position.
constexpr char RejectedChar = '\x80';

/// Number of one-letter variables and their letters, index 1..10.
constexpr int VariableCount = 10;
constexpr std::string_view VariableLetters = "XYZVWIJKMN";

/// Notation settings shared by the engine and the number formatter.
enum Notation : int { NotationScn = 0, NotationFix = 1, NotationEng = 2, NotationSxg = 3 };
/// Number bases of the base mode.
enum BaseMode : int { BaseDecimal = 0, BaseHex = 1, BaseBinary = 2 };

/// One of the ten one-letter variables: its value and the expression it came from.
struct PredefinedVariable {
    Extended Value = UndefinedValue;
    std::string Definition;
};

/// One entry of the list of variables that the last evaluation read, in order of use.
struct UsedVariable {
    std::array<char, 24> NameBuffer{};
    std::uint8_t NameLength = 0;
    Extended Value = 0;
    std::string_view Name() const { return {NameBuffer.data(), NameLength}; }
};

/// The variables read by the last evaluation. Fixed capacity so that reading a variable never
/// allocates; entries past the capacity are only counted (the tape shows none of them then).
class UsedVariableList {
public:
    static constexpr int Capacity = 16;
    /// Forgets every entry.
    void Clear() { m_count = 0; }
    /// Records a variable name (cut to 23 characters) and the value read.
    void Add(std::string_view name, Extended value) {
        if (m_count < Capacity) {
            UsedVariable& item = m_items[static_cast<std::size_t>(m_count)];
            const std::size_t length =
                name.size() < item.NameBuffer.size() ? name.size() : item.NameBuffer.size();
            name.copy(item.NameBuffer.data(), length);
            item.NameLength = static_cast<std::uint8_t>(length);
            item.Value = value;
        }
        ++m_count;
    }
    /// Number of variables read, including those past the capacity.
    int Count() const { return m_count; }
    /// Entry i, 0 <= i < min(Count(), Capacity).
    const UsedVariable& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }

private:
    std::array<UsedVariable, Capacity> m_items{};
    int m_count = 0;
};

/// The engine's evaluation state: input text and cursor, error state, modes, variables and
/// the state of the numerical procedures. One lives for the whole run of the program. The
/// engine keeps no evaluation state outside it, so two contexts evaluate side by side
/// without affecting each other.
struct EvalContext {
    EvalContext();

    // Cursor over the input text; positions count from 1, ReadPos is the current one.
    std::string Input;
    char Current = EndMarker;
    int ReadPos = 0;
    int SubExprStart = 1;
    int ArgDepth = 0;
    /// Depth of nested operands, bounded so that deep nesting is an error, not a crash.
    int Nesting = 0;

    // Error state.
    bool ErrorFlag = false;
    int ErrorCode = 0;
    int ErrorPos = 0;
    int ErrorLength = 0;
    int InnerErrorCode = 0;
    int InnerErrorPos = 0;

    // Modes.
    int AngleMode = 1;      ///< 0 radians, 1 degrees
    int Base = BaseDecimal; ///< also selects the digits a number literal may hold
    int NotationMode = NotationScn;
    int BitGroup = 32;     ///< group length of base-2 output
    int DisplayWidth = 12; ///< the "Digits" width W used for echo and list texts

    std::array<PredefinedVariable, VariableCount + 1> Variables{}; ///< index 1..10
    int CurrentVariable = 0;
    Extended PrevValue = 0;
    std::atomic<bool> BreakRequested{false};
    bool RandomSeeded = false;
    std::mt19937_64 Random;

    UsedVariableList UsedVariables;
    UserVariableTable UserVariables;
    TUserFunctions UserFunctions;

    // State of the numerical procedures.
    std::uint8_t IntegralAgreement = 9;
    Extended LastLower = 0;
    Extended LastUpper = 0;
    std::string LastSearchText;
    int Subdivisions = 1;
    Extended BestExtremumValue = 0;
    Extended BestExtremumPos = 0;
    Extended StdRegister = 0;
    bool SearchMaximum = false;
    /// Calls of "integral(", "solve(", "min(" and "max(" now running in this context; above 1
    /// the innermost one runs inside another's f(X).
    int OpenProcedures = 0;
    /// Evaluations of the expression in X that those procedures made in this context; for
    /// measurements.
    std::uint64_t TrialEvaluations = 0;
    /// User-function calls since window events were last let through; calls that call each
    /// other can run for a very long time, so they check for a break now and then.
    int UserCallsSincePump = 0;

    /// The application's side; never null (a default host answers when none is installed).
    TEngineHost* Host;

    /// Variable k, 1 <= k <= 10.
    PredefinedVariable& Variable(int k) { return Variables[static_cast<std::size_t>(k)]; }
    const PredefinedVariable& Variable(int k) const { return Variables[static_cast<std::size_t>(k)]; }
    /// Installs the application's host; nullptr restores the default one.
    void SetHost(TEngineHost* host);
    /// Sets the base mode (and with it the digits of number literals), clamped to 0..2.
    void SetBase(int base);
    /// Clears the error state before a new evaluation.
    void ClearError();
    /// The message of the current error, inner error of a user function included.
    std::string CurrentErrorText() const { return ErrorText(ErrorCode, InnerErrorCode, InnerErrorPos); }
};

} // namespace mirla
