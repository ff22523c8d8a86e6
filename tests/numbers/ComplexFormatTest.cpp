#include "numbers/ComplexFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>
#include <vector>

namespace mirla {
namespace {

struct ComplexCase {
    int notation;
    int width;
    ComplexValue z;
    std::uint8_t form;
    const char* expected;
};

ComplexValue Rect(Extended x, Extended y) {
    return {FormRect, x, y};
}
ComplexValue Polar(Extended r, Extended t) {
    return {FormPolar, r, t};
}

void ExpectTexts(const std::vector<ComplexCase>& cases) {
    for (const ComplexCase& c : cases) {
        EvalContext ctx;
        ctx.NotationMode = c.notation;
        EXPECT_EQ(ComplexToText(ctx, c.z, c.width, c.form), c.expected)
            << "notation " << c.notation << " W=" << c.width << " z=(" << static_cast<double>(c.z.X) << ", "
            << static_cast<double>(c.z.Y) << ") form " << int{c.z.Form} << " shown as " << int{c.form};
        EXPECT_FALSE(ctx.ErrorFlag) << c.expected;
    }
}

TEST(ComplexToTextTest, RectangularAndPolarForms) {
    ExpectTexts({
        {NotationFix, 12, Rect(1.5L, 2), FormRect, "1.5+2.0i"},
        {NotationFix, 12, Rect(-1.5L, -2), FormRect, "-1.5-2.0i"},
        {NotationFix, 12, Rect(2, 0), FormRect, "2.0+0.0i"},
        {NotationFix, 12, Polar(2, 0.5L), FormPolar, "2.0*exp(0.5i)"},
        {NotationFix, 12, Polar(2, -0.5L), FormPolar, "2.0*exp(-0.5i)"},
    });
}

TEST(ComplexToTextTest, ConvertsToTheAskedForm) {
    ExpectTexts({
        {NotationFix, 12, Rect(0, 2), FormPolar, "2.0*exp(1.570796327i)"},   // argument pi/2
        {NotationFix, 12, Rect(3, -4), FormPolar, "5.0*exp(-0.927295218i)"}, // atan(4/3) = 0.92729521800...
        {NotationFix, 12, Polar(2, 0), FormRect, "2.0+0.0i"},
    });
}

TEST(ComplexToTextTest, FixedRangeIsWiderThanForRealValues) {
    ExpectTexts({
        {NotationFix, 12, Rect(1e-5L, 1e8L), FormRect, "0.00001+100000000.0i"},
        {NotationFix, 12, Rect(1e-6L, 1e9L), FormRect, "1.0E-6+1.0E+9i"}, // both bounds exclusive
        {NotationFix, 12, Rect(-2e9L, -1e-7L), FormRect, "-2.0E+9-1.0E-7i"},
    });
}

TEST(ComplexToTextTest, DecimalsFollowEachPartsSignText) {
    ExpectTexts({
        // The real part below 1 gets 10 decimals, the imaginary part, whose sign text is "+", 9.
        {NotationFix, 12, Rect(0.12345678906L, 0.12345678906L), FormRect, "0.1234567891+0.123456789i"},
        {NotationFix, 12, Rect(12.345678906L, 12.345678906L), FormRect, "12.345678906+12.345678906i"},
        {NotationFix, 12, Rect(-12.345678906L, -12.345678906L), FormRect, "-12.34567891-12.34567891i"},
    });
}

TEST(ComplexToTextTest, ImaginaryPartAlwaysLeavesRoomForItsSign) {
    ExpectTexts({
        {NotationScn, 12, Rect(1234.5678L, 1234.5678L), FormRect, "1.2345678E+3+1.234568E+3i"},
        {NotationScn, 12, Rect(-1234.5678L, -1234.5678L), FormRect, "-1.234568E+3-1.234568E+3i"},
        {NotationEng, 12, Rect(12345.678L, 0), FormRect, "12.34568E+3+0.0E+0i"},
        {NotationScn, 12, Polar(1234.5678L, 1234.5678L), FormPolar, "1.2345678E+3*exp(1.234568E+3i)"},
    });
}

TEST(ComplexToTextTest, OnlyDecimalScientificFixedAndEngineering) {
    ExpectTexts({{NotationSxg, 12, Rect(1.5L, 2), FormRect, "1.5E+0+2.0E+0i"}});
    EvalContext ctx;
    ctx.Base = BaseHex;
    ctx.NotationMode = NotationFix;
    EXPECT_EQ(ComplexToText(ctx, Rect(255.5L, -2), 12, FormRect), "255.5-2.0i");
    EXPECT_FALSE(ctx.ErrorFlag);
}

TEST(ComplexToTextTest, EveryWidthGivesBothParts) {
    for (int w = 1; w <= 60; ++w) {
        for (int notation = NotationScn; notation <= NotationEng; ++notation) {
            EvalContext ctx;
            ctx.NotationMode = notation;
            const std::string t = ComplexToText(ctx, Rect(-LDBL_MAX, LDBL_TRUE_MIN), w, FormRect);
            ASSERT_FALSE(t.empty());
            EXPECT_EQ(t.front(), '-') << t;
            EXPECT_EQ(t.back(), 'i') << t;
            EXPECT_NE(t.find("E+4932+"), std::string::npos) << t;
            EXPECT_NE(t.find("E-495"), std::string::npos) << t;
        }
    }
}

TEST(ComplexToTextTest, NonFinitePartsGetAPlainText) {
    const Extended inf = std::numeric_limits<Extended>::infinity();
    ExpectTexts({{NotationScn, 12, Rect(-inf, std::numeric_limits<Extended>::quiet_NaN()), FormRect,
                  "-Infinity+NaNi"}});
    ExpectTexts({{NotationFix, 12, Rect(1, -inf), FormRect, "1.0-Infinityi"}});
}

} // namespace
} // namespace mirla
