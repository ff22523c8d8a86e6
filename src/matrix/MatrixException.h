#pragma once

#include <cmath>
#include <stdexcept>
#include <string>

namespace mirla {

/// The one exception the matrix library raises; what() is the message shown to the user.
class EMatrixException : public std::runtime_error {
public:
    /// Creates the exception with its fixed user-visible message.
    explicit EMatrixException(const std::string& message) : std::runtime_error(message) {}
};

/// Message raised when a result element or determinant leaves the range of long double.
inline constexpr const char* OverflowMessage = "Overflow in matrix calculation";

/// Returns value unchanged; raises EMatrixException OverflowMessage when it is infinite or NaN.
inline long double CheckedResult(long double value) {
    if (!std::isfinite(value))
        throw EMatrixException(OverflowMessage);
    return value;
}

} // namespace mirla
