#include "ProgressReport.h"

#include <algorithm>

#include <unistd.h>

namespace ivra::cli {

ProgressReport::ProgressReport(std::FILE* stream, int total)
    : stream_(stream), total_(total), terminal_(::isatty(::fileno(stream)) == 1)
{
}

ProgressReport::~ProgressReport()
{
    if (terminal_ && done_ > 0) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
    }
}

void ProgressReport::finished(const std::string& input, const std::string& output, double ms)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    ++done_;
    if (terminal_)
        return updateLine();
    std::fprintf(stream_, "[%d/%d] %s -> %s  %.0f ms\n", done_, total_, input.c_str(), output.c_str(), ms);
    std::fflush(stream_);
}

void ProgressReport::failed(const std::string& input, const std::string& reason)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    ++done_;
    std::string line = reason.compare(0, input.size(), input) == 0 ? reason : input + ": " + reason;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stream_, "%sivra-cli: %s\n", terminal_ ? "\r\033[K" : "", line.c_str());
    if (terminal_)
        return updateLine();
    std::fflush(stream_);
}

void ProgressReport::updateLine()
{
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0 ? done_ / seconds : 0;
    const double left = rate > 0 ? (total_ - done_) / rate : 0;
    std::fprintf(stream_, "\r\033[K[%d/%d] %.1f pictures/s, %.0f s left", done_, total_, rate, left);
    std::fflush(stream_);
}

} // namespace ivra::cli
