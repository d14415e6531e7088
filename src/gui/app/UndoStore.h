#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace ivra {

class DataEntry;

// What the last Clear All or Delete took out of the image tree, kept so that
// Edit > Undo can put it back. One level only: every removal first frees what the
// previous one kept, so at most one removal's pictures are held at a time. Their
// windows are destroyed on removal (their display copies would double the memory)
// and made anew on undo.
class UndoStore {
public:
    // Detaches the entries, each with its subtree, from the tree below root and
    // destroys their windows, remembering which entries had a window showing.
    // Entries that are not in the tree are skipped.
    void remove(DataEntry& root, const std::vector<DataEntry*>& entries);
    bool canUndo() const { return !removed_.empty(); }
    // Puts the entries back where they were (at the top level when their parent is
    // gone) and returns those whose windows were showing; nothing is kept after.
    std::vector<DataEntry*> undo(DataEntry& root);
    void clear();

private:
    struct Removed {
        DataEntry* parent;
        std::size_t index;
        std::unique_ptr<DataEntry> entry;
    };
    std::vector<Removed> removed_;
    std::vector<DataEntry*> shown_;
};

// The entry whose child the given entry is (root for a top-level entry); none
// when it is not in the tree below root.
DataEntry* parentOf(DataEntry& root, const DataEntry* entry);

} // namespace ivra
