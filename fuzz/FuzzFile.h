#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

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

} // namespace mirla::fuzz
