#pragma once

namespace ivra {

// How many threads a parallel kernel may use. Every kernel partitions its work
// statically and reduces in a fixed order, so the count changes speed only, never
// a value.
//
// The process-wide default is all cores (the CLI's --threads and the workbench's
// preference change it); a ThreadLimit narrows it for the calling thread only, so
// callers on different threads (a batch's jobs, Python threads) each keep their own.

// Cores available to this process, at least 1.
int hardwareThreads();

// The process-wide default; n <= 0 restores all cores.
void setDefaultThreadCount(int n);

// The count kernels started from the calling thread use: the innermost
// ThreadLimit of this thread, else the process-wide default. Always >= 1.
int threadCount();

// Sets the calling thread's count for its lifetime (n <= 0: the default).
class ThreadLimit {
public:
    explicit ThreadLimit(int n);
    ~ThreadLimit();
    ThreadLimit(const ThreadLimit&) = delete;
    ThreadLimit& operator=(const ThreadLimit&) = delete;

private:
    int previous_;
};

} // namespace ivra
