#pragma once

#include <cstdint>

namespace ivra {

// An element shared by two parents that turned out not to be similar. Invariant:
// element.parent1 is side1 or lies below it, element.parent2 is side2 or lies below it.
struct ipcConflict {
    std::int32_t cell1;    // cell of the element's island within the island of side 1
    std::int32_t cell2;    // cell of the element's island within the island of side 2
    std::uint32_t side1;   // reference element of side 1
    std::uint32_t side2;   // reference element of side 2
    std::uint32_t element; // the shared element to assign
};

} // namespace ivra
