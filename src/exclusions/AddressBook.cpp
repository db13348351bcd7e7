#include "exclusions/AddressBook.h"

std::wstring_view AddressBook::View::Get(WindowId window) const {
    if (!map_) return {};
    const auto found = map_->find(window);
    return found == map_->end() ? std::wstring_view() : std::wstring_view(found->second);
}

AddressBook::View AddressBook::Read() const {
    View view;
    view.map_ = published_.Load();
    return view;
}

void AddressBook::Publish(WindowId window, std::wstring_view address) {
    const auto [entry, inserted] = working_.try_emplace(window, address);
    if (inserted) {
        changed_ = true;
    } else if (entry->second != address) {
        entry->second.assign(address);
        changed_ = true;
    }
}

void AddressBook::Erase(WindowId window) { changed_ = working_.erase(window) != 0 || changed_; }

void AddressBook::Clear() {
    changed_ = changed_ || !working_.empty();
    working_.clear();
}

void AddressBook::Commit() {
    if (!changed_) return;
    published_.Publish(std::make_shared<const Map>(working_));
    changed_ = false;
}
