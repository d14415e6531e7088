#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace ivra {

// Process-wide sink for the diagnostic lines operators print. Created on first
// use as a StreamMessageSink on standard output; a front end that keeps
// standard output for its own use (the CLI) installs one on standard error.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void message(const std::string& text) = 0;

    static MessageSink& instance();
    // Replaces the process-wide sink; returns the previous one.
    static std::unique_ptr<MessageSink> install(std::unique_ptr<MessageSink> handler);
};

// Writes each text and a line end to a C stream (standard output by default).
class StreamMessageSink : public MessageSink {
public:
    explicit StreamMessageSink(std::FILE* stream = stdout) : stream_(stream) {}
    void message(const std::string& text) override;

private:
    std::FILE* stream_;
};

} // namespace ivra
