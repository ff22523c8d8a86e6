// End-to-end tests: run the built mirlac with arguments and piped standard input and check
// what it prints and how it exits. Expected result texts follow the formatting rules by hand:
// e.g. 3 in "Scn" with width 12 is first " 3.000E+0000", whose trimming frees four characters,
// so the second pass has width 16 and gives 3.0E+0.

#include "MirlacProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace mirla::test {
namespace {

/// One run: arguments, standard input, the expected standard output lines and exit status.
struct RunCase {
    const char* Name;
    std::vector<std::string> Args;
    std::string Input;
    std::vector<std::string> Expected;
    int ExitStatus;
};

void CheckRuns(const std::vector<RunCase>& cases) {
    for (const RunCase& c : cases) {
        const TRunResult result = RunMirlac(c.Args, c.Input);
        EXPECT_EQ(SplitLines(result.Out), c.Expected) << c.Name << "\nstderr: " << result.Err;
        EXPECT_EQ(result.ExitStatus, c.ExitStatus) << c.Name;
    }
}

/// A file in the temporary folder that is removed when the test ends.
class TTempFile {
public:
    TTempFile(const std::string& name, const std::string& content)
        : m_path(std::filesystem::temp_directory_path() /
                 ("mirlac_test_" + std::to_string(getpid()) + "_" + name)) {
        std::ofstream(m_path) << content;
    }
    ~TTempFile() { std::filesystem::remove(m_path); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    std::string Path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

TEST(MirlacResults, DefaultSettingsGiveScientificTextOfWidth12) {
    CheckRuns({
        {"sum", {"1+2"}, "", {"3.0E+0"}, 0},
        {"power of two", {"2^10"}, "", {"1.024E+3"}, 0},
        {"third", {"1/3"}, "", {"3.3333333E-1"}, 0},
        {"negative", {"-2*4"}, "", {"-8.0E+0"}, 0},
        {"zero", {"0"}, "", {"0.0E+0"}, 0},
        {"degrees by default", {"cos(60)"}, "", {"5.0E-1"}, 0},
    });
}

TEST(MirlacResults, OptionsChangeTheOutput) {
    CheckRuns({
        {"fixed", {"--notation=fix", "1234.5678"}, "", {"1234.5678"}, 0},
        {"fixed pi", {"--notation=fix", "3.14159265358979"}, "", {"3.141592654"}, 0},
        {"fixed negative", {"--notation=fix", "-3.14159265358979"}, "", {"-3.14159265"}, 0},
        {"fixed zero", {"--notation=fix", "0"}, "", {"0.0"}, 0},
        {"fixed below its range", {"--notation=fix", "0.00001"}, "", {"1.0E-5"}, 0},
        {"engineering", {"--notation=eng", "12345.678"}, "", {"12.34568E+3"}, 0},
        {"sexagesimal", {"--notation=sxg", "1.5", "-1.5"}, "", {"1:30:0", "-1:30:0"}, 0},
        {"wider", {"--digits=20", "1/3"}, "", {"3.333333333333333E-1"}, 0},
        {"radians", {"--angle=rad", "cos(60)"}, "", {"-9.52413E-1"}, 0},
        {"hexadecimal", {"--base=hex", "$FF", "$FF+$1"}, "", {"FF", "100"}, 0},
        {"base two in bytes",
         {"--base=bin", "--bits=8", "101", "-101", "100000000"},
         "",
         {"00000101 ", "-00000101 ", "00000001 00000000 "},
         0},
        {"base two in 32 bits", {"--base=bin", "101"}, "", {"00000000000000000000000000000101 "}, 0},
    });
}

TEST(MirlacResults, FormattingErrorsAreReportedAfterTheLine) {
    CheckRuns({
        {"hex overflow", {"--base=hex", "$80000000"}, "", {"error: Overflow: position 10"}, 1},
        {"hex overflow with blanks",
         {"--base=hex", "$80000000 + $0"},
         "",
         {"error: Overflow: position 15"},
         1},
        {"hex at the limit", {"--base=hex", "$7FFFFFFF"}, "", {"7FFFFFFF"}, 0},
        {"sexagesimal overflow", {"--notation=sxg", "600000"}, "", {"error: Change notation: position 7"}, 1},
    });
}

TEST(MirlacErrors, PositionsCountCharactersAsTyped) {
    CheckRuns({
        {"division by zero", {"1/0"}, "", {"error: Division by zero: position 3"}, 1},
        {"division by zero with blanks", {"1 / 0"}, "", {"error: Division by zero: position 5"}, 1},
        {"too many closing", {"2+3)"}, "", {"error: Too many \")\": position 4"}, 1},
        {"too many closing with blanks", {"2 + 3 )"}, "", {"error: Too many \")\": position 7"}, 1},
        {"missing closing", {"(2+3"}, "", {"error: Missing \")\": position 4"}, 1},
        {"closing before opening", {")2+3("}, "", {"error: Syntax error: position 1"}, 1},
        {"implicit multiplication", {"2(3)"}, "", {"error: Syntax error: position 2"}, 1},
    });
}

TEST(MirlacUtf8, CalculatorSymbolsArriveAsTheirEngineCharacters) {
    CheckRuns({
        {"square", {"3\xC2\xB2"}, "", {"9.0E+0"}, 0},
        {"cube", {"2\xC2\xB3"}, "", {"8.0E+0"}, 0},
        {"square root", {"4\xC2\xBD"}, "", {"2.0E+0"}, 0},
        {"pi", {"\xC2\xB6"}, "", {"3.1415927E+0"}, 0},
        {"symbols on stdin", {}, "3\xC2\xB2+1\n", {"1.0E+1"}, 0},
    });
}

TEST(MirlacUtf8, ForeignCharactersAreSyntaxErrorsAtTheirCharacterPosition) {
    CheckRuns({
        {"euro after a square", {"3\xC2\xB2+\xE2\x82\xAC"}, "", {"error: Syntax error: position 4"}, 1},
        {"e acute first", {"\xC3\xA9+1"}, "", {"error: Syntax error: position 1"}, 1},
        {"invalid byte", {"1+\xFF"}, "", {"error: Syntax error: position 3"}, 1},
        {"blank before a foreign character",
         {"1 + \xE2\x82\xAC"},
         "",
         {"error: Syntax error: position 5"},
         1},
        {"tab is not a blank", {"1+\t2"}, "", {"error: Syntax error: position 3"}, 1},
        {"delete character inside a line",
         {"1+2\x7F"
          "5"},
         "",
         {"error: Syntax error: position 4"},
         1},
    });
}

TEST(MirlacLines, StateCarriesFromLineToLine) {
    CheckRuns({
        {"previous result", {}, "2*3\n?+1\n", {"6.0E+0", "7.0E+0"}, 0},
        {"previous result skips failures",
         {},
         "5\n1/0\n?*2\n",
         {"5.0E+0", "error: Division by zero: position 3", "1.0E+1"},
         1},
        {"previous result in arguments", {"2", "?*5"}, "", {"2.0E+0", "1.0E+1"}, 0},
        {"one-letter variable", {}, "(X=3)\nX*2\n", {"3.0E+0", "6.0E+0"}, 0},
        {"user variable", {}, "(rate=0.25)\nrate*8\n", {"2.5E-1", "2.0E+0"}, 0},
        {"hex input follows the base", {"--base=hex"}, "$A\n?*$2\n", {"A", "14"}, 0},
    });
}

TEST(MirlacLines, EmptyLinesPrintNothingAndLineEndsAreDropped) {
    CheckRuns({
        {"empty lines", {}, "\n1+1\n\n\n2+2\n", {"2.0E+0", "4.0E+0"}, 0},
        {"no final line end", {}, "1+1", {"2.0E+0"}, 0},
        {"CR LF line ends", {}, "1+2\r\n2+2\r\n", {"3.0E+0", "4.0E+0"}, 0},
        {"empty argument", {"", "1+1"}, "", {"2.0E+0"}, 0},
        {"blanks only are an empty text, which is 0", {}, "   \n", {"0.0E+0"}, 0},
        {"no input at all", {}, "", {}, 0},
        {"arguments leave stdin unread", {"1+1"}, "2+2\n", {"2.0E+0"}, 0},
    });
}

TEST(MirlacLines, UnsetVariableWithoutTerminalIsNamedInTheError) {
    // Nobody can be asked, so the variable stays unset and the line stops where the reading
    // stopped: just after the name.
    CheckRuns({
        {"variable first", {}, "Y+1\n1+1\n", {"error: Variable Y has no value: position 2", "2.0E+0"}, 1},
        {"variable between blanks", {"1 + Y * 2"}, "", {"error: Variable Y has no value: position 7"}, 1},
        {"still unset afterwards",
         {},
         "Y\nZ\n",
         {"error: Variable Y has no value: position 1", "error: Variable Z has no value: position 1"},
         1},
    });
}

TEST(MirlacExit, StatusTellsWhetherEveryLineSucceeded) {
    CheckRuns({
        {"all succeed", {"1+1", "2+2"}, "", {"2.0E+0", "4.0E+0"}, 0},
        {"one fails and the rest still run",
         {"1/0", "2+2"},
         "",
         {"error: Division by zero: position 3", "4.0E+0"},
         1},
        {"failure in stdin", {}, "1+1\n(\n", {"2.0E+0", "error: Missing \")\": position 1"}, 1},
    });
}

TEST(MirlacExit, BadUsageIsStatus2WithAMessage) {
    const std::vector<std::vector<std::string>> badCommandLines = {
        {"--digits=2", "1+1"},
        {"--digits=41"},
        {"--bits=9"},
        {"--notation=sci"},
        {"--base=oct"},
        {"--precision=21"},
        {"--frobnicate"},
        {"--functions=/nonexistent/mirlac/none.FNC", "1+1"},
        {"--variables=/nonexistent/mirlac/none.USR", "1+1"},
    };
    for (const std::vector<std::string>& args : badCommandLines) {
        const TRunResult result = RunMirlac(args);
        EXPECT_EQ(result.ExitStatus, 2) << args[0];
        EXPECT_TRUE(result.Out.empty()) << args[0] << ": " << result.Out;
        EXPECT_FALSE(result.Err.empty()) << args[0];
    }
}

TEST(MirlacExit, DirectoryAsFunctionFileIsUnreadable) {
    const TRunResult result =
        RunMirlac({"--functions=" + std::filesystem::temp_directory_path().string(), "1"});
    EXPECT_EQ(result.ExitStatus, 2);
    EXPECT_TRUE(result.Out.empty());
}

TEST(MirlacExit, LostOutputIsStatus1WithTheReason) {
    struct Case {
        const char* Args;
        const char* Reason;
    };
    for (const Case& c :
         {Case{"1+1 >/dev/full", "No space left on device"},
          Case{"--help >/dev/full", "No space left on device"}, Case{"1+1 >&-", "Bad file descriptor"}}) {
        // Standard error goes to the pipe, then standard output where the case sends it.
        FILE* pipe = popen((std::string("'" MIRLAC_PATH "' 2>&1 ") + c.Args).c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string errors;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            errors += buffer;
        }
        const int status = pclose(pipe);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << c.Args << ": status " << status;
        EXPECT_EQ(errors, std::string("mirlac: Can't write standard output: ") + c.Reason + "\n") << c.Args;
    }
}

TEST(MirlacExit, HelpAndVersionSucceed) {
    const TRunResult help = RunMirlac({"--help"});
    EXPECT_EQ(help.ExitStatus, 0);
    EXPECT_NE(help.Out.find("--notation="), std::string::npos);
    EXPECT_NE(help.Out.find("--complex"), std::string::npos);
    EXPECT_NE(help.Out.find("--form=rect|polar"), std::string::npos);
    const TRunResult version = RunMirlac({"--version"});
    EXPECT_EQ(version.ExitStatus, 0);
    EXPECT_EQ(version.Out.rfind("mirlac ", 0), 0U) << version.Out;
}

TEST(MirlacFiles, UserFunctionsFromAFncFile) {
    const TTempFile functions("funcs.FNC",
                              "f(x) = x^2\n; a comment line\n\ng(a,b) = a*b+1 ; product plus one\n");
    CheckRuns({
        {"one parameter", {"--functions=" + functions.Path(), "f(3)"}, "", {"9.0E+0"}, 0},
        {"arguments are substituted as text",
         {"--functions=" + functions.Path(), "f(1+2)", "f((1+2))"},
         "",
         {"5.0E+0", "9.0E+0"},
         0},
        {"two parameters", {"--functions=" + functions.Path(), "g(2,3)"}, "", {"7.0E+0"}, 0},
    });
}

TEST(MirlacFiles, RefusedFunctionLineIsReportedAndLoadingStopsThere) {
    const TTempFile functions("refused.FNC", "f(x) = x^2\nh(x,x) = x\nk(x) = x+1\n");
    const TRunResult result = RunMirlac({"--functions=" + functions.Path(), "f(3)", "k(1)"});
    const std::vector<std::string> lines = SplitLines(result.Out);
    ASSERT_EQ(lines.size(), 2U) << result.Out;
    EXPECT_EQ(lines[0], "9.0E+0");
    EXPECT_EQ(lines[1].rfind("error: ", 0), 0U) << "k( comes after the refused line: " << lines[1];
    EXPECT_NE(result.Err.find("Dublicate parametrs (x,x)"), std::string::npos) << result.Err;
    EXPECT_EQ(result.ExitStatus, 1);
}

TEST(MirlacFiles, UserVariablesFromAUsrFile) {
    const TTempFile variables("vars.USR", "rate = 0.5\nlimit = 1.0E+3\n");
    CheckRuns({
        {"both variables",
         {"--variables=" + variables.Path(), "rate*4", "limit+1"},
         "",
         {"2.0E+0", "1.001E+3"},
         0},
    });
}

TEST(MirlacFiles, ExtremeValuesReadFromLiteralsAndUsrFiles) {
    const TTempFile variables("extreme.USR", "tiny = 1E-4940\nhuge = 1.18973E4932\n");
    CheckRuns({
        {"subnormal literal", {"3.36E-4932"}, "", {"3.36E-4932"}, 0},
        {"largest literal", {"1.18973149535723176502E4932"}, "", {"1.1897E+4932"}, 0},
        {"subnormal and largest variables",
         {"--variables=" + variables.Path(), "tiny", "huge"},
         "",
         {"1.0E-4940", "1.1897E+4932"},
         0},
    });
}

// Complex results: each part is rendered like a real result, with its own sign text taking one
// place of the width. comp(1/3,2/3): the real part has no sign text, so after the first pass
// (" 3.333E-0001", four characters freed) it gets width 16 and eight digits; the imaginary
// part's sign text "+" takes one place, so it gets width 15 and seven digits.
TEST(MirlacComplex, RectResultsShowBothPartsWithTheirSigns) {
    CheckRuns({
        {"integral parts", {"--complex", "comp(3,4)"}, "", {"3.0E+0+4.0E+0i"}, 0},
        {"imaginary part one digit shorter",
         {"--complex", "comp(1/3,2/3)"},
         "",
         {"3.3333333E-1+6.666667E-1i"},
         0},
        {"negative imaginary part", {"--complex", "comp(1/3,-2/3)"}, "", {"3.3333333E-1-6.666667E-1i"}, 0},
        {"negative real part", {"--complex", "comp(-1/3,2/3)"}, "", {"-3.333333E-1+6.666667E-1i"}, 0},
        {"zero imaginary part still shown",
         {"--complex", "--notation=fix", "comp(2,0)"},
         "",
         {"2.0+0.0i"},
         0},
        {"engineering",
         {"--complex", "--notation=eng", "comp(12345.678,-12345.678)"},
         "",
         {"12.34568E+3-12.3457E+3i"},
         0},
        {"wider", {"--complex", "--digits=20", "comp(1/3,0)"}, "", {"3.333333333333333E-1+0.0E+0i"}, 0},
        {"arithmetic",
         {"--complex", "comp(1,2)*comp(3,4)", "comp(1,2)-comp(1,2)"},
         "",
         {"-5.0E+0+1.0E+1i", "0.0E+0+0.0E+0i"},
         0},
        {"real expressions inside comp(", {"--complex", "comp(2^10, cos(60))"}, "", {"1.024E+3+5.0E-1i"}, 0},
        {"lines from stdin", {"--complex"}, "comp(0,1)*comp(0,1)\n", {"-1.0E+0+0.0E+0i"}, 0},
    });
}

TEST(MirlacComplex, PolarFormReadsAndShowsModulusAndArgument) {
    CheckRuns({
        {"modulus and argument",
         {"--complex", "--form=polar", "comp(2,0.5)"},
         "",
         {"2.0E+0*exp(5.0E-1i)"},
         0},
        {"negative argument keeps its sign",
         {"--complex", "--form=polar", "comp(2,-0.5)"},
         "",
         {"2.0E+0*exp(-5.0E-1i)"},
         0},
        {"product multiplies moduli and adds arguments",
         {"--complex", "--form=polar", "comp(2,0.5)*comp(3,0.25)"},
         "",
         {"6.0E+0*exp(7.5E-1i)"},
         0},
        {"rect reads real and imaginary part",
         {"--complex", "--form=rect", "comp(2,0.5)"},
         "",
         {"2.0E+0+5.0E-1i"},
         0},
    });
}

TEST(MirlacComplex, QuestionMarkIsThePreviousComplexResult) {
    CheckRuns({
        {"chained lines",
         {"--complex"},
         "comp(1,2)\n?*comp(0,1)\n?+?\n",
         {"1.0E+0+2.0E+0i", "-2.0E+0+1.0E+0i", "-4.0E+0+2.0E+0i"},
         0},
        {"chained arguments in polar form",
         {"--complex", "--form=polar", "comp(2,0.5)", "?*?"},
         "",
         {"2.0E+0*exp(5.0E-1i)", "4.0E+0*exp(1.0E+0i)"},
         0},
        {"zero before the first result", {"--complex", "?"}, "", {"0.0E+0+0.0E+0i"}, 0},
        {"a failed line keeps the previous result",
         {"--complex"},
         "comp(5,0)\ncomp(1,0)/comp(0,0)\n?*comp(2,0)\n",
         {"5.0E+0+0.0E+0i", "error: Division by zero: position 11", "1.0E+1+0.0E+0i"},
         1},
        {"inside comp( \"?\" is the real previous result, which complex lines leave alone",
         {"--complex", "comp(3,4)", "comp(?,1)"},
         "",
         {"3.0E+0+4.0E+0i", "0.0E+0+1.0E+0i"},
         0},
    });
}

TEST(MirlacComplex, ErrorsArePlacedInTheLineAsTyped) {
    CheckRuns({
        {"division by zero just after the slash",
         {"--complex", "comp(1,0)/comp(0,0)"},
         "",
         {"error: Division by zero: position 11"},
         1},
        {"division by zero with blanks",
         {"--complex", "comp(1,0) / comp(0,0)"},
         "",
         {"error: Division by zero: position 13"},
         1},
        {"number outside comp( at the start",
         {"--complex", "2*comp(1,1)"},
         "",
         {"error: Syntax error: position 1"},
         1},
        {"number outside comp( at the end",
         {"--complex", "comp(1,1)+2"},
         "",
         {"error: Syntax error: position 11"},
         1},
        {"error inside a comp( argument",
         {"--complex", "comp(1,1/0)"},
         "",
         {"error: Division by zero: position 10"},
         1},
        {"error inside a comp( argument with blanks",
         {"--complex", "comp( 1 , 1 / 0 )"},
         "",
         {"error: Division by zero: position 15"},
         1},
        {"missing closing parenthesis",
         {"--complex", "comp(1,2"},
         "",
         {"error: Missing \")\": position 8"},
         1},
        {"function singularity",
         {"--complex", "ln(comp(0,0))"},
         "",
         {"error: Function singularity: position 1"},
         1},
        {"the rest still runs",
         {"--complex", "2*comp(1,1)", "comp(1,1)"},
         "",
         {"error: Syntax error: position 1", "1.0E+0+1.0E+0i"},
         1},
    });
}

TEST(MirlacComplex, FormWithoutComplexModeIsHarmless) {
    CheckRuns({
        {"real result", {"--form=polar", "1+1"}, "", {"2.0E+0"}, 0},
        {"with another base", {"--base=hex", "--form=polar", "$A"}, "", {"A"}, 0},
    });
}

TEST(MirlacComplex, BadCombinationsAreStatus2WithAMessage) {
    const std::vector<std::vector<std::string>> badCommandLines = {
        {"--complex", "--base=hex", "comp(1,1)"},
        {"--base=bin", "--complex", "comp(1,1)"},
        {"--complex", "--notation=sxg", "comp(1,1)"},
        {"--complex", "--form=degrees", "comp(1,1)"},
        {"--form=", "1"},
    };
    for (const std::vector<std::string>& args : badCommandLines) {
        const TRunResult result = RunMirlac(args);
        const std::string name = ::testing::PrintToString(args);
        EXPECT_EQ(result.ExitStatus, 2) << name;
        EXPECT_TRUE(result.Out.empty()) << name << ": " << result.Out;
        EXPECT_NE(result.Err.find("mirlac: "), std::string::npos) << name << ": " << result.Err;
    }
}

TEST(MirlacProgress, NeverReachesPipes) {
    // The integral of sqrt(X) needs many passes, each a progress estimate at a terminal.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"integral(0,1,sqrt(X))"}, {"--complex", "comp(integral(0,1,sqrt(X)),0)"}}) {
        const TRunResult result = RunMirlac(args);
        const std::string name = ::testing::PrintToString(args);
        ASSERT_EQ(SplitLines(result.Out).size(), 1U) << name << ": " << result.Out;
        EXPECT_EQ(result.Out.rfind("6.6666667E-1", 0), 0U) << name << ": " << result.Out;
        EXPECT_TRUE(result.Err.empty()) << name << ": " << result.Err;
        EXPECT_EQ(result.ExitStatus, 0) << name;
    }
}

TEST(MirlacInterrupt, CtrlCEndsALongComputationWithUserBreakAndMirlacGoesOn) {
    TMirlacProcess process({});
    ASSERT_TRUE(process.Write("(J=1)\n(K=1E15)\n(M=1)\n"));
    std::string line;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(process.ReadLine(line));
    }
    ASSERT_TRUE(process.Write("forJtoKstepMdo(?+J)\n"));
    // The request must arrive while the loop runs; repeat it until the line is answered.
    bool answered = false;
    for (int attempt = 0; attempt < 600 && !answered; ++attempt) {
        process.Interrupt();
        answered = process.LineReady(50);
    }
    ASSERT_TRUE(answered) << "the loop did not stop";
    ASSERT_TRUE(process.ReadLine(line));
    EXPECT_EQ(line.rfind("error: User break: position ", 0), 0U) << line;
    ASSERT_TRUE(process.Write("1+1\n"));
    const TRunResult rest = process.Finish();
    EXPECT_EQ(SplitLines(rest.Out), std::vector<std::string>{"2.0E+0"});
    EXPECT_EQ(rest.ExitStatus, 1);
}

} // namespace
} // namespace mirla::test
