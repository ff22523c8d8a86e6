#include "engine/EngineTestSupport.h"
#include "engine/EngineText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace mirla {
namespace {

/// One line of the constants file: "name = value ;unit and description".
struct Constant {
    std::string line;
    std::string symbol; ///< the last word of the name
    std::string pasted; ///< what the Constants page inserts: blanks removed, up to "=" and from ";" cut
};

std::vector<Constant> ReadConstants() {
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadEngineTextLines(MIRLA_SOURCE_DIR "/data/Mirla.CON", lines));
    std::vector<Constant> constants;
    for (const std::string& line : lines) {
        const std::string value = line.substr(0, line.find(';'));
        const std::size_t equals = value.find('=');
        const std::string name = value.substr(0, equals);
        const std::size_t nameEnd = name.find_last_not_of(' ');
        const std::size_t symbolStart = name.find_last_of(' ', nameEnd);
        std::string pasted;
        for (const char c : value.substr(equals == std::string::npos ? 0 : equals + 1)) {
            if (c != ' ') {
                pasted += c;
            }
        }
        constants.push_back({line, name.substr(symbolStart + 1, nameEnd - symbolStart), pasted});
    }
    return constants;
}

std::map<std::string, long double> EvaluateAll(const std::vector<Constant>& constants) {
    std::map<std::string, long double> values;
    EvalContext ctx;
    for (const Constant& constant : constants) {
        const test::Outcome outcome = test::RunLine(ctx, constant.pasted);
        EXPECT_FALSE(outcome.failed) << constant.line << ": error " << outcome.code;
        values[constant.symbol] = outcome.value;
    }
    return values;
}

TEST(ConstantsFile, EveryLineHasANameAValueAndAUnitComment) {
    const std::vector<Constant> constants = ReadConstants();
    ASSERT_GE(constants.size(), 28U);
    for (const Constant& constant : constants) {
        EXPECT_NE(constant.line.find(" = "), std::string::npos) << constant.line;
        EXPECT_NE(constant.line.find(" ;"), std::string::npos) << constant.line;
        EXPECT_FALSE(constant.symbol.empty()) << constant.line;
    }
}

TEST(ConstantsFile, EveryValueEvaluatesToItsDecimal) {
    const std::vector<Constant> constants = ReadConstants();
    EvalContext ctx;
    for (const Constant& constant : constants) {
        const test::Outcome outcome = test::RunLine(ctx, constant.pasted);
        ASSERT_FALSE(outcome.failed) << constant.line << ": error " << outcome.code;
        const long double decimal = std::strtold(constant.pasted.c_str(), nullptr);
        EXPECT_NEAR(static_cast<long double>(outcome.value) / decimal, 1.0L, 1e-17L) << constant.line;
    }
}

TEST(ConstantsFile, ExactSiValuesAreExact) {
    const std::map<std::string, long double> v = EvaluateAll(ReadConstants());
    const std::map<std::string, long double> exact = {
        {"c", 299792458.0L},    {"h", 6.62607015e-34L}, {"e", 1.602176634e-19L}, {"k", 1.380649e-23L},
        {"NA", 6.02214076e23L}, {"gn", 9.80665L},       {"atm", 101325.0L},      {"eV", 1.602176634e-19L},
    };
    for (const auto& [symbol, value] : exact) {
        ASSERT_EQ(v.count(symbol), 1U) << symbol;
        EXPECT_NEAR(v.at(symbol) / value, 1.0L, 1e-17L) << symbol;
    }
}

TEST(ConstantsFile, DerivedConstantsAgreeWithTheirDefinitions) {
    std::map<std::string, long double> v = EvaluateAll(ReadConstants());
    const long double pi = std::numbers::pi_v<long double>;
    struct Relation {
        const char* name;
        long double left;
        long double right;
        long double tolerance; ///< relative: the uncertainty of the measured constants involved
    };
    const std::vector<Relation> relations = {
        {"hbar = h/(2 pi)", v["hbar"], v["h"] / (2 * pi), 1e-9L},
        {"R = NA k", v["R"], v["NA"] * v["k"], 1e-9L},
        {"F = NA e", v["F"], v["NA"] * v["e"], 1e-9L},
        {"eps0 mu0 c^2 = 1", v["eps0"] * v["mu0"] * v["c"] * v["c"], 1.0L, 1e-9L},
        {"ke = 1/(4 pi eps0)", v["ke"], 1 / (4 * pi * v["eps0"]), 1e-9L},
        {"alpha = e^2/(4 pi eps0 hbar c)", v["alpha"],
         v["e"] * v["e"] / (4 * pi * v["eps0"] * v["hbar"] * v["c"]), 1e-9L},
        {"a0 = hbar/(me c alpha)", v["a0"], v["hbar"] / (v["me"] * v["c"] * v["alpha"]), 1e-9L},
        {"Rinf = alpha^2 me c/(2 h)", v["Rinf"], v["alpha"] * v["alpha"] * v["me"] * v["c"] / (2 * v["h"]),
         1e-9L},
        {"sigma = 2 pi^5 k^4/(15 h^3 c^2)", v["sigma"],
         2 * std::pow(pi, 5) * std::pow(v["k"], 4) / (15 * std::pow(v["h"], 3) * v["c"] * v["c"]), 1e-9L},
        {"u NA = molar mass constant", v["u"] * v["NA"], 1.00000000105e-3L, 1e-9L},
        {"eV = e", v["eV"], v["e"], 1e-17L},
        {"mp/me", v["mp"] / v["me"], 1836.152673426L, 1e-9L},
        {"mn/me", v["mn"] / v["me"], 1838.68366200L, 1e-9L},
        {"G", v["G"], 6.6743e-11L, 1e-4L},
        // x = 4.965114231744276... solves x = 5 (1 - exp(-x)), the maximum of Planck's law.
        {"b = h c/(k x)", v["b"], v["h"] * v["c"] / (v["k"] * 4.965114231744276303698759L), 1e-9L},
        {"phi^2 = phi + 1", v["phi"] * v["phi"], v["phi"] + 1, 1e-18L},
        {"gamma", v["gamma"], 0.5772156649015328606L, 1e-18L},
        {"sqrt2^2 = 2", v["sqrt2"] * v["sqrt2"], 2.0L, 1e-18L},
        {"exp(ln2) = 2", std::exp(v["ln2"]), 2.0L, 1e-18L},
    };
    for (const Relation& r : relations) {
        EXPECT_NEAR(r.left / r.right, 1.0L, r.tolerance) << r.name;
    }
}

} // namespace
} // namespace mirla
