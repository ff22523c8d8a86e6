#include "engine/RealFunctions.h"

#include "engine/Engine.h"
#include "engine/Exponential.h"
#include "engine/Grammar.h"
#include "engine/NameTable.h"
#include "engine/SpecialFunctions.h"
#include "engine/Trigonometry.h"

#include <array>
#include <chrono>
#include <cmath>

namespace mirla {

namespace {

constexpr Extended Half = 0.5L;

constexpr std::array<Extended, FnLastConversion - FnFirstConversion + 1> ConversionFactors = {
    0.30480000000122L,    3.28083989499999155L,    1.60934700008551L,     0.621370033900002049L,
    453.592370001217751L, 0.00220462262184285714L, 0.473162499999975038L, 2.113438829155L,
    3.78529999999980031L, 0.264179853644375L,      0.914400000282368L,    1.09361329799999852L,
    0.0254000000001014L,  39.3700787400003098L,    28.3495231250761094L,  0.0352739619494857143L,
    123.02224999999351L,  0.00812861088136538462L, 0.00378541086000157L,  264.172116841125456L,
    0.00454609818520189L, 219.96885224677355L,
};

Extended AngleArgument(const EvalContext& ctx, Extended a) {
    return ctx.AngleMode == 1 ? (Pi * OneOver180) * a : a;
}

Extended AngleResult(const EvalContext& ctx, Extended radians) {
    return ctx.AngleMode == 1 ? (radians * 180) / Pi : radians;
}

/// A right angle in the current angle unit: exactly 90 in degrees.
Extended RightAngle(const EvalContext& ctx) {
    return ctx.AngleMode == 1 ? 90 : Pi * Half;
}

Extended ArcSine(EvalContext& ctx, Extended a) {
    if (std::fabs(a) > 1) {
        RaiseDomainError(ctx, ErrArgument);
        return 0;
    }
    const Extended angle = std::fabs(a) == 1 ? RightAngle(ctx) : AngleResult(ctx, std::asin(std::fabs(a)));
    return a < 0 ? -angle : angle;
}

Extended ArcCosine(EvalContext& ctx, Extended a) {
    if (std::fabs(a) > 1) {
        RaiseDomainError(ctx, ErrArgument);
        return 0;
    }
    const Extended angle = a == 0 ? RightAngle(ctx) : AngleResult(ctx, std::acos(std::fabs(a)));
    if (a >= 0)
        return angle;
    return (ctx.AngleMode == 1 ? 180 : Pi) - angle;
}

Extended Tangent(EvalContext& ctx, Extended a) {
    const Extended t = AngleArgument(ctx, a);
    const Extended cosine = Cosine(t);
    if (cosine == 0) {
        RaiseEvalError(ctx, ErrSingularity);
        return 0;
    }
    return Sine(t) / cosine;
}

/// A value that must stay within the 32-bit integers for round and trunc.
Extended RoundHalfEven(EvalContext& ctx, Extended a) {
    if (a == Half)
        return 1;
    const Extended rounded = std::nearbyint(a); // the default rounding mode ties to even
    return TruncateToInt32(ctx, rounded);
}

Extended Gauss(EvalContext& ctx, Extended mean, Extended deviation) {
    if (!IsSet(deviation)) {
        RaiseDomainError(ctx, ErrCommaExpected);
        return 0;
    }
    Extended u = 0;
    Extended s = 0;
    do {
        u = 2 * UniformRandom(ctx) - 1;
        const Extended v = 2 * UniformRandom(ctx) - 1;
        s = u * u + v * v;
    } while (s >= 1 || s == 0);
    return mean + deviation * u * std::sqrt(-2 * std::log(s) / s);
}

/// Logarithms need a positive argument; otherwise "Argument Negative".
bool CheckPositive(EvalContext& ctx, Extended a) {
    if (a > 0)
        return true;
    RaiseDomainError(ctx, ErrArgumentNegative);
    return false;
}

Extended Elementary(EvalContext& ctx, int code, Extended a, Extended b) {
    switch (code) {
    case FnSin:
        return Sine(AngleArgument(ctx, a));
    case FnCos:
        return Cosine(AngleArgument(ctx, a));
    case FnTan:
        return Tangent(ctx, a);
    case FnArcSin:
        return ArcSine(ctx, a);
    case FnArcCos:
        return ArcCosine(ctx, a);
    case FnArcTan:
        return AngleResult(ctx, std::atan(a));
    case FnArcSinh:
        return std::asinh(a);
    case FnArcCosh:
        if (a < 1) {
            RaiseDomainError(ctx, ErrArgument);
            return 0;
        }
        return std::acosh(a);
    case FnArcTanh:
        if (a * a >= 1) {
            RaiseDomainError(ctx, ErrArgument);
            return 0;
        }
        return std::atanh(a);
    case FnSinh:
        return std::sinh(a);
    case FnCosh:
        return std::cosh(a);
    case FnTanh:
        return std::tanh(a);
    case FnExp:
        return Exponential(a);
    case FnSqrt:
        if (a < 0) {
            RaiseDomainError(ctx, ErrArgumentNegative);
            return 0;
        }
        return std::sqrt(a);
    case FnLn:
        return CheckPositive(ctx, a) ? std::log(a) : 0;
    case FnLog:
        return CheckPositive(ctx, a) ? std::log10(a) : 0;
    case FnAbs:
        return std::fabs(a);
    case FnRound:
        return RoundHalfEven(ctx, a);
    case FnFrac:
        return a - std::trunc(a);
    case FnTrunc:
        return TruncateToInt32(ctx, a);
    case FnSqr:
        return a * a;
    case FnRandom:
        return UniformRandom(ctx);
    case FnGauss:
        return Gauss(ctx, a, b);
    case FnPiChar:
    case FnPi:
        return Pi;
    case FnE:
        return EulerE;
    default:
        return a;
    }
}

Extended Special(EvalContext& ctx, int code, Extended a, Extended b) {
    switch (code) {
    case FnJn:
        return BesselJ(ctx, a, b);
    case FnYn:
        return BesselY(ctx, a, b);
    case FnIn:
        return BesselI(ctx, a, b);
    case FnKn:
        return BesselK(ctx, a, b);
    case FnCi:
        return IntegralCosine(ctx, a);
    case FnSi:
        return IntegralSine(ctx, a);
    case FnErf:
        return ErrorFunction(ctx, a);
    case FnGamma:
        return Gamma(ctx, a);
    case FnFactorial:
        if (a != std::trunc(a) || a < 0) {
            RaiseDomainError(ctx, ErrArgument);
            return 0;
        }
        return Gamma(ctx, a + 1);
    case FnEFD:
        return FermiDirac(ctx, a, b);
    default:
        return a;
    }
}

bool IsSpecial(int code) {
    switch (code) {
    case FnJn:
    case FnYn:
    case FnIn:
    case FnKn:
    case FnCi:
    case FnSi:
    case FnErf:
    case FnGamma:
    case FnFactorial:
    case FnEFD:
        return true;
    default:
        return false;
    }
}

} // namespace

Extended UniformRandom(EvalContext& ctx) {
    if (!ctx.RandomSeeded) {
        ctx.Random.seed(
            static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
        ctx.RandomSeeded = true;
    }
    // 64 random bits fill the extended significand exactly.
    return static_cast<Extended>(ctx.Random()) * 0x1p-64L;
}

Extended ConversionFactor(int code) {
    return ConversionFactors[static_cast<std::size_t>(code - FnFirstConversion)];
}

Extended EvaluateFunction(EvalContext& ctx, int code, Extended& a, Extended b) {
    if (code > FnLastConversion)
        return a;
    if (code >= FnFirstConversion)
        a *= ConversionFactor(code);
    else if (IsSpecial(code))
        a = Special(ctx, code, a, b);
    else
        a = Elementary(ctx, code, a, b);
    if (ctx.ErrorFlag)
        a = 0;
    return a;
}

} // namespace mirla
