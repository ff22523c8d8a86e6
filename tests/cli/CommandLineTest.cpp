#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirla {
namespace {

/// A command line that must be accepted, and the one setting it must change.
struct AcceptedCase {
    std::vector<std::string> Args;
    int TCliOptions::*Setting;
    int Expected;
};

TEST(CommandLine, DefaultsAreThoseOfTheWindowWithoutSettings) {
    const TCommandLine parsed = ParseCommandLine({});
    ASSERT_EQ(parsed.Action, CliAction::Run);
    EXPECT_EQ(parsed.Options.Notation, 0);
    EXPECT_EQ(parsed.Options.Width, 12);
    EXPECT_EQ(parsed.Options.Base, 0);
    EXPECT_EQ(parsed.Options.Bits, 32);
    EXPECT_EQ(parsed.Options.AngleMode, 1);
    EXPECT_EQ(parsed.Options.Precision, 9);
    EXPECT_FALSE(parsed.Options.Complex);
    EXPECT_EQ(parsed.Options.ComplexForm, 1);
    EXPECT_TRUE(parsed.Options.FunctionsFile.empty());
    EXPECT_TRUE(parsed.Options.VariablesFile.empty());
    EXPECT_TRUE(parsed.Options.Expressions.empty());
}

TEST(CommandLine, EachOptionSetsItsSetting) {
    const std::vector<AcceptedCase> cases = {
        {{"--notation=scn"}, &TCliOptions::Notation, 0},
        {{"--notation=fix"}, &TCliOptions::Notation, 1},
        {{"--notation=eng"}, &TCliOptions::Notation, 2},
        {{"--notation=sxg"}, &TCliOptions::Notation, 3},
        {{"--digits=3"}, &TCliOptions::Width, 3},
        {{"--digits=40"}, &TCliOptions::Width, 40},
        {{"--digits=26"}, &TCliOptions::Width, 26},
        {{"--base=dec"}, &TCliOptions::Base, 0},
        {{"--base=hex"}, &TCliOptions::Base, 1},
        {{"--base=bin"}, &TCliOptions::Base, 2},
        {{"--bits=7"}, &TCliOptions::Bits, 7},
        {{"--bits=8"}, &TCliOptions::Bits, 8},
        {{"--bits=16"}, &TCliOptions::Bits, 16},
        {{"--bits=32"}, &TCliOptions::Bits, 32},
        {{"--angle=rad"}, &TCliOptions::AngleMode, 0},
        {{"--angle=deg"}, &TCliOptions::AngleMode, 1},
        {{"--precision=1"}, &TCliOptions::Precision, 1},
        {{"--precision=20"}, &TCliOptions::Precision, 20},
        {{"--form=polar"}, &TCliOptions::ComplexForm, 0},
        {{"--form=rect"}, &TCliOptions::ComplexForm, 1},
        {{"--complex", "--form=polar"}, &TCliOptions::ComplexForm, 0},
        {{"--complex", "--notation=eng"}, &TCliOptions::Notation, 2},
        {{"--complex", "--base=dec"}, &TCliOptions::Base, 0},
        {{"--form=polar", "--base=hex"}, &TCliOptions::Base, 1},
        {{"--form=polar", "--notation=sxg"}, &TCliOptions::Notation, 3},
        {{"--digits=5", "--digits=7"}, &TCliOptions::Width, 7},
        {{"1+2", "--notation=fix"}, &TCliOptions::Notation, 1},
    };
    for (const AcceptedCase& c : cases) {
        const std::string name = ::testing::PrintToString(c.Args);
        const TCommandLine parsed = ParseCommandLine(c.Args);
        ASSERT_EQ(parsed.Action, CliAction::Run) << name << ": " << parsed.Problem;
        EXPECT_EQ(parsed.Options.*c.Setting, c.Expected) << name;
    }
}

TEST(CommandLine, MalformedOrOutOfRangeValuesAreBadUsage) {
    const std::vector<std::string> badArgs = {
        "--notation=SCN", "--notation=",
        "--notation",     "--digits=2",
        "--digits=41",    "--digits=-5",
        "--digits=+5",    "--digits=12x",
        "--digits= 12",   "--digits=",
        "--base=oct",     "--bits=9",
        "--bits=0",       "--bits=64",
        "--angle=grad",   "--precision=0",
        "--precision=21", "--functions=",
        "--variables=",   "--unknown=1",
        "--verbose",      "--digits=99999999999999999999",
        "--form=",        "--form=Polar",
        "--form=exp",     "--form",
        "--complex=yes",
    };
    for (const std::string& arg : badArgs) {
        const TCommandLine parsed = ParseCommandLine({arg});
        EXPECT_EQ(parsed.Action, CliAction::BadUsage) << arg;
        EXPECT_FALSE(parsed.Problem.empty()) << arg;
    }
}

TEST(CommandLine, ComplexFlagSelectsComplexMode) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--complex"}, {"comp(1,2)", "--complex"}, {"--form=rect", "--complex", "--digits=20"}}) {
        const TCommandLine parsed = ParseCommandLine(args);
        ASSERT_EQ(parsed.Action, CliAction::Run) << ::testing::PrintToString(args) << ": " << parsed.Problem;
        EXPECT_TRUE(parsed.Options.Complex) << ::testing::PrintToString(args);
    }
    const TCommandLine afterDoubleDash = ParseCommandLine({"--", "--complex"});
    EXPECT_FALSE(afterDoubleDash.Options.Complex);
    EXPECT_EQ(afterDoubleDash.Options.Expressions, std::vector<std::string>{"--complex"});
}

TEST(CommandLine, ComplexModeRefusesNonDecimalBasesAndSexagesimalNotation) {
    const std::vector<std::vector<std::string>> badCombinations = {
        {"--complex", "--base=hex"},
        {"--base=bin", "--complex"},
        {"--complex", "--notation=sxg"},
        {"--notation=sxg", "--form=polar", "--complex"},
    };
    for (const std::vector<std::string>& args : badCombinations) {
        const TCommandLine parsed = ParseCommandLine(args);
        EXPECT_EQ(parsed.Action, CliAction::BadUsage) << ::testing::PrintToString(args);
        EXPECT_NE(parsed.Problem.find("--complex"), std::string::npos) << parsed.Problem;
    }
}

TEST(CommandLine, ExpressionsKeepTheirOrderAndMayBeginWithASign) {
    const TCommandLine parsed = ParseCommandLine({"1+2", "--digits=20", "-3*4", "?", "-X"});
    ASSERT_EQ(parsed.Action, CliAction::Run);
    EXPECT_EQ(parsed.Options.Expressions, (std::vector<std::string>{"1+2", "-3*4", "?", "-X"}));
    EXPECT_EQ(parsed.Options.Width, 20);
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
    const TCommandLine parsed = ParseCommandLine({"--base=hex", "--", "--1", "--digits=5"});
    ASSERT_EQ(parsed.Action, CliAction::Run);
    EXPECT_EQ(parsed.Options.Base, 1);
    EXPECT_EQ(parsed.Options.Width, 12);
    EXPECT_EQ(parsed.Options.Expressions, (std::vector<std::string>{"--1", "--digits=5"}));
}

TEST(CommandLine, FileOptionsKeepTheirNames) {
    const TCommandLine parsed = ParseCommandLine({"--functions=my funcs.FNC", "--variables=a=b.USR"});
    ASSERT_EQ(parsed.Action, CliAction::Run);
    EXPECT_EQ(parsed.Options.FunctionsFile, "my funcs.FNC");
    EXPECT_EQ(parsed.Options.VariablesFile, "a=b.USR");
}

TEST(CommandLine, HelpAndVersionWinOverWhatFollows) {
    EXPECT_EQ(ParseCommandLine({"--help", "--digits=1"}).Action, CliAction::Help);
    EXPECT_EQ(ParseCommandLine({"1+2", "--version"}).Action, CliAction::Version);
    EXPECT_EQ(ParseCommandLine({"--digits=1", "--help"}).Action, CliAction::BadUsage);
}

TEST(CommandLine, UsageNamesEveryOption) {
    const std::string usage = UsageText();
    for (const char* option :
         {"--notation=", "--digits=", "--base=", "--bits=", "--angle=", "--precision=", "--functions=",
          "--variables=", "--help", "--version", "--complex", "--form="}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

} // namespace
} // namespace mirla
