#pragma once

#include "engine/Extended.h"

namespace mirla {

/// e^x in extended precision, within one unit in the last place like the C library's and
/// several times faster for the arguments of everyday use (|x| <= 700). Beyond them, where the
/// result overflows, underflows or needs the far exponent range, the library answers.
Extended Exponential(Extended x);

} // namespace mirla
