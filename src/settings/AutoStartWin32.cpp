#include "platform/ExecutablePath.h"
#include "platform/UniqueHandle.h"
#include "settings/AutoStart.h"

namespace {
// Opened, never created: without the key there is nothing to read or write.
UniqueRegistryKey OpenRunKey(const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return UniqueRegistryKey(key);
}
} // namespace

bool AutoStart::IsRegistered() {
    const UniqueRegistryKey key = OpenRunKey(keyPath_, KEY_QUERY_VALUE);
    if (!key) return false;
    DWORD type = 0, size = 0;
    return RegQueryValueExW(key.get(), RunValueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

void AutoStart::Write(bool on) {
    const UniqueRegistryKey key = OpenRunKey(keyPath_, KEY_SET_VALUE);
    if (!key) return;
    if (on) {
        const std::wstring data = RunValueData(ExecutablePath());
        RegSetValueExW(key.get(), RunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.get(), RunValueName);
    }
}
