#include "BatchRunner.h"

#include "InputRun.h"
#include "JsonSummary.h"
#include "ProgressReport.h"

#include "util/Threads.h"

#include <algorithm>
#include <atomic>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

namespace ivra::cli {

namespace {

// The --json lines of finished inputs, printed as soon as all before them are.
class OrderedLines {
public:
    explicit OrderedLines(std::size_t count) : lines_(count) {}
    void put(std::size_t index, std::string line)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        lines_[index] = std::move(line);
        for (; next_ < lines_.size() && lines_[next_]; ++next_)
            if (!lines_[next_]->empty())
                std::cout << *lines_[next_] << '\n' << std::flush;
    }

private:
    std::vector<std::optional<std::string>> lines_;
    std::size_t next_ = 0;
    std::mutex mutex_;
};

} // namespace

JobShape jobShape(int jobsAsked, int threadsAsked, int inputs)
{
    const int cores = hardwareThreads();
    JobShape shape{jobsAsked, threadsAsked};
    if (shape.jobs <= 0)
        shape.jobs = std::max(1, cores / (threadsAsked > 0 ? threadsAsked : threadCount()));
    if (shape.threadsPerJob <= 0)
        shape.threadsPerJob = std::max(1, threadCount() / shape.jobs);
    shape.jobs = std::max(1, std::min(shape.jobs, inputs));
    return shape;
}

int runBatch(const std::vector<Options>& runs, const std::vector<StepCall>& calls, std::FILE* err)
{
    const JobShape shape = jobShape(runs[0].jobs, runs[0].threads, static_cast<int>(runs.size()));
    ProgressReport progress(err, static_cast<int>(runs.size()));
    OrderedLines lines(runs.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> anyFailed{false};
    const auto work = [&] {
        const ThreadLimit limit(shape.threadsPerJob);
        for (std::size_t i = next++; i < runs.size(); i = next++) {
            const Options& o = runs[i];
            InputTimes times;
            try {
                lines.put(i, runInput(o, calls, true, times));
                progress.finished(o.input, o.output, times.load + times.steps + times.save);
            } catch (const std::exception& e) {
                anyFailed = true;
                progress.failed(o.input, e.what());
                const std::string error = o.json ? jsonFailure(o.input, e.what()) : std::string();
                lines.put(i, error);
            }
        }
    };
    std::vector<std::thread> jobs;
    for (int j = 1; j < shape.jobs; ++j)
        jobs.emplace_back(work);
    work();
    for (std::thread& t : jobs)
        t.join();
    return anyFailed ? 1 : 0;
}

} // namespace ivra::cli
