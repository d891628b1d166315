#include "platform/InstanceLock.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace platform;

TEST(InstanceLock, InProcessSecondHolderIsRefusedAndRaiseReachesFirst)
{
    auto first = createInProcessInstanceLock();
    auto second = createInProcessInstanceLock();
    ASSERT_TRUE(first->acquire("title-a"));
    EXPECT_FALSE(second->acquire("title-a"));
    EXPECT_FALSE(first->raiseRequested());
    second->askOwnerToRaise("title-a");
    EXPECT_TRUE(first->raiseRequested());
    EXPECT_FALSE(first->raiseRequested());
    first->release();
    EXPECT_TRUE(second->acquire("title-a"));
}

TEST(InstanceLock, ProcessLockRefusesASecondHolderAndDeliversRaise)
{
    std::string name = "sorafune-test-" + std::to_string(::getpid());
    auto first = createProcessInstanceLock();
    auto second = createProcessInstanceLock();
    ASSERT_TRUE(first->acquire(name));
    EXPECT_FALSE(second->acquire(name));
    second->askOwnerToRaise(name);
    EXPECT_TRUE(first->raiseRequested());
    first->release();
    EXPECT_TRUE(second->acquire(name));
    second->release();
}
