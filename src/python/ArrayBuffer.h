#pragma once

#include <pybind11/numpy.h>

#include <memory>
#include <vector>

namespace ivra::python {

// An array's memory and shape, made without the interpreter lock and handed to
// NumPy without a copy: the array owns the memory through a capsule, so it stays
// valid as long as any view of it lives, whatever becomes of the result it came from.
struct ArrayBuffer {
    enum class Element { UInt8, Int32, UInt32 };

    std::shared_ptr<void> owner; // keeps `data` alive
    void* data = nullptr;
    Element element = Element::UInt8;
    std::vector<pybind11::ssize_t> shape;
    std::vector<pybind11::ssize_t> strides; // bytes; none: C order

    // Call with the interpreter lock held.
    pybind11::array toArray() const;
};

} // namespace ivra::python
