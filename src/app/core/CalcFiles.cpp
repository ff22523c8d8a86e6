#include "app/core/CalcFiles.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace mirla {

namespace {

namespace fs = std::filesystem;

/// The files a user changes; the constants file is only read, so it stays with the program.
constexpr const char* UserFileNames[] = {"Mirla.INI", "Mirla.HST", "Mirla.USR", "Mirla.FNC"};

/// True when a file can be created in `folder`. Creating one is the only sure test: file
/// permissions, access lists, read-only mounts and the privileges of the user all play a part.
bool CanCreateFilesIn(const std::string& folder) {
    const std::string probe = folder + "/.mirla-probe-" + std::to_string(getpid());
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return false;
    }
    close(fd);
    unlink(probe.c_str());
    return true;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/tmp";
}

} // namespace

TCalcFiles TCalcFiles::Locate(const std::string& programFolder, const std::string& userFolder) {
    TCalcFiles files;
    files.m_programFolder = programFolder;
    // An installed program's folder is shared by every program of the system, whoever may write it.
    const bool installed = fs::is_directory(InstalledDataFolder(programFolder));
    if (!installed && CanCreateFilesIn(programFolder)) {
        files.m_folder = programFolder;
        return files;
    }
    // A read-only program folder: the user's files go to the user folder. Files already in the
    // program folder are copied there the first time, so that they are not lost either.
    std::error_code ec;
    fs::create_directories(userFolder, ec);
    if (!CanCreateFilesIn(userFolder)) {
        // Neither folder takes files: the program folder's files are read, and nothing is saved.
        files.m_folder = programFolder;
        files.m_writable = false;
        return files;
    }
    files.m_folder = userFolder;
    for (const char* name : UserFileNames) {
        const fs::path source = fs::path(programFolder) / name;
        const fs::path target = fs::path(userFolder) / name;
        if (fs::exists(source, ec) && !fs::exists(target, ec)) {
            fs::copy_file(source, target, ec);
        }
    }
    return files;
}

std::string TCalcFiles::DefaultUserFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // Relative values are invalid by the desktop's rules and are ignored.
    if (config != nullptr && *config == '/') {
        return std::string(config) + "/Mirla";
    }
    return HomeFolder() + "/.config/Mirla";
}

std::string TCalcFiles::ProgramFolder() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec).string() : program.parent_path().string();
}

std::string TCalcFiles::InstalledDataFolder(const std::string& programFolder) {
    return (fs::path(programFolder).parent_path() / "share" / "mirla").string();
}

std::string TCalcFiles::ConstantsFile() const {
    std::error_code ec;
    const std::string beside = m_programFolder + "/Mirla.CON";
    for (const std::string& candidate :
         {BasePath() + ".CON", beside, InstalledDataFolder(m_programFolder) + "/Mirla.CON"}) {
        if (fs::exists(candidate, ec)) {
            return candidate;
        }
    }
    return beside;
}

} // namespace mirla
