#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ivra {

enum class NpyType { Bool, Int8, UInt8, Int16, UInt16, Int32, UInt32, Int64, UInt64, Float32, Float64 };

// Bytes per element of a type.
int npyItemSize(NpyType type);
// The type's descr string as NumPy writes it ("<i4", "|u1", ...).
const char* npyDescr(NpyType type);
// The type of a descr without its byte-order character ("i4", "u1", ...); none for others.
std::optional<NpyType> npyTypeOfCode(std::string_view code);

// A whole array as stored: element type, shape (outermost first), raw little-endian data.
struct NpyArray {
    NpyType type = NpyType::Int32;
    std::vector<std::int64_t> shape;
    QByteArray data;

    std::int64_t elementCount() const;
    // Element i as a 64-bit integer; only for the integer and bool types (IoError
    // otherwise). A uint64 above the int64 range gives the int64 maximum.
    std::int64_t integerAt(std::int64_t i) const;
    // Element i as a double; for every type.
    double realAt(std::int64_t i) const;
};

} // namespace ivra
