#include "UndoStore.h"

#include "DataEntry.h"
#include "DataEntryIterator.h"

#include <QWidget>

#include <algorithm>

namespace ivra {

DataEntry* parentOf(DataEntry& root, const DataEntry* entry)
{
    DataEntryIterator it(&root);
    for (DataEntry* e = it.first(); e; e = it.next())
        for (const auto& child : e->children())
            if (child.get() == entry)
                return e;
    return nullptr;
}

void UndoStore::clear()
{
    removed_.clear();
    shown_.clear();
}

void UndoStore::remove(DataEntry& root, const std::vector<DataEntry*>& entries)
{
    clear();
    for (DataEntry* entry : entries) {
        DataEntry* parent = parentOf(root, entry);
        if (!parent)
            continue;
        DataEntryIterator it(entry);
        for (DataEntry* e = it.first(); e; e = it.next())
            if (QWidget* window = e->window()) {
                if (window->isVisible())
                    shown_.push_back(e);
                delete window;
            }
        std::size_t index = 0;
        std::unique_ptr<DataEntry> taken = parent->takeChild(entry, &index);
        removed_.push_back({parent, index, std::move(taken)});
    }
}

std::vector<DataEntry*> UndoStore::undo(DataEntry& root)
{
    // Backwards, so every entry finds its siblings as they were when it was taken.
    for (auto it = removed_.rbegin(); it != removed_.rend(); ++it) {
        // The parent's address is only compared, never followed, until it is known to be in the tree.
        const bool parentAlive = it->parent == &root || entryNumber(&root, it->parent) >= 0;
        if (parentAlive)
            it->parent->insertChild(it->index, std::move(it->entry));
        else
            root.addChild(std::move(it->entry));
    }
    std::vector<DataEntry*> shown = std::move(shown_);
    clear();
    return shown;
}

} // namespace ivra
