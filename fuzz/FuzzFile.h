#pragma once

#include "engine/EngineText.h"
#include "engine/EvalContext.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace mirla::fuzz {

/// A file of this process's own in shared memory (fast to write and to flush) that each input
/// is written to, so that the loaders read it as they read the user's files.
class TInputFile {
public:
    explicit TInputFile(const char* name)
        : m_path("/dev/shm/mirla-fuzz-" + std::to_string(::getpid()) + "-" + name) {}
    ~TInputFile() { ::unlink(m_path.c_str()); }
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    /// Replaces the file's content with `data` and returns its path.
    const std::string& Write(const std::uint8_t* data, std::size_t size) {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return m_path;
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

/// Writes the input to a file of user definitions, lets `loadAndSave(ctx, input, output)` load it
/// into a fresh context and save it again, and aborts unless the saved file holds every line
/// read, in the same order unless `anyOrder`. A file that is no text is refused whole.
template <class LoadAndSave>
void CheckEveryLineIsSaved(const std::uint8_t* data, std::size_t size, TInputFile& input, TInputFile& output,
                           LoadAndSave loadAndSave, bool anyOrder) {
    const std::string& path = input.Write(data, size);
    std::vector<std::string> read;
    if (!ReadEngineTextLines(path, read))
        return;
    EvalContext ctx;
    std::vector<std::string> saved;
    if (!loadAndSave(ctx, path, output.Path()) || !ReadEngineTextLines(output.Path(), saved))
        std::abort();
    if (anyOrder) {
        std::ranges::sort(read);
        std::ranges::sort(saved);
    }
    if (saved != read)
        std::abort();
}

} // namespace mirla::fuzz
