#pragma once
// The few UI Automation operations the browser watcher uses, without COM: elements
// are opaque counted references that the tree hands out and takes back. The Win32
// version wraps IUIAutomation and its control-view walker; tests use a fake tree
// that counts every reference obtained and released.

#include <cstdint>
#include <string>
#include <utility>

#include "exclusions/WindowId.h"

struct AutomationElement; // opaque: never defined, only pointed to

namespace UiaIds {
inline constexpr int32_t ValueValueProperty = 30045;
inline constexpr int32_t EditControlType = 50004;
inline constexpr int32_t TabControlType = 50018;
inline constexpr int32_t DocumentControlType = 50030;
} // namespace UiaIds

class AutomationTree {
public:
    virtual ~AutomationTree() = default;
    // False when the automation object or its walker could not be created: nothing can be searched.
    virtual bool CanSearch() const = 0;
    // Each of these returns a new reference (released with Release) or null.
    virtual AutomationElement* ElementFromWindow(WindowId window) = 0;
    virtual AutomationElement* FirstChild(AutomationElement* element) = 0;
    virtual AutomationElement* NextSibling(AutomationElement* element) = 0;
    virtual int32_t ControlType(AutomationElement* element) = 0;      // 0 when unreadable
    virtual std::wstring ClassName(AutomationElement* element) = 0;   // empty when unreadable or null
    // The element's value as text; false when the read fails or the value is not a string.
    virtual bool ReadValue(AutomationElement* element, std::wstring& text) = 0;
    virtual void Release(AutomationElement* element) = 0;
};

// Owns one element reference: released exactly once, when dropped or replaced.
class ElementRef {
public:
    ElementRef() = default;
    ElementRef(AutomationTree& tree, AutomationElement* element) : tree_(&tree), element_(element) {}
    ~ElementRef() { reset(); }
    ElementRef(ElementRef&& other) noexcept
        : tree_(other.tree_), element_(std::exchange(other.element_, nullptr)) {}
    ElementRef& operator=(ElementRef&& other) noexcept {
        if (this != &other) {
            reset();
            tree_ = other.tree_;
            element_ = std::exchange(other.element_, nullptr);
        }
        return *this;
    }
    ElementRef(const ElementRef&) = delete;
    ElementRef& operator=(const ElementRef&) = delete;

    AutomationElement* get() const { return element_; }
    explicit operator bool() const { return element_ != nullptr; }
    void reset() {
        if (element_) tree_->Release(std::exchange(element_, nullptr));
    }

private:
    AutomationTree* tree_ = nullptr;
    AutomationElement* element_ = nullptr;
};
