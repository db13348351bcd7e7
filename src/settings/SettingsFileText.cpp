#include <cstdio>

#include "settings/SettingsFile.h"

namespace {

std::wstring FormatReal(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

class IniWriter {
public:
    void Section(const wchar_t* name) {
        if (!text_.empty()) text_ += L"\r\n";
        text_ += L'[';
        text_ += name;
        text_ += L"]\r\n";
    }
    void Key(const std::wstring& key, const std::wstring& value) {
        text_ += key;
        text_ += L'=';
        text_ += value;
        text_ += L"\r\n";
    }
    void Key(const std::wstring& key, long long value) { Key(key, std::to_wstring(value)); }
    void Flag(const std::wstring& key, bool value) { Key(key, value ? L"1" : L"0"); }
    void List(const wchar_t* section, const wchar_t* prefix, const std::vector<std::wstring>& entries) {
        Section(section);
        Key(L"Count", static_cast<long long>(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i) Key(prefix + std::to_wstring(i), entries[i]);
    }
    std::wstring Take() { return std::move(text_); }

private:
    std::wstring text_;
};

void WriteAxis(IniWriter& ini, const wchar_t* section, const AxisSettings& axis) {
    ini.Section(section);
    ini.Key(L"Speed", axis.Speed);
    ini.Key(L"DurationMs", axis.DurationMs);
    ini.Key(L"Smoothing", FormatReal(axis.Smoothing));
    ini.Flag(L"AccelEnabled", axis.AccelEnabled);
    ini.Key(L"AccelStrength", FormatReal(axis.AccelStrength));
}

} // namespace

std::wstring SerializeSettings(const Settings& settings) {
    IniWriter ini;
    ini.Section(L"General");
    ini.Flag(L"Enabled", settings.Enabled);
    WriteAxis(ini, L"Vertical", settings.Vertical);
    WriteAxis(ini, L"Horizontal", settings.Horizontal);
    ini.List(L"Exclusions", L"App", settings.ExcludedApps);
    ini.List(L"Sites", L"Site", settings.ExcludedSites);
    return ini.Take();
}
