#include "ArrayBuffer.h"

#include <cstdint>

namespace py = pybind11;

namespace ivra::python {

py::array ArrayBuffer::toArray() const
{
    auto keep = std::make_unique<std::shared_ptr<void>>(owner);
    const py::capsule base(keep.get(), [](void* p) { delete static_cast<std::shared_ptr<void>*>(p); });
    keep.release(); // the capsule deletes it with the array
    switch (element) {
    case Element::UInt8: return py::array_t<std::uint8_t>(shape, strides, static_cast<std::uint8_t*>(data), base);
    case Element::Int32: return py::array_t<std::int32_t>(shape, strides, static_cast<std::int32_t*>(data), base);
    default: return py::array_t<std::uint32_t>(shape, strides, static_cast<std::uint32_t*>(data), base);
    }
}

} // namespace ivra::python
