#include "settings/ExclusionEntries.h"

#include "settings/TextCase.h"

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

} // namespace ExclusionRules
