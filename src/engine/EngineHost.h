#pragma once

#include <string>

namespace mirla {

struct EvalContext;

/// What the engine needs from the application while it evaluates. The window, the
/// terminal calculator and the tests each install their own.
class TEngineHost {
public:
    virtual ~TEngineHost() = default;
    /// Runs queued window events between steps of a long loop.
    virtual void PumpMessages() {}
    /// Asks whether a requested break should stop the calculation; true means stop.
    virtual bool ConfirmBreak() { return true; }
    /// Asks the user for variable 1..10 and evaluates the answer into it through the engine;
    /// stores the typed expression in `expression`. False when the user cancels.
    virtual bool AskVariable(EvalContext& /*ctx*/, int /*index*/, std::string& /*expression*/) {
        return false;
    }
    /// Shows the newest estimate of a long computation (the integration's progress text).
    virtual void ShowProgress(const std::string& /*text*/) {}
    /// The precision setting: decimals that successive integration passes must agree on.
    virtual int PrecisionSetting() const { return 9; }
};

} // namespace mirla
