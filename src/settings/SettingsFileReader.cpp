#include <cwchar>
#include <unordered_set>

#include "settings/ExclusionEntries.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStorage.h"

namespace {

constexpr size_t RealBufferChars = 64;
constexpr size_t AppBufferChars = 260;
constexpr size_t SiteBufferChars = 512;

// Text as the C runtime reads it: leading blanks skipped, the number's prefix taken,
// no number at all gives 0.0 (which the clamp then raises to the minimum).
double ReadReal(ConfigFileSystem& files, const std::wstring& path, const wchar_t* section, const wchar_t* key,
                double defaultValue) {
    const std::wstring text = files.ReadString(path, section, key, RealBufferChars);
    if (text.empty()) return defaultValue;
    return std::wcstod(text.c_str(), nullptr);
}

AxisSettings ReadAxis(ConfigFileSystem& files, const std::wstring& path, const wchar_t* section) {
    const AxisSettings defaults;
    AxisSettings axis;
    axis.Speed = files.ReadInt(path, section, L"Speed", defaults.Speed);
    axis.DurationMs = files.ReadInt(path, section, L"DurationMs", defaults.DurationMs);
    axis.Smoothing = ReadReal(files, path, section, L"Smoothing", defaults.Smoothing);
    axis.AccelEnabled = files.ReadInt(path, section, L"AccelEnabled", 1) != 0;
    axis.AccelStrength = ReadReal(files, path, section, L"AccelStrength", defaults.AccelStrength);
    ClampAxisSettings(axis);
    return axis;
}

// Key names compare ignoring (ASCII) case, as the profile calls compare them.
std::wstring FoldKeyName(std::wstring name) {
    for (wchar_t& c : name)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    return name;
}

// Entries 0 .. count-1 in index order; only keys that exist are read, so a huge
// "Count" over a short list costs no more than the list.
template <typename Normalize>
void ReadList(ConfigFileSystem& files, const std::wstring& path, const wchar_t* section, const wchar_t* prefix,
              int count, size_t bufferChars, Normalize normalize, std::vector<std::wstring>& list) {
    list.clear();
    std::unordered_set<std::wstring> present;
    for (std::wstring& name : files.ReadKeyNames(path, section)) present.insert(FoldKeyName(std::move(name)));
    const std::wstring foldedPrefix = FoldKeyName(prefix);
    const int bounded = count < MaxListEntriesRead ? count : MaxListEntriesRead;
    for (int i = 0; i < bounded; ++i) {
        const std::wstring index = std::to_wstring(i);
        if (!present.count(foldedPrefix + index)) continue;
        const std::wstring key = prefix + index;
        std::wstring entry = normalize(files.ReadString(path, section, key.c_str(), bufferChars));
        if (!entry.empty()) list.push_back(std::move(entry));
    }
}

} // namespace

void ReadSettingsFile(ConfigFileSystem& files, const std::wstring& path, Settings& settings) {
    settings.Enabled = files.ReadInt(path, L"General", L"Enabled", 1) != 0;
    settings.Vertical = ReadAxis(files, path, L"Vertical");
    settings.Horizontal = ReadAxis(files, path, L"Horizontal");

    // Without a "Count" the applications keep what they have: the defaults.
    const int appCount = files.ReadInt(path, L"Exclusions", L"Count", -1);
    if (appCount >= 0) {
        ReadList(files, path, L"Exclusions", L"App", appCount, AppBufferChars, ExclusionRules::NormalizeAppEntry,
                 settings.ExcludedApps);
    }
    const int siteCount = files.ReadInt(path, L"Sites", L"Count", 0);
    ReadList(files, path, L"Sites", L"Site", siteCount, SiteBufferChars, ExclusionRules::NormalizeSiteEntry,
             settings.ExcludedSites);
}
