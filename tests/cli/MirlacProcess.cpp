#include "MirlacProcess.h"

#include <csignal>
#include <cstring>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace mirla::test {

namespace {

void ClosePipe(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

/// Reads a pipe or a pseudo-terminal to its end (a pseudo-terminal whose other side closed
/// reports an error after its last data).
std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text;
}

/// A pipe, or a pseudo-terminal whose controlling side is the read end; false on failure.
bool OpenErrorStream(TErrorStream errorStream, int (&ends)[2]) {
    if (errorStream == TErrorStream::Terminal) {
        return openpty(&ends[0], &ends[1], nullptr, nullptr, nullptr) == 0;
    }
    return pipe(ends) == 0;
}

} // namespace

TMirlacProcess::TMirlacProcess(const std::vector<std::string>& args, TErrorStream errorStream,
                               const char* program) {
    // Writing to a mirlac that has already exited must fail the test, not kill it.
    std::signal(SIGPIPE, SIG_IGN);
    int in[2];
    int out[2];
    int err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || !OpenErrorStream(errorStream, err)) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    for (const int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&m_pid, program, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    close(err[1]);
    m_in = in[1];
    m_out = out[0];
    m_err = err[0];
    if (spawned != 0) {
        throw std::runtime_error(std::string("cannot start ") + program + ": " + std::strerror(spawned));
    }
}

TMirlacProcess::~TMirlacProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    ClosePipe(m_in);
    ClosePipe(m_out);
    ClosePipe(m_err);
}

bool TMirlacProcess::Write(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = write(m_in, text.data() + done, text.size() - done);
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

void TMirlacProcess::CloseInput() {
    ClosePipe(m_in);
}

bool TMirlacProcess::LineReady(int milliseconds) {
    if (m_outBuffer.find('\n') != std::string::npos) {
        return true;
    }
    pollfd request{m_out, POLLIN, 0};
    if (poll(&request, 1, milliseconds) <= 0) {
        return false;
    }
    char buffer[4096];
    const ssize_t count = read(m_out, buffer, sizeof buffer);
    if (count > 0) {
        m_outBuffer.append(buffer, static_cast<std::size_t>(count));
    }
    return m_outBuffer.find('\n') != std::string::npos;
}

bool TMirlacProcess::ReadLine(std::string& line) {
    std::size_t end = 0;
    while ((end = m_outBuffer.find('\n')) == std::string::npos) {
        char buffer[4096];
        const ssize_t count = read(m_out, buffer, sizeof buffer);
        if (count <= 0) {
            return false;
        }
        m_outBuffer.append(buffer, static_cast<std::size_t>(count));
    }
    line = m_outBuffer.substr(0, end);
    m_outBuffer.erase(0, end + 1);
    return true;
}

void TMirlacProcess::Interrupt() {
    kill(m_pid, SIGINT);
}

TRunResult TMirlacProcess::Finish() {
    CloseInput();
    TRunResult result;
    result.Out = m_outBuffer + ReadAll(m_out);
    m_outBuffer.clear();
    result.Err = ReadAll(m_err);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TRunResult RunMirlac(const std::vector<std::string>& args, const std::string& input, const char* program) {
    TMirlacProcess process(args, TErrorStream::Pipe, program);
    process.Write(input);
    return process.Finish();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace mirla::test
