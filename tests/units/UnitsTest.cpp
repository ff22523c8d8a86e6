#include "units/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace mirla {
namespace {

constexpr Extended Epsilon = std::numeric_limits<Extended>::epsilon();

/// The unit number of a name within a category; fails the test when it is missing.
int UnitNumber(int category, std::string_view name) {
    for (int t = 1; t <= UnitCount(category); ++t)
        if (UnitName(category, t) == name)
            return t;
    ADD_FAILURE() << "no unit " << name << " in category " << category;
    return 1;
}

Extended Factor(int category, std::string_view from, std::string_view to) {
    return UnitFactor(category, UnitNumber(category, from), UnitNumber(category, to));
}

/// Converts `value` and returns the result in unit `to`; NaN when the input is refused.
Extended ConvertTo(int category, std::string_view from, Extended value, std::string_view to) {
    const auto values = Convert(category, UnitNumber(category, from), value);
    if (!values)
        return std::numeric_limits<Extended>::quiet_NaN();
    return (*values)[static_cast<std::size_t>(UnitNumber(category, to) - 1)];
}

TEST(UnitCategories, CaptionsAndMenuOrder) {
    const std::vector<std::string> menu = {"A&cceleration", "&Area", "&Force",  "&Length", "&Mass",
                                           "&Temperature",  "T&ime", "&Volume", "&Energy"};
    for (std::size_t k = 0; k < menu.size(); ++k)
        EXPECT_EQ(CategoryCaption(CategoryMenuOrder[k]), menu[k]) << "menu item " << k;
    EXPECT_EQ(CategoryCaption(CategoryLength), "&Length");
    EXPECT_EQ(CategoryCaption(CategoryEnergy), "&Energy");
}

struct CategoryNames {
    int Category;
    std::vector<std::string> Names;
};

TEST(UnitCategories, EveryCategoryHasItsUnitsInOrder) {
    const std::vector<CategoryNames> cases = {
        {CategoryLength, {"A°",     "Astron.unit", "Chain",         "CM",     "Fathom",
                          "Fermi",  "Foot",        "Furlong",       "Inch",   "KM",
                          "League", "Light year",  "Meter",         "Mil",    "Mile",
                          "MM",     "µM",          "Nautical Mile", "Parsec", "Yard"}},
        {CategoryTemperature, {"Celsium", "Farhenheit", "Kelvin", "Rankine", "Réaumur"}},
        {CategoryVolume,
         {"Barrel",     "Barrel (oil)", "CM³",       "Deciliter", "Dekaliter",  "Foot³",      "Gallon",
          "Galon (GB)", "Hectoliter",   "Inch³",     "Liter",     "Meter³",     "Milliliter", "Ounce (oz.)",
          "Ounce (GB)", "Pint",         "Pint (GB)", "Quart",     "Quart (GB)", "Yard³"}},
        {CategoryArea,
         {"Arce",        "Are",         "CM²",   "Chain²",     "Decimeter²", "Dekameter²",  "Foot²",
          "Hectare",     "Hectometre²", "Inch²", "Kilometer²", "Meter²",     "Micrometer²", "Mile",
          "Millimeter²", "Nonometer²",  "Rod²",  "Rood",       "Township",   "Yard²"}},
        {CategoryTime,
         {"Attosecond", "Century", "Day", "Decade", "Femtosecond", "Fornight", "Hour", "Leap year",
          "Microsecond", "Miiiennium", "Millisecond", "Minute", "Month", "Nanosecond", "Picosecond", "Second",
          "Week", "Year"}},
        {CategoryMass,
         {"Carat",     "Dalton", "Dyne",        "Grain",        "Gram",       "Kilogram",  "Kip",
          "Microgram", "Ounce",  "Pennyweight", "Pound",        "Poundal",    "Quarter",   "Quarter (GB)",
          "Slug",      "Ton",    "Ton (long)",  "Ton (metric)", "Troy ounce", "Troy Pound"}},
        {CategoryForce,
         {"Dyne", "Gram force", "Joule/CM", "Joule/Meter", "Kilogram force", "Kilonewton", "Kip force",
          "Millinewton", "Newton", "Ounce force", "Pound force", "Poundal"}},
        {CategoryAcceleration,
         {"cm/sec²", "Foot/sec²", "g", "gal", "Inch/sec²", "m/sec²", "Mile/sec²", "Yard/sec²", "km/sec²"}},
        {CategoryEnergy,
         {"Calorie", "Calorie(chem.)", "Dyne*cm (erg)", "Electron volt", "Foot*pound", "Gram force*cm",
          "Horsepower*hour", "Inch*ouns", "Inch*pound", "Joul(newton*m)", "Kilowatt*hour", "Poundal*foot",
          "Term", "Ton"}},
    };
    for (const CategoryNames& c : cases) {
        ASSERT_EQ(UnitCount(c.Category), static_cast<int>(c.Names.size())) << CategoryCaption(c.Category);
        for (int t = 1; t <= UnitCount(c.Category); ++t)
            EXPECT_EQ(UnitName(c.Category, t), c.Names[static_cast<std::size_t>(t - 1)])
                << CategoryCaption(c.Category) << " unit " << t;
    }
}

struct ExactCase {
    int Category;
    const char* From;
    const char* To;
    Extended Expected;
};

// Ratios fixed by the definitions of the units, expected to the last bit of the extended value.
TEST(UnitFactors, DefinedRatiosAreTheNearestExtended) {
    const std::vector<ExactCase> cases = {
        {CategoryLength, "Inch", "Meter", 0.0254L},
        {CategoryLength, "Mile", "Meter", 1609.344L},
        {CategoryLength, "Foot", "Meter", 0.3048L},
        {CategoryLength, "Inch", "Foot", 1.0L / 12},
        {CategoryLength, "Foot", "Inch", 12},
        {CategoryLength, "Mile", "Foot", 5280},
        {CategoryLength, "Mile", "Yard", 1760},
        {CategoryLength, "Furlong", "Chain", 10},
        {CategoryLength, "Meter", "CM", 100},
        {CategoryLength, "CM", "Meter", 0.01L},
        {CategoryLength, "Meter", "Foot", 1.0L / 0.3048L},
        {CategoryMass, "Pound", "Kilogram", 0.45359237L},
        {CategoryMass, "Pound", "Ounce", 16},
        {CategoryMass, "Ton (long)", "Pound", 2240},
        {CategoryMass, "Troy Pound", "Troy ounce", 12},
        {CategoryMass, "Pound", "Grain", 7000},
        {CategoryVolume, "Gallon", "Inch³", 231},
        {CategoryVolume, "Barrel (oil)", "Gallon", 42},
        {CategoryVolume, "Yard³", "Foot³", 27},
        {CategoryVolume, "Foot³", "Inch³", 1728},
        {CategoryVolume, "Pint (GB)", "Ounce (GB)", 20},
        {CategoryVolume, "Meter³", "Liter", 1000},
        {CategoryArea, "Arce", "Yard²", 4840},
        {CategoryArea, "Township", "Mile", 36},
        {CategoryArea, "Mile", "Arce", 640},
        {CategoryArea, "Hectare", "Are", 100},
        {CategoryTime, "Year", "Day", 365},
        {CategoryTime, "Leap year", "Day", 366},
        {CategoryTime, "Century", "Year", 100},
        {CategoryTime, "Fornight", "Hour", 336},
        {CategoryTime, "Second", "Hour", 1.0L / 3600},
        {CategoryForce, "Joule/CM", "Newton", 100},
        {CategoryForce, "Kilogram force", "Gram force", 1000},
        {CategoryForce, "Pound force", "Ounce force", 16},
        {CategoryAcceleration, "km/sec²", "m/sec²", 1000},
        {CategoryAcceleration, "m/sec²", "km/sec²", 0.001L},
        {CategoryAcceleration, "g", "m/sec²", 9.80665L},
        {CategoryEnergy, "Kilowatt*hour", "Joul(newton*m)", 3.6e6L},
        {CategoryEnergy, "Ton", "Calorie(chem.)", 1e9L},
        {CategoryEnergy, "Inch*pound", "Inch*ouns", 16},
    };
    for (const ExactCase& c : cases)
        EXPECT_EQ(Factor(c.Category, c.From, c.To), c.Expected) << c.From << " to " << c.To;
}

struct SizeCase {
    int Category;
    const char* Unit;
    long double Size; // in the category's base unit, from published definitions
};

// Each unit's size in the base unit, to twelve digits or more from the unit's definition.
TEST(UnitFactors, SizesMatchPublishedDefinitions) {
    const std::vector<SizeCase> cases = {
        {CategoryLength, "Nautical Mile", 1853.24496L},
        {CategoryLength, "Light year", 9.46052840487935880e15L},
        {CategoryLength, "Parsec", 3.085729264e16L},
        {CategoryLength, "Astron.unit", 149597870700.0L},
        {CategoryLength, "League", 4828.032L},
        {CategoryVolume, "Galon (GB)", 4.54609929488L},
        {CategoryVolume, "Ounce (oz.)", 0.0295735295625L},
        {CategoryVolume, "Barrel", 119.240471196L},
        {CategoryArea, "Arce", 4046.8564224L},
        {CategoryArea, "Rood", 1011.7141056L},
        {CategoryArea, "Township", 93239571.972096L},
        {CategoryArea, "Rod²", 25.29285264L},
        {CategoryMass, "Slug", 14.5939029372064L},
        {CategoryMass, "Dyne", 1.01971621297793e-6L},
        {CategoryMass, "Poundal", 0.0140867195652174L},
        {CategoryMass, "Troy ounce", 0.0311034768L},
        {CategoryMass, "Pennyweight", 0.00155517384L},
        {CategoryMass, "Dalton", 1.66053906660e-27L},
        {CategoryForce, "Pound force", 4.4482216152605L},
        {CategoryForce, "Poundal", 0.138254954376L},
        {CategoryForce, "Kip force", 4448.2216152605L},
        {CategoryEnergy, "Foot*pound", 1.3558179483314004L},
        {CategoryEnergy, "Horsepower*hour", 2684519.537696173L},
        {CategoryEnergy, "Electron volt", 1.602176634e-19L},
        {CategoryEnergy, "Term", 105505585.262L},
        {CategoryEnergy, "Poundal*foot", 0.0421401100938048L},
        {CategoryEnergy, "Inch*ouns", 0.00706155181422604L},
    };
    const char* base[] = {"Meter",    "",       "Liter",  "Meter²",        "Second",
                          "Kilogram", "Newton", "m/sec²", "Joul(newton*m)"};
    for (const SizeCase& c : cases) {
        const Extended size = Factor(c.Category, c.Unit, base[c.Category - 1]);
        EXPECT_NEAR(size / c.Size, 1.0L, 1e-14L) << c.Unit;
    }
}

TEST(UnitFactors, EveryRatioIsTheReciprocalOfItsReverse) {
    for (int c = 1; c <= UnitCategoryCount; ++c) {
        if (c == CategoryTemperature)
            continue;
        for (int a = 1; a <= UnitCount(c); ++a)
            for (int i = 1; i <= UnitCount(c); ++i) {
                const Extended product = UnitFactor(c, a, i) * UnitFactor(c, i, a);
                EXPECT_NEAR(product, 1.0L, 4 * Epsilon) << UnitName(c, a) << " and " << UnitName(c, i);
            }
        for (int a = 1; a <= UnitCount(c); ++a)
            EXPECT_EQ(UnitFactor(c, a, a), 1.0L) << UnitName(c, a);
    }
}

/// `x` converted from unit a into unit i and back; NaN when either step is refused.
Extended RoundTrip(int category, int a, int i, Extended x) {
    const auto there = Convert(category, a, x);
    if (!there)
        return std::numeric_limits<Extended>::quiet_NaN();
    const auto back = Convert(category, i, (*there)[static_cast<std::size_t>(i - 1)]);
    if (!back)
        return std::numeric_limits<Extended>::quiet_NaN();
    return (*back)[static_cast<std::size_t>(a - 1)];
}

TEST(UnitConversion, RoundTripsReturnTheValue) {
    const std::vector<Extended> values = {1.0L, 0.3L, 12345.678L, 1e-300L, 1e300L};
    for (int c = 1; c <= UnitCategoryCount; ++c) {
        if (c == CategoryTemperature)
            continue;
        for (int a = 1; a <= UnitCount(c); ++a)
            for (int i = 1; i <= UnitCount(c); ++i)
                for (Extended x : values)
                    EXPECT_NEAR(RoundTrip(c, a, i, x) / x, 1.0L, 1e-15L)
                        << UnitName(c, a) << " via " << UnitName(c, i) << " " << static_cast<double>(x);
    }
}

TEST(UnitConversion, TemperatureRoundTripsReturnTheValue) {
    const std::vector<Extended> values = {500.0L, 1000.25L, 1e6L};
    for (int a = 1; a <= UnitCount(CategoryTemperature); ++a)
        for (int i = 1; i <= UnitCount(CategoryTemperature); ++i)
            for (Extended x : values)
                EXPECT_NEAR(RoundTrip(CategoryTemperature, a, i, x), x, 1e-15L * x)
                    << UnitName(CategoryTemperature, a) << " via " << UnitName(CategoryTemperature, i) << " "
                    << static_cast<double>(x);
}

TEST(UnitConversion, SourceUnitKeepsTheValueTyped) {
    const auto values = Convert(CategoryLength, UnitNumber(CategoryLength, "Foot"), 0.1L);
    ASSERT_TRUE(values);
    EXPECT_EQ((*values)[6], 0.1L);
    EXPECT_EQ(values->size(), 20u);
}

TEST(UnitConversion, KnownValues) {
    EXPECT_NEAR(ConvertTo(CategoryLength, "Meter", 1, "Foot"), 3.28083989501312336L, 1e-17L);
    EXPECT_NEAR(ConvertTo(CategoryLength, "Meter", 1, "Nautical Mile"), 5.39594075e-4L, 1e-13L);
    EXPECT_NEAR(ConvertTo(CategoryLength, "Meter", 1, "CM"), 100, 1e-15L);
    EXPECT_NEAR(ConvertTo(CategoryLength, "Meter", -2, "Inch"), -78.740157480314961L, 1e-15L);
    EXPECT_NEAR(ConvertTo(CategoryMass, "Kilogram", 1, "Pound"), 2.20462262184877581L, 1e-17L);
    EXPECT_NEAR(ConvertTo(CategoryEnergy, "Term", 1, "Kilowatt*hour"), 29.3071070172222L, 1e-12L);
    EXPECT_NEAR(ConvertTo(CategoryEnergy, "Calorie", 1000, "Joul(newton*m)"), 4186.8L, 1e-14L);
    EXPECT_NEAR(ConvertTo(CategoryAcceleration, "g", 1, "Foot/sec²"), 32.1740485564304462L, 1e-16L);
    EXPECT_NEAR(ConvertTo(CategoryArea, "Hectare", 1, "Arce"), 2.47105381467165L, 1e-14L);
    EXPECT_NEAR(ConvertTo(CategoryTime, "Day", 1, "Minute"), 1440, 1e-15L);
}

struct TemperatureCase {
    const char* From;
    Extended Value;
    Extended C, F, K, R, Re;
};

TEST(UnitConversion, Temperatures) {
    const std::vector<TemperatureCase> cases = {
        {"Celsium", 0, 0, 32, 273.15L, 491.67L, 0},
        {"Celsium", 100, 100, 212, 373.15L, 671.67L, 80},
        {"Celsium", -40, -40, -40, 233.15L, 419.67L, -32},
        {"Farhenheit", 212, 100, 212, 373.15L, 671.67L, 80},
        {"Farhenheit", 32, 0, 32, 273.15L, 491.67L, 0},
        {"Kelvin", 0, -273.15L, -459.67L, 0, 0, -218.52L},
        {"Kelvin", 373.15L, 100, 212, 373.15L, 671.67L, 80},
        {"Rankine", 0, -273.15L, -459.67L, 0, 0, -218.52L},
        {"Rankine", 491.67L, 0, 32, 273.15L, 491.67L, 0},
        {"Réaumur", 80, 100, 212, 373.15L, 671.67L, 80},
    };
    for (const TemperatureCase& c : cases) {
        const auto values = Convert(CategoryTemperature, UnitNumber(CategoryTemperature, c.From), c.Value);
        ASSERT_TRUE(values) << c.From << " " << static_cast<double>(c.Value);
        const std::vector<Extended> expected = {c.C, c.F, c.K, c.R, c.Re};
        for (std::size_t u = 0; u < expected.size(); ++u)
            EXPECT_NEAR((*values)[u], expected[u], 1e-13L)
                << c.From << " " << static_cast<double>(c.Value) << " into unit " << u + 1;
    }
}

struct RangeCase {
    int Category;
    const char* Unit;
    Extended Value;
    bool Accepted;
};

TEST(UnitConversion, ValuesOutsideTheRangeConvertNothing) {
    const std::vector<RangeCase> cases = {
        {CategoryTemperature, "Celsium", -273.15L, true},
        {CategoryTemperature, "Celsium", -300, false},
        {CategoryTemperature, "Farhenheit", -459.67L, true},
        {CategoryTemperature, "Farhenheit", -459.68L, false},
        {CategoryTemperature, "Kelvin", 0, true},
        {CategoryTemperature, "Kelvin", -1, false},
        {CategoryTemperature, "Rankine", -1e-9L, false},
        {CategoryTemperature, "Réaumur", -218.52L, true},
        {CategoryTemperature, "Réaumur", -218.53L, false},
        {CategoryTemperature, "Kelvin", 1e4000L, true},
        {CategoryTemperature, "Kelvin", 1.0001e4000L, false},
        {CategoryLength, "Meter", -5, true},
        {CategoryLength, "Meter", -1e4000L, true},
        {CategoryLength, "Meter", -1.0001e4000L, false},
        {CategoryLength, "Parsec", 1e4000L, true},
        {CategoryLength, "Meter", std::numeric_limits<Extended>::quiet_NaN(), false},
        {CategoryMass, "Kilogram", -0.1L, false},
        {CategoryMass, "Kilogram", 0, true},
        {CategoryVolume, "Liter", -1, false},
        {CategoryEnergy, "Ton", 1e4000L, true},
        {CategoryEnergy, "Ton", 2e4000L, false},
        {CategoryTime, "Second", std::numeric_limits<Extended>::infinity(), false},
    };
    for (const RangeCase& c : cases) {
        const auto values = Convert(c.Category, UnitNumber(c.Category, c.Unit), c.Value);
        EXPECT_EQ(values.has_value(), c.Accepted) << c.Unit << " " << static_cast<double>(c.Value);
    }
}

TEST(UnitConversion, LargestInputsStayFinite) {
    for (int c = 1; c <= UnitCategoryCount; ++c)
        for (int a = 1; a <= UnitCount(c); ++a) {
            const auto values = Convert(c, a, UnitRange(c, a).High);
            ASSERT_TRUE(values) << UnitName(c, a);
            for (Extended v : *values)
                EXPECT_TRUE(std::isfinite(v)) << UnitName(c, a);
        }
}

TEST(UnitConversion, RefusesUnitsOutsideTheCategory) {
    EXPECT_FALSE(Convert(CategoryTemperature, 6, 1));
    EXPECT_FALSE(Convert(CategoryLength, 0, 1));
    EXPECT_FALSE(Convert(0, 1, 1));
    EXPECT_FALSE(Convert(10, 1, 1));
}

TEST(UnitRanges, AsDocumented) {
    EXPECT_EQ(UnitRange(CategoryLength, 3).Low, -1e4000L);
    EXPECT_EQ(UnitRange(CategoryLength, 3).High, 1e4000L);
    EXPECT_EQ(UnitRange(CategoryArea, 3).Low, 0.0L);
    EXPECT_EQ(UnitRange(CategoryTemperature, 1).Low, -273.15L);
    EXPECT_EQ(UnitRange(CategoryTemperature, 2).Low, -459.67L);
    EXPECT_EQ(UnitRange(CategoryTemperature, 5).Low, -218.52L);
    EXPECT_EQ(UnitRange(CategoryTemperature, 4).High, 1e4000L);
}

struct ReadCase {
    const char* Text;
    bool Valid;
    Extended Value;
};

TEST(UnitInput, ReadsWholeDecimalNumbersOnly) {
    const std::vector<ReadCase> cases = {
        {"12", true, 12},  {"-1.5e3", true, -1500}, {" 2 ", true, 2},          {".5", true, 0.5L},
        {"+3", true, 3},   {"1E-2", true, 0.01L},   {"1e4000", true, 1e4000L}, {"", false, 0},
        {"  ", false, 0},  {"abc", false, 0},       {"1e", false, 0},          {"inf", false, 0},
        {"nan", false, 0}, {"0x10", false, 0},      {"1,5", false, 0},         {"--1", false, 0},
        {"+-1", false, 0}, {"1 2", false, 0},       {"-", false, 0},           {"1e99999", false, 0},
        {"FF", false, 0},  {"1:30:0", false, 0},
    };
    for (const ReadCase& c : cases) {
        const auto value = ReadUnitNumber(c.Text);
        ASSERT_EQ(value.has_value(), c.Valid) << '"' << c.Text << '"';
        if (c.Valid) {
            EXPECT_EQ(*value, c.Value) << '"' << c.Text << '"';
        }
    }
}

} // namespace
} // namespace mirla
