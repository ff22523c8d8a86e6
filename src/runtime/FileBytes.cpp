#include "runtime/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace mirla {

namespace {

/// Closes a file descriptor when it goes out of scope.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : m_fd(fd) {}
    ~TFileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return m_fd; }
    /// Closes now; false when the close reports an error (a delayed write failure).
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

/// Records the reason of the failure errno describes and returns false.
bool Fail(std::string* reason, const char* why = nullptr) {
    if (reason)
        *reason = why ? why : std::strerror(errno);
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// The file a chain of symbolic links at `path` ends in, or `path` itself when it is no link.
std::string LinkTarget(const std::string& path) {
    std::error_code ec;
    std::filesystem::path file = path;
    // A bounded walk, so that a loop of links ends; the rename then fails on it with a reason.
    for (int hop = 0; hop < 40 && std::filesystem::is_symlink(file, ec); ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(file, ec);
        if (ec)
            break;
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return file.string();
}

} // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* reason) {
    if (path.empty())
        return Fail(reason, "no file name");
    TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return Fail(reason);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        return Fail(reason);
    if (S_ISDIR(status.st_mode))
        return Fail(reason, "it is a folder");
    std::string content;
    content.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Fail(reason);
        if (count == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(count));
    }
    bytes = std::move(content);
    return true;
}

bool ReadTextFileBytes(const std::string& path, std::string& bytes, std::string* reason) {
    std::string content;
    if (!ReadFileBytes(path, content, reason))
        return false;
    if (content.find('\0') != std::string::npos)
        return Fail(reason, "it is not a text file");
    bytes = std::move(content);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
    if (path.empty())
        return Fail(reason, "no file name");
    // A symbolic link stays a link: the file it points to is replaced.
    const std::string target = LinkTarget(path);
    const std::string temporary = target + ".saving~";
    TFileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        return Fail(reason);
    // The new file keeps the permissions of the old one (a private file stays private).
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(file.Get(), old.st_mode & 07777);
    // The data reaches the disk before the rename, so a crash leaves the old file or the new one.
    if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0 || !file.Close() ||
        std::rename(temporary.c_str(), target.c_str()) != 0) {
        Fail(reason);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace mirla
