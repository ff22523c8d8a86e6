#pragma once

#include "engine/EvalContext.h"

#include <string>
#include <string_view>

namespace mirla {

/// Evaluates ctx.Input (blank-free, as prepared by `PrepareInput`) and returns its value;
/// the error state of ctx tells whether it succeeded. An empty text gives 0.
Extended Evaluate(EvalContext& ctx);

/// Stores `text` as the input text and evaluates it; reports the error flag, position and
/// length through the out-parameters as well as through ctx.
Extended EvaluateEx(EvalContext& ctx, std::string_view text, bool& errorFlag, int& errorPos,
                    int& errorLength);

/// Reports error `code` at the read position and moves the cursor to the end marker, so that
/// every level above unwinds without reading further.
void RaiseEvalError(EvalContext& ctx, int code);

/// Like `RaiseEvalError`, then sets the error span to [start, end] (1-based, inclusive).
void RaiseEvalErrorSpan(EvalContext& ctx, int code, int start, int end);

/// A domain error of a built-in function: the previous answer is reset to 0, then the error
/// is raised as by `RaiseEvalError`. The caller returns 0.
void RaiseDomainError(EvalContext& ctx, int code);

/// Position of the last character read so far (the end marker does not advance the cursor).
inline int LastReadPosition(const EvalContext& ctx) {
    return ctx.Current == EndMarker ? ctx.ReadPos : ctx.ReadPos - 1;
}

/// Advances the cursor and returns the new current character (the end marker past the end).
inline char NextChar(EvalContext& ctx) {
    if (ctx.ReadPos >= static_cast<int>(ctx.Input.size())) {
        ctx.Current = EndMarker;
        return EndMarker;
    }
    const char c = ctx.Input[static_cast<std::size_t>(ctx.ReadPos++)];
    ctx.Current = static_cast<unsigned char>(c) < 0x20 || c == EndMarker ? RejectedChar : c;
    return ctx.Current;
}

/// When a break has been requested, asks the host whether to stop; on yes raises "User break"
/// and returns true. On no the request is withdrawn and the calculation goes on.
bool CheckBreak(EvalContext& ctx);

/// Lets pending window events through (the Stop button among them).
void PumpMessages(EvalContext& ctx);

/// Asks the user for one-letter variable `index` through the host; on OK the variable holds
/// the value and its definition text, on cancel error 22 is set and false returned.
bool AskVariable(EvalContext& ctx, int index);

/// Saves the cursor (input text, position, current character, sub-expression start, argument
/// depth, nesting) and puts it back when it goes out of scope.
class CursorGuard {
public:
    explicit CursorGuard(EvalContext& ctx);
    ~CursorGuard();
    CursorGuard(const CursorGuard&) = delete;
    CursorGuard& operator=(const CursorGuard&) = delete;

private:
    EvalContext& m_ctx;
    std::string m_input;
    char m_current;
    int m_readPos;
    int m_subExprStart;
    int m_argDepth;
    int m_nesting;
};

/// One level of a depth count (argument lists, operand nesting, running procedures) for as
/// long as it lives: counts the level on entry and puts the count back to its value before on
/// exit, however the level ends. Putting the count back, rather than counting down, also holds
/// after an error has reset the argument depth to 0 (`RaiseEvalError`) on the way out.
class DepthLevel {
public:
    explicit DepthLevel(int& count) : m_count(count), m_outer(count) { ++count; }
    ~DepthLevel() { m_count = m_outer; }
    DepthLevel(const DepthLevel&) = delete;
    DepthLevel& operator=(const DepthLevel&) = delete;
    /// The depth that this level counts, 1 for the outermost one.
    int Depth() const { return m_outer + 1; }

private:
    int& m_count;
    int m_outer;
};

/// Starts reading `text` in place of the input text, from its first character, outside any
/// argument list. The caller holds a `CursorGuard` that puts the line back afterwards.
void StartSeparateText(EvalContext& ctx, std::string text);

} // namespace mirla
