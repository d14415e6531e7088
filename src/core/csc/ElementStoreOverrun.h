#pragma once

#include <stdexcept>

namespace ivra::csc {

// The code element store (or one element's link list) is full: the run is abandoned.
// OPCSC catches it and hands back a black, unlabelled result with this message.
class ElementStoreOverrun : public std::runtime_error {
public:
    ElementStoreOverrun() : std::runtime_error("Codeelement overrun...") {}
};

} // namespace ivra::csc
