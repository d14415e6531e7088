#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace ivra {

// Process-wide sink for the diagnostic lines operators print. Created on first
// use as a StreamMessageSink: progress lines on standard output, errors (an
// incomplete result) on standard error; a front end that keeps standard output
// for its own use (the CLI) installs one that writes both to standard error.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void message(const std::string& text) = 0;
    // A line saying that a result is incomplete or wrong; by default a message like any other.
    virtual void error(const std::string& text) { message(text); }

    static MessageSink& instance();
    // Replaces the process-wide sink; returns the previous one.
    static std::unique_ptr<MessageSink> install(std::unique_ptr<MessageSink> handler);
};

// Writes each text and a line end to a C stream: messages to `messages`, errors to `errors`.
class StreamMessageSink : public MessageSink {
public:
    explicit StreamMessageSink(std::FILE* messages = stdout, std::FILE* errors = stderr)
        : messages_(messages), errors_(errors)
    {
    }
    void message(const std::string& text) override { writeLine(messages_, text); }
    void error(const std::string& text) override { writeLine(errors_, text); }

private:
    static void writeLine(std::FILE* stream, const std::string& text);

    std::FILE* messages_;
    std::FILE* errors_;
};

} // namespace ivra
