#pragma once

#include "util/CMessageHandler.h"

#include <memory>
#include <string>
#include <vector>

// Collects the lines sent to the process-wide message sink while it lives, then
// puts the previous sink back.
class CapturedMessages {
public:
    CapturedMessages() : previous_(tools::CMessageHandler::install(std::make_unique<Sink>(lines))) {}
    ~CapturedMessages() { tools::CMessageHandler::install(std::move(previous_)); }
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;

    std::vector<std::string> lines;

private:
    class Sink : public tools::CMessageHandler {
    public:
        explicit Sink(std::vector<std::string>& lines) : lines_(lines) {}
        void message(const std::string& text) override { lines_.push_back(text); }

    private:
        std::vector<std::string>& lines_;
    };
    std::unique_ptr<tools::CMessageHandler> previous_;
};
