#include "runtime/SettingsFile.h"

namespace mirla {

bool UpdateSettingsFile(const std::string& path, const std::function<void(TIniFile&)>& change,
                        std::string& message) {
    TIniFile ini;
    if (!ini.Load(path, message)) {
        message += ".\nThe settings were not saved, so that the file keeps what it holds.";
        return false;
    }
    change(ini);
    if (!ini.Save(path, message)) {
        message += ".\nThe settings were not saved.";
        return false;
    }
    return true;
}

} // namespace mirla
