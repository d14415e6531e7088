#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

namespace ivra::cli {

// The progress of a batch on standard error: one line per finished input
// ("[k/n] INPUT -> OUTPUT  T ms"), or, on a terminal, one line rewritten in place
// with the count, the rate and the time left. A failed input is one line naming it
// and the reason. Safe to call from several jobs at once.
class ProgressReport {
public:
    ProgressReport(std::FILE* stream, int total);
    ~ProgressReport();
    ProgressReport(const ProgressReport&) = delete;
    ProgressReport& operator=(const ProgressReport&) = delete;

    void finished(const std::string& input, const std::string& output, double ms);
    void failed(const std::string& input, const std::string& reason);

private:
    void updateLine(); // terminal only; the mutex is held

    std::FILE* stream_;
    const int total_;
    const bool terminal_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    int done_ = 0;
    std::mutex mutex_;
};

} // namespace ivra::cli
