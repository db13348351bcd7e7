#pragma once
// One counted COM reference: released once when dropped or replaced, never copied.

#include <utility>

template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For the out-parameter of a creating call; drops what was held before.
    Interface** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }
    // Hands the reference over to the caller, who releases it.
    Interface* detach() { return std::exchange(pointer_, nullptr); }

private:
    Interface* pointer_ = nullptr;
};
