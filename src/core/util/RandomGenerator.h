#pragma once

#include <cstdint>

namespace ivra {

// The process-wide source of uniform integers 0..32767 that the noise operators
// draw from. It is the portable linear congruential generator of the C standard,
// computed here so that every platform and every start of the program yields the
// same sequence; it is never reseeded, so the sequence continues across runs.
class RandomGenerator {
public:
    static constexpr int maxValue = 32767;
    static constexpr std::uint32_t initialState = 1;

    // The one instance of the process.
    static RandomGenerator& instance();

    // Next number in 0..maxValue.
    int next()
    {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ / 65536u) % 32768u);
    }

    // The internal state, so that a cancelled run can give back the numbers it
    // drew and tests can start from a known point.
    std::uint32_t state() const { return state_; }
    void setState(std::uint32_t state) { state_ = state; }

private:
    RandomGenerator() = default;

    std::uint32_t state_ = initialState;
};

// Puts the generator's state back on destruction unless release() was called:
// an operator that is cancelled half way leaves the sequence where it found it.
class RandomStateGuard {
public:
    RandomStateGuard() : saved_(RandomGenerator::instance().state()) {}
    RandomStateGuard(const RandomStateGuard&) = delete;
    RandomStateGuard& operator=(const RandomStateGuard&) = delete;
    ~RandomStateGuard()
    {
        if (active_)
            RandomGenerator::instance().setState(saved_);
    }
    void release() { active_ = false; }

private:
    std::uint32_t saved_;
    bool active_ = true;
};

} // namespace ivra
