#include "ScratchBlock.h"

namespace ivra {

void ScratchBlock::allocate()
{
    // Whole huge pages: a block's partial last page would be mapped in small pages.
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    const std::size_t bytes = bytes_ >= hugePage ? (bytes_ + hugePage - 1) / hugePage * hugePage : bytes_;
    block_ = allocateLarge<unsigned char>(bytes);
}

} // namespace ivra
