#include "numbers/ComplexArithmetic.h"

#include "engine/ErrorCodes.h"
#include "engine/Grammar.h"
#include "engine/NameTable.h"
#include "engine/RealFunctions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace mirla {

namespace {

/// The extended values nearest to pi and 2 pi, used to reduce angles.
constexpr Extended NearestPi = 3.1415926535897932385L;
constexpr Extended NearestTwoPi = 6.2831853071795864766L;
/// Arguments of e^x beyond which the result underflows or overflows the extended range.
constexpr Extended ExpLowerBound = -11355.137111933024L;
constexpr Extended ExpUpperBound = 11356.5234062941439L;
/// ln(2 pi) / 2.
constexpr Extended HalfLnTwoPi = 0.91893853320467274175L;
/// Real parts from which the Stirling series of ln Gamma is accurate to the last digit.
constexpr Extended StirlingStart = 9;
/// Most unit steps ln Gamma takes towards the Stirling range; beyond, the sum of logarithms
/// would take too long and lose its accuracy.
constexpr Extended MaxLnGammaSteps = 100000;
/// Stirling coefficients B2k / (2k (2k - 1)), k = 1..8.
constexpr std::array<Extended, 8> StirlingCoefficients = {
    0.0833333333333333L,   -0.00277777777777778L, 0.000793650793650794L, -0.000595238095238095L,
    0.000841750841750842L, -0.00191752691752692L, 0.00641025641025641L,  -0.0295506535947712L};

ComplexValue Rect(Extended x, Extended y) {
    return {FormRect, x, y};
}
ComplexValue Polar(Extended r, Extended a) {
    return {FormPolar, r, a};
}

/// +1 for positive, -1 for negative, 0 for zero.
Extended SignOf(Extended v) {
    return v > 0 ? 1.0L : (v < 0 ? -1.0L : 0.0L);
}

/// The asymptotic series of ln Gamma for real parts from `StirlingStart` on.
ComplexValue StirlingLnGamma(const ComplexValue& z) {
    int unused = 0;
    ComplexValue sum = CSub(CMul(CSub(z, Rect(0.5L, 0)), CLn(z, unused)), z);
    sum.X += HalfLnTwoPi;
    const ComplexValue w = CDiv(COne, z, unused);
    const ComplexValue w2 = CMul(w, w);
    std::array<ComplexValue, StirlingCoefficients.size()> powers{w};
    for (std::size_t k = 1; k < powers.size(); ++k)
        powers[k] = CMul(powers[k - 1], w2);
    for (std::size_t k = powers.size(); k-- > 0;) {
        const ComplexValue term = ToForm(powers[k], FormRect);
        sum = CAdd(sum, Rect(StirlingCoefficients[k] * term.X, StirlingCoefficients[k] * term.Y));
    }
    return sum;
}

/// The modulus of z as it stands: a typed polar modulus keeps its sign.
Extended TypedModulus(const ComplexValue& z) {
    return z.Form == FormPolar ? z.X : CModulus(z);
}

/// The argument of z in [-pi, pi]. A rectangular value keeps the side of the negative real
/// axis it lies on even when its angle rounds to -pi; a typed polar argument is reduced.
Extended PrincipalArgument(const ComplexValue& z) {
    return z.Form == FormRect ? Atan2(z.Y, z.X) : NormalizeAngle(z.Y);
}

} // namespace

// Real auxiliary routines.

Extended NormalizeAngle(Extended a) {
    // Far-out (or non-finite) angles are first brought near the range in one exact step, so
    // that the loops below run at most once instead of forever.
    if (!(std::fabs(a) <= 4 * NearestTwoPi))
        a = std::remainder(a, NearestTwoPi);
    while (a > NearestPi)
        a -= NearestTwoPi;
    while (a <= -NearestPi)
        a += NearestTwoPi;
    return a;
}

Extended Hypot(Extended a, Extended b) {
    const Extended c = std::fabs(a);
    const Extended d = std::fabs(b);
    if (d <= c) {
        if (c == 0)
            return 0;
        const Extended ratio = d / c;
        return c * std::sqrt(ratio * ratio + 1);
    }
    const Extended ratio = c / d;
    return d * std::sqrt(ratio * ratio + 1);
}

Extended Atan2(Extended a, Extended b) {
    if (b != 0) {
        const Extended r = std::atan(a / b);
        if (b < 0)
            return a >= 0 ? r + NearestPi : r - NearestPi;
        return r;
    }
    if (a == 0)
        return 0;
    return a > 0 ? HalfPiValue : -HalfPiValue;
}

Extended RealArcSin(Extended v, int& error) {
    error = 0;
    if (std::fabs(v) > 1) {
        error = ErrArgument;
        return 0;
    }
    if (v == 1)
        return HalfPiValue;
    if (v == -1)
        return -HalfPiValue;
    return std::atan(v / std::sqrt(1 - v * v));
}

Extended RealLn(Extended v, int& error) {
    error = 0;
    if (v > 0)
        return std::log(v);
    if (v == 0) {
        error = ErrSingularity;
        return ComplexHuge;
    }
    error = ErrArgument;
    return 0;
}

Extended RealExp(Extended v, int& error) {
    error = 0;
    if (v < ExpLowerBound) {
        error = ErrUnderflow;
        return 0;
    }
    if (v > ExpUpperBound) {
        error = ErrOverflow;
        return ComplexHuge;
    }
    return std::exp(v);
}

void SinhCosh(Extended v, Extended& sinhV, Extended& coshV, int& error) {
    error = 0;
    if (v < ExpLowerBound || v > ExpUpperBound) {
        error = ErrOverflow;
        sinhV = SignOf(v) * ComplexHuge;
        coshV = ComplexHuge;
        return;
    }
    // The library functions keep full relative accuracy near 0, where (e^v - e^-v)/2 cancels.
    sinhV = std::sinh(v);
    coshV = std::cosh(v);
}

Extended IntPower(Extended r, int n, int& error) {
    error = 0;
    if (r == 0) {
        if (n < 0) {
            error = ErrSingularity;
            return ComplexHuge;
        }
        return n == 0 ? 1.0L : 0.0L;
    }
    const Extended result = WholePower(r, static_cast<unsigned long long>(std::llabs(n)));
    return n < 0 ? 1 / result : result;
}

// Conversions and arithmetic.

ComplexValue ToForm(const ComplexValue& z, std::uint8_t f) {
    if (z.Form == f)
        return z;
    if (f == FormRect)
        return Rect(z.X * std::cos(z.Y), z.X * std::sin(z.Y));
    const Extended modulus = z.X == 0 ? std::fabs(z.Y) : Hypot(z.X, z.Y);
    return Polar(modulus, Atan2(z.Y, z.X));
}

Extended CRe(const ComplexValue& z) {
    return z.Form == FormRect ? z.X : z.X * std::cos(z.Y);
}

Extended CIm(const ComplexValue& z) {
    return z.Form == FormRect ? z.Y : z.X * std::sin(z.Y);
}

Extended CModulus(const ComplexValue& z) {
    return z.Form == FormPolar ? std::fabs(z.X) : Hypot(z.X, z.Y);
}

bool CEqual(const ComplexValue& z1, const ComplexValue& z2) {
    return CRe(z1) == CRe(z2) && CIm(z1) == CIm(z2);
}

int CSign(const ComplexValue& z) {
    const Extended re = CRe(z);
    if (re != 0)
        return re > 0 ? 1 : -1;
    const Extended im = CIm(z);
    return im > 0 ? 1 : (im < 0 ? -1 : 0);
}

ComplexValue CNeg(const ComplexValue& z) {
    if (z.Form == FormRect)
        return Rect(-z.X, -z.Y);
    return Polar(z.X, NormalizeAngle(z.Y + NearestPi));
}

ComplexValue CConj(const ComplexValue& z) {
    if (z.Form == FormRect)
        return Rect(z.X, -z.Y);
    return Polar(z.X, NormalizeAngle(-z.Y));
}

ComplexValue CAdd(const ComplexValue& z1, const ComplexValue& z2) {
    const ComplexValue a = ToForm(z1, FormRect);
    const ComplexValue b = ToForm(z2, FormRect);
    return Rect(a.X + b.X, a.Y + b.Y);
}

ComplexValue CSub(const ComplexValue& z1, const ComplexValue& z2) {
    const ComplexValue a = ToForm(z1, FormRect);
    const ComplexValue b = ToForm(z2, FormRect);
    return Rect(a.X - b.X, a.Y - b.Y);
}

ComplexValue CMul(const ComplexValue& z1, const ComplexValue& z2) {
    const ComplexValue w = ToForm(z2, z1.Form);
    if (z1.Form == FormPolar)
        return Polar(z1.X * w.X, NormalizeAngle(z1.Y + w.Y));
    return Rect(z1.X * w.X - z1.Y * w.Y, z1.X * w.Y + z1.Y * w.X);
}

ComplexValue CDiv(const ComplexValue& z1, const ComplexValue& z2, int& error) {
    error = 0;
    const bool zeroDivisor = z2.Form == FormRect ? (z2.X == 0 && z2.Y == 0) : z2.X == 0;
    if (zeroDivisor) {
        error = ErrOverflow;
        return CErrorValue;
    }
    const ComplexValue w = ToForm(z2, z1.Form);
    if (z1.Form == FormPolar)
        return Polar(z1.X / w.X, NormalizeAngle(z1.Y - w.Y));
    // The divisor is scaled by a power of two so that its squared modulus neither overflows
    // nor underflows; the scaling is exact, so ordinary quotients keep every bit.
    const int scale = std::ilogb(std::fmax(std::fabs(w.X), std::fabs(w.Y)));
    const Extended c = std::scalbn(w.X, -scale);
    const Extended d = std::scalbn(w.Y, -scale);
    const Extended denominator = c * c + d * d;
    return Rect(std::scalbn((z1.X * c + z1.Y * d) / denominator, -scale),
                std::scalbn((z1.Y * c - z1.X * d) / denominator, -scale));
}

// Functions.

ComplexValue CLn(const ComplexValue& z, int& error) {
    const Extended v = RealLn(TypedModulus(z), error);
    if (error != 0)
        return Rect(-ComplexHuge, 0);
    return Rect(v, PrincipalArgument(z));
}

ComplexValue CExp(const ComplexValue& z, int& error) {
    const ComplexValue r = ToForm(z, FormRect);
    const Extended c = RealExp(r.X, error);
    // Underflow gives 0, which is the value within rounding; overflow is a real failure.
    if (error == ErrUnderflow)
        error = 0;
    return Rect(c * std::cos(r.Y), c * std::sin(r.Y));
}

ComplexValue CPower(const ComplexValue& z1, const ComplexValue& z2, int& error) {
    error = 0;
    const ComplexValue base = ToForm(z1, FormPolar);
    const ComplexValue exponent = ToForm(z2, FormPolar);
    if (base.X != 0) {
        const ComplexValue lnBase = CLn(base, error);
        if (error != 0)
            return CErrorValue;
        return CExp(CMul(exponent, lnBase), error);
    }
    if (exponent.X == 0)
        return COne;
    if (CRe(z2) > 0)
        return CZero;
    error = ErrSingularity;
    return CErrorValue;
}

ComplexValue CIntPower(const ComplexValue& z, int n, int& error) {
    error = 0;
    const ComplexValue p = ToForm(z, FormPolar);
    if (p.X != 0)
        return Polar(IntPower(p.X, n, error), NormalizeAngle(static_cast<Extended>(n) * p.Y));
    if (n == 0)
        return COne;
    if (n < 0) {
        error = ErrSingularity;
        return CErrorValue;
    }
    return CZero;
}

ComplexValue CSqrt(const ComplexValue& z, int& error) {
    error = 0;
    const Extended modulus = TypedModulus(z);
    if (modulus == 0)
        return CZero;
    if (modulus < 0) {
        error = ErrArgument;
        return CErrorValue;
    }
    // Halving the principal argument gives the principal root, also for a polar value typed
    // with an argument outside (-pi, pi].
    return Polar(std::sqrt(modulus), PrincipalArgument(z) / 2);
}

ComplexValue CSin(const ComplexValue& z, int& error) {
    const ComplexValue r = ToForm(z, FormRect);
    Extended sh = 0;
    Extended ch = 0;
    SinhCosh(r.Y, sh, ch, error);
    return Rect(std::sin(r.X) * ch, std::cos(r.X) * sh);
}

ComplexValue CCos(const ComplexValue& z, int& error) {
    const ComplexValue r = ToForm(z, FormRect);
    Extended sh = 0;
    Extended ch = 0;
    SinhCosh(r.Y, sh, ch, error);
    return Rect(std::cos(r.X) * ch, -std::sin(r.X) * sh);
}

ComplexValue CTan(const ComplexValue& z, int& error) {
    const ComplexValue r = ToForm(z, FormRect);
    Extended sh = 0;
    Extended ch = 0;
    SinhCosh(2 * r.Y, sh, ch, error);
    // Beyond the cosh bound the value is +-i within rounding: the quotients below give it.
    const Extended denominator = error != 0 ? ch : std::cos(2 * r.X) + ch;
    error = 0;
    if (denominator == 0) {
        error = ErrSingularity;
        return Rect(ComplexHuge, 0);
    }
    return Rect(std::sin(2 * r.X) / denominator, sh / denominator);
}

ComplexValue CArcSin(const ComplexValue& z) {
    const ComplexValue r = ToForm(z, FormRect);
    const Extended t = r.X * r.X + r.Y * r.Y + 1;
    // p - q = (|z + 1| - |z - 1|) / 2 lies in [-1, 1]; rounding must not push it outside.
    const Extended p = std::sqrt(std::fmax(t + 2 * r.X, 0.0L)) / 2;
    const Extended q = std::sqrt(std::fmax(t - 2 * r.X, 0.0L)) / 2;
    const Extended alpha = p + q;
    int unused = 0;
    const Extended re = RealArcSin(std::clamp(p - q, -1.0L, 1.0L), unused);
    const Extended side = r.Y != 0 ? SignOf(r.Y) : -SignOf(r.X);
    return Rect(re, side * RealLn(alpha + std::sqrt(alpha * alpha - 1), unused));
}

ComplexValue CArcCos(const ComplexValue& z) {
    return CSub(CHalfPi, CArcSin(z));
}

ComplexValue CArcTan(const ComplexValue& z, int& error) {
    error = 0;
    const ComplexValue r = ToForm(z, FormRect);
    if (r.X == 0 && std::fabs(r.Y) == 1) {
        error = ErrSingularity;
        return Rect(0, SignOf(r.Y) * ComplexHuge);
    }
    const Extended x2 = r.X * r.X;
    const Extended re = (Atan2(r.X, 1 - r.Y) - Atan2(-r.X, 1 + r.Y)) / 2;
    int unused = 0;
    const Extended ratio = (x2 + (r.Y + 1) * (r.Y + 1)) / (x2 + (r.Y - 1) * (r.Y - 1));
    return Rect(re, RealLn(ratio, unused) / 4);
}

ComplexValue CArcSinh(const ComplexValue& z) {
    return CNeg(CMul(CI, CArcSin(CMul(CI, z))));
}

ComplexValue CArcCosh(const ComplexValue& z) {
    return CNeg(CMul(CI, CArcCos(z)));
}

ComplexValue CArcTanh(const ComplexValue& z, int& error) {
    error = 0;
    const ComplexValue r = ToForm(z, FormRect);
    if (std::fabs(r.X) == 1 && r.Y == 0) {
        error = ErrSingularity;
        return Rect(SignOf(r.X) * ComplexHuge, 0);
    }
    return CNeg(CMul(CI, CArcTan(CMul(CI, r), error)));
}

ComplexValue CLnGamma(const ComplexValue& z, int& error) {
    error = 0;
    const ComplexValue r = ToForm(z, FormRect);
    if (r.X <= 0 && r.Y == 0 && r.X == std::trunc(r.X - 1e-8L)) {
        error = ErrSingularity;
        return CErrorValue;
    }
    if (r.Y < 0)
        return CConj(CLnGamma(CConj(r), error));
    if (StirlingStart - r.X > MaxLnGammaSteps) {
        error = ErrOutOfRange;
        return CErrorValue;
    }
    // ln Gamma(z) = ln Gamma(z + n) - (ln z + ln(z + 1) + ... + ln(z + n - 1)).
    ComplexValue shifted = r;
    ComplexValue logSum = CZero;
    int unused = 0;
    while (shifted.X < StirlingStart) {
        logSum = CAdd(logSum, CLn(shifted, unused));
        shifted = CAdd(shifted, COne);
    }
    return CSub(StirlingLnGamma(shifted), logSum);
}

ComplexValue CallComplexFunction(EvalContext& ctx, const ComplexValue& z, int code, std::uint8_t form,
                                 int& error) {
    error = 0;
    switch (code) {
    case FnSin:
        return CSin(z, error);
    case FnArcSin:
        return CArcSin(z);
    case FnArcCos:
        return CArcCos(z);
    case FnArcTan:
        return CArcTan(z, error);
    case FnArcSinh:
        return CArcSinh(z);
    case FnArcCosh:
        return CArcCosh(z);
    case FnArcTanh:
        return CArcTanh(z, error);
    case FnSinh:
        return CNeg(CMul(CI, CSin(CMul(CI, z), error)));
    case FnCosh:
        return CCos(CMul(CI, z), error);
    case FnTanh:
        return CNeg(CMul(CI, CTan(CMul(CI, z), error)));
    case FnRandom: {
        const Extended re = UniformRandom(ctx);
        return Rect(re, UniformRandom(ctx));
    }
    case FnCos:
        return CCos(z, error);
    case FnTan:
        return CTan(z, error);
    case FnExp:
        return CExp(z, error);
    case FnSqrt:
        return CSqrt(z, error);
    case FnLn:
        return CLn(z, error);
    case FnGamma:
        return CLnGamma(z, error);
    case FnPiChar:
    case FnPi:
        return Rect(Pi, 0);
    case FnE:
        return Rect(EulerE, 0);
    case FnAbs:
        return {form, CModulus(z), 0};
    case FnSqr:
        return CIntPower(z, 2, error);
    default:
        error = 1; // "Undefined": no complex function has this code
        return CZero;
    }
}

} // namespace mirla
