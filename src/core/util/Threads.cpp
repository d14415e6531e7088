#include "Threads.h"

#include <atomic>
#include <thread>

namespace ivra {
namespace {

std::atomic<int> defaultCount{0};  // 0: all cores
thread_local int callerCount = 0;  // 0: no ThreadLimit on this thread

} // namespace

int hardwareThreads()
{
    // Asked once: the C library reads the count from a system file on every call, and
    // kernels ask for their thread count per piece of work.
    static const int count = [] {
        const unsigned n = std::thread::hardware_concurrency();
        return n == 0 ? 1 : static_cast<int>(n);
    }();
    return count;
}

void setDefaultThreadCount(int n)
{
    defaultCount.store(n > 0 ? n : 0, std::memory_order_relaxed);
}

int threadCount()
{
    if (callerCount > 0)
        return callerCount;
    const int n = defaultCount.load(std::memory_order_relaxed);
    return n > 0 ? n : hardwareThreads();
}

ThreadLimit::ThreadLimit(int n) : previous_(callerCount)
{
    callerCount = n > 0 ? n : 0;
}

ThreadLimit::~ThreadLimit()
{
    callerCount = previous_;
}

} // namespace ivra
