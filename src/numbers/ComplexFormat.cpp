#include "numbers/ComplexFormat.h"

#include "numbers/RealFormat.h"

#include <cmath>

namespace mirla {

namespace {

/// Exclusive bounds of the fixed form of a complex part in "Fix".
constexpr Extended ComplexFixedLow = 1e-6L;
constexpr Extended ComplexFixedHigh = 1e9L;

std::string PartText(const EvalContext& ctx, int width, Extended a, const std::string& sign) {
    return DecimalText(ctx.NotationMode, width, a, sign, ComplexFixedLow, ComplexFixedHigh);
}

} // namespace

std::string ComplexToText(EvalContext& ctx, const ComplexValue& z, int width, std::uint8_t form) {
    const ComplexValue v = ToForm(z, form);
    const std::string signP = v.X < 0 ? "-" : "";
    const std::string signQ = v.Y < 0 ? "-" : "+";
    const std::string p = signP + PartText(ctx, width, std::fabs(v.X), signP);
    const std::string q = PartText(ctx, width, std::fabs(v.Y), signQ);
    if (form == FormPolar) {
        return p + "*exp(" + (signQ == "-" ? signQ : "") + q + "i)";
    }
    return p + signQ + q + "i";
}

} // namespace mirla
