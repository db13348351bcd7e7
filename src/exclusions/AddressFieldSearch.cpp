#include "exclusions/AddressFieldSearch.h"

#include <string>
#include <vector>

namespace {

bool IsAddressField(int32_t controlType, const std::wstring& className) {
    return controlType == UiaIds::EditControlType && className == L"OmniboxViewViews";
}

// Large subtrees that never hold the address field.
bool IsSkippedSubtree(int32_t controlType, const std::wstring& className) {
    return controlType == UiaIds::DocumentControlType || controlType == UiaIds::TabControlType ||
           className == L"Chrome_RenderWidgetHostHWND" || className == L"BookmarkBarView";
}

bool Stopping(const StopRequested& stop) { return stop && stop(); }

// Pushes the children so that the first child is popped next.
void PushChildren(AutomationTree& tree, AutomationElement* parent, std::vector<ElementRef>& stack,
                  const StopRequested& stop) {
    std::vector<ElementRef> children;
    for (ElementRef child(tree, tree.FirstChild(parent)); child && !Stopping(stop);) {
        ElementRef next(tree, tree.NextSibling(child.get()));
        children.push_back(std::move(child));
        child = std::move(next);
    }
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(std::move(*it));
}

} // namespace

ElementRef FindAddressField(AutomationTree& tree, WindowId window, const StopRequested& stop) {
    if (!tree.CanSearch()) return {};
    ElementRef root(tree, tree.ElementFromWindow(window));
    if (!root) return {};

    std::vector<ElementRef> stack;
    stack.push_back(std::move(root));
    ElementRef found;
    int examined = 0;
    while (!stack.empty()) {
        ElementRef element = std::move(stack.back());
        stack.pop_back();
        // Once found, past the bound or stopped, the rest of the stack is only released.
        if (found || ++examined > AddressFieldSearchBound || Stopping(stop)) continue;

        const int32_t controlType = tree.ControlType(element.get());
        const std::wstring className = tree.ClassName(element.get());
        if (IsAddressField(controlType, className)) {
            found = std::move(element);
            continue;
        }
        if (IsSkippedSubtree(controlType, className)) continue;
        PushChildren(tree, element.get(), stack, stop);
    }
    return found;
}
