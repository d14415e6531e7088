#pragma once

#include <cstdint>
#include <memory>

namespace ivra {

// Packed bit image, 32 bits per word; bit (x, y) is bit x % 32 of word
// y * wordsPerRow + x / 32. Rows start on a word boundary. Sides are limited to
// 32767; reads outside the bounds give false and writes there do nothing.
class BitImage32 {
public:
    static constexpr int maxSide = 32767;

    // Throws std::length_error for a negative side or one above maxSide. All bits clear.
    BitImage32(int width, int height);
    BitImage32(const BitImage32&) = delete;
    BitImage32& operator=(const BitImage32&) = delete;
    virtual ~BitImage32() = default;

    void fill(int value);
    bool get(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return false;
        return (data_[y * wordsPerRow_ + (x >> 5)] >> (x & 31)) & 1u;
    }
    void set(int x, int y, int value)
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return;
        std::uint32_t& word = data_[y * wordsPerRow_ + (x >> 5)];
        const std::uint32_t bit = 1u << (x & 31);
        word = value ? (word | bit) : (word & ~bit);
    }

    int width() const { return width_; }
    int height() const { return height_; }
    int wordsPerRow() const { return wordsPerRow_; }
    const std::uint32_t* data() const { return data_.get(); }

private:
    std::int16_t width_;
    std::int16_t height_;
    std::int16_t wordsPerRow_;
    std::unique_ptr<std::uint32_t[]> data_;
};

} // namespace ivra
