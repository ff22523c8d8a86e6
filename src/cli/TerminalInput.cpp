#include "cli/TerminalInput.h"

#include "cli/Interrupts.h"
#include "engine/EngineText.h"
#include "runtime/TextEncoding.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <unistd.h>

#include <editline/readline.h>

namespace mirla {

namespace {

/// Results of `ReadByte` besides a byte value.
constexpr int EndOfInputByte = -1;
constexpr int InterruptedByte = -2;

/// Bytes read ahead while decoding a key that belong to the next keys.
std::string g_pendingBytes;
/// Set when Ctrl-C ended the line being edited.
bool g_lineInterrupted = false;

int ReadByte() {
    if (!g_pendingBytes.empty()) {
        const auto byte = static_cast<unsigned char>(g_pendingBytes.front());
        g_pendingBytes.erase(0, 1);
        return byte;
    }
    for (;;) {
        unsigned char byte = 0;
        const ssize_t count = read(STDIN_FILENO, &byte, 1);
        if (count == 1) {
            return byte;
        }
        if (count < 0 && errno == EINTR) {
            if (TakeInterrupt()) {
                return InterruptedByte;
            }
            continue;
        }
        return EndOfInputByte;
    }
}

/// The line editor's key reader: one character per call, decoded from UTF-8. A malformed
/// sequence becomes U+FFFD, which the conversion to engine text rejects like any other
/// foreign character. Ctrl-C ends the line and marks it as interrupted.
int ReadKey(FILE* /*stream*/) {
    const int lead = ReadByte();
    if (lead == InterruptedByte) {
        g_lineInterrupted = true;
        return '\n';
    }
    if (lead == EndOfInputByte) {
        return -1;
    }
    std::string bytes(1, static_cast<char>(lead));
    const int length = Utf8SequenceLength(static_cast<unsigned char>(lead));
    while (static_cast<int>(bytes.size()) < length) {
        const int next = ReadByte();
        if (next < 0) {
            break;
        }
        bytes.push_back(static_cast<char>(next));
    }
    std::size_t used = 0;
    const char32_t codePoint = DecodeUtf8(bytes, used);
    g_pendingBytes.insert(0, bytes.substr(used));
    return codePoint == InvalidCodePoint ? 0xFFFD : static_cast<int>(codePoint);
}

/// The editor hands back lines in the character set of the locale; make it UTF-8.
void UseUtf8Locale() {
    std::setlocale(LC_CTYPE, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
}

} // namespace

void InitTerminalInput() {
    UseUtf8Locale();
    rl_getc_function = ReadKey;
    rl_catch_signals = 0;
    if (isatty(STDOUT_FILENO) == 0) {
        rl_outstream = stderr;
    }
    rl_initialize();
    using_history();
    rl_bind_key('\t', rl_insert);
}

TTerminalLine ReadTerminalLine(const std::string& prompt) {
    TakeInterrupt(); // a Ctrl-C that came during a computation is not meant for this line
    g_lineInterrupted = false;
    char* raw = readline(prompt.c_str());
    TTerminalLine line;
    if (g_lineInterrupted) {
        line.Status = TReadStatus::Interrupted;
    } else if (raw != nullptr) {
        line.Status = TReadStatus::Line;
        line.Text = raw;
    }
    std::free(raw);
    return line;
}

void RememberLine(const std::string& line) {
    add_history(line.c_str());
}

std::optional<std::string> ReadAnswer() {
    TakeInterrupt();
    std::string answer;
    for (;;) {
        const int byte = ReadByte();
        if (byte == InterruptedByte || (byte == EndOfInputByte && answer.empty())) {
            return std::nullopt;
        }
        if (byte == EndOfInputByte || byte == '\n') {
            return answer;
        }
        answer.push_back(static_cast<char>(byte));
    }
}

} // namespace mirla
