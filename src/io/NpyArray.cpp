#include "NpyArray.h"

#include "IoError.h"

#include <bit>
#include <cstring>
#include <limits>

// Elements are copied out of memory as they are: this code runs on little-endian machines.
static_assert(std::endian::native == std::endian::little, "the .npy code assumes a little-endian machine");

namespace ivra {

namespace {

struct TypeDescription {
    NpyType type;
    const char* descr;
    int size;
};

constexpr TypeDescription kTypeTable[] = {
    {NpyType::Bool, "|b1", 1},    {NpyType::Int8, "|i1", 1},    {NpyType::UInt8, "|u1", 1},
    {NpyType::Int16, "<i2", 2},   {NpyType::UInt16, "<u2", 2},  {NpyType::Int32, "<i4", 4},
    {NpyType::UInt32, "<u4", 4},  {NpyType::Int64, "<i8", 8},   {NpyType::UInt64, "<u8", 8},
    {NpyType::Float32, "<f4", 4}, {NpyType::Float64, "<f8", 8},
};

const TypeDescription& describe(NpyType type)
{
    for (const TypeDescription& t : kTypeTable)
        if (t.type == type)
            return t;
    return kTypeTable[0];
}

template <typename T>
T load(const char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

int npyItemSize(NpyType type) { return describe(type).size; }
const char* npyDescr(NpyType type) { return describe(type).descr; }

std::optional<NpyType> npyTypeOfCode(std::string_view code)
{
    for (const TypeDescription& t : kTypeTable)
        if (code == t.descr + 1)
            return t.type;
    return std::nullopt;
}

std::int64_t NpyArray::elementCount() const
{
    std::int64_t n = 1;
    for (std::int64_t d : shape)
        n *= d;
    return n;
}

std::int64_t NpyArray::integerAt(std::int64_t i) const
{
    const char* p = data.constData() + i * npyItemSize(type);
    switch (type) {
    case NpyType::Bool: return load<std::uint8_t>(p) != 0;
    case NpyType::Int8: return load<std::int8_t>(p);
    case NpyType::UInt8: return load<std::uint8_t>(p);
    case NpyType::Int16: return load<std::int16_t>(p);
    case NpyType::UInt16: return load<std::uint16_t>(p);
    case NpyType::Int32: return load<std::int32_t>(p);
    case NpyType::UInt32: return load<std::uint32_t>(p);
    case NpyType::Int64: return load<std::int64_t>(p);
    case NpyType::UInt64: {
        const std::uint64_t v = load<std::uint64_t>(p);
        return v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                   ? std::numeric_limits<std::int64_t>::max()
                   : static_cast<std::int64_t>(v);
    }
    case NpyType::Float32:
    case NpyType::Float64: break;
    }
    throw IoError("not an integer array");
}

double NpyArray::realAt(std::int64_t i) const
{
    const char* p = data.constData() + i * npyItemSize(type);
    if (type == NpyType::Float32)
        return load<float>(p);
    if (type == NpyType::Float64)
        return load<double>(p);
    return static_cast<double>(integerAt(i));
}

} // namespace ivra
