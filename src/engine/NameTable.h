#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace mirla {

/// One built-in name: its text ("sin(" with the parenthesis when it takes arguments), its
/// code (= row number) and its argument count.
struct NameEntry {
    std::string_view name;
    int code;
    int argc;
};

constexpr int NameTableSize = 88;

/// Special name codes outside the table.
constexpr int LoopCode = 99;
constexpr int NotFoundCode = 255;
constexpr int UserFunctionCode = 999;
constexpr int FirstUserVariableCode = 1000;

/// Function codes the grammar dispatches on.
enum FunctionCode : int {
    FnMin = 0,
    FnSin = 1,
    FnArcSin = 2,
    FnArcCos = 3,
    FnArcTan = 4,
    FnArcSinh = 5,
    FnArcCosh = 6,
    FnArcTanh = 7,
    FnSinh = 8,
    FnCosh = 9,
    FnTanh = 10,
    FnRandom = 11,
    FnCos = 12,
    FnTan = 13,
    FnExp = 14,
    FnSqrt = 15,
    FnLn = 16,
    FnLog = 17,
    FnJn = 18,
    FnYn = 19,
    FnIn = 20,
    FnKn = 21,
    FnSolve = 22,
    FnCi = 23,
    FnSi = 24,
    FnErf = 25,
    FnGamma = 26,
    FnIntegral = 27,
    FnPiChar = 28,
    FnPi = 29,
    FnE = 30,
    FnFactorial = 31,
    FnEFD = 32,
    FnAbs = 33,
    FnRound = 34,
    FnFrac = 35,
    FnTrunc = 36,
    FnMax = 37,
    FnMean = 38,
    FnStd = 39,
    FnSqr = 40,
    FnSum = 41,
    FnGauss = 42,
    FnPoly = 43,
    FnStat = 44,
    FnFirstConversion = 45,
    FnLastConversion = 66,
    FnFirstLowerVariable = 67,
    FnFirstUpperVariable = 77,
    FnPowerOfTen = 87,
};

/// The 88 built-in names, searched in row order.
const std::array<NameEntry, NameTableSize>& NameTable();

/// A name table in an open-addressed hash table keyed by the names, so that a look-up hashes
/// the buffer once and compares with one or two candidates.
class TNameIndex {
public:
    explicit TNameIndex(const std::array<NameEntry, NameTableSize>& table);
    /// Looks a name buffer up by the table's rule: a row without arguments matches the buffer
    /// less its terminator, any other row the whole buffer. Returns the code or `NotFoundCode`.
    int LookUp(std::string_view buffer) const;

private:
    static constexpr std::size_t SlotCount = 256;
    static std::size_t Hash(std::string_view name);
    const NameEntry* Find(std::string_view name) const;
    std::array<const NameEntry*, SlotCount> m_slots{};
};

/// Looks a name buffer up in the engine's table (see `TNameIndex::LookUp`).
int LookUpBuiltinName(std::string_view buffer);

} // namespace mirla
