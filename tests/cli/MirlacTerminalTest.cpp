// End-to-end tests of mirlac at a terminal: it runs on a pseudo-terminal, so that it prompts,
// asks for unset variables, confirms a break and shows integration progress, as it does for a
// user. Keys are typed only
// while mirlac waits for them, as a user would: keys typed ahead land while the line editor
// does not own the terminal, where Ctrl-D is the terminal's end-of-file mark and Ctrl-C
// discards what was typed.

#include "MirlacProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace mirla::test {
namespace {

/// Longest wait for an expected event before the test gives up (a hang guard, not a timing check).
constexpr std::chrono::seconds PatienceLimit{20};

/// The text of a file of /proc, empty when it cannot be read.
std::string ReadProcFile(pid_t pid, const char* name) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/" + name);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

/// mirlac running with a pseudo-terminal as its standard input, output and error.
class TTerminalSession {
public:
    TTerminalSession() {
        m_pid = forkpty(&m_terminal, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            execl(MIRLAC_PATH, MIRLAC_PATH, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~TTerminalSession() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_terminal >= 0) {
            close(m_terminal);
        }
    }
    TTerminalSession(const TTerminalSession&) = delete;
    TTerminalSession& operator=(const TTerminalSession&) = delete;

    bool Started() const { return m_pid > 0; }

    /// Waits until mirlac waits for a key, then types `keys`; false when it never waits.
    bool Type(const std::string& keys) {
        const bool waiting = WaitUntil([this] { return IsWaitingForKeys(); });
        return waiting && write(m_terminal, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
    }

    /// Presses `keys` at once, whatever mirlac does, until `text` shows. A key pressed just as
    /// a computation starts or goes on may be overtaken by the engine clearing the break
    /// request, so it is pressed again when nothing shows for a while.
    bool PressUntil(const std::string& keys, const std::string& text) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (write(m_terminal, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) {
                return false;
            }
            if (WaitFor(text, std::chrono::seconds(1))) {
                return true;
            }
        }
        return false;
    }

    /// Types `keys` like `Type`, then waits until mirlac has read them all, so that a key
    /// pressed afterwards cannot land in the line or answer being read; false when it never
    /// reads them.
    bool TypeAndWaitUntilRead(const std::string& keys) {
        const long long before = BytesRead();
        return before >= 0 && Type(keys) &&
               WaitUntil([&] { return BytesRead() >= before + static_cast<long long>(keys.size()); });
    }

    /// Waits until `text` appears in the output after what earlier waits consumed, and consumes
    /// the output up to its end. False when it does not come.
    bool WaitFor(const std::string& text, std::chrono::seconds limit = PatienceLimit) {
        std::size_t found = std::string::npos;
        const bool seen = WaitUntil(
            [&] {
                found = m_output.find(text, m_consumed);
                return found != std::string::npos || !ReadSome();
            },
            limit);
        if (!seen || found == std::string::npos) {
            return false;
        }
        m_consumed = found + text.size();
        return true;
    }

    /// Everything the terminal has shown so far.
    const std::string& Output() const { return m_output; }

    /// Ends the input with Ctrl-D at the prompt and returns the exit status; -1 when mirlac
    /// did not exit.
    int EndInput() {
        if (!Type("\x04")) {
            return -1;
        }
        int status = 0;
        const bool exited = WaitUntil([&] {
            ReadSome();
            return waitpid(m_pid, &status, WNOHANG) == m_pid;
        });
        if (!exited) {
            return -1;
        }
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    /// The process state as /proc shows it: 'R' running, 'S' waiting, '?' unknown.
    char ProcessState() const {
        const std::string stat = ReadProcFile(m_pid, "stat");
        const std::size_t afterName = stat.rfind(") ");
        return afterName != std::string::npos && afterName + 2 < stat.size() ? stat[afterName + 2] : '?';
    }

    /// Bytes mirlac has read so far, as /proc counts them; -1 when /proc does not tell.
    long long BytesRead() const {
        const std::string io = ReadProcFile(m_pid, "io");
        const std::string field = "rchar: ";
        const std::size_t at = io.find(field);
        return at == std::string::npos ? -1 : std::stoll(io.substr(at + field.size()));
    }

    /// True while mirlac is blocked reading standard input (system call 0 on descriptor 0);
    /// where /proc does not tell system calls, any wait counts.
    bool IsWaitingForKeys() const {
        const std::string syscall = ReadProcFile(m_pid, "syscall");
        return syscall.empty() ? ProcessState() == 'S' : syscall.starts_with("0 0x0 ");
    }

    template <typename Condition>
    static bool WaitUntil(Condition condition, std::chrono::seconds limit = PatienceLimit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            usleep(5000);
        }
        return true;
    }

    /// Reads what the terminal shows, if anything; false at its end.
    bool ReadSome() {
        pollfd request{m_terminal, POLLIN, 0};
        if (poll(&request, 1, 0) == 0) {
            return true;
        }
        char buffer[1024];
        const ssize_t count = read(m_terminal, buffer, sizeof buffer);
        if (count <= 0) {
            return false;
        }
        m_output.append(buffer, static_cast<std::size_t>(count));
        return true;
    }

    pid_t m_pid = -1;
    int m_terminal = -1;
    std::string m_output;
    std::size_t m_consumed = 0;
};

/// The pieces of terminal output between carriage returns, without blanks at their ends.
std::vector<std::string> PiecesBetweenCarriageReturns(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t end = text.find('\r'); end != std::string::npos; end = text.find('\r', start)) {
        std::string piece = text.substr(start, end - start);
        piece.erase(piece.find_last_not_of(' ') + 1);
        pieces.push_back(std::move(piece));
        start = end + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

/// True when `text` is a whole number text within `tolerance` of the integral of sqrt(X) from 0 to 1, 2/3.
bool IsEstimateOfTwoThirds(const std::string& text, long double tolerance) {
    std::size_t used = 0;
    try {
        const long double value = std::stold(text, &used);
        return used == text.size() && std::fabs(value - 2.0L / 3.0L) < tolerance;
    } catch (const std::exception&) {
        return false;
    }
}

TEST(MirlacTerminal, PromptsAndEvaluatesTypedLines) {
    TTerminalSession session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Type("1+2\r"));
    EXPECT_TRUE(session.WaitFor("> 1+2\r\n3.0E+0\r\n")) << session.Output();
    ASSERT_TRUE(session.Type("3\xC2\xB2\r"));
    EXPECT_TRUE(session.WaitFor("9.0E+0")) << session.Output();
    EXPECT_EQ(session.EndInput(), 0) << session.Output();
}

TEST(MirlacTerminal, UnsetVariableIsAskedForAndAnErrorInTheAnswerAsksAgain) {
    TTerminalSession session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Type("Y*2\r"));
    ASSERT_TRUE(session.WaitFor("Y = ")) << session.Output();
    ASSERT_TRUE(session.Type("1/0\r"));
    ASSERT_TRUE(session.WaitFor("error: Division by zero: position 3")) << session.Output();
    ASSERT_TRUE(session.WaitFor("Y = ")) << session.Output();
    ASSERT_TRUE(session.Type("2 + 2\r"));
    EXPECT_TRUE(session.WaitFor("8.0E+0")) << session.Output();
    ASSERT_TRUE(session.Type("Y\r"));
    EXPECT_TRUE(session.WaitFor("4.0E+0")) << "the answer stays in the variable: " << session.Output();
    EXPECT_EQ(session.EndInput(), 0) << session.Output();
}

TEST(MirlacTerminal, EmptyAnswerCancelsWithUserBreak) {
    TTerminalSession session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Type("Z+1\r"));
    ASSERT_TRUE(session.WaitFor("Z = ")) << session.Output();
    ASSERT_TRUE(session.Type("\r"));
    EXPECT_TRUE(session.WaitFor("error: User break: position 2")) << session.Output();
    EXPECT_EQ(session.EndInput(), 1) << session.Output();
}

TEST(MirlacTerminal, CtrlCAtThePromptDropsTheLine) {
    TTerminalSession session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Type("12345"));
    ASSERT_TRUE(session.WaitFor("12345"));
    ASSERT_TRUE(session.Type("\x03"));
    ASSERT_TRUE(session.WaitFor("> ")) << session.Output();
    ASSERT_TRUE(session.Type("2+2\r"));
    EXPECT_TRUE(session.WaitFor("4.0E+0")) << session.Output();
    EXPECT_EQ(session.Output().find("1.2345E+4"), std::string::npos) << session.Output();
    EXPECT_EQ(session.EndInput(), 0) << session.Output();
}

TEST(MirlacTerminal, CtrlCDuringAComputationAsksAndBreaksOnYes) {
    const std::string question = "Do you realy wont break calculation? (y/n) ";
    TTerminalSession session;
    ASSERT_TRUE(session.Started());
    // Ctrl-C before mirlac has read a line or an answer would discard it instead of breaking.
    for (const char* line : {"(J=1)\r", "(K=1E15)\r", "(M=1)\r", "forJtoKstepMdo(?+J)\r"}) {
        ASSERT_TRUE(session.TypeAndWaitUntilRead(line));
    }
    ASSERT_TRUE(session.PressUntil("\x03", question)) << session.Output();
    ASSERT_TRUE(session.TypeAndWaitUntilRead("n\r"));
    ASSERT_TRUE(session.PressUntil("\x03", question)) << "no goes on: " << session.Output();
    ASSERT_TRUE(session.Type("y\r"));
    EXPECT_TRUE(session.WaitFor("error: User break: position 19")) << session.Output();
    ASSERT_TRUE(session.Type("6*7\r"));
    EXPECT_TRUE(session.WaitFor("4.2E+1")) << "mirlac survives the break: " << session.Output();
    EXPECT_EQ(session.EndInput(), 1) << session.Output();
}

TEST(MirlacProgress, EstimatesShowInPlaceOnATerminalStandardErrorAndAreClearedAtTheEnd) {
    // Output goes to a pipe, standard error to a terminal: the estimates show there and only there.
    const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
        {{"integral(0,1,sqrt(X))"}, "6.6666667E-1\n"},
        {{"--complex", "comp(integral(0,1,sqrt(X)),0)"}, "6.6666667E-1+0.0E+0i\n"},
    };
    for (const auto& [args, expectedOut] : runs) {
        const std::string name = ::testing::PrintToString(args);
        TMirlacProcess process(args, TErrorStream::Terminal);
        const TRunResult result = process.Finish();
        EXPECT_EQ(result.Out, expectedOut) << name;
        EXPECT_EQ(result.ExitStatus, 0) << name;
        // "\r" estimate (blank-padded) once per pass, then "\r", blanks and "\r" at the end.
        ASSERT_GE(result.Err.size(), 2U) << name;
        EXPECT_EQ(result.Err.front(), '\r') << name;
        EXPECT_EQ(result.Err.back(), '\r') << name;
        const std::vector<std::string> pieces = PiecesBetweenCarriageReturns(result.Err);
        ASSERT_GE(pieces.size(), 5U) << name << ": " << result.Err;
        const std::vector<std::string> estimates(pieces.begin() + 1, pieces.end() - 2);
        for (const std::string& estimate : estimates) {
            EXPECT_TRUE(IsEstimateOfTwoThirds(estimate, 1e-3L)) << name << ": " << estimate;
        }
        EXPECT_TRUE(IsEstimateOfTwoThirds(estimates.back(), 1e-9L)) << name << ": " << estimates.back();
        EXPECT_TRUE(pieces[pieces.size() - 2].empty()) << name << ": the last piece must be blanks";
        std::size_t widest = 0;
        for (const std::string& estimate : estimates) {
            widest = std::max(widest, estimate.size());
        }
        const std::size_t clearing =
            result.Err.size() - 1 - result.Err.rfind('\r', result.Err.size() - 2) - 1;
        EXPECT_GE(clearing, widest) << name << ": the blanks must cover every estimate";
    }
}

TEST(MirlacTerminal, IntegrationProgressIsClearedBeforeTheResultShows) {
    TTerminalSession session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Type("integral(0,1,sqrt(X))\r"));
    ASSERT_TRUE(session.WaitFor("integral(0,1,sqrt(X))\r\n")) << session.Output();
    const std::size_t lineEnd = session.Output().size();
    ASSERT_TRUE(session.WaitFor("6.6666667E-1\r\n")) << session.Output();
    const std::string shown = session.Output().substr(lineEnd);
    // Estimates, then blanks over them, then the result at the start of the cleared line.
    const std::vector<std::string> pieces = PiecesBetweenCarriageReturns(shown);
    ASSERT_GE(pieces.size(), 4U) << shown;
    EXPECT_TRUE(IsEstimateOfTwoThirds(pieces[1], 1e-3L)) << shown;
    const auto result = std::find(pieces.begin(), pieces.end(), "6.6666667E-1");
    ASSERT_NE(result, pieces.end()) << shown;
    ASSERT_GE(result - pieces.begin(), 3) << shown;
    EXPECT_TRUE((result - 1)->empty()) << "the line must be cleared: " << shown;
    EXPECT_TRUE(IsEstimateOfTwoThirds(*(result - 2), 1e-9L)) << shown;
    EXPECT_EQ(session.EndInput(), 0) << session.Output();
}

} // namespace
} // namespace mirla::test
