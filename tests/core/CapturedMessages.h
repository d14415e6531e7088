#pragma once

#include "util/MessageSink.h"

#include <memory>
#include <string>
#include <vector>

namespace ivra {

// Collects the lines sent to the process-wide message sink while it lives, then
// puts the previous sink back.
class CapturedMessages {
public:
    CapturedMessages() : previous_(ivra::MessageSink::install(std::make_unique<Sink>(lines))) {}
    ~CapturedMessages() { ivra::MessageSink::install(std::move(previous_)); }
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;

    std::vector<std::string> lines;

private:
    class Sink : public ivra::MessageSink {
    public:
        explicit Sink(std::vector<std::string>& lines) : lines_(lines) {}
        void message(const std::string& text) override { lines_.push_back(text); }

    private:
        std::vector<std::string>& lines_;
    };
    std::unique_ptr<ivra::MessageSink> previous_;
};

} // namespace ivra
