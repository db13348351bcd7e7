#pragma once
// The four edits of the exclusion lists, on a list of the caller's: the store makes them
// on its live settings, and replays them on the file's values when the file could only be
// read after the user had made them.

#include <string>
#include <vector>

namespace ExclusionListEdits {

// entry: already normalised. Appended unless present, ignoring letter case. True: added.
bool AddApp(std::vector<std::wstring>& apps, const std::wstring& entry);
// rule: already normalised. Appended unless present exactly. True: added.
bool AddSite(std::vector<std::wstring>& sites, const std::wstring& rule);
// text: trimmed; every entry equal to it ignoring letter case goes.
void RemoveApp(std::vector<std::wstring>& apps, const std::wstring& text);
// rule: already normalised; every entry equal to it goes.
void RemoveSite(std::vector<std::wstring>& sites, const std::wstring& rule);

} // namespace ExclusionListEdits
