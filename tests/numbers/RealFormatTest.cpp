#include "numbers/RealFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace mirla {
namespace {

constexpr Extended Inf = std::numeric_limits<Extended>::infinity();
constexpr Extended NaN = std::numeric_limits<Extended>::quiet_NaN();

std::string Format(int notation, int width, Extended x, int base = BaseDecimal, int group = 32) {
    EvalContext ctx;
    ctx.NotationMode = notation;
    ctx.Base = base;
    ctx.BitGroup = group;
    const std::string text = RealToText(ctx, width, x);
    EXPECT_FALSE(ctx.ErrorFlag) << "unexpected error " << ctx.ErrorCode << " for " << text;
    return text;
}

std::string Repeat(char c, int n) {
    return std::string(static_cast<std::size_t>(n), c);
}

// ---- Rendering primitives ------------------------------------------------------------------

struct FieldCase {
    Extended a;
    int w;
    int d; // decimals for FixedField; unused for ScientificField
    const char* expected;
};

TEST(ScientificFieldTest, DigitsExponentAndPadding) {
    const std::vector<FieldCase> cases = {
        {1234.5678L, 12, 0, " 1.235E+0003"},
        {0, 12, 0, " 0.000E+0000"},
        {1234.5678L, 30, 0, "     1.23456780000000000E+0003"}, // 18 digits, padded to 30
        {0.00012345L, 10, 0, " 1.2E-0004"},                    // D = 2
        {0.00012345L, 5, 0, " 1.2E-0004"},                     // never fewer than 2 digits
        {1.2345L, 12, 0, " 1.235E+0000"},                      // half up on the decimal digits
        {9.99995L, 12, 0, " 1.000E+0001"},                     // carry into the exponent
        {LDBL_MAX, 26, 0, " 1.18973149535723177E+4932"},
        {LDBL_TRUE_MIN, 26, 0, " 3.64519953188247460E-4951"},
        {LDBL_MIN, 12, 0, " 3.362E-4932"},
    };
    for (const FieldCase& c : cases) {
        EXPECT_EQ(ScientificField(c.a, c.w), c.expected) << "a=" << static_cast<double>(c.a) << " w=" << c.w;
    }
}

TEST(FixedFieldTest, DecimalsRoundingAndPadding) {
    const std::vector<FieldCase> cases = {
        {1234.5678L, 12, 9, "1234.567800000"},
        {0.5L, 12, 10, "0.5000000000"},
        {3.14159265358979L, 12, 9, " 3.141592654"},
        {0.125L, 6, 2, "  0.13"}, // exact tie rounds up
        {0.0049L, 0, 2, "0.00"},
        {0.005L, 0, 2, "0.01"},
        {999.9996L, 0, 3, "1000.000"},
        {7, 0, 0, "7"},
        {1234.5L, 3, 0, "1235"},
        {0, 5, 2, " 0.00"},
        {Pi, 20, 17, " 3.14159265358979324"},
        {2.5L, 0, 25, "2.5000000000000000000000000"}, // beyond 18 digits come zeros
        {1234.5L, 3, -1, " 1.2E+0003"},               // no decimals left: scientific
    };
    for (const FieldCase& c : cases) {
        EXPECT_EQ(FixedField(c.a, c.w, c.d), c.expected)
            << "a=" << static_cast<double>(c.a) << " w=" << c.w << " d=" << c.d;
    }
}

struct TrimCase {
    const char* in;
    int notation;
    const char* out;
    int removed;
};

TEST(TrimNumberTextTest, BlanksAndSurplusZeros) {
    const std::vector<TrimCase> cases = {
        {"  1.2300", NotationScn, "1.23", 2},
        {"1.000", NotationScn, "1.0", 0},
        {"100", NotationScn, "100", 0},
        {"0.5000000000", NotationFix, "0.5", 0},
        {" 1.2000E+0003", NotationScn, "1.2E+0003", 1},
        {" 1.000E+0003", NotationScn, "1.0E+0003", 1},
        {" 0.000E+0000", NotationFix, "0.0", 1},
        {" 0.000E+0000", NotationScn, "0.0E+0000", 1},
        {"1.500E+0000", NotationEng, "1.5E+0000", 0},
        {"123.E+0003", NotationEng, "123.E+0003", 0},
        {"  ", NotationScn, "", 2},
        {"", NotationScn, "", 0},
    };
    for (const TrimCase& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(TrimNumberText(t, c.notation), c.removed) << "'" << c.in << "'";
        EXPECT_EQ(t, c.out) << "'" << c.in << "'";
    }
}

TEST(ShortenExponentTest, KeepsAtLeastOneDigit) {
    const std::vector<TrimCase> cases = {
        {"1.2E+0003", 0, "1.2E+3", 3},    {"0.0E+0000", 0, "0.0E+0", 3},
        {"1.5E-0012", 0, "1.5E-12", 2},   {"1.5E+0120", 0, "1.5E+120", 1},
        {"1.1E+4932", 0, "1.1E+4932", 0}, {"1.5", 0, "1.5", 0},
        {"1.5E+0", 0, "1.5E+0", 0},       {"E", 0, "E", 0},
    };
    for (const TrimCase& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(ShortenExponent(t), c.removed) << c.in;
        EXPECT_EQ(t, c.out) << c.in;
    }
}

TEST(EngineeringShiftTest, ExponentBecomesMultipleOfThree) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"1.235E+0004", "12.35E+0003"}, {"1.235E-0013", "123.5E-0015"}, {" 1.235E+0003", "1.235E+0003"},
        {"1.235E+0005", "123.5E+0003"}, {"1.235E-0001", "123.5E-0003"}, {"1.235E-0002", "12.35E-0003"},
        {"1.23E+0005", "123.E+0003"},   {"1.2E+0005", "120.E+0003"},    {"3.645E-4951", "364.5E-4953"},
        {"0.000E+0000", "0.000E+0000"}, {"Infinity", "Infinity"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(EngineeringShift(in), out) << in;
    }
}

TEST(BaseDigitsTest, NoLeadingZeros) {
    EXPECT_EQ(BaseDigits(0, 16), "0");
    EXPECT_EQ(BaseDigits(0, 2), "0");
    EXPECT_EQ(BaseDigits(255, 16), "FF");
    EXPECT_EQ(BaseDigits(48879, 16), "BEEF");
    EXPECT_EQ(BaseDigits(4294967295u, 16), "FFFFFFFF");
    EXPECT_EQ(BaseDigits(5, 2), "101");
    EXPECT_EQ(BaseDigits(2147483647u, 2), Repeat('1', 31));
}

// ---- Decimal notations ---------------------------------------------------------------------

struct TextCase {
    int notation;
    int width;
    Extended x;
    const char* expected;
};

void ExpectTexts(const std::vector<TextCase>& cases) {
    static const char* const Names[] = {"Scn", "Fix", "Eng", "Sxg"};
    for (const TextCase& c : cases) {
        EXPECT_EQ(Format(c.notation, c.width, c.x), c.expected)
            << Names[c.notation] << " W=" << c.width << " x=" << static_cast<double>(c.x);
    }
}

TEST(RealToTextTest, WorkedExamples) {
    ExpectTexts({
        {NotationScn, 12, 1234.5678L, "1.2345678E+3"},
        {NotationEng, 12, 12345.678L, "12.34568E+3"},
        {NotationScn, 12, 0, "0.0E+0"},
        {NotationEng, 12, 0, "0.0E+0"},
        {NotationFix, 12, 0, "0.0"},
        {NotationFix, 12, 0.00001L, "1.0E-5"},
        {NotationFix, 12, 1234.5678L, "1234.5678"},
        {NotationFix, 12, 3.14159265358979L, "3.141592654"},
        {NotationFix, 12, -3.14159265358979L, "-3.14159265"},
        {NotationFix, 12, 0.5L, "0.5"},
        {NotationFix, 12, 5, "5.0"},
        {NotationFix, 12, 1e7L, "1.0E+7"},
        {NotationFix, 12, 1e-4L, "1.0E-4"},
        {NotationEng, 12, 1.235e-13L, "123.5E-15"},
    });
}

TEST(RealToTextTest, FixedDecimalsDependOnSignAndSize) {
    ExpectTexts({
        {NotationFix, 12, 0.12345678906L, "0.1234567891"},  // positive below 1: 10 decimals
        {NotationFix, 12, -0.12345678906L, "-0.123456789"}, // negative below 1: 9
        {NotationFix, 12, 12.345678906L, "12.345678906"},   // 9 decimals
        {NotationFix, 12, -12.345678906L, "-12.34567891"},  // negative above 1: 8
        {NotationFix, 12, -0.5L, "-0.5"},
        {NotationFix, 12, 9999999.99L, "9999999.99"},
        {NotationFix, 12, 0.00012345L, "0.00012345"},
        {NotationFix, 12, 1e8L, "1.0E+8"},
        {NotationFix, 12, 123456789, "1.2345679E+8"},
        {NotationFix, 8, 1234.5678L, "1234.5678"},
        {NotationFix, 7, -1234.5678L, "-1234.568"},
        {NotationFix, 20, Pi, "3.14159265358979324"},
    });
}

TEST(RealToTextTest, FixAtWidthThreeUsesOneNarrowScientificPass) {
    ExpectTexts({
        {NotationFix, 3, -3.7L, "-3.7"},       // 3.7E+0000 loses its zero exponent
        {NotationFix, 3, -1234.5L, "-1.2E+3"}, // two significant digits, no wider pass
        {NotationFix, 3, 1234.5L, "1235"},     // no decimals, half up
        {NotationFix, 3, 0.25L, "0.3"},        // one decimal, half up
    });
}

TEST(RealToTextTest, ScientificSecondPassUsesFreedWidth) {
    ExpectTexts({
        {NotationScn, 12, -1234.5678L, "-1.234568E+3"},
        {NotationScn, 12, 1e-10L, "1.0E-10"},
        {NotationScn, 12, 6.02214076e23L, "6.022141E+23"},
        {NotationScn, 8, 1234.5678L, "1.235E+3"},
        {NotationScn, 7, 1234.5678L, "1.23E+3"},
        {NotationScn, 8, 0.5L, "5.0E-1"},
        {NotationScn, 21, 1234.5678L, "1.2345678E+3"},
        {NotationScn, 21, Pi, "3.1415926535897932E+0"},
        {NotationScn, 12, LDBL_MAX, "1.1897E+4932"},
        {NotationScn, 12, -LDBL_MAX, "-1.19E+4932"},
        {NotationFix, 12, LDBL_MAX, "1.1897E+4932"},
        {NotationScn, 12, LDBL_TRUE_MIN, "3.6452E-4951"},
        {NotationScn, 12, LDBL_MIN, "3.3621E-4932"},
    });
}

TEST(RealToTextTest, EngineeringExponents) {
    ExpectTexts({
        {NotationEng, 12, 123456, "123.456E+3"},
        {NotationEng, 11, 123456, "123.456E+3"},
        {NotationEng, 12, -0.001234567L, "-1.23457E-3"},
        {NotationEng, 12, 0.01L, "10.0E-3"},
        {NotationEng, 21, 1234.5678L, "1.2345678E+3"},
        {NotationEng, 12, LDBL_MAX, "1.19E+4932"},
        {NotationEng, 12, LDBL_TRUE_MIN, "364.5E-4953"},
    });
}

TEST(RealToTextTest, EngineeringMantissaHasOneToThreeIntegerDigits) {
    for (int e = -40; e <= 40; ++e) {
        for (const Extended m : {1.0L, 2.5L, 7.77777L, -4.2L}) {
            const Extended x = m * std::pow(10.0L, e);
            for (const int w : {11, 12, 16, 21}) {
                const std::string t = Format(NotationEng, w, x);
                const std::size_t start = t[0] == '-' ? 1 : 0;
                const std::size_t point = t.find('.');
                const std::size_t ePos = t.find('E');
                ASSERT_NE(point, std::string::npos) << t;
                ASSERT_NE(ePos, std::string::npos) << t;
                EXPECT_GE(point - start, 1u) << t;
                EXPECT_LE(point - start, 3u) << t;
                EXPECT_EQ(std::atoi(t.c_str() + ePos + 1) % 3, 0) << t;
                EXPECT_NEAR(static_cast<double>(std::strtold(t.c_str(), nullptr) / x), 1.0, 0.001) << t;
            }
        }
    }
}

TEST(RealToTextTest, EighteenDigitsAreCorrectlyRoundedFromTheExtendedValue) {
    ExpectTexts({
        {NotationScn, 26, 1.0L / 3, "3.33333333333333333E-1"},
        {NotationScn, 26, 2.0L / 3, "6.66666666666666667E-1"},
        {NotationScn, 26, 18446744073709551616.0L, "1.84467440737095516E+19"},
        {NotationScn, 26, 0.1L, "1.0E-1"}, // through double it would end in ...006
        {NotationScn, 26, Pi, "3.14159265358979324E+0"},
        {NotationScn, 26, std::sqrt(2.0L), "1.41421356237309505E+0"},
        {NotationScn, 26, LDBL_MAX, "1.18973149535723177E+4932"},
        {NotationScn, 40, 1.0L / 3, "3.33333333333333333E-1"},
    });
}

TEST(RealToTextTest, NonFiniteValuesGetAPlainText) {
    for (int notation = NotationScn; notation <= NotationSxg; ++notation) {
        for (int base = BaseDecimal; base <= BaseBinary; ++base) {
            EXPECT_EQ(Format(notation, 12, Inf, base), "Infinity") << notation << "/" << base;
            EXPECT_EQ(Format(notation, 12, -Inf, base), "-Infinity") << notation << "/" << base;
            EXPECT_EQ(Format(notation, 12, NaN, base), "NaN") << notation << "/" << base;
        }
    }
}

// Every width, notation and base on awkward values: a readable text that means the value.
TEST(RealToTextTest, EveryWidthGivesATextThatMeansTheValue) {
    const std::vector<Extended> values = {0,       LDBL_TRUE_MIN, LDBL_MIN, 1e-300L,  1e-5L,    1e-4L, 0.5L,
                                          1,       1234.5678L,    1e7L,     2e9L,     1e300L,   -0.5L, -1,
                                          -99.99L, -1e-20L,       -1e20L,   LDBL_MAX, -LDBL_MAX};
    for (const Extended x : values) {
        for (int w = 1; w <= 60; ++w) {
            for (int notation = NotationScn; notation <= NotationEng; ++notation) {
                const std::string t = Format(notation, w, x);
                ASSERT_FALSE(t.empty());
                EXPECT_EQ(t.find(' '), std::string::npos) << t;
                if (std::fabs(x) == LDBL_MAX) {
                    EXPECT_NE(t.find("E+4932"), std::string::npos) << t; // reads back as overflow
                    continue;
                }
                const Extended back = std::strtold(t.c_str(), nullptr);
                const Extended tolerance =
                    0.051L * std::fabs(x) + (w >= 4 ? 0.51L * std::pow(10.0L, 4 - w) : 5);
                EXPECT_LE(std::fabs(back - x), tolerance)
                    << "notation " << notation << " W=" << w << " x=" << static_cast<double>(x) << ": " << t;
            }
        }
    }
}

// ---- Sexagesimal ---------------------------------------------------------------------------

TEST(SexagesimalTest, HoursMinutesSeconds) {
    ExpectTexts({
        {NotationSxg, 12, 1.0L / 3600, "0:0:1"},
        {NotationSxg, 12, 1.5L, "1:30:0"},
        {NotationSxg, 12, -1.5L, "-1:30:0"},
        {NotationSxg, 12, 0.99999L, "1:0:0"},
        {NotationSxg, 12, 0, "0:0:0"},
        {NotationSxg, 12, 25.2525L, "25:15:9"},
        {NotationSxg, 12, 596523.2L, "596523:12:0"},
    });
}

TEST(SexagesimalTest, ShowsTheMagnitude) {
    EvalContext ctx;
    EXPECT_EQ(SexagesimalText(ctx, -1.5L), "1:30:0");
    EXPECT_EQ(SexagesimalText(ctx, -1e30L), "0:0:0");
    EXPECT_EQ(ctx.ErrorCode, ErrChangeNotation);
}

TEST(SexagesimalTest, HalfSecondsRoundToEven) {
    const std::vector<std::pair<Extended, const char*>> cases = {
        {0.5L, "0:0:0"}, {1.5L, "0:0:2"}, {2.5L, "0:0:2"}, {3.5L, "0:0:4"}, {10.5L, "0:0:10"}};
    for (const auto& [seconds, expected] : cases) {
        const Extended hours = seconds / 3600;
        ASSERT_EQ(hours * 3600, seconds) << "the tie must survive the conversion to hours";
        EXPECT_EQ(Format(NotationSxg, 12, hours), expected) << static_cast<double>(seconds);
    }
}

TEST(SexagesimalTest, FieldsStayInRange) {
    for (int i = 0; i < 2000; ++i) {
        const Extended hours = i * 0.0137L + i * i * 0.071L;
        const std::string t = Format(NotationSxg, 12, hours);
        long h = 0, m = 0, s = 0;
        ASSERT_EQ(std::sscanf(t.c_str(), "%ld:%ld:%ld", &h, &m, &s), 3) << t;
        EXPECT_GE(m, 0) << t;
        EXPECT_LE(m, 59) << t;
        EXPECT_GE(s, 0) << t;
        EXPECT_LE(s, 59) << t;
        EXPECT_LE(std::fabs(h * 3600 + m * 60 + s - hours * 3600), 0.5L) << t;
    }
}

struct ErrorCase {
    int notation;
    int base;
    Extended x;
    int code;
    const char* text;
};

TEST(FormatErrorTest, RaisedInTheEngineWay) {
    const std::vector<ErrorCase> cases = {
        {NotationSxg, BaseDecimal, 2147483648.0L, ErrChangeNotation, "0:0:0"},
        {NotationSxg, BaseDecimal, 596523.3L, ErrChangeNotation, "0:0:0"}, // more than 2^31-1 seconds
        {NotationSxg, BaseDecimal, -596523.3L, ErrChangeNotation, "0:0:0"},
        {NotationScn, BaseHex, 2147483648.0L, ErrOverflow, "0.0"},
        {NotationScn, BaseHex, 2147483647.5L, ErrOverflow, "0.0"},
        {NotationFix, BaseHex, -3e9L, ErrOverflow, "0.0"},
        {NotationScn, BaseBinary, 2147483648.0L, ErrOverflow, "0.0"},
        {NotationSxg, BaseBinary, 1e12L, ErrOverflow, "0.0"},
    };
    for (const ErrorCase& c : cases) {
        EvalContext ctx;
        ctx.Input = "x*3600";
        ctx.NotationMode = c.notation;
        ctx.Base = c.base;
        ctx.PrevValue = 42;
        EXPECT_EQ(RealToText(ctx, 12, c.x), c.text) << static_cast<double>(c.x);
        EXPECT_TRUE(ctx.ErrorFlag) << static_cast<double>(c.x);
        EXPECT_EQ(ctx.ErrorCode, c.code) << static_cast<double>(c.x);
        EXPECT_EQ(ctx.ErrorPos, 7) << static_cast<double>(c.x);
        EXPECT_EQ(ctx.ErrorLength, 1) << static_cast<double>(c.x);
        // Only the sexagesimal overflow forgets the previous answer.
        EXPECT_EQ(ctx.PrevValue, c.code == ErrChangeNotation ? 0 : 42) << static_cast<double>(c.x);
    }
}

TEST(FormatErrorTest, SexagesimalAfterAnEarlierErrorKeepsThatError) {
    EvalContext ctx;
    ctx.NotationMode = NotationSxg;
    ctx.ErrorFlag = true;
    ctx.ErrorCode = ErrDivisionByZero;
    ctx.ErrorPos = 3;
    EXPECT_EQ(RealToText(ctx, 12, 1.5L), "0:0:0");
    EXPECT_EQ(ctx.ErrorCode, ErrDivisionByZero);
    EXPECT_EQ(ctx.ErrorPos, 3);
}

// ---- Hexadecimal and base two --------------------------------------------------------------

TEST(BaseTextTest, HexadecimalTruncates) {
    const std::vector<std::pair<Extended, const char*>> cases = {
        {255.9L, "FF"}, {-255.9L, "-FF"},         {0, "0"},
        {0.9L, "0"},    {2147483647, "7FFFFFFF"}, {-2147483647, "-7FFFFFFF"},
    };
    for (const auto& [x, expected] : cases) {
        EXPECT_EQ(Format(NotationScn, 12, x, BaseHex), expected) << static_cast<double>(x);
    }
    // The base wins over the notation.
    EXPECT_EQ(Format(NotationSxg, 12, 7200, BaseHex), "1C20");
}

struct BitsCase {
    int group;
    Extended x;
    std::string expected;
};

TEST(BaseTextTest, BaseTwoInGroups) {
    const std::vector<BitsCase> cases = {
        {8, 5, "00000101 "},
        {8, -5, "-00000101 "},
        {8, 0, "00000000 "},
        {8, 255, "11111111 "},
        {8, 256, "00000001 00000000 "},
        {8, 5.99L, "00000101 "},
        {7, 5, "0000101 "},
        {7, 127, "1111111 "},
        {7, 255, "0000001 1111111 "},
        {16, 5, "0000000000000101 "},
        {16, 65536, "0000000000000001 0000000000000000 "},
        {32, 2147483647, "0" + Repeat('1', 31) + " "},
        {32, 1, Repeat('0', 31) + "1 "},
        {32, -2, "-" + Repeat('0', 30) + "10 "},
    };
    for (const BitsCase& c : cases) {
        EXPECT_EQ(Format(NotationScn, 12, c.x, BaseBinary, c.group), c.expected)
            << "G=" << c.group << " x=" << static_cast<double>(c.x);
    }
}

TEST(BaseTextTest, EveryWidthAndNotationGivesTheSameDigits) {
    for (int w = 1; w <= 60; ++w) {
        for (int notation = NotationScn; notation <= NotationSxg; ++notation) {
            EXPECT_EQ(Format(notation, w, -48879.5L, BaseHex), "-BEEF") << w;
            EXPECT_EQ(Format(notation, w, 10, BaseBinary, 4), "1010 ") << w;
        }
    }
}

} // namespace
} // namespace mirla
