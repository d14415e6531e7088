#pragma once

// NumPy .npy files: the stored array (NpyArray.h), its header (NpyHeader.h),
// reading arrays and images (NpyReader.h) and writing data objects (NpyWriter.h).
// Versions 1.0, 2.0 and 3.0 are read; 1.0 is written, or 2.0 when the header
// needs it; little-endian, C order.

#include "NpyArray.h"     // IWYU pragma: export
#include "NpyHeader.h"    // IWYU pragma: export
#include "NpyReader.h"    // IWYU pragma: export
#include "NpyWriter.h"    // IWYU pragma: export
