#pragma once

#include "engine/Extended.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace mirla {

/// Unit categories by their menu tag (1..9).
enum UnitCategory : int {
    CategoryLength = 1,
    CategoryTemperature = 2,
    CategoryVolume = 3,
    CategoryArea = 4,
    CategoryTime = 5,
    CategoryMass = 6,
    CategoryForce = 7,
    CategoryAcceleration = 8,
    CategoryEnergy = 9
};

/// Number of unit categories.
constexpr int UnitCategoryCount = 9;
/// The most units a category holds (the converter's number of rows).
constexpr int MaxUnitsPerCategory = 20;
/// Category tags in the order of the "&Units" menu.
constexpr std::array<int, UnitCategoryCount> CategoryMenuOrder = {
    CategoryAcceleration, CategoryArea, CategoryForce,  CategoryLength, CategoryMass,
    CategoryTemperature,  CategoryTime, CategoryVolume, CategoryEnergy};

/// The inclusive range of values a unit accepts as input.
struct TUnitRange {
    Extended Low;
    Extended High;
};

/// The menu caption of category 1..9, with its "&" accelerator.
std::string_view CategoryCaption(int category);
/// Number of units of category 1..9.
int UnitCount(int category);
/// The name (UTF-8) of unit 1..UnitCount of a category.
std::string_view UnitName(int category, int unit);
/// The values a unit accepts as input.
TUnitRange UnitRange(int category, int unit);
/// The value in unit `to` of one unit `from` (categories other than temperature).
Extended UnitFactor(int category, int from, int to);

/// The number a field's text holds: an optionally signed decimal with optional fraction and
/// exponent, blanks around it allowed; nullopt when the text is not wholly such a number or
/// its magnitude is beyond the extended range.
std::optional<Extended> ReadUnitNumber(std::string_view text);

/// `value` in unit `from` expressed in every unit of the category (element t - 1 for unit t,
/// the source unit included); nullopt when the value is outside the source unit's range.
std::optional<std::vector<Extended>> Convert(int category, int from, Extended value);

} // namespace mirla
