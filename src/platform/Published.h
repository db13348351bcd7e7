#pragma once
// A value that one writer replaces as a whole and any number of readers take in a
// few steps of their own, whatever the writer is doing: a reader never spins on,
// yields to or waits for the writer, so a writer of low priority preempted in the
// middle of a publication cannot hold up the mouse hook.
//
// The current value sits behind an atomic pointer. A reader marks the pointer it is
// about to copy in a slot of its own (a hazard slot): the writer frees nothing that a
// slot names. A reader first claims its slot with a mark that says "reading"; a writer
// that replaces the pointer meanwhile hands every such reader the new value in its
// slot, so the reader either keeps the value it read (marked before the writer could
// retire it) or takes the one handed over (current, so alive): three atomic steps and
// a reference count, never a loop on the writer.
//
// A reader's release is never the last one: the writer keeps every replaced value
// until no reader holds it and frees it on its own thread, so a reader (the mouse
// hook) never enters the heap.

#include <array>
#include <atomic>
#include <memory>
#include <vector>

// Where a test can stop the writer: between the swap of the pointer and the hand-over
// to readers in the middle of claiming a slot, the worst place to be preempted.
struct NoPublishPause {
    static void InsidePublish() {}
};

template <typename T, typename Pause = NoPublishPause>
class Published {
public:
    // More readers than this inside Load at one moment wait for one another (never for
    // the writer). The program has four reader threads.
    static constexpr size_t ReaderSlots = 16;

    explicit Published(std::shared_ptr<const T> first) : current_(new Node{std::move(first)}) {}
    ~Published() {
        delete current_.load();
        for (Node* node : retired_) delete node;
    }
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    // Any thread. Never null once constructed with a value.
    std::shared_ptr<const T> Load() const {
        std::atomic<Node*>& slot = ClaimSlot();
        Node* node = current_.load();
        Node* expected = Reading();
        // Fails only when a writer has handed this reader its new value already.
        if (!slot.compare_exchange_strong(expected, node)) node = expected;
        std::shared_ptr<const T> value = node->value;
        slot.store(nullptr);
        return value;
    }

    // The writer: one thread at a time (the caller orders writers).
    void Publish(std::shared_ptr<const T> next) {
        Node* fresh = new Node{std::move(next)};
        Node* old = current_.exchange(fresh);
        Pause::InsidePublish();
        for (std::atomic<Node*>& slot : slots_) {
            Node* expected = Reading();
            slot.compare_exchange_strong(expected, fresh);
        }
        retired_.push_back(old);
        // A replaced value no slot names can no longer be taken: a count of one is its node's own.
        std::erase_if(retired_, [this](Node* node) {
            if (IsNamed(node) || node->value.use_count() > 1) return false;
            delete node;
            return true;
        });
    }

private:
    struct Node {
        std::shared_ptr<const T> value;
    };

    static Node* Reading() { return &readingMark_; }

    std::atomic<Node*>& ClaimSlot() const {
        for (;;) {
            for (std::atomic<Node*>& slot : slots_) {
                Node* expected = nullptr;
                if (slot.load() == nullptr && slot.compare_exchange_strong(expected, Reading())) return slot;
            }
        }
    }

    bool IsNamed(const Node* node) const {
        for (const std::atomic<Node*>& slot : slots_)
            if (slot.load() == node) return true;
        return false;
    }

    inline static Node readingMark_{};
    std::atomic<Node*> current_;
    mutable std::array<std::atomic<Node*>, ReaderSlots> slots_{};
    std::vector<Node*> retired_;
};
