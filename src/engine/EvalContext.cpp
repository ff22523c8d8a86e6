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

void UsedVariableList::Add(std::string_view name, Extended value) {
    if (m_count < Capacity) {
        UsedVariable& item = m_items[static_cast<std::size_t>(m_count)];
        const std::size_t length = std::min(name.size(), item.NameBuffer.size());
        std::copy_n(name.begin(), length, item.NameBuffer.begin());
        item.NameLength = static_cast<std::uint8_t>(length);
        item.Value = value;
    }
    ++m_count;
}

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
