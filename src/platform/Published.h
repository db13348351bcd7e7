#pragma once
// A value that one writer replaces as a whole and any number of readers take
// without waiting on the writer's work: readers hold an immutable copy for as
// long as they use it, and the writer swaps in the next one. Readers only ever
// contend with the swap of one pointer, never with the writer building a value.
//
// A reader's release is never the last one: the writer keeps every replaced value
// until no reader holds it and frees it on its own thread, so a reader (the mouse
// hook) never enters the heap.

#include <atomic>
#include <memory>
#include <vector>

template <typename T>
class Published {
public:
    explicit Published(std::shared_ptr<const T> first) : current_(std::move(first)) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    // Any thread. Never null once constructed with a value.
    std::shared_ptr<const T> Load() const { return current_.load(std::memory_order_acquire); }

    // The writer: one thread at a time (the caller orders writers).
    void Publish(std::shared_ptr<const T> next) {
        retired_.push_back(current_.exchange(std::move(next), std::memory_order_acq_rel));
        // A replaced value can no longer be loaded: a count of one is the writer's own.
        std::erase_if(retired_, [](const std::shared_ptr<const T>& old) { return old.use_count() == 1; });
    }

private:
    std::atomic<std::shared_ptr<const T>> current_;
    std::vector<std::shared_ptr<const T>> retired_;
};
