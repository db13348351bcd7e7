#include "exclusions/ExclusionRules.h"

#include <algorithm>

#include "settings/SettingsSnapshot.h"
#include "settings/TextCase.h"

namespace ExclusionRules {
namespace {

constexpr auto npos = std::wstring_view::npos;

bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != npos; }

bool EndsWith(std::wstring_view text, std::wstring_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Splits at the first "/": host before it, path from it on (empty without a "/").
void SplitHostPath(std::wstring_view text, std::wstring_view& host, std::wstring_view& path) {
    const size_t slash = text.find(L'/');
    host = text.substr(0, slash);
    path = slash == npos ? std::wstring_view{} : text.substr(slash);
}

bool HostMatches(std::wstring_view addressHost, std::wstring_view ruleHost) {
    if (addressHost == ruleHost) return true;
    return addressHost.size() > ruleHost.size() && EndsWith(addressHost, ruleHost) &&
           addressHost[addressHost.size() - ruleHost.size() - 1] == L'.';
}

// A rule path matches itself and everything below it, never a sibling with the same prefix.
bool PathMatches(std::wstring_view addressPath, std::wstring_view rulePath) {
    if (addressPath == rulePath) return true;
    return addressPath.size() > rulePath.size() && addressPath.substr(0, rulePath.size()) == rulePath &&
           addressPath[rulePath.size()] == L'/';
}

// The second-level label of a host ("news.example.co" → "example"), used to find a
// site in a tab title when no address is known.
std::wstring_view MainLabel(std::wstring_view host) {
    const size_t j = host.rfind(L'.');
    if (j == npos || j == 0) return host;
    const size_t k = host.rfind(L'.', j - 1);
    const size_t begin = k == npos ? 0 : k + 1;
    return host.substr(begin, j - begin);
}

// What a rule is, found in one pass over it (the hook asks this of every rule per notch):
// a domain rule has a "." and no space, and splits at its first "/".
struct RuleShape {
    bool domain = false;
    size_t slash = npos;
};

RuleShape ShapeOf(std::wstring_view rule) {
    unsigned dot = 0, space = 0; // no branches in the loop: it runs for every rule of every notch
    for (const wchar_t c : rule) {
        dot |= c == L'.';
        space |= c == L' ';
    }
    return {dot && !space, rule.find(L'/')};
}

// One rule against an address already split into host and path (split once for all rules).
bool RuleMatches(std::wstring_view rule, std::wstring_view addressHost, std::wstring_view addressPath,
                 std::wstring_view lowerTitle) {
    if (rule.empty()) return false;
    const RuleShape shape = ShapeOf(rule);
    if (!shape.domain) {
        return Contains(lowerTitle, rule) || (!addressHost.empty() && Contains(addressHost, rule));
    }

    const std::wstring_view ruleHost = rule.substr(0, shape.slash);
    const std::wstring_view rulePath = shape.slash == npos ? std::wstring_view{} : rule.substr(shape.slash);
    if (!addressHost.empty()) {
        if (!HostMatches(addressHost, ruleHost)) return false;
        return rulePath.empty() || PathMatches(addressPath, rulePath);
    }

    // No address known: a host-only rule may still be recognised in the tab title.
    if (!rulePath.empty()) return false;
    const std::wstring_view label = MainLabel(ruleHost);
    return label.size() >= 3 && Contains(lowerTitle, label);
}

} // namespace

bool SiteRuleMatchesLowerTitle(std::wstring_view rule, std::wstring_view address, std::wstring_view lowerTitle) {
    std::wstring_view addressHost, addressPath;
    SplitHostPath(address, addressHost, addressPath);
    return RuleMatches(rule, addressHost, addressPath, lowerTitle);
}

bool SiteRuleMatches(std::wstring_view rule, std::wstring_view address, std::wstring_view title) {
    if (rule.empty()) return false;
    return SiteRuleMatchesLowerTitle(rule, address, ToLowerCopy(std::wstring(title)));
}

void ToAppRuleName(std::wstring_view processName, std::wstring& out) {
    out.assign(TrimAppText(processName));
    LowerCaseInPlace(out);
}

bool IsAppExcluded(const SettingsSnapshot& settings, std::wstring_view lowerName) {
    if (lowerName.empty()) return false;
    return std::any_of(settings.LowerApps.begin(), settings.LowerApps.end(),
                       [&](const std::wstring& app) { return app == lowerName; });
}

bool IsSiteExcluded(const SettingsSnapshot& settings, std::wstring_view address, std::wstring_view lowerTitle) {
    std::wstring_view addressHost, addressPath;
    SplitHostPath(address, addressHost, addressPath);
    const auto& sites = settings.Values.ExcludedSites;
    return std::any_of(sites.begin(), sites.end(), [&](const std::wstring& rule) {
        return RuleMatches(rule, addressHost, addressPath, lowerTitle);
    });
}

} // namespace ExclusionRules
