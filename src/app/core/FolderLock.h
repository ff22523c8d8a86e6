#pragma once

#include <string>

namespace mirla {

/// Claims a folder of files for one running program: a second program that asks for the same
/// folder is refused while the first runs. The system drops the claim when the program ends,
/// however it ends, so a killed program never leaves the folder claimed.
class TFolderLock {
public:
    /// Tries to claim `folder` through the lock file "Mirla.lock" in it.
    explicit TFolderLock(const std::string& folder);
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    /// True when this program holds the folder; false when another one does. A folder that
    /// cannot hold the lock file counts as held, since no other program can claim it either.
    bool Held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = true;
};

} // namespace mirla
