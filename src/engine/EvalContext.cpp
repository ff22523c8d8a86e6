#include "engine/EvalContext.h"

#include "engine/EngineHost.h"

#include <algorithm>

namespace mirla {

namespace {

/// Answers for the engine when the application installed no host: no events, every break
/// confirmed, no variable can be asked for.
TEngineHost& DefaultHost() {
    static TEngineHost host;
    return host;
}

} // namespace

EvalContext::EvalContext() : Host(&DefaultHost()) {}

void EvalContext::SetHost(TEngineHost* host) {
    Host = host ? host : &DefaultHost();
}

void EvalContext::SetBase(int base) {
    Base = std::clamp(base, 0, 2);
}

void EvalContext::ClearError() {
    ErrorFlag = false;
    ErrorCode = 0;
    ErrorPos = 0;
    ErrorLength = 0;
}

} // namespace mirla
