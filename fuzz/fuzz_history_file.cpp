// Feeds arbitrary bytes to the history reader as a history file. Any crash or sanitizer report is
// a failure, and so is a written history that reads back into a different one.
#include "FuzzFile.h"

#include "app/core/HistoryFile.h"
#include "runtime/FileBytes.h"

#include <cstdlib>

namespace {

/// Reads the history at `from` and writes it to `to`; the bytes written, or nothing when the
/// file is no history.
bool Copy(const std::string& from, const std::string& to, std::string& written) {
    mirla::THistory history;
    if (!mirla::ReadHistoryFile(from, history))
        return false;
    if (!mirla::WriteHistoryFile(to, history) || !mirla::ReadFileBytes(to, written))
        std::abort();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::fuzz::TInputFile input("history.HST");
    static mirla::fuzz::TInputFile first("history-1.HST");
    static mirla::fuzz::TInputFile second("history-2.HST");
    const std::string& path = input.Write(data, size);
    mirla::THistory loaded;
    mirla::LoadHistoryFile(path, loaded);
    std::string written;
    std::string again;
    if (Copy(path, first.Path(), written) && (!Copy(first.Path(), second.Path(), again) || again != written))
        std::abort();
    return 0;
}
