#pragma once
// A value that one writer replaces as a whole and any number of readers take
// without waiting on the writer's work: readers hold an immutable copy for as
// long as they use it, and the writer swaps in the next one. Readers and the
// writer only ever contend for the copy or the swap of one pointer.
//
// A reader's release is never the last one: the writer keeps every replaced value
// until no reader holds it and frees it on its own thread, so a reader (the mouse
// hook) never enters the heap.

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

template <typename T>
class Published {
public:
    explicit Published(std::shared_ptr<const T> first) : current_(std::move(first)) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    // Any thread. Never null once constructed with a value.
    std::shared_ptr<const T> Load() const {
        const PointerGuard guard(busy_);
        return current_;
    }

    // The writer: one thread at a time (the caller orders writers).
    void Publish(std::shared_ptr<const T> next) {
        {
            const PointerGuard guard(busy_);
            current_.swap(next);
        }
        retired_.push_back(std::move(next));
        // A replaced value can no longer be loaded: a count of one is the writer's own.
        std::erase_if(retired_, [](const std::shared_ptr<const T>& old) { return old.use_count() == 1; });
    }

private:
    // Held for a copy or a swap of the pointer: a few instructions. A waiter yields,
    // so a holder that was preempted on the same processor gets to finish.
    class PointerGuard {
    public:
        explicit PointerGuard(std::atomic<bool>& busy) : busy_(busy) {
            while (busy_.exchange(true, std::memory_order_acquire)) {
                while (busy_.load(std::memory_order_relaxed)) std::this_thread::yield();
            }
        }
        ~PointerGuard() { busy_.store(false, std::memory_order_release); }
        PointerGuard(const PointerGuard&) = delete;
        PointerGuard& operator=(const PointerGuard&) = delete;

    private:
        std::atomic<bool>& busy_;
    };

    mutable std::atomic<bool> busy_{false};
    std::shared_ptr<const T> current_;
    std::vector<std::shared_ptr<const T>> retired_;
};
