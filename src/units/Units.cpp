#include "units/Units.h"

#include <charconv>
#include <string>

namespace mirla {

namespace {

// The factors are worked out in 113-bit binary floating point from exact decimal definitions
// and only then rounded to extended, so that each ratio is the extended nearest to its exact
// value (one inch is 1/12 foot and 0.0254 meter, both to the last bit).
__extension__ using Quad = __float128;

/// One unit: its name and its size in the category's base unit, written as a product or
/// quotient of exact decimals and named shared definitions ("lb*gn/ft"); empty for temperature.
struct TUnitDef {
    std::string_view Name;
    std::string_view Size;
};

struct TCategoryDef {
    std::string_view Caption;
    int Count;
    std::array<TUnitDef, MaxUnitsPerCategory> Units;
};

constexpr Extended LargestInput = 1e4000L;

/// Exact definitions that unit sizes refer to by name.
struct TNamedSize {
    std::string_view Name;
    std::string_view Size;
};
constexpr std::array<TNamedSize, 7> NamedSizes = {{{"ft", "0.3048"},
                                                   {"in3", "0.016387064"},
                                                   {"mi", "1609.344"},
                                                   {"lb", "0.45359237"},
                                                   {"gn", "9.80665"},
                                                   {"gal", "3.785411784"},
                                                   {"galGB", "277.42*in3"}}};

constexpr std::array<TCategoryDef, UnitCategoryCount> Categories = {{
    {"&Length",
     20,
     {{{"A°", "1e-10"},
       {"Astron.unit", "149597870700"},
       {"Chain", "66*ft"},
       {"CM", "0.01"},
       {"Fathom", "6*ft"},
       {"Fermi", "1e-15"},
       {"Foot", "ft"},
       {"Furlong", "660*ft"},
       {"Inch", "0.0254"},
       {"KM", "1000"},
       {"League", "3*mi"},
       {"Light year", "299792458*31556925.9747"},
       {"Meter", "1"},
       {"Mil", "2.54e-5"},
       {"Mile", "mi"},
       {"MM", "0.001"},
       {"µM", "1e-6"},
       {"Nautical Mile", "6080.2*ft"},
       {"Parsec", "3.085729264e16"},
       {"Yard", "0.9144"}}}},
    {"&Temperature",
     5,
     {{{"Celsium", ""}, {"Farhenheit", ""}, {"Kelvin", ""}, {"Rankine", ""}, {"Réaumur", ""}}}},
    {"&Volume",
     20,
     {{{"Barrel", "31.5*gal"},
       {"Barrel (oil)", "42*gal"},
       {"CM³", "0.001"},
       {"Deciliter", "0.1"},
       {"Dekaliter", "10"},
       {"Foot³", "28.316846592"},
       {"Gallon", "gal"},
       {"Galon (GB)", "galGB"},
       {"Hectoliter", "100"},
       {"Inch³", "0.016387064"},
       {"Liter", "1"},
       {"Meter³", "1000"},
       {"Milliliter", "0.001"},
       {"Ounce (oz.)", "gal/128"},
       {"Ounce (GB)", "galGB/160"},
       {"Pint", "gal/8"},
       {"Pint (GB)", "galGB/8"},
       {"Quart", "gal/4"},
       {"Quart (GB)", "galGB/4"},
       {"Yard³", "764.554857984"}}}},
    {"&Area", 20, {{{"Arce", "43560*ft*ft"},  {"Are", "100"},           {"CM²", "1e-4"},
                    {"Chain²", "4356*ft*ft"}, {"Decimeter²", "0.01"},   {"Dekameter²", "100"},
                    {"Foot²", "ft*ft"},       {"Hectare", "10000"},     {"Hectometre²", "10000"},
                    {"Inch²", "6.4516e-4"},   {"Kilometer²", "1e6"},    {"Meter²", "1"},
                    {"Micrometer²", "1e-12"}, {"Mile", "mi*mi"},        {"Millimeter²", "1e-6"},
                    {"Nonometer²", "1e-18"},  {"Rod²", "272.25*ft*ft"}, {"Rood", "10890*ft*ft"},
                    {"Township", "36*mi*mi"}, {"Yard²", "0.83612736"}}}},
    {"T&ime",
     18,
     {{{"Attosecond", "1e-18"},
       {"Century", "3153600000"},
       {"Day", "86400"},
       {"Decade", "315360000"},
       {"Femtosecond", "1e-15"},
       {"Fornight", "1209600"},
       {"Hour", "3600"},
       {"Leap year", "31622400"},
       {"Microsecond", "1e-6"},
       {"Miiiennium", "3.1536e10"},
       {"Millisecond", "0.001"},
       {"Minute", "60"},
       {"Month", "2592000"},
       {"Nanosecond", "1e-9"},
       {"Picosecond", "1e-12"},
       {"Second", "1"},
       {"Week", "604800"},
       {"Year", "31536000"}}}},
    {"&Mass",
     20,
     {{{"Carat", "2e-4"},
       {"Dalton", "1.66053906660e-27"},
       {"Dyne", "1e-5/gn"},
       {"Grain", "6.479891e-5"},
       {"Gram", "0.001"},
       {"Kilogram", "1"},
       {"Kip", "1000*lb"},
       {"Microgram", "1e-9"},
       {"Ounce", "lb/16"},
       {"Pennyweight", "24*6.479891e-5"},
       {"Pound", "lb"},
       {"Poundal", "lb/32.2"},
       {"Quarter", "25*lb"},
       {"Quarter (GB)", "28*lb"},
       {"Slug", "lb*gn/ft"},
       {"Ton", "2000*lb"},
       {"Ton (long)", "2240*lb"},
       {"Ton (metric)", "1000"},
       {"Troy ounce", "480*6.479891e-5"},
       {"Troy Pound", "5760*6.479891e-5"}}}},
    {"&Force",
     12,
     {{{"Dyne", "1e-5"},
       {"Gram force", "0.001*gn"},
       {"Joule/CM", "100"},
       {"Joule/Meter", "1"},
       {"Kilogram force", "gn"},
       {"Kilonewton", "1000"},
       {"Kip force", "1000*lb*gn"},
       {"Millinewton", "0.001"},
       {"Newton", "1"},
       {"Ounce force", "lb*gn/16"},
       {"Pound force", "lb*gn"},
       {"Poundal", "lb*ft"}}}},
    {"A&cceleration",
     9,
     {{{"cm/sec²", "0.01"},
       {"Foot/sec²", "ft"},
       {"g", "gn"},
       {"gal", "0.01"},
       {"Inch/sec²", "0.0254"},
       {"m/sec²", "1"},
       {"Mile/sec²", "mi"},
       {"Yard/sec²", "0.9144"},
       {"km/sec²", "1000"}}}},
    {"&Energy",
     14,
     {{{"Calorie", "4.1868"},
       {"Calorie(chem.)", "4.184"},
       {"Dyne*cm (erg)", "1e-7"},
       {"Electron volt", "1.602176634e-19"},
       {"Foot*pound", "lb*gn*ft"},
       {"Gram force*cm", "0.00001*gn"},
       {"Horsepower*hour", "550*ft*lb*gn*3600"},
       {"Inch*ouns", "lb*gn*0.0254/16"},
       {"Inch*pound", "lb*gn*0.0254"},
       {"Joul(newton*m)", "1"},
       {"Kilowatt*hour", "3600000"},
       {"Poundal*foot", "lb*ft*ft"},
       {"Term", "100000*1055.05585262"},
       {"Ton", "4184000000"}}}},
}};

/// Absolute zero in each temperature unit, the lowest temperature accepted.
constexpr std::array<Extended, 5> AbsoluteZero = {-273.15L, -459.67L, 0.0L, 0.0L, -218.52L};

enum TemperatureUnit { Celsium = 0, Farhenheit = 1, Kelvin = 2, Rankine = 3, Reaumur = 4 };

const TCategoryDef& Category(int category) {
    return Categories[static_cast<std::size_t>(category - 1)];
}

/// 10^n for 0 <= n <= 48, exact in Quad.
Quad PowerOfTen(int n) {
    Quad p = 1;
    for (int k = 0; k < n; ++k)
        p *= 10;
    return p;
}

/// An exact decimal "digits[.digits][e[-]digits]" as a Quad, rounded once.
Quad ReadDecimal(std::string_view text) {
    unsigned long long digits = 0;
    int exponent = 0;
    bool fraction = false;
    std::size_t k = 0;
    for (; k < text.size() && text[k] != 'e'; ++k) {
        if (text[k] == '.') {
            fraction = true;
            continue;
        }
        digits = digits * 10 + static_cast<unsigned long long>(text[k] - '0');
        if (fraction)
            --exponent;
    }
    if (k < text.size())
        exponent += std::stoi(std::string(text.substr(k + 1)));
    const Quad mantissa = static_cast<Quad>(digits);
    return exponent >= 0 ? mantissa * PowerOfTen(exponent) : mantissa / PowerOfTen(-exponent);
}

Quad SizeOf(std::string_view definition);

/// One operand of a size definition: an exact decimal or the name of a shared definition.
Quad OperandValue(std::string_view operand) {
    for (const TNamedSize& named : NamedSizes)
        if (named.Name == operand)
            return SizeOf(named.Size);
    return ReadDecimal(operand);
}

/// The value of a size definition: operands joined by "*" and "/", worked left to right.
Quad SizeOf(std::string_view definition) {
    Quad value = 1;
    char op = '*';
    while (!definition.empty()) {
        const std::size_t end = definition.find_first_of("*/");
        const Quad operand = OperandValue(definition.substr(0, end));
        value = op == '*' ? value * operand : value / operand;
        if (end == std::string_view::npos)
            break;
        op = definition[end];
        definition.remove_prefix(end + 1);
    }
    return value;
}

using TFactorTable =
    std::array<std::array<std::array<Extended, MaxUnitsPerCategory>, MaxUnitsPerCategory>, UnitCategoryCount>;

/// factor[c][a][i]: the value in unit i of one unit a (0-based), each ratio rounded once.
TFactorTable BuildFactors() {
    TFactorTable factors{};
    for (std::size_t c = 0; c < Categories.size(); ++c) {
        const TCategoryDef& category = Categories[c];
        if (static_cast<int>(c) + 1 == CategoryTemperature)
            continue;
        for (int a = 0; a < category.Count; ++a) {
            const Quad sizeA = SizeOf(category.Units[static_cast<std::size_t>(a)].Size);
            for (int i = 0; i < category.Count; ++i) {
                const Quad sizeI = SizeOf(category.Units[static_cast<std::size_t>(i)].Size);
                factors[c][static_cast<std::size_t>(a)][static_cast<std::size_t>(i)] =
                    static_cast<Extended>(sizeA / sizeI);
            }
        }
    }
    return factors;
}

const TFactorTable& Factors() {
    static const TFactorTable factors = BuildFactors();
    return factors;
}

/// Degrees Fahrenheit of a Celsius temperature (shifted by 40 so that -40 maps to itself).
Extended FahrenheitOf(Extended celsius) {
    return (celsius + 40) * 1.8L - 40;
}

/// A temperature in every temperature unit, worked out from unit `from`.
std::vector<Extended> ConvertTemperature(int from, Extended x) {
    constexpr Extended FiveNinths = 5.0L / 9.0L;
    std::vector<Extended> t(5);
    switch (from - 1) {
    case Celsium:
        t[Celsium] = x;
        t[Kelvin] = x + 273.15L;
        t[Rankine] = (x + 273.15L) * 1.8L;
        break;
    case Farhenheit:
        t[Celsium] = (x + 40) * FiveNinths - 40;
        t[Kelvin] = t[Celsium] + 273.15L;
        t[Rankine] = t[Kelvin] * 1.8L;
        break;
    case Kelvin:
        t[Celsium] = x - 273.15L;
        t[Kelvin] = x;
        t[Rankine] = 1.8L * x;
        break;
    case Rankine:
        t[Celsium] = x * FiveNinths - 273.15L;
        t[Kelvin] = x * FiveNinths;
        t[Rankine] = x;
        break;
    default:
        t[Celsium] = 1.25L * x;
        t[Kelvin] = t[Celsium] + 273.15L;
        t[Rankine] = t[Kelvin] * 1.8L;
        break;
    }
    t[Farhenheit] = from - 1 == Farhenheit ? x : FahrenheitOf(t[Celsium]);
    t[Reaumur] = from - 1 == Reaumur ? x : 0.8L * t[Celsium];
    return t;
}

bool IsUnit(int category, int unit) {
    return category >= 1 && category <= UnitCategoryCount && unit >= 1 && unit <= UnitCount(category);
}

} // namespace

std::string_view CategoryCaption(int category) {
    return Category(category).Caption;
}

int UnitCount(int category) {
    return Category(category).Count;
}

std::string_view UnitName(int category, int unit) {
    return Category(category).Units[static_cast<std::size_t>(unit - 1)].Name;
}

TUnitRange UnitRange(int category, int unit) {
    if (category == CategoryTemperature)
        return {AbsoluteZero[static_cast<std::size_t>(unit - 1)], LargestInput};
    if (category == CategoryLength)
        return {-LargestInput, LargestInput};
    return {0.0L, LargestInput};
}

Extended UnitFactor(int category, int from, int to) {
    return Factors()[static_cast<std::size_t>(category - 1)][static_cast<std::size_t>(from - 1)]
                    [static_cast<std::size_t>(to - 1)];
}

std::optional<Extended> ReadUnitNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // Only decimal notation: from_chars would also take "inf", "nan" and hexadecimal forms.
    if (text.find_first_not_of("0123456789+-.eE") != std::string_view::npos)
        return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return std::nullopt;
    Extended value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::vector<Extended>> Convert(int category, int from, Extended value) {
    if (!IsUnit(category, from))
        return std::nullopt;
    const TUnitRange range = UnitRange(category, from);
    if (!(value >= range.Low && value <= range.High))
        return std::nullopt;
    if (category == CategoryTemperature)
        return ConvertTemperature(from, value);
    std::vector<Extended> values(static_cast<std::size_t>(UnitCount(category)));
    for (int i = 1; i <= UnitCount(category); ++i)
        values[static_cast<std::size_t>(i - 1)] = i == from ? value : value * UnitFactor(category, from, i);
    return values;
}

} // namespace mirla
