#pragma once

#include "engine/Extended.h"

namespace mirla {

/// Sine of an extended argument in radians, as accurate as the C library's and about twice as
/// fast for moderate arguments. Arguments of magnitude 2^63 or more give 0.
Extended Sine(Extended t);

/// Cosine of an extended argument in radians; arguments of magnitude 2^63 or more give 0.
Extended Cosine(Extended t);

} // namespace mirla
