#include "engine/Engine.h"

#include "engine/EngineHost.h"
#include "engine/Grammar.h"

#include <algorithm>
#include <cmath>

namespace mirla {

void RaiseEvalError(EvalContext& ctx, int code) {
    ctx.ErrorPos = ctx.ReadPos;
    ctx.ErrorFlag = true;
    ctx.ErrorLength = 1;
    ctx.ReadPos = static_cast<int>(ctx.Input.size());
    ctx.Current = EndMarker;
    ctx.ErrorCode = code;
    ctx.ArgDepth = 0;
}

void RaiseEvalErrorSpan(EvalContext& ctx, int code, int start, int end) {
    RaiseEvalError(ctx, code);
    ctx.ErrorPos = std::max(start, 1);
    ctx.ErrorLength = std::max(end - ctx.ErrorPos + 1, 1);
}

void RaiseDomainError(EvalContext& ctx, int code) {
    ctx.PrevValue = 0;
    RaiseEvalError(ctx, code);
}

Extended Evaluate(EvalContext& ctx) {
    if (ctx.Input.empty())
        return 0;
    ctx.ReadPos = 0;
    ctx.SubExprStart = 1;
    ctx.Nesting = 0;
    ctx.ErrorFlag = false;
    ctx.ErrorPos = 0;
    NextChar(ctx);
    const Extended value = ExprLevel(ctx);
    if (ctx.ErrorFlag)
        return 0;
    if (!std::isfinite(value)) {
        RaiseEvalErrorSpan(ctx, ErrOverflow, 1, static_cast<int>(ctx.Input.size()));
        return 0;
    }
    return value;
}

Extended EvaluateEx(EvalContext& ctx, std::string_view text, bool& errorFlag, int& errorPos,
                    int& errorLength) {
    ctx.Input.assign(text);
    const Extended value = Evaluate(ctx);
    errorFlag = ctx.ErrorFlag;
    errorPos = ctx.ErrorPos;
    errorLength = ctx.ErrorLength;
    return value;
}

void PumpMessages(EvalContext& ctx) {
    ctx.Host->PumpMessages();
}

bool CheckBreak(EvalContext& ctx) {
    if (!ctx.BreakRequested.load())
        return false;
    if (ctx.Host->ConfirmBreak()) {
        RaiseEvalError(ctx, ErrUserBreak);
        return true;
    }
    // "No" withdraws the request, so that the calculation really goes on.
    ctx.BreakRequested = false;
    return false;
}

bool AskVariable(EvalContext& ctx, int index) {
    std::string expression;
    bool answered = false;
    {
        CursorGuard guard(ctx);
        ctx.ClearError();
        answered = ctx.Host->AskVariable(ctx, index, expression);
    }
    if (!answered || !IsSet(ctx.Variable(index).Value)) {
        RaiseEvalError(ctx, ErrUserBreak);
        return false;
    }
    ctx.ClearError();
    ctx.Variable(index).Definition = expression;
    return true;
}

CursorGuard::CursorGuard(EvalContext& ctx)
    : m_ctx(ctx), m_input(ctx.Input), m_current(ctx.Current), m_readPos(ctx.ReadPos),
      m_subExprStart(ctx.SubExprStart), m_argDepth(ctx.ArgDepth), m_nesting(ctx.Nesting) {}

CursorGuard::~CursorGuard() {
    m_ctx.Input = std::move(m_input);
    m_ctx.Current = m_current;
    m_ctx.ReadPos = m_readPos;
    m_ctx.SubExprStart = m_subExprStart;
    m_ctx.ArgDepth = m_argDepth;
    m_ctx.Nesting = m_nesting;
}

void StartSeparateText(EvalContext& ctx, std::string text) {
    ctx.Input = std::move(text);
    ctx.ReadPos = 0;
    ctx.SubExprStart = 1;
    ctx.ArgDepth = 0;
    NextChar(ctx);
}

} // namespace mirla
