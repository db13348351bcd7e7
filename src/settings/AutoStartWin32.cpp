#include "platform/ExecutablePath.h"
#include "platform/UniqueHandle.h"
#include "settings/AutoStart.h"

namespace {
UniqueRegistryKey OpenRunKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, access, &key) != ERROR_SUCCESS) return {};
    return UniqueRegistryKey(key);
}
} // namespace

bool AutoStart::IsRegistered() {
    const UniqueRegistryKey key = OpenRunKey(KEY_QUERY_VALUE);
    if (!key) return false;
    DWORD type = 0, size = 0;
    return RegQueryValueExW(key.get(), RunValueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

void AutoStart::Write(bool on) {
    const UniqueRegistryKey key = OpenRunKey(KEY_SET_VALUE);
    if (!key) return;
    if (on) {
        const std::wstring data = RunValueData(ExecutablePath());
        RegSetValueExW(key.get(), RunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.get(), RunValueName);
    }
}
