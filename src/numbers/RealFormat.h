#pragma once

#include "engine/EvalContext.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace mirla {

/// The display text of a real value about `width` characters wide, in the notation, base and
/// bit grouping held by ctx. Base overflow (error 11) and sexagesimal overflow (error 23) are
/// raised in ctx and give "0.0" and "0:0:0".
std::string RealToText(EvalContext& ctx, int width, Extended x);

/// The magnitude a >= 0 in "Scn", "Fix" or "Eng" (any other notation counts as "Scn"), without
/// its sign; `sign` is the sign text the caller puts in front ("", "-" or "+"): it chooses the
/// decimals of the fixed form and takes one place of the width. The fixed form is used for
/// "Fix" when fixLow < a < fixHigh. Infinities and NaN give "Infinity" and "NaN".
std::string DecimalText(int notation, int width, Extended a, std::string_view sign, Extended fixLow,
                        Extended fixHigh);

/// The shortest decimal text that reads back to exactly x ("0.1", "-2.5", "1E-4940",
/// "1.18973E+4932"), for the files that store values; "inf" or "nan" when x is not finite.
std::string StoredValueText(Extended x);

/// " d.ddd...E+eeee" of a >= 0 with max(2, min(18, w - 8)) significant digits, padded to w.
std::string ScientificField(Extended a, int w);
/// The integer part and d decimals of a >= 0, padded to w; ScientificField when d < 0.
std::string FixedField(Extended a, int w, int d);
/// Trims blanks and surplus zeros; returns the number of leading blanks removed.
int TrimNumberText(std::string& t, int notation);
/// Drops up to three leading zeros of the exponent; returns how many it dropped.
int ShortenExponent(std::string& t);
/// Moves the point so that the exponent of a `ScientificField` text is a multiple of three.
std::string EngineeringShift(std::string t);
/// Hours |a| to "h:m:s"; error 23 and "0:0:0" beyond 2147483647 hours or seconds.
std::string SexagesimalText(EvalContext& ctx, Extended a);
/// The digits of n in base 16 or 2 without leading zeros.
std::string BaseDigits(std::uint32_t n, int base);

} // namespace mirla
