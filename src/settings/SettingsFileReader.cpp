#include <cwchar>

#include "exclusions/ExclusionRules.h"
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

template <typename Normalize>
void ReadList(ConfigFileSystem& files, const std::wstring& path, const wchar_t* section, const wchar_t* prefix,
              int count, size_t bufferChars, Normalize normalize, std::vector<std::wstring>& list) {
    list.clear();
    const int bounded = count < MaxListEntriesRead ? count : MaxListEntriesRead;
    for (int i = 0; i < bounded; ++i) {
        const std::wstring key = prefix + std::to_wstring(i);
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
