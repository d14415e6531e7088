#include "Threads.h"

#include <atomic>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace ivra {
namespace {

std::atomic<int> defaultCount{0};  // 0: all cores
thread_local int callerCount = 0;  // 0: no ThreadLimit on this thread

// Worker threads allocate row buffers from the one heap of the process. A heap of their
// own would start on fresh pages, and each first touch is a page fault: about 30 per
// process and worker, as long as a whole small kernel on a virtual machine.
[[maybe_unused]] const bool oneHeap = [] {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
    return true;
}();

} // namespace

int hardwareThreads()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
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
