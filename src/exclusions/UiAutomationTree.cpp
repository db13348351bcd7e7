#include "exclusions/UiAutomationTree.h"

namespace {

// The opaque element is the COM element itself: no wrapper to allocate or free.
IUIAutomationElement* Com(AutomationElement* element) { return reinterpret_cast<IUIAutomationElement*>(element); }
AutomationElement* Opaque(IUIAutomationElement* element) { return reinterpret_cast<AutomationElement*>(element); }

// A null string reads as empty.
std::wstring TextOf(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

// A BSTR result, freed on every path.
class ScopedBstr {
public:
    ~ScopedBstr() { SysFreeString(text_); }
    BSTR* put() { return &text_; }
    std::wstring Text() const { return TextOf(text_); }

private:
    BSTR text_ = nullptr;
};

// A VARIANT result, cleared on every path.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&value_); }
    ~ScopedVariant() { VariantClear(&value_); }
    VARIANT* get() { return &value_; }

private:
    VARIANT value_;
};

} // namespace

UiAutomationTree::UiAutomationTree() {
    // A browser whose provider stops answering must not hold the watcher (and exit)
    // for the system's default 20 s: each call gives up after about a second.
    ComRef<IUIAutomation2> bounded;
    if (SUCCEEDED(CoCreateInstance(UiAutomation8ClassId(), nullptr, CLSCTX_INPROC_SERVER, UiAutomation2InterfaceId(),
                                   reinterpret_cast<void**>(bounded.put())))) {
        bounded->put_ConnectionTimeout(CallTimeoutMs);
        bounded->put_TransactionTimeout(CallTimeoutMs);
        *automation_.put() = bounded.detach(); // IUIAutomation2 is an IUIAutomation
    } else if (FAILED(CoCreateInstance(UiAutomationClassId(), nullptr, CLSCTX_INPROC_SERVER, UiAutomationInterfaceId(),
                                       reinterpret_cast<void**>(automation_.put())))) {
        automation_.reset(); // before Windows 8 there are no bounds; without automation no search
        return;
    }
    automation_->get_ControlViewWalker(walker_.put()); // a null walker disables searches
}

AutomationElement* UiAutomationTree::ElementFromWindow(WindowId window) {
    IUIAutomationElement* element = nullptr;
    if (FAILED(automation_->ElementFromHandle(reinterpret_cast<UIA_HWND>(window), &element))) return nullptr;
    return Opaque(element);
}

AutomationElement* UiAutomationTree::FirstChild(AutomationElement* element) {
    IUIAutomationElement* child = nullptr;
    if (FAILED(walker_->GetFirstChildElement(Com(element), &child))) return nullptr;
    return Opaque(child);
}

AutomationElement* UiAutomationTree::NextSibling(AutomationElement* element) {
    IUIAutomationElement* sibling = nullptr;
    if (FAILED(walker_->GetNextSiblingElement(Com(element), &sibling))) return nullptr;
    return Opaque(sibling);
}

int32_t UiAutomationTree::ControlType(AutomationElement* element) {
    CONTROLTYPEID type = 0;
    if (FAILED(Com(element)->get_CurrentControlType(&type))) return 0;
    return type;
}

std::wstring UiAutomationTree::ClassName(AutomationElement* element) {
    ScopedBstr name;
    if (FAILED(Com(element)->get_CurrentClassName(name.put()))) return {};
    return name.Text();
}

bool UiAutomationTree::ReadValue(AutomationElement* element, std::wstring& text) {
    ScopedVariant value;
    if (FAILED(Com(element)->GetCurrentPropertyValue(UiaIds::ValueValueProperty, value.get()))) return false;
    if (value.get()->vt != VT_BSTR) return false;
    text = TextOf(value.get()->bstrVal);
    return true;
}

void UiAutomationTree::Release(AutomationElement* element) { Com(element)->Release(); }
