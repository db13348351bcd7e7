// Entry point: one instance per logon, the services brought up in order, the
// message loop, and the services taken down in the reverse order of their use.

#include <string>

#include "app/CommandLine.h"
#include "app/ExitSave.h"
#include "app/SingleInstance.h"
#include "app/TestSeams.h"
#include "engine/MouseHook.h"
#include "engine/ScrollEngine.h"
#include "exclusions/BrowserWatcher.h"
#include "messages/RegisteredMessages.h"
#include "platform/Dpi.h"
#include "platform/GdiplusSession.h"
#include "platform/UniqueHandle.h"
#include "settings/ConfigStore.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/tray/TrayIcon.h"

namespace {

constexpr wchar_t SingleInstanceMutexName[] = L"Velvetglide_SingleInstance_Mutex_9872";

// A browser's automation provider that stops answering must not keep the program
// (and its single-instance mutex) alive after Exit: past this the watcher is left behind.
constexpr DWORD WatcherStopTimeoutMs = 1000;

void ShowStartError(const wchar_t* text) { MessageBoxW(nullptr, text, L"Ошибка", MB_ICONERROR); }

// A thread that did not end in time (the hook thread stuck in a call, the watcher in a
// browser's automation provider) would go on using the objects that returning from
// wWinMain destroys. Everything is saved and the icon is gone by now: the process ends
// here, as an ordinary exit.
void EndProcessIfAThreadIsLeft(bool allThreadsEnded) {
    if (!allThreadsEnded) TerminateProcess(GetCurrentProcess(), 0);
}

// A second start asks the running instance to show its window, and ends.
int HandOverToFirstInstance() {
    if (HWND window = FindWindowW(SettingsWindowClass, nullptr)) {
        AllowSetForegroundWindow(ASFW_ANY);
        PostMessageW(window, RegisterWindowMessageW(ShowSettingsMessageName), 0, 0);
    }
    return 0;
}

int RunMessageLoop() {
    MSG message = {};
    BOOL result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) return 1; // the loop itself failed: not a normal end
        if (SettingsWindow::Instance().PreTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineText, int) {
    // First of all: DLLs come from System32 only, never from the program's folder (often
    // Downloads) or the current directory. The imports that are not KnownDLLs are
    // delay-loaded (tools/cmake/DelayLoad.cmake), so none is loaded before this line.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const std::wstring commandLine = commandLineText ? commandLineText : L"";
    BecomeDpiAware();

    UniqueKernelHandle mutex(CreateMutexW(nullptr, TRUE, SingleInstanceMutexName));
    if (RoleFromMutexCreation(static_cast<bool>(mutex), GetLastError()) == InstanceRole::Second)
        return HandOverToFirstInstance();

    TestSeams::Configure();
    ConfigStore::Instance().Load();

    ScrollEngine& engine = ScrollEngine::Instance();
    if (!engine.Start()) {
        ShowStartError(L"Не удалось запустить анимационный движок.");
        return 1;
    }
    GdiplusSession gdiplus;

    SettingsWindow& window = SettingsWindow::Instance();
    if (!window.Create(instance)) {
        ShowStartError(L"Не удалось создать окно настроек.");
        engine.Stop();
        return 1;
    }
    TestSeams::Attach(window.Handle());
    window.AddTrayIcon();
    if (!MouseHook::Start(instance)) {
        ShowStartError(L"Не удалось установить перехватчик мыши (WH_MOUSE_LL).");
        TrayIcon::Instance().Remove();
        engine.Stop();
        return 1;
    }
    BrowserWatcher::Start(TestSeams::AutomationTreeFactory());
    if (!HasTrayFlag(commandLine)) window.Show(true);

    const int exitCode = RunMessageLoop();

    const bool hookEnded = MouseHook::Stop(); // from here on no notch is swallowed
    const bool watcherEnded = BrowserWatcher::Stop(WatcherStopTimeoutMs);
    engine.Stop();
    TrayIcon::Instance().Remove();
    SaveSettingsBeforeExit(ConfigStore::Instance());
    EndProcessIfAThreadIsLeft(hookEnded && watcherEnded);
    return exitCode; // GDI+ shuts down and the mutex closes on the way out
}
