#pragma once

#include "engine/EvalContext.h"

namespace mirla {

/// An integrand of `Integrate`: f(t, x, n), evaluated in the integration's context, where it
/// reports its errors.
using Integrand = Extended (*)(EvalContext& ctx, Extended t, Extended x, Extended n);

/// Integrates f(t, x, n) over t from lower to upper with the adaptive 10-point Gauss-Legendre
/// rule, doubling the subintervals until ctx.IntegralAgreement leading characters of two
/// successive results agree. Checks for a user break after every subinterval.
Extended Integrate(EvalContext& ctx, Integrand f, Extended x, Extended n, Extended upper, Extended lower);

/// n! for whole n >= 0; errors 8 (fractional or negative) and 11 (n > 1754).
Extended Factorial(EvalContext& ctx, Extended n);
/// The gamma function; error 13 at 0 and the negative integers.
Extended Gamma(EvalContext& ctx, Extended x);

/// Bessel functions of real order n >= 0 and argument x >= 0 (x > 0 for K); error 24 outside,
/// error 20 when x was left out.
Extended BesselJ(EvalContext& ctx, Extended n, Extended x);
Extended BesselY(EvalContext& ctx, Extended n, Extended x);
Extended BesselI(EvalContext& ctx, Extended n, Extended x);
Extended BesselK(EvalContext& ctx, Extended n, Extended x);

/// Integral sine Si(x), x >= 0 (error 8 below).
Extended IntegralSine(EvalContext& ctx, Extended x);
/// Integral cosine Ci(x), x > 0 (error 24 at 0, error 8 below).
Extended IntegralCosine(EvalContext& ctx, Extended x);
/// The error function.
Extended ErrorFunction(EvalContext& ctx, Extended x);
/// Fermi-Dirac integral of order j at eta (error 20 when eta was left out).
Extended FermiDirac(EvalContext& ctx, Extended j, Extended eta);

} // namespace mirla
