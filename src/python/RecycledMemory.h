#pragma once

#include "image/Image.h"

#include <cstddef>
#include <memory>

namespace ivra::python {

// Conversion memory the module uses again. Fresh memory costs its first touch (the
// system clears every page), which for a one-megapixel colour picture costs as much
// as the conversion itself; a caller that runs one operator after another on
// pictures of one size converts into memory that is already mapped. See Recycler
// for what is kept. Safe from any thread; needs no interpreter lock.

// A gray, RGB or HSV picture of this size whose planes the caller must write in
// full: a recycled one when one is kept, else a new one.
std::unique_ptr<Image> reuseOrMakeImage(int type, int width, int height);

// Keeps a plain gray, RGB or HSV picture (an input, or a result that has been
// converted) for a later call, or frees it.
void recycleImage(std::unique_ptr<Image> image);

// An owner for arrays that view the image's planes: the image goes to recycleImage()
// when the last of them goes.
std::shared_ptr<void> recyclingOwner(std::unique_ptr<Image> image);

// `bytes` of uninitialised memory from allocateLarge(), at `data`; the memory is
// kept for a later call when the last copy of the returned owner goes.
std::shared_ptr<void> recycledBytes(std::size_t bytes, void*& data);

} // namespace ivra::python
