#pragma once

#include "NpyArray.h"

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <string>
#include <vector>

namespace ivra {

// What the header of a .npy file announces: element type and shape (outermost
// first). Only little-endian C-order arrays get this far.
struct NpyHeader {
    NpyType type = NpyType::Int32;
    std::vector<std::int64_t> shape;
};

// Largest header accepted when reading; real headers are a few dozen bytes.
inline constexpr std::uint32_t npyMaxHeaderLength = 64 * 1024;

// Reads the magic, the format version (1.0, 2.0 or 3.0), the header length and the
// header, a Python dict literal such as
//   {'descr': '<i4', 'fortran_order': False, 'shape': (3, 4, 5), }
// and leaves the device at the first data byte. Throws IoError for a file that is
// not a .npy file, a truncated, corrupt or oversized header, a big-endian or
// Fortran-ordered array and element types other than bool, integers and floats.
NpyHeader readNpyHeader(QIODevice& device, const std::string& name);

// Magic, version, length field and header: version 1.0, or 2.0 when the header
// needs more than 65535 bytes. Spaces and a line feed pad it so that the data
// start at a multiple of 64 bytes.
QByteArray encodeNpyHeader(NpyType type, const std::vector<std::int64_t>& shape);

} // namespace ivra
