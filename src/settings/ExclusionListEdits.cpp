#include "settings/ExclusionListEdits.h"

#include <algorithm>

#include "settings/TextCase.h"

namespace {

// Whether a stored application entry equals an already lower-cased name, ignoring
// case. Lower-casing never changes the length, so most entries are rejected before
// any copy; scratch is reused across a walk of the list.
bool SameAppName(const std::wstring& stored, const std::wstring& lowerName, std::wstring& scratch) {
    if (stored.size() != lowerName.size()) return false;
    scratch.assign(stored);
    LowerCaseInPlace(scratch);
    return scratch == lowerName;
}

} // namespace

namespace ExclusionListEdits {

bool AddApp(std::vector<std::wstring>& apps, const std::wstring& entry) {
    const std::wstring lower = ToLowerCopy(entry);
    std::wstring scratch;
    if (std::any_of(apps.begin(), apps.end(),
                    [&](const std::wstring& stored) { return SameAppName(stored, lower, scratch); }))
        return false;
    apps.push_back(entry);
    return true;
}

bool AddSite(std::vector<std::wstring>& sites, const std::wstring& rule) {
    if (std::find(sites.begin(), sites.end(), rule) != sites.end()) return false;
    sites.push_back(rule);
    return true;
}

void RemoveApp(std::vector<std::wstring>& apps, const std::wstring& text) {
    const std::wstring lower = ToLowerCopy(text);
    std::wstring scratch;
    std::erase_if(apps, [&](const std::wstring& stored) { return SameAppName(stored, lower, scratch); });
}

void RemoveSite(std::vector<std::wstring>& sites, const std::wstring& rule) { std::erase(sites, rule); }

} // namespace ExclusionListEdits
