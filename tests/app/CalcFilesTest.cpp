#include "app/core/CalcFiles.h"

#include "userdefs/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace mirla {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;
using test::WriteText;

std::string Folder(const TempDir& dir, const std::string& name) {
    const std::string folder = dir.File(name);
    fs::create_directories(folder);
    return folder;
}

/// Makes a folder read-only for as long as it lives, so that the temporary folder can be removed.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder) : m_folder(std::move(folder)) {
        fs::permissions(m_folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    ~ReadOnlyFolder() { fs::permissions(m_folder, fs::perms::owner_write, fs::perm_options::add); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string m_folder;
};

TEST(CalcFiles, AWritableProgramFolderHoldsTheFiles) {
    TempDir dir;
    const std::string program = Folder(dir, "program");
    const TCalcFiles files = TCalcFiles::Locate(program, dir.File("user"));
    EXPECT_EQ(files.Folder(), program);
    EXPECT_EQ(files.ProgramDir(), program);
    EXPECT_EQ(files.BasePath(), program + "/Mirla");
    EXPECT_EQ(files.SettingsFile(), program + "/Mirla.INI");
    EXPECT_EQ(files.HistoryFile(), program + "/Mirla.HST");
    EXPECT_EQ(files.DefaultVariablesFile(), program + "/Mirla.USR");
    EXPECT_EQ(files.DefaultFunctionsFile(), program + "/Mirla.FNC");
    EXPECT_FALSE(fs::exists(dir.File("user")));
    EXPECT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 0)
        << "the write test leaves nothing behind";
}

/// Runs `check` as an ordinary user. The superuser writes into read-only folders, so when the
/// tests run as root the check runs in a child process as the user "nobody", which then owns
/// the temporary tree. Returns the check's verdict.
template <typename Check> bool AsOrdinaryUser(const TempDir& dir, Check check) {
    if (geteuid() != 0)
        return check();
    constexpr uid_t Nobody = 65534;
    const pid_t pid = fork();
    if (pid == 0) {
        const fs::path root = fs::path(dir.File("")).parent_path();
        bool owned = chown(root.c_str(), Nobody, Nobody) == 0;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            owned = owned && chown(entry.path().c_str(), Nobody, Nobody) == 0;
        if (!owned || setgid(Nobody) != 0 || setuid(Nobody) != 0)
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

/// Reports a failed expectation of a check that may run in a child process.
bool Expect(bool condition, const char* what) {
    if (!condition)
        std::fprintf(stderr, "expectation failed: %s\n", what);
    return condition;
}

TEST(CalcFiles, AReadOnlyProgramFolderSendsTheFilesToTheUserFolder) {
    TempDir dir;
    const std::string program = Folder(dir, "program");
    const std::string user = dir.File("config/Mirla");
    EXPECT_TRUE(AsOrdinaryUser(dir, [&] {
        const ReadOnlyFolder readOnly(program);
        const TCalcFiles files = TCalcFiles::Locate(program, user);
        return Expect(files.Folder() == user, "the user folder holds the files") &&
               Expect(files.ProgramDir() == program, "the program folder is remembered") &&
               Expect(files.SettingsFile() == user + "/Mirla.INI", "the settings go to the user folder") &&
               Expect(fs::is_directory(user), "the user folder is created");
    }));
}

TEST(CalcFiles, AReadOnlyProgramFolderWithSettingsHandsThemToTheUserFolder) {
    TempDir dir;
    const std::string program = Folder(dir, "program");
    const std::string user = dir.File("user");
    WriteText(program + "/Mirla.INI", "[Calc Settings]\nDigits=15\n");
    WriteText(program + "/Mirla.HST", "1\nsin(1)\n0\n");
    EXPECT_TRUE(AsOrdinaryUser(dir, [&] {
        const ReadOnlyFolder readOnly(program);
        const TCalcFiles files = TCalcFiles::Locate(program, user);
        const bool copied =
            Expect(files.Folder() == user, "the user folder holds the files") &&
            Expect(ReadText(user + "/Mirla.INI") == "[Calc Settings]\nDigits=15\n",
                   "the settings are copied") &&
            Expect(ReadText(user + "/Mirla.HST") == "1\nsin(1)\n0\n", "the history is copied");
        // The user's own copy, once there, is never replaced by the program's.
        WriteText(user + "/Mirla.INI", "[Calc Settings]\nDigits=20\n");
        TCalcFiles::Locate(program, user);
        return copied && Expect(ReadText(user + "/Mirla.INI") == "[Calc Settings]\nDigits=20\n",
                                "the user's copy is kept");
    }));
}

TEST(CalcFiles, WhenNoFolderTakesFilesTheProgramFolderIsReadAndNothingIsWritten) {
    TempDir dir;
    const std::string program = Folder(dir, "program");
    const std::string config = Folder(dir, "config");
    WriteText(program + "/Mirla.INI", "[Calc Settings]\nDigits=15\n");
    EXPECT_TRUE(AsOrdinaryUser(dir, [&] {
        const ReadOnlyFolder readOnlyProgram(program);
        const ReadOnlyFolder readOnlyConfig(config);
        const TCalcFiles files = TCalcFiles::Locate(program, config + "/Mirla");
        return Expect(files.SettingsFile() == program + "/Mirla.INI",
                      "the program folder's files are read") &&
               Expect(!files.Writable(), "nothing is to be written");
    }));
    EXPECT_TRUE(TCalcFiles::Locate(program, config + "/Mirla").Writable());
}

TEST(CalcFiles, AProgramFolderThatCannotTakeFilesSendsThemToTheUserFolder) {
    TempDir dir;
    const std::string user = dir.File("user");
    // Nothing can create a file here, whatever the user's privileges.
    const TCalcFiles files = TCalcFiles::Locate("/proc/self", user);
    EXPECT_EQ(files.Folder(), user);
    EXPECT_TRUE(fs::is_directory(user));
}

TEST(CalcFiles, ASettingsFileInAWritableProgramFolderKeepsItThere) {
    TempDir dir;
    const std::string program = Folder(dir, "program");
    WriteText(program + "/Mirla.INI", "[Calc]\nLeft=1\n");
    const TCalcFiles files = TCalcFiles::Locate(program, dir.File("user"));
    EXPECT_EQ(files.SettingsFile(), program + "/Mirla.INI");
    EXPECT_FALSE(fs::exists(dir.File("user")));
}

TEST(CalcFiles, TheConstantsFileComesFromTheFolderOrElseFromBesideTheProgram) {
    TempDir dir;
    const std::string program = Folder(dir, "program");
    const std::string user = Folder(dir, "user");
    TCalcFiles files = TCalcFiles::Locate("/proc/self", user);
    EXPECT_EQ(files.ConstantsFile(), "/proc/self/Mirla.CON");
    WriteText(user + "/Mirla.CON", "c = 2.99792458E8\n");
    EXPECT_EQ(files.ConstantsFile(), user + "/Mirla.CON");
    files = TCalcFiles::Locate(program, user);
    EXPECT_EQ(files.ConstantsFile(), program + "/Mirla.CON");
}

TEST(CalcFiles, AnInstalledProgramKeepsUserFilesInTheUserFolderAndReadsInstalledConstants) {
    TempDir dir;
    const std::string program = Folder(dir, "usr/bin");
    const std::string data = Folder(dir, "usr/share/mirla");
    WriteText(data + "/Mirla.CON", "c = 2.99792458E8\n");
    const std::string user = dir.File("user");
    const TCalcFiles files = TCalcFiles::Locate(program, user);
    EXPECT_EQ(files.Folder(), user) << "even where the program folder could be written";
    EXPECT_TRUE(files.Writable());
    EXPECT_EQ(files.ConstantsFile(), data + "/Mirla.CON");
    WriteText(program + "/Mirla.CON", "c = 3E8\n");
    EXPECT_EQ(files.ConstantsFile(), program + "/Mirla.CON") << "a copy beside the program comes first";
}

TEST(CalcFiles, TheUserFolderFollowsTheDesktopConfigurationFolder) {
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string config = savedConfig ? savedConfig : "";
    const std::string home = savedHome ? savedHome : "";
    setenv("HOME", "/home/ana", 1);
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(TCalcFiles::DefaultUserFolder(), "/cfg/Mirla");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(TCalcFiles::DefaultUserFolder(), "/home/ana/.config/Mirla");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(TCalcFiles::DefaultUserFolder(), "/home/ana/.config/Mirla");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TCalcFiles::DefaultUserFolder(), "/home/ana/.config/Mirla");
    savedConfig ? setenv("XDG_CONFIG_HOME", config.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}

TEST(CalcFiles, TheProgramFolderIsTheFolderOfTheRunningProgram) {
    const fs::path folder = TCalcFiles::ProgramFolder();
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::exists(folder / "mirla_app_tests")) << folder;
}

} // namespace
} // namespace mirla
