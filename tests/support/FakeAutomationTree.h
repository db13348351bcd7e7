#pragma once
// An element tree in memory for the address-field search and the browser watcher:
// counts every reference it hands out and takes back, per element, and records the
// order in which elements were examined.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "exclusions/AutomationTree.h"

class FakeAutomationTree : public AutomationTree {
public:
    struct Node {
        int32_t controlType = 0;
        std::wstring className;
        std::wstring value;
        bool valueReadable = true; // false: the read fails
        bool valueIsString = true; // false: the read succeeds with another type
        int parent = -1;
        std::vector<int> children;
        int obtained = 0, released = 0;
    };

    static constexpr int32_t Pane = 50033, Edit = 50004, Tab = 50018, Document = 50030, Group = 50026;

    bool canSearch = true;
    std::vector<Node> nodes;
    std::unordered_map<WindowId, int> rootOf;
    std::vector<int> examined; // ids whose control type was read, in order
    int rootRequests = 0, valueReads = 0;
    mutable int useAfterRelease = 0; // an element used after all its references were released

    int AddRoot(WindowId window, int32_t controlType = Pane, const std::wstring& className = L"Chrome_WidgetWin_1") {
        const int id = AddNode(-1, controlType, className);
        rootOf[window] = id;
        return id;
    }
    int Add(int parent, int32_t controlType, const std::wstring& className = L"") {
        const int id = AddNode(parent, controlType, className);
        nodes[static_cast<size_t>(parent)].children.push_back(id);
        return id;
    }
    // An address field with its value under a parent.
    int AddAddressField(int parent, const std::wstring& value) {
        const int id = Add(parent, Edit, L"OmniboxViewViews");
        nodes[static_cast<size_t>(id)].value = value;
        return id;
    }
    Node& operator[](int id) { return nodes[static_cast<size_t>(id)]; }

    // References handed out and not yet released, over all elements.
    int Outstanding() const {
        int total = 0;
        for (const Node& n : nodes) total += n.obtained - n.released;
        return total;
    }
    bool AnyReleasedTwice() const {
        for (const Node& n : nodes)
            if (n.released > n.obtained) return true;
        return false;
    }
    static int IdOf(AutomationElement* element) {
        return static_cast<int>(reinterpret_cast<std::uintptr_t>(element)) - 1;
    }

    bool CanSearch() const override { return canSearch; }
    AutomationElement* ElementFromWindow(WindowId window) override {
        ++rootRequests;
        const auto found = rootOf.find(window);
        return found == rootOf.end() ? nullptr : Obtain(found->second);
    }
    AutomationElement* FirstChild(AutomationElement* element) override {
        const Node& node = Live(element);
        return node.children.empty() ? nullptr : Obtain(node.children.front());
    }
    AutomationElement* NextSibling(AutomationElement* element) override {
        const int id = IdOf(element);
        const int parent = Live(element).parent;
        if (parent < 0) return nullptr;
        const std::vector<int>& siblings = nodes[static_cast<size_t>(parent)].children;
        for (size_t i = 0; i + 1 < siblings.size(); ++i)
            if (siblings[i] == id) return Obtain(siblings[i + 1]);
        return nullptr;
    }
    int32_t ControlType(AutomationElement* element) override {
        examined.push_back(IdOf(element));
        return Live(element).controlType;
    }
    std::wstring ClassName(AutomationElement* element) override { return Live(element).className; }
    bool ReadValue(AutomationElement* element, std::wstring& text) override {
        ++valueReads;
        const Node& node = Live(element);
        if (!node.valueReadable || !node.valueIsString) return false;
        text = node.value;
        return true;
    }
    void Release(AutomationElement* element) override { ++nodes[static_cast<size_t>(IdOf(element))].released; }

private:
    int AddNode(int parent, int32_t controlType, const std::wstring& className) {
        Node node;
        node.controlType = controlType;
        node.className = className;
        node.parent = parent;
        nodes.push_back(node);
        return static_cast<int>(nodes.size()) - 1;
    }
    AutomationElement* Obtain(int id) {
        ++nodes[static_cast<size_t>(id)].obtained;
        return reinterpret_cast<AutomationElement*>(static_cast<std::uintptr_t>(id) + 1);
    }
    const Node& Live(AutomationElement* element) const {
        const Node& node = nodes[static_cast<size_t>(IdOf(element))];
        if (node.released >= node.obtained) ++useAfterRelease;
        return node;
    }
};
