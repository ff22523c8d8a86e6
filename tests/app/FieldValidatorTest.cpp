#include "app/core/FieldValidator.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace mirla {
namespace {

TFieldValidator Steps() {
    return TFieldValidator("Number of Steps", TFieldKind::Integer, 2, 16000);
}
TFieldValidator Coordinate() {
    return TFieldValidator("Minimum X-coordinate", TFieldKind::Real, -115425.2, 115425.2);
}

struct TypingCase {
    TFieldKind kind;
    std::string text;
    std::optional<std::size_t> refused;
};

TEST(FieldValidatorTyping, RefusesTheFirstCharacterThatCannotBelongToANumber) {
    const std::vector<TypingCase> cases = {
        {TFieldKind::Integer, "", std::nullopt},
        {TFieldKind::Integer, "-", std::nullopt},
        {TFieldKind::Integer, "+12", std::nullopt},
        {TFieldKind::Integer, "1a", 1},
        {TFieldKind::Integer, "1.5", 1},
        {TFieldKind::Integer, "1e5", 1},
        {TFieldKind::Integer, "--1", 1},
        {TFieldKind::Integer, "12-", 2},
        {TFieldKind::Integer, "1 2", 1},
        {TFieldKind::Real, "1.5", std::nullopt},
        {TFieldKind::Real, ".5", std::nullopt},
        {TFieldKind::Real, "-.", std::nullopt},
        {TFieldKind::Real, "5.", std::nullopt},
        {TFieldKind::Real, "1e", std::nullopt},
        {TFieldKind::Real, "1E-", std::nullopt},
        {TFieldKind::Real, "-2.5e+10", std::nullopt},
        {TFieldKind::Real, "e5", 0},
        {TFieldKind::Real, ".e5", 1},
        {TFieldKind::Real, "1.2.3", 3},
        {TFieldKind::Real, "1e5.2", 3},
        {TFieldKind::Real, "1e--2", 3},
        {TFieldKind::Real, "1ee", 2},
        {TFieldKind::Real, "12,5", 2},
        {TFieldKind::Real, "pi", 0},
    };
    for (const auto& c : cases) {
        const TFieldValidator validator("Field", c.kind, 0, 1);
        EXPECT_EQ(validator.FirstRefused(c.text), c.refused) << "text '" << c.text << "'";
    }
}

struct ValueCase {
    TFieldKind kind;
    std::string text;
    std::optional<double> value;
};

TEST(FieldValidatorValue, ReadsOnlyCompleteNumbers) {
    const std::vector<ValueCase> cases = {
        {TFieldKind::Integer, "200", 200.0},
        {TFieldKind::Integer, "-7", -7.0},
        {TFieldKind::Integer, "+3", 3.0},
        {TFieldKind::Integer, "", std::nullopt},
        {TFieldKind::Integer, "-", std::nullopt},
        {TFieldKind::Integer, "2.5", std::nullopt},
        {TFieldKind::Real, "5.", 5.0},
        {TFieldKind::Real, ".25", 0.25},
        {TFieldKind::Real, "-10", -10.0},
        {TFieldKind::Real, "1.5E2", 150.0},
        {TFieldKind::Real, "2e-3", 0.002},
        {TFieldKind::Real, "1e", std::nullopt},
        {TFieldKind::Real, ".", std::nullopt},
        {TFieldKind::Real, "1e999", std::nullopt},
        {TFieldKind::Real, "x", std::nullopt},
    };
    for (const auto& c : cases) {
        const TFieldValidator validator("Field", c.kind, 0, 1);
        EXPECT_EQ(validator.Value(c.text), c.value) << "text '" << c.text << "'";
    }
}

TEST(FieldValidatorMessage, NamesTheFieldAndItsRangeByKind) {
    EXPECT_EQ(Steps().RangeMessage(), "Number of Steps must be in the range [2..16000]");
    EXPECT_EQ(Coordinate().RangeMessage(),
              "Minimum X-coordinate must be in the range [-115425.2 ... 115425.2]");
    EXPECT_EQ(TFieldValidator("Vertical exaggerate", TFieldKind::Real, 0, 1e30).RangeMessage(),
              "Vertical exaggerate must be in the range [0 ... 1E30]");
    EXPECT_EQ(TFieldValidator("Tiny", TFieldKind::Real, 1e-5, 0.5).RangeMessage(),
              "Tiny must be in the range [1E-5 ... 0.5]");
    EXPECT_EQ(TFieldValidator(" Number of Cntours", TFieldKind::Integer, 1, 1000).RangeMessage(),
              " Number of Cntours must be in the range [1..1000]");
}

struct CheckCase {
    std::string text;
    bool inRange;
};

TEST(FieldValidatorCheck, AcceptsTheInclusiveRangeOnly) {
    const std::vector<CheckCase> steps = {{"2", true},      {"16000", true}, {"200", true}, {"1", false},
                                          {"16001", false}, {"-3", false},   {"", false},   {"-", false}};
    for (const auto& c : steps)
        EXPECT_EQ(Steps().Check(c.text).empty(), c.inRange) << "steps '" << c.text << "'";
    const std::vector<CheckCase> coordinates = {{"115425.2", true},  {"-115425.2", true}, {"0", true},
                                                {"115425.3", false}, {"-2e5", false},     {"1e", false}};
    for (const auto& c : coordinates)
        EXPECT_EQ(Coordinate().Check(c.text).empty(), c.inRange) << "coordinate '" << c.text << "'";
    EXPECT_EQ(Steps().Check("1"), Steps().RangeMessage());
}

TEST(FieldValidatorCheck, LoweredMinimumAdmitsZeroAndChangesTheMessage) {
    TFieldValidator validator = Steps();
    EXPECT_FALSE(validator.Check("0").empty());
    validator.SetLow(0);
    EXPECT_TRUE(validator.Check("0").empty());
    EXPECT_EQ(validator.RangeMessage(), "Number of Steps must be in the range [0..16000]");
}

} // namespace
} // namespace mirla
