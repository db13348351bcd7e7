#include "exclusions/AddressBook.h"

using Lock = std::lock_guard<std::mutex>;

std::wstring AddressBook::Get(WindowId window) const {
    Lock lock(lock_);
    const auto found = addresses_.find(window);
    return found == addresses_.end() ? std::wstring() : found->second;
}

void AddressBook::Publish(WindowId window, const std::wstring& address) {
    Lock lock(lock_);
    addresses_[window] = address;
}

void AddressBook::Erase(WindowId window) {
    Lock lock(lock_);
    addresses_.erase(window);
}

void AddressBook::Clear() {
    Lock lock(lock_);
    addresses_.clear();
}

size_t AddressBook::Size() const {
    Lock lock(lock_);
    return addresses_.size();
}
