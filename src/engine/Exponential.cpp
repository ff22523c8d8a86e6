#include "engine/Exponential.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace mirla {

namespace {

/// Within this magnitude 2^(x/ln 2) scales with a power of two that a double holds.
constexpr Extended FastRangeLimit = 700;

constexpr Extended ThirtyTwoOverLn2 = 0xb.8aa3b295c17f0bcp+2L;
/// ln(2)/32 = Ln2Over32High + Ln2Over32Low; the first has 44 significant bits, so that its
/// product with a step count below 2^20 is exact.
constexpr Extended Ln2Over32High = 0xb.17217f7d1cp-9L;
constexpr Extended Ln2Over32Low = 0xf.79abc9e3b39803fp-53L;

/// 2^(j/32) for j = 0..31 as a rounded value and the rest below its last bit.
struct PowerOfTwoRoot {
    Extended high;
    Extended low;
};
constexpr std::array<PowerOfTwoRoot, 32> PowerOfTwoRoots = {{
    {0x8p-3L, 0x0p+0L},
    {0x8.2cd8698ac2ba1d7p-3L, 0xf.8a91d6d1948p-69L},
    {0x8.5aac367cc487b15p-3L, -0xe.8da91cf7aacp-69L},
    {0x8.8980e8092da8527p-3L, 0xb.bf1aed9318dp-68L},
    {0x8.b95c1e3ea8bd6e7p-3L, -0x8.373af14eb6p-72L},
    {0x8.ea4398b45cd53cp-3L, 0xb.70051321e1p-69L},
    {0x9.1c3d373ab11c336p-3L, 0xf.d6d8e0ae5bp-71L},
    {0x9.4f4efa8fef70961p-3L, 0xb.a2beb449548p-69L},
    {0x9.837f0518db8a96fp-3L, 0x8.d5a46305c86p-68L},
    {0x9.b8d39b9d54e5539p-3L, -0xb.aafd0bab867p-68L},
    {0x9.ef5326091a111aep-3L, -0xb.eddc1ec288cp-68L},
    {0xa.27043030c496819p-3L, -0xc.90bf620fe6p-68L},
    {0xa.5fed6a9b15138eap-3L, 0xe.5ebfb10b884p-70L},
    {0xa.9a15ab4ea7c0ef8p-3L, 0xa.83c49d86a64p-68L},
    {0xa.d583eea42a14ac6p-3L, 0x9.3015191eb34p-68L},
    {0xb.123f581d2ac259p-3L, -0xf.05f902d25bdp-68L},
    {0xb.504f333f9de6484p-3L, 0xb.2fb1366ea96p-68L},
    {0xb.8fbaf4762fb9ee9p-3L, 0xd.c3cbbc2b35cp-70L},
    {0xb.d08a39f580c36bfp-3L, -0xa.efdc09325e1p-68L},
    {0xc.12c4cca66709456p-3L, 0xf.88afab34a01p-68L},
    {0xc.5672a115506daddp-3L, 0xf.8ab43259376p-69L},
    {0xc.9b9bd866e2f27a3p-3L, -0xf.e3c0dabf5ddp-68L},
    {0xc.e248c151f8480e4p-3L, -0xe.e53e383506cp-70L},
    {0xd.2a81d91f12ae45ap-3L, 0x9.12472be1ef4p-70L},
    {0xd.744fccad69d6af4p-3L, 0xe.69a2ee640b4p-69L},
    {0xd.bfbb797daf23755p-3L, 0xf.610356a78a8p-69L},
    {0xe.0ccdeec2a94e111p-3L, 0xc.b12a091ba7p-72L},
    {0xe.5b906e77c8348a8p-3L, 0xf.2f47a5276dcp-70L},
    {0xe.ac0c6e7dd24392fp-3L, -0xb.f4a29323e48p-69L},
    {0xe.fe4b99bdcdaf5cbp-3L, 0x8.cac39ed291bp-68L},
    {0xf.5257d152486cc2cp-3L, 0xf.73a18f5db31p-68L},
    {0xf.a83b2db722a033ap-3L, 0xf.84b762862bbp-68L},
}};

/// e^r - 1 for |r| <= ln(2)/64, from its Taylor series to the r^8 term (the next one is below
/// 2^-76). The terms are paired so that the processor can work on them side by side.
Extended ExponentialMinusOne(Extended r) {
    constexpr Extended c2 = 1.0L / 2, c3 = 1.0L / 6, c4 = 1.0L / 24, c5 = 1.0L / 120, c6 = 1.0L / 720,
                       c7 = 1.0L / 5040, c8 = 1.0L / 40320;
    const Extended r2 = r * r;
    const Extended r4 = r2 * r2;
    const Extended series = (c2 + c3 * r) + r2 * (c4 + c5 * r) + r4 * ((c6 + c7 * r) + r2 * c8);
    return r + r2 * series;
}

/// 2^n for |n| <= 1022, exact.
Extended PowerOfTwo(int n) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(1023 + n) << 52);
}

} // namespace

Extended Exponential(Extended x) {
    if (!(std::fabs(x) <= FastRangeLimit))
        return std::exp(x);
    // x = n * ln(2)/32 + r with |r| <= ln(2)/64; then e^x = 2^(n/32) * e^r. A double holds the
    // step count n exactly and rounds it without touching the x87 rounding mode.
    const double steps = RoundToWhole(static_cast<double>(x * ThirtyTwoOverLn2));
    const int n = static_cast<int>(steps);
    // n * Ln2Over32High is exact and close to x, so the first difference is exact too.
    const Extended r = (x - steps * Ln2Over32High) - steps * Ln2Over32Low;
    const PowerOfTwoRoot& root = PowerOfTwoRoots[static_cast<std::size_t>(n & 31)];
    const Extended scaled = root.high + (root.high * ExponentialMinusOne(r) + root.low);
    return scaled * PowerOfTwo(n >> 5);
}

} // namespace mirla
