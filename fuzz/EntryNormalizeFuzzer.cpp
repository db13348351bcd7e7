// Application entries, site entries and addresses as anyone may type, paste or store
// them: what the normalisers give back must be in the form the rest of the program
// relies on, and a stored entry must come back unchanged when it is read again.

#include "FuzzSupport.h"
#include "settings/ExclusionEntries.h"
#include "settings/TextCase.h"

namespace {

constexpr std::wstring_view AppTrimSet = L" \t\r\n\"";
constexpr std::wstring_view SiteTrimSet = L" \t\r\n";
constexpr auto npos = std::wstring_view::npos;

bool Has(std::wstring_view text, std::wstring_view characters) { return text.find_first_of(characters) != npos; }

// Neither end is a character of the set (an empty text counts as trimmed).
bool Trimmed(std::wstring_view text, std::wstring_view set) {
    return text.empty() || (set.find(text.front()) == npos && set.find(text.back()) == npos);
}

bool LowerCase(std::wstring_view text) { return ToLowerCopy(std::wstring(text)) == text; }

void CheckCaseFold(const std::wstring& text) {
    const std::wstring lower = ToLowerCopy(text);
    FUZZ_CHECK(lower.size() == text.size(), text);
    FUZZ_CHECK(ToLowerCopy(lower) == lower, text, lower);
}

void CheckTrimAppText(std::wstring_view text) {
    const std::wstring_view trimmed = ExclusionRules::TrimAppText(text);
    FUZZ_CHECK(Trimmed(trimmed, AppTrimSet), text, trimmed);
    if (trimmed.empty()) {
        FUZZ_CHECK(text.find_first_not_of(AppTrimSet) == npos, text);
        return;
    }
    // Only blanks and quotes were cut, from both ends, and the view still points into the text.
    const size_t begin = static_cast<size_t>(trimmed.data() - text.data());
    FUZZ_CHECK(begin + trimmed.size() <= text.size(), text, trimmed);
    FUZZ_CHECK(text.substr(begin, trimmed.size()) == trimmed, text, trimmed);
    FUZZ_CHECK(text.substr(0, begin).find_first_not_of(AppTrimSet) == npos, text, trimmed);
    FUZZ_CHECK(text.substr(begin + trimmed.size()).find_first_not_of(AppTrimSet) == npos, text, trimmed);
}

void CheckAppEntry(std::wstring_view text) {
    const std::wstring entry = ExclusionRules::NormalizeAppEntry(text);
    if (entry.empty()) return;
    // A file name, on one line of the file: no folder, no line break, no blanks or quotes at the ends, a dot (".exe" was added if it had none).
    FUZZ_CHECK(!Has(entry, L"\\/\r\n"), text, entry);
    FUZZ_CHECK(Trimmed(entry, AppTrimSet), text, entry);
    FUZZ_CHECK(entry.find(L'.') != npos, text, entry);
    FUZZ_CHECK(entry.size() <= text.size() + 4, text, entry);
    FUZZ_CHECK(ExclusionRules::NormalizeAppEntry(entry) == entry, text, entry);
}

void CheckAddress(std::wstring_view text) {
    const std::wstring address = ExclusionRules::NormalizeAddress(text);
    if (address.empty()) return;
    FUZZ_CHECK(LowerCase(address), text, address);
    FUZZ_CHECK(!Has(address, SiteTrimSet) && !Has(address, L"?#"), text, address);
    FUZZ_CHECK(address.back() != L'/', text, address);
    // No port is left on the host.
    FUZZ_CHECK(address.substr(0, address.find(L'/')).find(L':') == npos, text, address);
}

void CheckSiteEntry(std::wstring_view text) {
    const std::wstring rule = ExclusionRules::NormalizeSiteEntry(text);
    if (rule.empty()) return;
    FUZZ_CHECK(LowerCase(rule), text, rule);
    FUZZ_CHECK(Trimmed(rule, SiteTrimSet), text, rule);
    FUZZ_CHECK(!Has(rule, L"\r\n"), text, rule); // one rule per line of the file
    if (rule.find(L' ') == npos) {
        // A host or host + path, in the form of a normalised address.
        FUZZ_CHECK(!Has(rule, L"?#"), text, rule);
        FUZZ_CHECK(rule.back() != L'/', text, rule);
    }
    // Read again at the next start, the rule stays as it is. The two prefixes that are
    // dropped once per normalisation ("*." of a wildcard, a leading "www." label) may
    // still lead it when the entry was typed with them twice.
    const std::wstring again = ExclusionRules::NormalizeSiteEntry(rule);
    if (!rule.starts_with(L"*.") && !rule.starts_with(L"www.")) FUZZ_CHECK(again == rule, text, rule, again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = Fuzz::FromUtf8(data, size);
    CheckCaseFold(text);
    CheckTrimAppText(text);
    CheckAppEntry(text);
    CheckAddress(text);
    CheckSiteEntry(text);
    return 0;
}
