#pragma once

#include "engine/Extended.h"

#include <cstdint>

namespace mirla {

/// Forms of a complex value.
enum ComplexForm : std::uint8_t { FormPolar = 0, FormRect = 1 };

/// A complex value in the form it carries: real and imaginary part (rectangular) or modulus
/// and argument in radians (polar).
struct ComplexValue {
    std::uint8_t Form = FormRect;
    Extended X = 0;
    Extended Y = 0;
};

/// z converted to form f (itself when already in that form).
ComplexValue ToForm(const ComplexValue& z, std::uint8_t f);

} // namespace mirla
