#include "exclusions/ExclusionRules.h"

#include "exclusions/TextCase.h"

#include <algorithm>

namespace ExclusionRules {
namespace {

constexpr std::wstring_view SiteTrimSet = L" \t\r\n";
constexpr std::wstring_view AppTrimSet = L" \t\r\n\"";
constexpr auto npos = std::wstring_view::npos;

// No file name is longer (NTFS), and the configuration file's reader takes no more than 259
// characters of an entry: a longer one could never match and would come back cut.
constexpr size_t MaxAppEntryChars = 255;

// The configuration file holds one entry per line, with no escaping.
bool HasLineBreak(std::wstring_view text) { return text.find_first_of(L"\r\n") != npos; }

std::wstring_view Trim(std::wstring_view text, std::wstring_view set) {
    const size_t first = text.find_first_not_of(set);
    if (first == npos) return {};
    const size_t last = text.find_last_not_of(set);
    return text.substr(first, last - first + 1);
}

bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != npos; }

bool HasScheme(std::wstring_view text) { return text.size() >= 3 && Contains(text, L"://"); }

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

bool IsDomainRule(std::wstring_view rule) { return Contains(rule, L".") && !Contains(rule, L" "); }

} // namespace

std::wstring_view TrimAppText(std::wstring_view text) { return Trim(text, AppTrimSet); }

std::wstring NormalizeAppEntry(std::wstring_view entry) {
    std::wstring_view name = Trim(entry, AppTrimSet);
    const size_t separator = name.find_last_of(L"\\/");
    if (separator != npos) name = Trim(name.substr(separator + 1), AppTrimSet);
    std::wstring result(name);
    if (!result.empty() && result.find(L'.') == std::wstring::npos) result += L".exe";
    if (result.size() > MaxAppEntryChars || HasLineBreak(result)) return {};
    return result;
}

std::wstring NormalizeAddress(std::wstring_view address) {
    std::wstring text(Trim(address, SiteTrimSet));
    LowerCaseInPlace(text);
    // A search phrase is no address; nor is text with a tab or line break inside, which no
    // address field shows and which the cuts below could leave at either end.
    if (text.find_first_of(SiteTrimSet) != std::wstring::npos) return {};

    if (HasScheme(text)) text.erase(0, text.find(L"://") + 3);
    if (text.starts_with(L"www.")) text.erase(0, 4);

    const size_t queryOrFragment = text.find_first_of(L"?#");
    if (queryOrFragment != std::wstring::npos) text.resize(queryOrFragment);

    const size_t slash = text.find(L'/');
    const size_t colon = text.find(L':');
    if (colon != std::wstring::npos && colon < slash) {
        // The port goes; the path, if any, stays.
        text.erase(colon, slash == std::wstring::npos ? std::wstring::npos : slash - colon);
    }

    while (!text.empty() && text.back() == L'/') text.pop_back();
    return text;
}

std::wstring NormalizeSiteEntry(std::wstring_view entry) {
    std::wstring text(Trim(entry, SiteTrimSet));
    LowerCaseInPlace(text);
    // "*. news" is the same entry as " news": the blanks after the prefix go too.
    if (text.starts_with(L"*.")) text = std::wstring(Trim(std::wstring_view(text).substr(2), SiteTrimSet));
    // Words of a title, kept as typed, on one line.
    if (text.find(L' ') != std::wstring::npos) return HasLineBreak(text) ? std::wstring{} : text;

    const bool hadScheme = HasScheme(text);
    std::wstring normalized = NormalizeAddress(text);
    if (hadScheme) normalized.resize(std::min(normalized.size(), normalized.find(L'/')));
    return normalized;
}

bool SiteRuleMatchesLowerTitle(std::wstring_view rule, std::wstring_view address, std::wstring_view lowerTitle) {
    if (rule.empty()) return false;
    std::wstring_view addressHost, addressPath;
    SplitHostPath(address, addressHost, addressPath);

    if (!IsDomainRule(rule)) {
        return Contains(lowerTitle, rule) || (!addressHost.empty() && Contains(addressHost, rule));
    }

    std::wstring_view ruleHost, rulePath;
    SplitHostPath(rule, ruleHost, rulePath);
    if (!addressHost.empty()) {
        if (!HostMatches(addressHost, ruleHost)) return false;
        return rulePath.empty() || PathMatches(addressPath, rulePath);
    }

    // No address known: a host-only rule may still be recognised in the tab title.
    if (!rulePath.empty()) return false;
    const std::wstring_view label = MainLabel(ruleHost);
    return label.size() >= 3 && Contains(lowerTitle, label);
}

bool SiteRuleMatches(std::wstring_view rule, std::wstring_view address, std::wstring_view title) {
    if (rule.empty()) return false;
    return SiteRuleMatchesLowerTitle(rule, address, ToLowerCopy(std::wstring(title)));
}

} // namespace ExclusionRules
