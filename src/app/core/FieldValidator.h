#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirla {

/// What kind of number a validated field holds.
enum class TFieldKind { Integer, Real };

/// Watches the text of one numeric input field: decides which texts may stand while the user
/// types, reads the number, and checks it against an inclusive range with a message that names
/// the field.
class TFieldValidator {
public:
    /// A validator for numbers of `kind` in [low, high], named `name` in its messages.
    TFieldValidator(std::string name, TFieldKind kind, double low, double high);

    /// The name used in the range message.
    const std::string& Name() const { return m_name; }
    /// Integer or real.
    TFieldKind Kind() const { return m_kind; }
    /// Lower limit of the range (inclusive).
    double Low() const { return m_low; }
    /// Upper limit of the range (inclusive).
    double High() const { return m_high; }
    /// Changes the lower limit (the Y steps minimum follows the plot type).
    void SetLow(double low) { m_low = low; }

    /// The 0-based index of the first character of `text` that cannot belong to a number of
    /// this kind being typed, or nullopt when every character may stand ("-", "1e" and "" may).
    std::optional<std::size_t> FirstRefused(std::string_view text) const;
    /// The number that `text` holds as a whole, or nullopt when it is not a complete number.
    std::optional<double> Value(std::string_view text) const;
    /// Empty when `text` holds a number within the range, otherwise the range message.
    std::string Check(std::string_view text) const;
    /// name + " must be in the range [" + low + ".." or " ... " + high + "]".
    std::string RangeMessage() const;

private:
    std::string LimitText(double limit) const;

    std::string m_name;
    TFieldKind m_kind;
    double m_low;
    double m_high;
};

} // namespace mirla
