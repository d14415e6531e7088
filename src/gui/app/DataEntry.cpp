#include "DataEntry.h"

#include <algorithm>
#include <atomic>

namespace ivra {

namespace {

std::atomic<std::uint64_t> lastSerial{0};

} // namespace

DataEntry::DataEntry(std::unique_ptr<DataObject> data, const QString& name, QWidget* window, bool hidden)
    : data_(std::move(data)), window_(window), name_(name), hidden_(hidden), serial_(++lastSerial)
{
}

DataEntry::~DataEntry()
{
    clearChildren();
    data_.reset();
    // A window shows exactly one entry; once the entry is gone it has nothing to show.
    delete window_.data();
}

DataEntry* DataEntry::addChild(std::unique_ptr<DataObject> data, const QString& name)
{
    return addChild(std::make_unique<DataEntry>(std::move(data), name));
}

DataEntry* DataEntry::addChild(std::unique_ptr<DataEntry> child)
{
    children_.push_back(std::move(child));
    return children_.back().get();
}

std::unique_ptr<DataEntry> DataEntry::takeChild(const DataEntry* child, std::size_t* index)
{
    const auto it = std::find_if(children_.begin(), children_.end(),
                                 [&](const std::unique_ptr<DataEntry>& c) { return c.get() == child; });
    if (it == children_.end())
        return nullptr;
    if (index)
        *index = static_cast<std::size_t>(it - children_.begin());
    std::unique_ptr<DataEntry> taken = std::move(*it);
    children_.erase(it);
    return taken;
}

DataEntry* DataEntry::insertChild(std::size_t index, std::unique_ptr<DataEntry> child)
{
    const auto at = children_.begin() + static_cast<std::ptrdiff_t>(std::min(index, children_.size()));
    return children_.insert(at, std::move(child))->get();
}

bool DataEntry::hasChildNamed(const QString& name) const
{
    return std::any_of(children_.begin(), children_.end(),
                       [&](const std::unique_ptr<DataEntry>& c) { return c->name() == name; });
}

void DataEntry::clearChildren()
{
    // Children first, so each subtree goes from the leaves up.
    while (!children_.empty()) {
        std::unique_ptr<DataEntry> last = std::move(children_.back());
        children_.pop_back();
        last.reset();
    }
}

} // namespace ivra
