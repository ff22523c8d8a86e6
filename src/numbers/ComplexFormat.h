#pragma once

#include "engine/EvalContext.h"
#include "numbers/ComplexValue.h"

#include <cstdint>
#include <string>

namespace mirla {

/// The display text of z about `width` characters per part, in the notation held by ctx
/// ("Sxg" counts as "Scn") and in `form`: "a+bi" for FormRect, "r*exp(ti)" for FormPolar.
std::string ComplexToText(EvalContext& ctx, const ComplexValue& z, int width, std::uint8_t form);

} // namespace mirla
