#pragma once

#include <string>

namespace mirla {

/// Where the program's files live: the program's folder when it is writable (a portable install),
/// otherwise the per-user configuration folder (~/.config/Mirla), so that a read-only program
/// folder never loses a user's settings, history or files. A program installed into a prefix
/// (`bin/` beside `share/mirla/`) always keeps them in the user folder. When neither folder takes
/// files, the program folder's files are read and none is written.
class TCalcFiles {
public:
    /// Chooses the folder for a program in `programFolder`; `userFolder` is the per-user
    /// configuration folder to fall back to (created when needed).
    static TCalcFiles Locate(const std::string& programFolder, const std::string& userFolder);
    /// The per-user configuration folder: $XDG_CONFIG_HOME/Mirla or ~/.config/Mirla.
    static std::string DefaultUserFolder();
    /// The folder of the running program file.
    static std::string ProgramFolder();
    /// The folder of the data installed with a program in `programFolder`: `share/mirla` of its
    /// prefix.
    static std::string InstalledDataFolder(const std::string& programFolder);

    const std::string& Folder() const { return m_folder; } ///< D
    /// False when the folder cannot take files, so that settings and history are not saved.
    bool Writable() const { return m_writable; }
    const std::string& ProgramDir() const { return m_programFolder; } ///< where the program file is
    std::string BasePath() const { return m_folder + "/Mirla"; }      ///< B
    std::string SettingsFile() const { return BasePath() + ".INI"; }
    std::string HistoryFile() const { return BasePath() + ".HST"; }
    /// B + ".CON", or else the copy shipped beside the program, or else the installed one; the
    /// one beside the program when there is none at all.
    std::string ConstantsFile() const;
    std::string DefaultVariablesFile() const { return m_folder + "/Mirla.USR"; }
    std::string DefaultFunctionsFile() const { return m_folder + "/Mirla.FNC"; }

private:
    std::string m_folder;
    std::string m_programFolder;
    bool m_writable = true;
};

} // namespace mirla
