#pragma once

#include <functional>
#include <stdexcept>

namespace ivra {

// Thrown out of an algorithm when the user cancels it. Algorithms build their
// results in owning objects, so unwinding leaves nothing behind.
class Cancelled : public std::runtime_error {
public:
    Cancelled() : std::runtime_error("cancelled") {}
};

// Progress-and-cancel callback that any long-running algorithm may call. The
// callback receives the finished fraction (0..1) and returns false to cancel.
// A default-constructed Progress does nothing, so callers that do not care
// (tests, the CLI, benchmarks) pass nothing.
class Progress {
public:
    using Callback = std::function<bool(double fraction)>;

    Progress() = default;
    explicit Progress(Callback callback) : callback_(std::move(callback)) {}

    // Reports done of total units of work; throws Cancelled when the user asked to stop.
    void update(double done, double total) const
    {
        if (callback_ && !callback_(total > 0 ? done / total : 0.0))
            throw Cancelled();
    }

    explicit operator bool() const { return static_cast<bool>(callback_); }

private:
    Callback callback_;
};

} // namespace ivra
