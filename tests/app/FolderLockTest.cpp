#include "app/core/FolderLock.h"

#include "userdefs/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace mirla {
namespace {

TEST(FolderLock, OneHolderAtATimeAndTheClaimEndsWithIt) {
    test::TempDir dir;
    auto first = std::make_unique<TFolderLock>(dir.File(""));
    EXPECT_TRUE(first->Held());
    EXPECT_FALSE(TFolderLock(dir.File("")).Held());
    first.reset();
    EXPECT_TRUE(TFolderLock(dir.File("")).Held());
    // A folder that cannot hold the lock file keeps nobody out.
    EXPECT_TRUE(TFolderLock(dir.File("missing")).Held());
}

} // namespace
} // namespace mirla
