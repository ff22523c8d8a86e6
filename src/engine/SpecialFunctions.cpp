#include "engine/SpecialFunctions.h"

#include "engine/Engine.h"
#include "engine/GaussLegendre.h"
#include "engine/Grammar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace mirla {
namespace {

constexpr Extended Log2E = 1.4426950408889634073599L;
constexpr Extended EulerGamma = 0.5772156649015328606L;

/// Most subintervals of one integration pass; a pass this fine ends the doubling with its value,
/// so that an integral whose digits never settle cannot loop for ever or overflow the count.
constexpr int MaxSubintervals = 1 << 24;

/// Largest n whose factorial fits the extended range.
constexpr Extended LargestFactorialArgument = 1754;

/// Stirling series coefficients, innermost first.
constexpr Extended Stirling1 = 1.0L / 156;
constexpr Extended Stirling2 = -691.0L / 360360;
constexpr Extended Stirling3 = 1.0L / 1188;
constexpr Extended Stirling4 = -1.0L / 1680;
constexpr Extended Stirling5 = 1.0L / 1260;
constexpr Extended Stirling6 = -1.0L / 360;
constexpr Extended Stirling7 = 1.0L / 12;
/// Gamma below this argument is reached by shifting the argument up to it.
constexpr int StirlingThreshold = 12;

/// Coefficients s1..s8 of the auxiliary functions of the integral sine and cosine.
using AuxiliarySet = std::array<Extended, 8>;
constexpr AuxiliarySet AuxiliaryF = {38.027264L, 265.187033L, 335.67732L, 38.102495L,
                                     40.021433L, 322.624911L, 570.23628L, 157.105423L};
constexpr AuxiliarySet AuxiliaryG = {42.242855L, 302.757865L, 352.018498L,  21.821899L,
                                     48.196927L, 482.485984L, 1114.978885L, 449.690326L};

// Rational approximation of the normal upper tail, coefficients from the highest power down.
constexpr std::array<Extended, 6> TailNumerator = {0.56413052029668L, 6.294988791298L,  31.499397334774L,
                                                   88.728616552568L,  141.83210568472L, 114.09129476797L};
constexpr std::array<Extended, 7> TailDenominator = {1.0L,
                                                     11.155129488023L,
                                                     56.35922843497L,
                                                     162.63669095274L,
                                                     279.94326328665L,
                                                     270.57034584754L,
                                                     114.09129476797L};
/// The scale between the error function and the normal distribution (a 14-digit square root of 2).
constexpr Extended NormalScale = 1.4142135623731L;
/// Beyond this scaled argument the normal tail counts as 0.
constexpr Extended NormalTailLimit = 10;

/// Distance past max(eta, 0) at which the Fermi-Dirac integrand is cut off.
constexpr Extended FermiDiracTail = 23;

/// e^y as the engine computes exponentials: 2 raised to y log2 e.
Extended Exponential(Extended y) {
    return exp2l(y * Log2E);
}

bool IsWhole(Extended v) {
    return v == truncl(v);
}

/// Reports a domain error: the result and the previous answer become 0.
Extended Fail(EvalContext& ctx, int code) {
    RaiseDomainError(ctx, code);
    return 0;
}

/// The value a special function returns: 0 once an error is set, "Overflow" when not finite.
Extended Finish(EvalContext& ctx, Extended value) {
    if (ctx.ErrorFlag) {
        return 0;
    }
    return std::isfinite(value) ? value : Fail(ctx, ErrOverflow);
}

template <std::size_t N> Extended Horner(const std::array<Extended, N>& highestFirst, Extended a) {
    Extended sum = 0;
    for (Extended c : highestFirst) {
        sum = sum * a + c;
    }
    return sum;
}

// --- Integration ------------------------------------------------------------------------------

/// base^exponent through PowerOp for an integrand, its errors reported in the integration's
/// context; once an error is set it no longer computes, so the first error's position stays
/// the reported one.
Extended IntegrandPower(EvalContext& ctx, Extended base, Extended exponent) {
    return ctx.ErrorFlag ? 0 : PowerOp(ctx, base, exponent);
}

/// The 10-point Gauss-Legendre rule on [start, start + width].
Extended GaussLegendre(EvalContext& ctx, Integrand f, Extended x, Extended n, Extended start,
                       Extended width) {
    const Extended half = width * 0.5L;
    const Extended centre = start + half;
    Extended sum = 0;
    for (std::size_t i = 0; i < GaussNodes.size(); ++i) {
        const Extended offset = half * GaussNodes[i];
        sum += GaussWeights[i] * (f(ctx, centre + offset, x, n) + f(ctx, centre - offset, x, n));
    }
    return sum * half;
}

/// One pass over `parts` equal subintervals, letting window events through and honouring a
/// break after each; 0 once an error is set.
Extended IntegrationPass(EvalContext& ctx, Integrand f, Extended x, Extended n, Extended lower,
                         Extended upper, int parts) {
    const Extended width = (upper - lower) / parts;
    Extended sum = 0;
    for (int i = 0; i < parts; ++i) {
        sum += GaussLegendre(ctx, f, x, n, lower + width * i, width);
        if (ctx.ErrorFlag) {
            return 0;
        }
        if (!std::isfinite(sum)) {
            return Fail(ctx, ErrOverflow);
        }
        PumpMessages(ctx);
        if (CheckBreak(ctx)) {
            return 0;
        }
    }
    return sum;
}

/// The default scientific text of a value: sign, first digit, point, further digits, exponent.
std::string ScientificText(Extended v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%+.17Le", v);
    return buffer;
}

bool LeadingCharactersAgree(std::string_view a, std::string_view b, std::size_t count) {
    return a.substr(0, count) == b.substr(0, count);
}

// --- Gamma --------------------------------------------------------------------------------------

/// Gamma by the Stirling series, for x >= 12; infinite past the extended range.
Extended StirlingGamma(Extended x) {
    const Extended h = 1 / (x * x);
    const Extended series =
        Stirling7 +
        h * (Stirling6 +
             h * (Stirling5 + h * (Stirling4 + h * (Stirling3 + h * (Stirling2 + h * Stirling1)))));
    const Extended logGamma = (x - 0.5L) * logl(x) - x + 0.5L * logl(2 * Pi) + series / x;
    return Exponential(logGamma);
}

/// Gamma of a positive non-integer: below 12 the argument is shifted up by whole steps,
/// Gamma(x) = Gamma(d + 12) / ((d + b)(d + b + 1)...(d + 11)) with b, d the parts of x.
Extended PositiveGamma(Extended x) {
    if (x >= StirlingThreshold) {
        return StirlingGamma(x);
    }
    const int whole = static_cast<int>(x);
    const Extended fraction = x - whole;
    Extended divisor = 1;
    for (int i = StirlingThreshold - 1; i >= whole; --i) {
        divisor *= fraction + i;
    }
    return StirlingGamma(fraction + StirlingThreshold) / divisor;
}

// --- Bessel functions ---------------------------------------------------------------------------

/// True when n and x lie in the Bessel domain (x > 0 when `positiveArgument`); raises otherwise.
bool BesselArgumentsValid(EvalContext& ctx, Extended n, Extended x, bool positiveArgument) {
    if (!IsSet(x)) {
        Fail(ctx, ErrCommaExpected);
        return false;
    }
    if (!(n >= 0 && x >= 0) || (positiveArgument && x == 0)) {
        Fail(ctx, ErrOutOfRange);
        return false;
    }
    return true;
}

Extended BesselJIntegrand(EvalContext& ctx, Extended t, Extended x, Extended n) {
    return cosl(x * cosl(t)) * IntegrandPower(ctx, sinl(t), 2 * n);
}

Extended BesselIIntegrand(EvalContext& ctx, Extended t, Extended x, Extended n) {
    return Exponential(x * cosl(t)) * IntegrandPower(ctx, sinl(t), 2 * n);
}

/// (x/2)^n / (Gamma(n + 1/2) sqrt(pi)) times the integral of f over [0, pi]: the Poisson
/// representation shared by J and I, exactly 1 at n = x = 0.
Extended PoissonBessel(EvalContext& ctx, Integrand f, Extended n, Extended x) {
    if (n == 0 && x == 0) {
        return 1;
    }
    const Extended power = PowerOp(ctx, x * 0.5L, n);
    if (ctx.ErrorFlag) {
        return 0;
    }
    const Extended gamma = Gamma(ctx, n + 0.5L);
    if (ctx.ErrorFlag) {
        return 0;
    }
    const Extended integral = Integrate(ctx, f, x, n, Pi, 0);
    return Finish(ctx, power / (gamma * sqrtl(Pi)) * integral);
}

/// The integrand of Y over [0, pi]: the oscillating part, less the tail integral over
/// [0, infinity) mapped onto (0, pi] by s = -ln(t / pi).
Extended BesselYIntegrand(EvalContext& /*ctx*/, Extended t, Extended x, Extended n) {
    const Extended oscillating = sinl(x * sinl(t) - n * t);
    if (t <= 0) {
        return oscillating;
    }
    const Extended d = t / Pi;
    const Extended u = 0.5L * x * (d - 1 / d);
    const Extended logD = logl(d);
    const Extended a = u - (n + 1) * logD;
    const Extended b = u + (n - 1) * logD;
    const Extended expA = a < -80 ? 0 : Exponential(a);
    const Extended expB = b < -80 ? 0 : Exponential(b);
    return oscillating - (expA + cosl(n * Pi) * expB) / Pi;
}

/// The integrand of K over [0, 1], the representation in cosh mapped by t = e^-s.
Extended BesselKIntegrand(EvalContext& /*ctx*/, Extended t, Extended x, Extended n) {
    const Extended exponent = -0.5L * x * (t + 1 / t);
    if (exponent <= -70) {
        return 0;
    }
    return Exponential(exponent) * (powl(t, n) + powl(t, -n)) / t;
}

// --- Integral sine and cosine, error function, Fermi-Dirac --------------------------------------

Extended SincIntegrand(EvalContext& /*ctx*/, Extended t, Extended /*x*/, Extended /*n*/) {
    return t == 0 ? 1 : sinl(t) / t;
}

Extended CosineIntegrand(EvalContext& /*ctx*/, Extended t, Extended /*x*/, Extended /*n*/) {
    return t == 0 ? 0 : (cosl(t) - 1) / t;
}

/// (y^4 + s1 y^3 + s2 y^2 + s3 y + s4) / (y^4 + s5 y^3 + s6 y^2 + s7 y + s8) / y with y = x^2,
/// evaluated in powers of 1/y so that huge arguments give 0 instead of overflowing.
Extended AuxiliaryRatio(const AuxiliarySet& s, Extended x) {
    const Extended z = 1 / (x * x);
    const Extended numerator = 1 + z * (s[0] + z * (s[1] + z * (s[2] + z * s[3])));
    const Extended denominator = 1 + z * (s[4] + z * (s[5] + z * (s[6] + z * s[7])));
    return numerator / denominator * z;
}

/// The auxiliary functions f(x) and g(x) of Si and Ci for x > 1.
Extended AuxiliaryFunctionF(Extended x) {
    return x * AuxiliaryRatio(AuxiliaryF, x);
}
Extended AuxiliaryFunctionG(Extended x) {
    return AuxiliaryRatio(AuxiliaryG, x);
}

/// Upper tail Q(z) of the standard normal distribution.
Extended UpperNormalTail(Extended z) {
    const Extended a = fabsl(z) / NormalScale;
    const Extended q = a > NormalTailLimit ? 0
                                           : 0.5L * Exponential(-a * a) * Horner(TailNumerator, a) /
                                                 Horner(TailDenominator, a);
    return z < 0 ? 1 - q : q;
}

Extended FermiDiracIntegrand(EvalContext& ctx, Extended t, Extended eta, Extended j) {
    return IntegrandPower(ctx, t, j) / (Exponential(t - eta) + 1);
}

} // namespace

Extended Integrate(EvalContext& ctx, Integrand f, Extended x, Extended n, Extended upper, Extended lower) {
    const std::size_t agreement = ctx.IntegralAgreement;
    Extended value = IntegrationPass(ctx, f, x, n, lower, upper, 1);
    std::string text = ScientificText(value);
    for (int parts = 2; parts <= MaxSubintervals && !ctx.ErrorFlag; parts *= 2) {
        value = IntegrationPass(ctx, f, x, n, lower, upper, parts);
        std::string newText = ScientificText(value);
        if (LeadingCharactersAgree(newText, text, agreement)) {
            break;
        }
        text = std::move(newText);
    }
    return ctx.ErrorFlag ? 0 : value;
}

Extended Factorial(EvalContext& ctx, Extended n) {
    if (n == 0) {
        return 1;
    }
    if (!IsWhole(n) || n < 0) {
        return Fail(ctx, ErrArgument);
    }
    if (n > LargestFactorialArgument) {
        return Fail(ctx, ErrOverflow);
    }
    Extended product = n;
    for (Extended k = 1; k < n; ++k) {
        product *= k;
    }
    return product;
}

Extended Gamma(EvalContext& ctx, Extended x) {
    if (x == 0) {
        return Fail(ctx, ErrDivisionByZero);
    }
    if (IsWhole(x)) {
        return x < 0 ? Fail(ctx, ErrDivisionByZero) : Factorial(ctx, x - 1);
    }
    if (x > 0) {
        return Finish(ctx, PositiveGamma(x));
    }
    // Reflection: Gamma(x) Gamma(1 - x) = pi / sin(pi x). The sine is taken of pi x rather than
    // of pi (1 - x), its equal, so that arguments close to 0 keep their precision.
    const Extended denominator = sinl(Pi * x) * PositiveGamma(fabsl(x) + 1);
    if (denominator == 0) {
        return Fail(ctx, ErrDivisionByZero);
    }
    return Finish(ctx, Pi / denominator);
}

Extended BesselJ(EvalContext& ctx, Extended n, Extended x) {
    if (!BesselArgumentsValid(ctx, n, x, false)) {
        return 0;
    }
    return PoissonBessel(ctx, BesselJIntegrand, n, x);
}

Extended BesselY(EvalContext& ctx, Extended n, Extended x) {
    // Y is infinite at x = 0, where its integral diverges instead of settling.
    if (!BesselArgumentsValid(ctx, n, x, true)) {
        return 0;
    }
    return Finish(ctx, Integrate(ctx, BesselYIntegrand, x, n, Pi, 0) / Pi);
}

Extended BesselI(EvalContext& ctx, Extended n, Extended x) {
    if (!BesselArgumentsValid(ctx, n, x, false)) {
        return 0;
    }
    return PoissonBessel(ctx, BesselIIntegrand, n, x);
}

Extended BesselK(EvalContext& ctx, Extended n, Extended x) {
    if (!BesselArgumentsValid(ctx, n, x, true)) {
        return 0;
    }
    return Finish(ctx, 0.5L * Integrate(ctx, BesselKIntegrand, x, n, 1, 0));
}

Extended IntegralSine(EvalContext& ctx, Extended x) {
    if (x < 0) {
        return Fail(ctx, ErrArgument);
    }
    if (x <= 1) {
        return Finish(ctx, Integrate(ctx, SincIntegrand, 0, 0, x, 0));
    }
    return Finish(ctx, Pi * 0.5L - cosl(x) * AuxiliaryFunctionF(x) - sinl(x) * AuxiliaryFunctionG(x));
}

Extended IntegralCosine(EvalContext& ctx, Extended x) {
    if (x == 0) {
        return Fail(ctx, ErrOutOfRange);
    }
    if (x < 0) {
        return Fail(ctx, ErrArgument);
    }
    if (x <= 1) {
        const Extended integral = Integrate(ctx, CosineIntegrand, 0, 0, x, 0);
        return Finish(ctx, logl(x) + EulerGamma + integral);
    }
    return Finish(ctx, sinl(x) * AuxiliaryFunctionF(x) - cosl(x) * AuxiliaryFunctionG(x));
}

Extended ErrorFunction(EvalContext& /*ctx*/, Extended x) {
    return 1 - 2 * UpperNormalTail(x * NormalScale);
}

Extended FermiDirac(EvalContext& ctx, Extended j, Extended eta) {
    if (!IsSet(eta)) {
        return Fail(ctx, ErrCommaExpected);
    }
    // The integral diverges at t = 0 for j <= -1.
    if (!(j > -1)) {
        return Fail(ctx, ErrOutOfRange);
    }
    // The integrand is cut 23 units past the Fermi level, but never before t = 23, so that a
    // negative eta still integrates over the whole tail rather than a short or reversed range.
    const Extended upper = std::max(eta, Extended{0}) + FermiDiracTail;
    return Finish(ctx, Integrate(ctx, FermiDiracIntegrand, eta, j, upper, 0));
}

} // namespace mirla
