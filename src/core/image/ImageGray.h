#pragma once

#include "Image.h"

namespace ivra {

// One plane of gray values (0..255 for a loaded picture).
class ImageGray : public Image {
public:
    ImageGray(int width, int height);

    int type() const override { return TypeImageGray; }

    std::int32_t* data() { return plane_.get(); }
    const std::int32_t* data() const { return plane_.get(); }
    std::int32_t& at(int x, int y) { return plane_[static_cast<std::size_t>(y) * width() + x]; }
    std::int32_t at(int x, int y) const { return plane_[static_cast<std::size_t>(y) * width() + x]; }

private:
    LargeArray<std::int32_t> plane_;
};

} // namespace ivra
