#include "app/core/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace mirla {

TFolderLock::TFolderLock(const std::string& folder) {
    m_fd = ::open((folder + "/Mirla.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        m_held = errno != EWOULDBLOCK;
}

TFolderLock::~TFolderLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace mirla
