#include "engine/InputPreparation.h"

#include <algorithm>

namespace mirla {

namespace {

void SetPreparationError(EvalContext& ctx, int code, int position) {
    ctx.ErrorFlag = true;
    ctx.ErrorCode = code;
    ctx.ErrorPos = position;
    ctx.ErrorLength = 1;
}

/// Index (1-based) in `typed` of its n-th character that is not a blank; past the last one the
/// positions continue after the end of the text.
int TypedPosition(std::string_view typed, int n) {
    int seen = 0;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] != ' ' && ++seen == n)
            return static_cast<int>(i) + 1;
    }
    return static_cast<int>(typed.size()) + (n - seen);
}

} // namespace

void PrepareInput(EvalContext& ctx, std::string_view typed) {
    ctx.Input.clear();
    std::copy_if(typed.begin(), typed.end(), std::back_inserter(ctx.Input), [](char c) { return c != ' '; });
    const std::string& text = ctx.Input;
    const auto opened = static_cast<int>(std::count(text.begin(), text.end(), '('));
    const auto closed = static_cast<int>(std::count(text.begin(), text.end(), ')'));
    if (opened < closed) {
        int seen = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == ')' && ++seen == opened + 1) {
                SetPreparationError(ctx, ErrTooManyClosing, static_cast<int>(i) + 1);
                return;
            }
        }
    }
    if (closed < opened) {
        SetPreparationError(ctx, ErrMissingClose, static_cast<int>(text.size()));
        return;
    }
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        depth += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
        if (depth < 0) {
            SetPreparationError(ctx, ErrSyntax, static_cast<int>(i) + 1);
            return;
        }
    }
}

void MapErrorPosition(EvalContext& ctx, std::string_view typed, std::string_view /*blankFree*/) {
    const int first = TypedPosition(typed, ctx.ErrorPos);
    const int last = TypedPosition(typed, ctx.ErrorPos + std::max(ctx.ErrorLength, 1) - 1);
    ctx.ErrorPos = first;
    ctx.ErrorLength = last - first + 1;
}

} // namespace mirla
