#pragma once

#include <utility>
#include <vector>

namespace ivra {

class DataEntry;

// Pre-order walk over the image tree below a root. Depth 0 is the root's
// children, depth 1 their children, and so on (the root itself reports depth 0).
class DataEntryIterator {
public:
    explicit DataEntryIterator(DataEntry* root) : root_(root) {}

    // Starts at the root; its children are next, first child first.
    DataEntry* first();
    // Moves to the next entry in pre-order; none when the walk is over.
    DataEntry* next();

    DataEntry* current() const { return current_; }
    int depth() const { return depth_; }

private:
    void pushChildren(DataEntry* entry, int depth);

    DataEntry* root_;
    DataEntry* current_ = nullptr;
    int depth_ = 0;
    std::vector<std::pair<DataEntry*, int>> stack_;
};

// The entry with the given number: its position in the pre-order walk below the
// root, the root excluded, counted from 0. None when the number is negative or
// past the last entry.
DataEntry* entryAt(DataEntry* root, int number);
// The number of an entry (the inverse of entryAt()); -1 when it is not below root.
int entryNumber(DataEntry* root, const DataEntry* entry);

} // namespace ivra
