#include "DataEntryIterator.h"

#include "DataEntry.h"

namespace ivra {

DataEntry* DataEntryIterator::first()
{
    current_ = root_;
    depth_ = 0;
    stack_.clear();
    if (root_)
        pushChildren(root_, 0);
    return current_;
}

DataEntry* DataEntryIterator::next()
{
    if (stack_.empty()) {
        current_ = nullptr;
        depth_ = 0;
        return nullptr;
    }
    std::tie(current_, depth_) = stack_.back();
    stack_.pop_back();
    pushChildren(current_, depth_ + 1);
    return current_;
}

void DataEntryIterator::pushChildren(DataEntry* entry, int depth)
{
    // Last child first, so that the first child is on top.
    const auto& children = entry->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        stack_.emplace_back(it->get(), depth);
}

DataEntry* entryAt(DataEntry* root, int number)
{
    if (!root || number < 0)
        return nullptr;
    DataEntryIterator it(root);
    DataEntry* e = it.first();
    for (int i = 0; i <= number && e; ++i)
        e = it.next();
    return e;
}

int entryNumber(DataEntry* root, const DataEntry* entry)
{
    DataEntryIterator it(root);
    it.first();
    int n = 0;
    for (DataEntry* e = it.next(); e; e = it.next(), ++n)
        if (e == entry)
            return n;
    return -1;
}

} // namespace ivra
