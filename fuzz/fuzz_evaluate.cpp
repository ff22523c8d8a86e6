// Feeds arbitrary lines to the evaluator the way the input line does. Any crash, sanitizer
// report, leak, hang or non-finite result is a failure.
#include "engine/Engine.h"
#include "engine/EngineHost.h"
#include "engine/InputPreparation.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

/// Requests a break after a bounded number of steps, so that endless loops end.
class BoundedHost : public mirla::TEngineHost {
public:
    explicit BoundedHost(mirla::EvalContext& ctx) : m_ctx(ctx) {}
    void PumpMessages() override {
        if (++m_pumps > 2000)
            m_ctx.BreakRequested = true;
    }
    void Reset() { m_pumps = 0; }

private:
    mirla::EvalContext& m_ctx;
    int m_pumps = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::EvalContext ctx;
    static BoundedHost host(ctx);
    static const bool installed = (ctx.SetHost(&host), true);
    (void)installed;
    if (size == 0)
        return 0;
    // The first byte picks the modes, so every base and angle unit is explored.
    ctx.SetBase(data[0] % 3);
    ctx.AngleMode = (data[0] >> 2) & 1;
    const std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);
    host.Reset();
    ctx.ClearError();
    ctx.ArgDepth = 0;
    ctx.BreakRequested = false;
    ctx.UsedVariables.Clear();
    mirla::PrepareInput(ctx, line);
    if (ctx.ErrorFlag)
        return 0;
    const mirla::Extended value = mirla::Evaluate(ctx);
    if (!ctx.ErrorFlag && !std::isfinite(value))
        std::abort();
    if (!ctx.ErrorFlag)
        ctx.PrevValue = value;
    return 0;
}
