#include "ScratchBlock.h"

namespace ivra {

void ScratchBlock::allocate()
{
    block_ = allocateLarge<unsigned char>(bytes_);
}

} // namespace ivra
