#include "engine/Trigonometry.h"

#include <array>
#include <cmath>

namespace mirla {

namespace {

/// Arguments of this magnitude are beyond the processor's reduction; sine and cosine give 0.
constexpr Extended TrigonometricLimit = 0x1p63L;

// The C library reduces every argument beyond pi/4 with its multi-word method, which costs
// more than the sine itself. Up to this magnitude the reduction below is exact enough: pi/2
// is split into parts whose products with the quadrant number are exact or nearly so.
constexpr Extended FastReductionLimit = 0x1p20L;
constexpr Extended TwoOverPi = 0xA2F9836E4E44152Ap-64L;
/// pi/2 = HalfPi1 + HalfPi2 + HalfPi3 to 156 bits; the first two have 44 significant bits,
/// so that their products with a quadrant number below 2^20 are exact.
constexpr Extended HalfPi1 = 0xC90FDAA2217p-43L;
constexpr Extended HalfPi2 = -0xE7B9676733Bp-88L;
constexpr Extended HalfPi3 = 0xB80DC1CD129024E1p-155L;
/// Below this reduced magnitude the subtraction cancelled too much; the library takes over.
constexpr Extended CancellationLimit = 0x1p-30L;

/// An angle within [-pi/4, pi/4] as a head and a tail below its last bit, with the quadrant
/// (0 to 3) of the original argument.
struct ReducedAngle {
    Extended head = 0;
    Extended tail = 0;
    int quadrant = 0;
};

/// How an argument was reduced: not at all (it lies within [-pi/4, pi/4]), modulo pi/2, or
/// left to the library where the fast reduction cannot give full precision.
enum class Reduction { None, Reduced, Library };

/// Reduces t modulo pi/2.
Reduction ReduceQuarterTurns(Extended t, ReducedAngle& reduced) {
    if (!(std::fabs(t) < FastReductionLimit))
        return Reduction::Library;
    // The quadrant number, rounded in double precision: where that differs from rounding the
    // exact product, the angle lies a hair beyond pi/4, which the kernels still cover.
    const double quarterTurns = RoundToWhole(static_cast<double>(t * TwoOverPi));
    if (quarterTurns == 0)
        return Reduction::None;
    const Extended k = quarterTurns;
    // Both products fit the 64-bit significand (44 bits times a quadrant number of at most
    // 20), and the first difference is exact because its terms are close.
    const Extended first = t - k * HalfPi1;
    const Extended second = k * HalfPi2;
    // Two-sum of first - second: the rounded difference and its exact error.
    const Extended head = first - second;
    const Extended back = head - first;
    const Extended error = (first - (head - back)) - (second + back);
    const Extended tail = error - k * HalfPi3;
    reduced.head = head + tail;
    reduced.tail = tail - (reduced.head - head);
    if (std::fabs(reduced.head) < CancellationLimit)
        return Reduction::Library;
    reduced.quadrant = static_cast<int>(quarterTurns) & 3;
    return Reduction::Reduced;
}

// Sine and cosine within [-pi/4, pi/4] from their Taylor series, up to the x^19 and x^20 terms:
// the next ones are below 2^-70 of the result there. The library's kernels cost several times
// more.

/// (sin(x) - x) / x^3 as a series in z = x^2.
constexpr std::array<Extended, 9> SineSeries = {-1.0L / 6,
                                                1.0L / 120,
                                                -1.0L / 5040,
                                                1.0L / 362880,
                                                -1.0L / 39916800,
                                                1.0L / 6227020800,
                                                -1.0L / 1307674368000,
                                                1.0L / 355687428096000,
                                                -1.0L / 121645100408832000};
/// (cos(x) - 1 + x^2/2) / x^4 as a series in z = x^2.
constexpr std::array<Extended, 9> CosineSeries = {1.0L / 24,
                                                  -1.0L / 720,
                                                  1.0L / 40320,
                                                  -1.0L / 3628800,
                                                  1.0L / 479001600,
                                                  -1.0L / 87178291200,
                                                  1.0L / 20922789888000,
                                                  -1.0L / 6402373705728000,
                                                  1.0L / 2432902008176640000};

/// c[0] + c[1] z + ... + c[8] z^8, the terms paired so that the processor works on them side
/// by side.
Extended SumSeries(const std::array<Extended, 9>& c, Extended z) {
    const Extended z2 = z * z;
    const Extended z4 = z2 * z2;
    return ((c[0] + c[1] * z) + z2 * (c[2] + c[3] * z)) +
           z4 * (((c[4] + c[5] * z) + z2 * (c[6] + c[7] * z)) + z4 * c[8]);
}

// The kernels are meant to be inlined: handing an extended argument over through memory costs
// as much as several of their steps.

/// sin(x + tail) for |x| <= pi/4 and a tail below x's last bit, for which a rough cosine
/// suffices.
inline Extended SineKernel(Extended x, Extended tail) {
    const Extended z = x * x;
    return x + (x * z * SumSeries(SineSeries, z) + tail * (1 - z * 0.5L));
}

/// cos(x + tail), likewise with a rough sine for the tail. 1 - x^2/2 is formed with its
/// rounding error recovered, so that the large first terms lose nothing.
inline Extended CosineKernel(Extended x, Extended tail) {
    const Extended z = x * x;
    const Extended half = z * 0.5L;
    const Extended w = 1 - half;
    return w + (((1 - w) - half) + (z * z * SumSeries(CosineSeries, z) - x * tail));
}

/// sin(t + quarterTurns * pi/2).
Extended ShiftedSine(Extended t, int quarterTurns) {
    if (std::fabs(t) >= TrigonometricLimit)
        return 0;
    ReducedAngle r;
    switch (ReduceQuarterTurns(t, r)) {
    case Reduction::Library:
        return quarterTurns == 0 ? std::sin(t) : std::cos(t);
    case Reduction::None:
        if (t == 0)
            return quarterTurns == 0 ? t : 1; // sin keeps the sign of a zero
        r.head = t;
        break;
    case Reduction::Reduced:
        break;
    }
    switch ((r.quadrant + quarterTurns) & 3) {
    case 0:
        return SineKernel(r.head, r.tail);
    case 1:
        return CosineKernel(r.head, r.tail);
    case 2:
        return -SineKernel(r.head, r.tail);
    default:
        return -CosineKernel(r.head, r.tail);
    }
}

} // namespace

Extended Sine(Extended t) {
    return ShiftedSine(t, 0);
}

Extended Cosine(Extended t) {
    return ShiftedSine(t, 1);
}

} // namespace mirla
