#pragma once

namespace mirla {

/// Every calculator value: the x86-64 80-bit extended real.
using Extended = long double;

static_assert(sizeof(Extended) >= 10 && __LDBL_MANT_DIG__ == 64,
              "Mirla needs the 80-bit extended long double");

// Constants written as hexadecimal literals so that they hold exactly the bits the engine
// relies on: significand times a power of two.

/// "Not set" for variables and omitted arguments: the extended nearest to 0.123454321.
constexpr Extended UndefinedValue = 0xFCD59E79F586CCB0p-67L;
/// The engine's pi (significand C90FDAA22168C236, one unit above the nearest extended).
constexpr Extended Pi = 0xC90FDAA22168C236p-62L;
/// The engine's e.
constexpr Extended EulerE = 0xADF85458A2BB4A9Ap-62L;
/// The nearest extended to 1/180, used for degree arguments.
constexpr Extended OneOver180 = 0xB60B60B60B60B60Bp-71L;

/// True when a variable or argument holds a real value rather than the "not set" marker.
constexpr bool IsSet(Extended v) {
    return v != UndefinedValue;
}

/// The whole number nearest to x, for |x| < 2^51. Rounding in double precision this way is
/// much faster than rounding an extended value, and a double converts to an integer without
/// the x87 rounding-mode switch that an extended value needs.
inline double RoundToWhole(double x) {
    constexpr double RoundingShift = 0x1.8p52; // its last bit is worth 1
    return (x + RoundingShift) - RoundingShift;
}

} // namespace mirla
