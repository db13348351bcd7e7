#pragma once
// The element tree of the system's UI Automation, as the browser watcher searches
// it: the CUIAutomation object and its control-view walker, created in the calling
// thread's apartment and released when this object goes. When either cannot be
// created (as under Wine) nothing can be searched and every search finds nothing.

#include "exclusions/AutomationTree.h"
#include "exclusions/UiAutomationClient.h"
#include "platform/ComRef.h"

class UiAutomationTree : public AutomationTree {
public:
    static constexpr DWORD CallTimeoutMs = 1000;

    UiAutomationTree();
    // Released in this order: the walker, then the automation object.
    ~UiAutomationTree() override = default;

    bool CanSearch() const override { return automation_ && walker_; }
    AutomationElement* ElementFromWindow(WindowId window) override;
    AutomationElement* FirstChild(AutomationElement* element) override;
    AutomationElement* NextSibling(AutomationElement* element) override;
    int32_t ControlType(AutomationElement* element) override;
    std::wstring ClassName(AutomationElement* element) override;
    bool ReadValue(AutomationElement* element, std::wstring& text) override;
    void Release(AutomationElement* element) override;

private:
    ComRef<IUIAutomation> automation_;
    ComRef<IUIAutomationTreeWalker> walker_; // declared last: released first
};
