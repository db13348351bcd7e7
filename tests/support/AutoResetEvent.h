#pragma once
// A portable auto-reset event for test platforms whose engine thread really runs:
// Set wakes one Wait, and a Set with nobody waiting is kept for the next Wait.

#include <condition_variable>
#include <mutex>

class AutoResetEvent {
public:
    void Set() {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
        cv_.notify_one();
    }
    // onBlock runs under the event's lock just before the wait, onWake just after it.
    template <typename OnBlock, typename OnWake>
    void Wait(OnBlock onBlock, OnWake onWake) {
        std::unique_lock<std::mutex> lock(mutex_);
        onBlock();
        cv_.wait(lock, [this] { return signalled_; });
        signalled_ = false;
        onWake();
    }
    void Wait() {
        Wait([] {}, [] {});
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;
};
