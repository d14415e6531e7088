#include "util/Threads.h"

#include <gtest/gtest.h>

#include <thread>

namespace ivra {

TEST(ThreadsTest, LimitsNestPerThreadOverTheProcessDefault)
{
    setDefaultThreadCount(3);
    EXPECT_EQ(threadCount(), 3);
    {
        ThreadLimit outer(2);
        {
            ThreadLimit inner(1);
            EXPECT_EQ(threadCount(), 1);
        }
        EXPECT_EQ(threadCount(), 2);
        int seenElsewhere = 0;
        std::thread([&] { seenElsewhere = threadCount(); }).join();
        EXPECT_EQ(seenElsewhere, 3);
    }
    EXPECT_EQ(threadCount(), 3);
    setDefaultThreadCount(0);
    EXPECT_EQ(threadCount(), hardwareThreads());
}

} // namespace ivra
