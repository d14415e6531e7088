#pragma once

#include <stdexcept>
#include <string>

namespace ivra {

// A file that cannot be read or written; the message names the file and the problem.
class IoError : public std::runtime_error {
public:
    explicit IoError(const std::string& message) : std::runtime_error(message) {}
    // "name: problem"
    IoError(const std::string& name, const std::string& problem) : std::runtime_error(name + ": " + problem) {}
};

// The problem of an allocation that failed: "not enough memory for a W x H picture".
inline std::string notEnoughMemory(long long width, long long height)
{
    return "not enough memory for a " + std::to_string(width) + " x " + std::to_string(height) + " picture";
}

} // namespace ivra
