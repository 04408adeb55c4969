#include "instance_lock.h"

#include "temp_dir.h"

#include <filesystem>

#include <gtest/gtest.h>

// The lock is taken on the Workspace folder itself: it holds without a System folder to write a
// lock file into, and it is released with its holder.
TEST(InstanceLock, HoldsOnAWorkspaceWithoutAWritableSystemFolder) {
    TempDir ws; // no System folder at all
    InstanceLock first;
    ASSERT_TRUE(first.acquire(ws.path()));
    InstanceLock second;
    EXPECT_FALSE(second.acquire(ws.path()));
    first.release();
    EXPECT_TRUE(second.acquire(ws.path()));
    EXPECT_FALSE(std::filesystem::exists(ws / "System"));
}
