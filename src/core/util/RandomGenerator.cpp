#include "RandomGenerator.h"

namespace ivra {

RandomGenerator& RandomGenerator::instance()
{
    static RandomGenerator generator;
    return generator;
}

} // namespace ivra
