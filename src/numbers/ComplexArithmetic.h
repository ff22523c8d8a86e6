#pragma once

#include "engine/EvalContext.h"
#include "numbers/ComplexValue.h"

#include <cstdint>

namespace mirla {

// Operations that can fail take `int& error`: it receives 0 on success or the engine error
// code of the failure (1 "Undefined", 8 "Argument Error", 11 "Overflow", 12 "Function
// singularity", 24 "Argument out of range"); the value returned with an error is the one stated for it.

/// The largest finite extended value but a few units (sign/exponent 7FFE, significand
/// FFFFFFFFFFFFD37A): the magnitude the complex operations give where a result is infinite.
constexpr Extended ComplexHuge = 0xFFFFFFFFFFFFD37Ap16320L;
/// Half of pi (sign/exponent 3FFF, significand C90FDAA22168C234).
constexpr Extended HalfPiValue = 0xC90FDAA22168C234p-63L;

/// Rectangular 0.
constexpr ComplexValue CZero{FormRect, 0.0L, 0.0L};
/// Rectangular 1.
constexpr ComplexValue COne{FormRect, 1.0L, 0.0L};
/// The imaginary unit.
constexpr ComplexValue CI{FormRect, 0.0L, 1.0L};
/// Rectangular pi/2.
constexpr ComplexValue CHalfPi{FormRect, HalfPiValue, 0.0L};
/// The value returned together with an error where no meaningful value exists.
constexpr ComplexValue CErrorValue{FormRect, ComplexHuge, ComplexHuge};

// Real auxiliary routines.

/// a reduced into (-pi, pi] by whole turns; a non-finite angle stays non-finite.
Extended NormalizeAngle(Extended a);
/// sqrt(a^2 + b^2) without intermediate overflow.
Extended Hypot(Extended a, Extended b);
/// The angle of the point (abscissa b, ordinate a) in (-pi, pi]; 0 for the origin.
Extended Atan2(Extended a, Extended b);
/// arcsin v; |v| > 1 gives 0 with error 8.
Extended RealArcSin(Extended v, int& error);
/// ln v; v = 0 gives +ComplexHuge with error 12, v < 0 gives 0 with error 8.
Extended RealLn(Extended v, int& error);
/// e^v; below the underflow bound 0 with error 28, above the overflow bound +ComplexHuge with
/// error 11.
Extended RealExp(Extended v, int& error);
/// sinh v and cosh v; beyond the exponent bounds +-ComplexHuge and ComplexHuge with error 11.
void SinhCosh(Extended v, Extended& sinhV, Extended& coshV, int& error);
/// r^n by repeated squaring; 0^n for n < 0 gives +ComplexHuge with error 12.
Extended IntPower(Extended r, int n, int& error);

// Arithmetic.

/// The real part of z in either form.
Extended CRe(const ComplexValue& z);
/// The imaginary part of z in either form.
Extended CIm(const ComplexValue& z);
/// |z|; a polar value typed with a negative modulus counts by its magnitude.
Extended CModulus(const ComplexValue& z);
/// True when both values have equal real and equal imaginary parts.
bool CEqual(const ComplexValue& z1, const ComplexValue& z2);
/// +1 or -1 by the sign of the real part, or of the imaginary part when the real part is 0;
/// 0 for zero.
int CSign(const ComplexValue& z);
/// -z in the form of z.
ComplexValue CNeg(const ComplexValue& z);
/// The complex conjugate in the form of z.
ComplexValue CConj(const ComplexValue& z);
/// z1 + z2, rectangular.
ComplexValue CAdd(const ComplexValue& z1, const ComplexValue& z2);
/// z1 - z2, rectangular.
ComplexValue CSub(const ComplexValue& z1, const ComplexValue& z2);
/// z1 * z2 in the form of z1.
ComplexValue CMul(const ComplexValue& z1, const ComplexValue& z2);
/// z1 / z2 in the form of z1; a zero divisor gives `CErrorValue` with error 11.
ComplexValue CDiv(const ComplexValue& z1, const ComplexValue& z2, int& error);

// Functions.

/// Principal logarithm, rectangular; zero gives (-ComplexHuge, 0) with error 12, a polar value
/// with negative modulus gives the same with error 8.
ComplexValue CLn(const ComplexValue& z, int& error);
/// e^z, rectangular; a real part above the overflow bound is error 11, one below the
/// underflow bound gives 0.
ComplexValue CExp(const ComplexValue& z, int& error);
/// z1^z2 = exp(z2 ln z1); 0^0 is 1, 0^w is 0 for Re w > 0 and error 12 otherwise.
ComplexValue CPower(const ComplexValue& z1, const ComplexValue& z2, int& error);
/// z^n computed in polar form; 0^n for n < 0 gives `CErrorValue` with error 12.
ComplexValue CIntPower(const ComplexValue& z, int n, int& error);
/// Principal square root, polar; a polar value with negative modulus is error 8.
ComplexValue CSqrt(const ComplexValue& z, int& error);
/// Sine, rectangular; an imaginary part beyond the overflow bound is error 11.
ComplexValue CSin(const ComplexValue& z, int& error);
/// Cosine, rectangular; an imaginary part beyond the overflow bound is error 11.
ComplexValue CCos(const ComplexValue& z, int& error);
/// Tangent, rectangular; a pole gives (ComplexHuge, 0) with error 12.
ComplexValue CTan(const ComplexValue& z, int& error);
/// Inverse sine, rectangular; the cuts (-inf, -1) and (1, inf) belong to the upper and lower
/// half-plane respectively.
ComplexValue CArcSin(const ComplexValue& z);
/// Inverse cosine, pi/2 - arcsin z.
ComplexValue CArcCos(const ComplexValue& z);
/// Inverse tangent, rectangular; +-i give (0, +-ComplexHuge) with error 12.
ComplexValue CArcTan(const ComplexValue& z, int& error);
/// Inverse hyperbolic sine, -i arcsin(iz).
ComplexValue CArcSinh(const ComplexValue& z);
/// Inverse hyperbolic cosine, -i arccos(z).
ComplexValue CArcCosh(const ComplexValue& z);
/// Inverse hyperbolic tangent, -i arctan(iz); +-1 give (+-ComplexHuge, 0) with error 12.
ComplexValue CArcTanh(const ComplexValue& z, int& error);
/// ln Gamma(z) on the branch continuous off the negative real axis; 0 and the negative
/// integers give `CErrorValue` with error 12, a real part too far below 0 to reach the
/// asymptotic series gives `CErrorValue` with error 24.
ComplexValue CLnGamma(const ComplexValue& z, int& error);

/// Applies the complex function with name code `code` to z ("random", pi and e ignore z; "abs("
/// gives its value in `form`). Random numbers come from ctx's generator. A code without a
/// complex function gives `CZero` with error 1 "Undefined".
ComplexValue CallComplexFunction(EvalContext& ctx, const ComplexValue& z, int code, std::uint8_t form,
                                 int& error);

} // namespace mirla
