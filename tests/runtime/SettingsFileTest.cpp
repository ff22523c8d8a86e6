#include "runtime/SettingsFile.h"

#include "userdefs/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mirla {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

constexpr const char* Original = "[Calc Settings]\nDigits=14\n\n[fmPlot2D]\nLeft=10\n";

void SetDigits(TIniFile& ini) {
    ini.WriteInteger("Calc Settings", "Digits", 20);
}

TEST(SettingsFile, AChangeKeepsEverySectionItDoesNotTouch) {
    TempDir dir;
    const std::string path = dir.File("Mirla.INI");
    WriteText(path, Original);
    std::string message;
    ASSERT_TRUE(UpdateSettingsFile(path, SetDigits, message)) << message;
    EXPECT_EQ(ReadText(path), "[Calc Settings]\nDigits=20\n\n[fmPlot2D]\nLeft=10\n");
    // A file that is not there yet is made.
    ASSERT_TRUE(UpdateSettingsFile(dir.File("new.ini"), SetDigits, message)) << message;
    EXPECT_EQ(ReadText(dir.File("new.ini")), "[Calc Settings]\nDigits=20\n");
}

/// A file in the way of reading: the update drops its change and says why.
struct TUnreadableCase {
    const char* Name;
    void (*Prepare)(const std::string& path);
    const char* Reason;
};

class SettingsFileUnreadable : public testing::TestWithParam<TUnreadableCase> {};

TEST_P(SettingsFileUnreadable, IsNeverWrittenOver) {
    const TUnreadableCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.File("Mirla.INI");
    c.Prepare(path);
    const bool folder = std::filesystem::is_directory(path);
    const std::string before = folder ? std::string() : ReadText(path);
    std::string message;
    EXPECT_FALSE(UpdateSettingsFile(path, SetDigits, message));
    EXPECT_EQ(message, "Can't read file " + path + ": " + c.Reason +
                           ".\nThe settings were not saved, so that the file keeps what it holds.");
    EXPECT_EQ(folder, std::filesystem::is_directory(path));
    if (!folder) {
        EXPECT_EQ(ReadText(path), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileUnreadable,
    testing::Values(
        TUnreadableCase{"Folder", [](const std::string& path) { std::filesystem::create_directory(path); },
                        "it is a folder"},
        TUnreadableCase{
            "ZeroBytes",
            [](const std::string& path) { WriteText(path, std::string("[Calc\0Settings]\n", 17)); },
            "it is not a text file"},
        TUnreadableCase{"Utf16",
                        [](const std::string& path) { WriteText(path, std::string("\xFF\xFE[\0S\0]\0", 8)); },
                        "it is not a text file"}),
    [](const testing::TestParamInfo<TUnreadableCase>& info) { return info.param.Name; });

TEST(SettingsFile, AFileWithoutReadPermissionIsNeverWrittenOver) {
    TempDir dir;
    const std::string path = dir.File("Mirla.INI");
    WriteText(path, Original);
    ::chmod(path.c_str(), 0200);
    // The superuser reads any file, so the update runs in a child that gives that up.
    ::chmod(std::filesystem::path(path).parent_path().c_str(), 0777);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            ::_exit(3);
        std::string message;
        const bool updated = UpdateSettingsFile(path, SetDigits, message);
        const bool named = message.starts_with("Can't read file " + path + ": Permission denied.");
        ::_exit(!updated && named ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(ReadText(path), Original);
}

/// A small file system of its own, filled up: the superuser may mount one; others skip the test.
class TFullDisk {
public:
    explicit TFullDisk(const std::string& folder) : m_folder(folder) {
        std::filesystem::create_directory(folder);
        m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=16k") == 0;
    }
    ~TFullDisk() {
        if (m_mounted)
            ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;
    bool Mounted() const { return m_mounted; }

private:
    std::string m_folder;
    bool m_mounted = false;
};

TEST(SettingsFile, AFullDiskKeepsTheOldFileAndSaysSo) {
    TempDir dir;
    TFullDisk disk(dir.File("disk"));
    if (!disk.Mounted())
        GTEST_SKIP() << "no file system of our own can be mounted here";
    const std::string path = dir.File("disk/Mirla.INI");
    WriteText(path, Original);
    WriteText(dir.File("disk/filler"), std::string(12 * 1024, 'x'));
    std::string message;
    const bool saved = UpdateSettingsFile(
        path, [](TIniFile& ini) { ini.WriteString("Graphics", "Title", std::string(8 * 1024, 't')); },
        message);
    EXPECT_FALSE(saved);
    EXPECT_EQ(message,
              "Can't create file " + path + ": No space left on device.\nThe settings were not saved.");
    EXPECT_EQ(ReadText(path), Original);
    EXPECT_FALSE(std::filesystem::exists(path + ".saving~"));
}

} // namespace
} // namespace mirla
