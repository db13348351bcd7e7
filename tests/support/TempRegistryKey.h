#pragma once
// A fresh key of the test's own under HKEY_CURRENT_USER\Software\VelvetglideTests,
// removed with everything in it when the test ends: registry code under test works
// there, never on the user's own keys.

#include "platform/Win32.h"

#include <string>

class TempRegistryKey {
public:
    TempRegistryKey()
        : path_(std::wstring(Parent) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter_++)) {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); // a leftover of a killed run
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS)
            RegCloseKey(key);
    }
    ~TempRegistryKey() {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, Parent); // fails while another test's key is still there
    }
    TempRegistryKey(const TempRegistryKey&) = delete;
    TempRegistryKey& operator=(const TempRegistryKey&) = delete;

    // The key's path under HKEY_CURRENT_USER.
    const std::wstring& Path() const { return path_; }

private:
    static constexpr wchar_t Parent[] = L"Software\\VelvetglideTests";
    static inline int counter_ = 0;
    std::wstring path_;
};
