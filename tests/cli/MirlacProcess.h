#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace mirla::test {

/// What a finished run of mirlac produced.
struct TRunResult {
    int ExitStatus = -1; ///< the exit code, or -1 when the process did not exit normally
    std::string Out;
    std::string Err;
};

/// What a started mirlac writes its standard error to.
enum class TErrorStream { Pipe, Terminal };

/// A running mirlac whose standard input and output are pipes held by the test, and whose
/// standard error is a pipe or a pseudo-terminal read through the same calls.
class TMirlacProcess {
public:
    /// Starts the built mirlac (or another `program`) with these arguments.
    explicit TMirlacProcess(const std::vector<std::string>& args,
                            TErrorStream errorStream = TErrorStream::Pipe, const char* program = MIRLAC_PATH);
    ~TMirlacProcess();
    TMirlacProcess(const TMirlacProcess&) = delete;
    TMirlacProcess& operator=(const TMirlacProcess&) = delete;

    /// Writes text to mirlac's standard input; false when mirlac no longer reads it.
    bool Write(const std::string& text);
    /// Closes mirlac's standard input (end of file).
    void CloseInput();
    /// Reads one line of standard output without its line end; false at end of output.
    bool ReadLine(std::string& line);
    /// True when a whole line of output is waiting, after waiting at most `milliseconds`.
    bool LineReady(int milliseconds);
    /// Sends SIGINT, as Ctrl-C would.
    void Interrupt();
    /// Closes the input, reads the rest of both outputs and waits for the exit.
    TRunResult Finish();

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_outBuffer;
};

/// Runs mirlac (or another `program`) with these arguments and this standard input to the end.
TRunResult RunMirlac(const std::vector<std::string>& args, const std::string& input = "",
                     const char* program = MIRLAC_PATH);

/// The lines of a text, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace mirla::test
