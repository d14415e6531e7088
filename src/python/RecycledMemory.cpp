#include "RecycledMemory.h"

#include "Recycler.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

namespace ivra::python {

namespace {

struct Block {
    LargeArray<std::byte> memory;
    std::size_t bytes;
};

// Shared with the owners recycledBytes() hands out, so that an array NumPy frees
// after the module's statics still finds its recycler.
const std::shared_ptr<Recycler<Block>>& blocks()
{
    static const auto recycler = std::make_shared<Recycler<Block>>();
    return recycler;
}

// Shared likewise with the owners recyclingOwner() hands out.
const std::shared_ptr<Recycler<Image>>& images()
{
    static const auto recycler = std::make_shared<Recycler<Image>>();
    return recycler;
}

std::size_t planeBytes(const Image& image)
{
    return image.pixelCount() * sizeof(std::int32_t) * (image.type() == TypeImageGray ? 1 : 3);
}

} // namespace

std::unique_ptr<Image> reuseOrMakeImage(int type, int width, int height)
{
    if (auto image = images()->take([&](const Image& i) {
            return i.type() == type && i.width() == width && i.height() == height;
        }))
        return image;
    if (type == TypeImageGray)
        return std::make_unique<ImageGray>(width, height);
    if (type == TypeImageHSV)
        return std::make_unique<ImageHSV>(width, height);
    return std::make_unique<ImageRGB>(width, height);
}

void recycleImage(std::unique_ptr<Image> image)
{
    if (image) {
        const std::size_t bytes = planeBytes(*image);
        images()->keep(std::move(image), bytes);
    }
}

std::shared_ptr<void> recyclingOwner(std::unique_ptr<Image> image)
{
    return std::shared_ptr<Image>(image.release(), [recycler = images()](Image* i) {
        recycler->keep(std::unique_ptr<Image>(i), planeBytes(*i));
    });
}

std::shared_ptr<void> recycledBytes(std::size_t bytes, void*& data)
{
    std::unique_ptr<Block> block = blocks()->take([&](const Block& b) { return b.bytes == bytes; });
    if (!block)
        block = std::make_unique<Block>(Block{allocateLarge<std::byte>(bytes), bytes});
    data = block->memory.get();
    return std::shared_ptr<Block>(block.release(), [recycler = blocks()](Block* b) {
        recycler->keep(std::unique_ptr<Block>(b), b->bytes);
    });
}

} // namespace ivra::python
