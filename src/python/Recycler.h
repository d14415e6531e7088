#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace ivra::python {

// Keeps a few large items that a call has finished with for a later call that needs
// one alike, at most two of them and 64 MiB together; a larger one is freed at once,
// and the oldest goes first. Safe from any thread.
template <class Item>
class Recycler {
public:
    static constexpr std::size_t maxItems = 2;
    static constexpr std::size_t maxBytes = std::size_t{64} << 20;

    // The newest kept item for which alike(item) holds, taken out; none when none is kept.
    template <class Alike>
    std::unique_ptr<Item> take(Alike alike)
    {
        const std::lock_guard lock(mutex_);
        const auto found =
            std::find_if(kept_.rbegin(), kept_.rend(), [&](const Kept& k) { return alike(*k.item); });
        if (found == kept_.rend())
            return nullptr;
        std::unique_ptr<Item> item = std::move(found->item);
        kept_.erase(std::next(found).base());
        return item;
    }

    // Keeps the item, of `bytes` bytes, or frees it. Never throws: it runs in deleters.
    void keep(std::unique_ptr<Item> item, std::size_t bytes) noexcept
    {
        if (bytes > maxBytes)
            return;
        std::unique_ptr<Item> dropped; // freed after the lock
        const std::lock_guard lock(mutex_);
        try {
            kept_.push_back({std::move(item), bytes});
        } catch (...) {
            return;
        }
        std::size_t total = 0;
        for (const Kept& k : kept_)
            total += k.bytes;
        if (kept_.size() > maxItems || total > maxBytes) {
            dropped = std::move(kept_.front().item);
            kept_.erase(kept_.begin());
        }
    }

private:
    struct Kept {
        std::unique_ptr<Item> item;
        std::size_t bytes;
    };
    std::mutex mutex_;
    std::vector<Kept> kept_; // oldest first
};

} // namespace ivra::python
