#include "runtime/FileBytes.h"

#include "userdefs/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirla {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;
using test::WriteText;

TEST(FileBytes, ReplacingAFileKeepsItsPermissions) {
    TempDir dir;
    const std::string path = dir.File("private.USR");
    WriteText(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadText(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(FileBytes, ALinkStaysALinkAndItsTargetIsReplaced) {
    TempDir dir;
    fs::create_directory(dir.File("real"));
    const std::string target = dir.File("real/Mirla.INI");
    WriteText(target, "old");
    const std::string link = dir.File("Mirla.INI");
    fs::create_symlink("real/Mirla.INI", link);
    std::string reason;
    ASSERT_TRUE(WriteFileAtomically(link, "new", &reason)) << reason;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadText(target), "new");
}

} // namespace
} // namespace mirla
