#pragma once

#include "engine/Extended.h"

namespace mirla {

/// Sine of an extended argument in radians, within one unit in the last place like the C
/// library's and several times faster below 2^20. Arguments of magnitude 2^63 or more give 0.
Extended Sine(Extended t);

/// Cosine of an extended argument in radians; arguments of magnitude 2^63 or more give 0.
Extended Cosine(Extended t);

} // namespace mirla
