#pragma once

#include <stdexcept>
#include <string>

namespace ivra::cli {

// A user error on the command line: one line on standard error, exit status 2.
class CliError : public std::runtime_error {
public:
    explicit CliError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace ivra::cli
