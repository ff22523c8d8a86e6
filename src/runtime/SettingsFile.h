#pragma once

#include "runtime/IniFile.h"

#include <functional>
#include <string>

namespace mirla {

/// Reads the settings file at `path` (a missing file counts as empty), lets `change` alter it and
/// writes it back through a temporary file renamed over it, so that every section the change does
/// not touch is kept. A file that exists but cannot be read whole (unreadable, not text, a folder)
/// is never written over: the change is dropped. False on any failure, with a message naming the
/// file, the reason and that the settings were not saved.
bool UpdateSettingsFile(const std::string& path, const std::function<void(TIniFile&)>& change,
                        std::string& message);

} // namespace mirla
