#include "RunCounters.h"

namespace ivra {

int RunCounters::next(const QString& op) const
{
    const auto it = next_.find(op);
    return it == next_.end() ? 1 : it->second;
}

void RunCounters::count(const QString& op)
{
    next_[op] = next(op) + 1;
}

} // namespace ivra
