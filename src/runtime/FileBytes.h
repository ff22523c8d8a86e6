#pragma once

#include <string>
#include <string_view>

namespace mirla {

/// Reads a whole file as bytes; false when it cannot be opened or read, with the reason (the
/// system's words, or "it is a folder") in `reason` when one is given.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* reason = nullptr);

/// Reads a whole text file as bytes, as `ReadFileBytes` does; a file holding zero bytes (a
/// damaged file, or another coding such as UTF-16) is no text and fails with "it is not a text
/// file", since it would read as nonsense and be written back as such.
bool ReadTextFileBytes(const std::string& path, std::string& bytes, std::string* reason = nullptr);

/// Writes bytes to a temporary file beside `path`, flushes them to the disk and renames the
/// temporary over `path`; the file keeps its permissions, and a symbolic link at `path` keeps
/// pointing to the file, which is the one replaced. On failure the old file is untouched, the temporary is
/// removed and false is returned with the reason in `reason` when one is given.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

} // namespace mirla
