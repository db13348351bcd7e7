#pragma once
// How the exclusion lists of a settings snapshot match: an application by its
// lower-cased file name, a site rule by a browser's address or tab title. Pure
// string work over immutable data: no lock, no allocation, any thread.

#include <string>
#include <string_view>

#include "settings/ExclusionEntries.h"

struct SettingsSnapshot;

namespace ExclusionRules {

// Whether one normalised rule matches a normalised address (may be empty) or a tab title (any case).
// Lower-cases a copy of the title: for callers outside the hook.
bool SiteRuleMatches(std::wstring_view rule, std::wstring_view address, std::wstring_view title);

// As SiteRuleMatches, with the title already lower-cased (lets a caller fold it once for many rules).
bool SiteRuleMatchesLowerTitle(std::wstring_view rule, std::wstring_view address, std::wstring_view lowerTitle);

// A process's file name in the form the application rules compare: trimmed of blanks
// and quotes and lower-cased, written into out (whose storage is reused).
void ToAppRuleName(std::wstring_view processName, std::wstring& out);

// Whether a process, by its name in rule form (ToAppRuleName), is in ExcludedApps.
bool IsAppExcluded(const SettingsSnapshot& settings, std::wstring_view lowerName);

// Whether any site rule matches a normalised address (may be empty) or a lower-cased tab title.
bool IsSiteExcluded(const SettingsSnapshot& settings, std::wstring_view address, std::wstring_view lowerTitle);

} // namespace ExclusionRules
