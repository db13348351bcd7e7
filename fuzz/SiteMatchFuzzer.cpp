// A site rule against a browser's address and tab title, all three from outside: the input
// is split at its first two line breaks into rule, address and title. The matcher is fed the
// texts as they arrive and in the form the program gives them (rule and address normalised).

#include "FuzzSupport.h"
#include "exclusions/ExclusionRules.h"
#include "settings/TextCase.h"

namespace {

using ExclusionRules::SiteRuleMatches;

bool IsDomainRule(std::wstring_view rule) {
    return rule.find(L'.') != std::wstring_view::npos && rule.find(L' ') == std::wstring_view::npos;
}

void CheckMatch(std::wstring_view rule, std::wstring_view address, std::wstring_view title) {
    const bool matches = SiteRuleMatches(rule, address, title);
    if (rule.empty()) FUZZ_CHECK(!matches, address, title);
    // The title's letter case never matters, and a caller may fold it once for many rules.
    const std::wstring lowerTitle = ToLowerCopy(std::wstring(title));
    FUZZ_CHECK(SiteRuleMatches(rule, address, lowerTitle) == matches, rule, address, title);
    FUZZ_CHECK(ExclusionRules::SiteRuleMatchesLowerTitle(rule, address, lowerTitle) == matches, rule, address, title);
    if (!matches) return;
    // A title is only searched: more text around it keeps a match. A rule that matches a page
    // matches the pages below it too.
    const std::wstring longerTitle = L"Tab · " + std::wstring(title) + L" — Browser";
    FUZZ_CHECK(SiteRuleMatches(rule, address, longerTitle), rule, address, title);
    const std::wstring below = std::wstring(address) + L"/page";
    FUZZ_CHECK(SiteRuleMatches(rule, below, title), rule, address, title);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::wstring> parts = Fuzz::SplitLines(Fuzz::FromUtf8(data, size), 3);
    const std::wstring& rawRule = parts[0];
    const std::wstring& rawAddress = parts[1];
    const std::wstring& title = parts[2];

    CheckMatch(rawRule, rawAddress, title);
    const std::wstring rule = ExclusionRules::NormalizeSiteEntry(rawRule);
    const std::wstring address = ExclusionRules::NormalizeAddress(rawAddress);
    CheckMatch(rule, address, title);

    // An address pasted into the site list excludes that address (when it makes a domain rule).
    const std::wstring pasted = ExclusionRules::NormalizeSiteEntry(rawAddress);
    if (IsDomainRule(pasted) && !address.empty() && address.front() != L'/')
        FUZZ_CHECK(SiteRuleMatches(pasted, address, L""), rawAddress, pasted, address);
    return 0;
}
