#pragma once

#include <string>
#include <utility>

namespace ivra {

// Failures of the Colour Structure Code. They are thrown by value and caught by
// reference to advException, whose text the caller reports.
class advException {
public:
    advException() = default;
    explicit advException(std::string message) : message_(std::move(message)) {}
    virtual ~advException() = default;

    // The message text; empty when the exception carries none.
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

class ipcCSCException : public advException {
public:
    using advException::advException;
};

// The code element store (or one element's link list) is full: the run is abandoned.
class ipcCodeelementBaseOverrun : public ipcCSCException {
public:
    ipcCodeelementBaseOverrun() : ipcCSCException("Codeelement overrun...") {}
};

} // namespace ivra
