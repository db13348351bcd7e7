#include "app/ExitSave.h"

#include <algorithm>
#include <string>

#include "platform/Win32.h"
#include "settings/ConfigStore.h"
#include "ui/settings/RetryBackoff.h"

namespace {

constexpr unsigned RetryWindowMs = 2000;
constexpr unsigned FirstRetryMs = 100;

constexpr wchar_t SaveFailedCaption[] = L"Сохранение настроек";

std::wstring SaveFailedText(const std::wstring& path) {
    return L"Не удалось сохранить настройки в файл\n" + path +
           L"\n\nВозможно, его держит открытым другая программа или он доступен только для чтения."
           L"\n\nПовторить попытку? При отмене программа закроется, а изменения не сохранятся.";
}

// One attempt: a file that could not be read at start-up may be readable by now (the
// user's changes are written on top of its values, never over it unread).
bool TrySave(ConfigStore& store) {
    store.RetryLoad();
    store.SaveIfDirty();
    return !store.IsDirty() && !store.IsWaitingForFile();
}

bool SaveWithRetries(ConfigStore& store) {
    RetryBackoff delays(FirstRetryMs, RetryWindowMs);
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (TrySave(store)) return true;
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= RetryWindowMs) return false;
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(delays.Next(), RetryWindowMs - elapsed)));
    }
}

} // namespace

void SaveSettingsBeforeExit(ConfigStore& store) {
    if (!store.HasUnsavedUserChanges()) {
        store.SaveIfDirty(); // a start-up rewrite: once, quietly
        return;
    }
    while (!SaveWithRetries(store) && store.HasUnsavedUserChanges()) {
        const int answer = MessageBoxW(nullptr, SaveFailedText(store.GetConfigPath()).c_str(), SaveFailedCaption,
                                       MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
        if (answer != IDRETRY) return; // ends without the changes, as the user chose
    }
}
