#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace tools {

// Process-wide sink for the diagnostic lines operators print. Created on first
// use as a CMessageHandlerPrintf on standard output; a front end that keeps
// standard output for its own use (the CLI) installs one on standard error.
class CMessageHandler {
public:
    virtual ~CMessageHandler() = default;
    virtual void message(const std::string& text) = 0;

    static CMessageHandler& instance();
    // Replaces the process-wide sink; returns the previous one.
    static std::unique_ptr<CMessageHandler> install(std::unique_ptr<CMessageHandler> handler);
};

// Writes each text and a line end to a C stream (standard output by default).
class CMessageHandlerPrintf : public CMessageHandler {
public:
    explicit CMessageHandlerPrintf(std::FILE* stream = stdout) : stream_(stream) {}
    void message(const std::string& text) override;

private:
    std::FILE* stream_;
};

} // namespace tools
