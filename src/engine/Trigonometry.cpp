#include "engine/Trigonometry.h"

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

/// Reduces t modulo pi/2. False when the library does better: within [-pi/4, pi/4], where
/// it needs no reduction, and where the fast reduction cannot give full precision.
bool ReduceQuarterTurns(Extended t, ReducedAngle& reduced) {
    if (!(std::fabs(t) < FastReductionLimit))
        return false;
    const Extended k = std::rint(t * TwoOverPi);
    if (k == 0)
        return false;
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
        return false;
    // |k| < 2^20 converts exactly through a double, avoiding the x87 rounding-mode switch.
    reduced.quadrant = static_cast<int>(static_cast<long long>(static_cast<double>(k)) & 3);
    return true;
}

/// sin(head + tail): the tail is below the head's last bit, so a rough cosine suffices for it.
Extended SineOfReduced(const ReducedAngle& r) {
    return std::sin(r.head) + r.tail * (1 - r.head * r.head * 0.5L);
}

/// cos(head + tail), likewise with a rough sine for the tail.
Extended CosineOfReduced(const ReducedAngle& r) {
    return std::cos(r.head) - r.tail * r.head;
}

/// sin(t + quarterTurns * pi/2).
Extended ShiftedSine(Extended t, int quarterTurns) {
    if (std::fabs(t) >= TrigonometricLimit)
        return 0;
    ReducedAngle r;
    if (!ReduceQuarterTurns(t, r))
        return quarterTurns == 0 ? std::sin(t) : std::cos(t);
    switch ((r.quadrant + quarterTurns) & 3) {
    case 0:
        return SineOfReduced(r);
    case 1:
        return CosineOfReduced(r);
    case 2:
        return -SineOfReduced(r);
    default:
        return -CosineOfReduced(r);
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
