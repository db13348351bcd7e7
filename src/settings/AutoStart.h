#pragma once
// Start with Windows: the value "Velvetglide" under the current user's Run key.
// On means the value exists, whatever its data.

#include <string>
#include <utility>

#include "settings/SettingsStorage.h"

inline constexpr wchar_t RunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t RunValueName[] = L"Velvetglide";

// The command line the logon starts: the quoted executable path and the tray flag.
std::wstring RunValueData(const std::wstring& exePath);

class AutoStart : public AutoStartRegistry {
public:
    // keyPath: the key under HKEY_CURRENT_USER that holds the value (tests give one of their own).
    explicit AutoStart(std::wstring keyPath = RunKeyPath) : keyPath_(std::move(keyPath)) {}
    bool IsRegistered() override;
    void Write(bool on) override;

private:
    std::wstring keyPath_;
};
