#pragma once

#include "engine/Engine.h"
#include "engine/EngineHost.h"
#include "engine/InputPreparation.h"

#include <string>
#include <string_view>

namespace mirla::test {

/// What one evaluation of a line gave.
struct Outcome {
    Extended value = 0;
    bool failed = false;
    int code = 0;
    int position = 0;
    int length = 0;
};

/// Evaluates a line the way the input line does on Enter: blanks removed, parentheses checked,
/// then the engine; positions are mapped back to the line as typed.
inline Outcome RunLine(EvalContext& ctx, std::string_view line) {
    ctx.ClearError();
    ctx.ArgDepth = 0;
    ctx.BreakRequested = false;
    PrepareInput(ctx, line);
    Outcome outcome;
    if (!ctx.ErrorFlag)
        outcome.value = Evaluate(ctx);
    if (ctx.ErrorFlag) {
        MapErrorPosition(ctx, line, ctx.Input);
        outcome = {0, true, ctx.ErrorCode, ctx.ErrorPos, ctx.ErrorLength};
    }
    return outcome;
}

/// A host that answers variable questions from a script and counts the events it saw.
class ScriptedHost : public TEngineHost {
public:
    std::string answer;       ///< expression typed for any variable asked; empty means Cancel
    bool confirmBreak = true; ///< answer to "break calculation?"
    int breakAfterPumps = -1; ///< request a break after this many event pumps (-1: never)
    int pumps = 0;
    int asked = 0;
    int confirmations = 0;
    EvalContext* context = nullptr;

    void PumpMessages() override {
        ++pumps;
        if (context && breakAfterPumps >= 0 && pumps >= breakAfterPumps)
            context->BreakRequested = true;
    }
    bool ConfirmBreak() override {
        ++confirmations;
        return confirmBreak;
    }
    bool AskVariable(EvalContext& ctx, int index, std::string& expression) override {
        ++asked;
        if (answer.empty())
            return false;
        PrepareInput(ctx, answer);
        const Extended value = Evaluate(ctx);
        if (ctx.ErrorFlag)
            return false;
        ctx.Variable(index).Value = value;
        expression = ctx.Input;
        return true;
    }
};

} // namespace mirla::test
