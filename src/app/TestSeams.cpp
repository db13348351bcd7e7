// The test build's seams, driven by the environment of the started program and by
// registered messages sent to its settings window:
//   VG_SEAM_TRAY_ADD_FAILURES=N  the shell refuses the first N tray icons
//   VG_SEAM_STUCK_AUTOMATION=1   every automation call of the browser watcher hangs
//   "Velvetglide.Seam.DropHook"  (posted) the system drops the mouse hook
//   "Velvetglide.Seam.HookReinstalls" (sent) → how often the hook was installed again
//   "Velvetglide.Seam.AutomationHangs" (sent) → automation calls hanging now
//   "Velvetglide.Seam.SetRefreshRate" (sent, wParam Hz) every display's rate from now on,
//                                      as the program will read it when it is told
//   "Velvetglide.Seam.RefreshRate" (sent) → the rate of the display under the cursor
//   "Velvetglide.Seam.GlideFrameRate" (sent) → the frame rate of the last glide
//   "Velvetglide.Seam.FailWrites" (sent, wParam K) every write of the settings files fails
//                                      from now on, as with a file another program holds;
//                                      from the exit (the window's destruction) only the first K
//   VG_SEAM_WRITE_LOG=path       each attempted write is logged there: "<tick> <file> ok|failed"

#include "app/TestSeams.h"

#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/DisplayRefreshRate.h"
#include "engine/MouseHook.h"
#include "engine/ScrollEngine.h"
#include "engine/Win32EnginePlatform.h"
#include "platform/UniqueHandle.h"
#include "settings/Win32ConfigFile.h"
#include "exclusions/AutomationTree.h"
#include "ui/tray/TrayIcon.h"

namespace {

int g_trayAddFailures = 0;
bool g_failNextModify = false;
bool g_stuckAutomation = false;
UINT g_dropHookMessage = 0, g_reinstallsMessage = 0, g_hangsMessage = 0, g_setRateMessage = 0, g_rateMessage = 0;
UINT g_glideRateMessage = 0;
UINT g_failWritesMessage = 0;
std::atomic<bool> g_failingWrites{false}, g_exiting{false};
std::atomic<long> g_exitFailuresLeft{0};
std::wstring g_writeLog;
std::atomic<int> g_hangingCalls{0};
std::atomic<int32_t> g_displayRate{0};

// The system's displays, each at the rate the test set.
DisplayTable SeamDisplays() {
    DisplayTable displays = ReadDisplayTable();
    for (DisplayArea& display : displays) display.refreshHz = g_displayRate.load();
    return displays;
}

BOOL WINAPI RefusingNotify(DWORD message, PNOTIFYICONDATAW data) {
    // A refused add is followed by the program's modify fallback, refused too.
    if (message == NIM_ADD && g_trayAddFailures > 0) {
        --g_trayAddFailures;
        g_failNextModify = true;
        return FALSE;
    }
    if (message == NIM_MODIFY && g_failNextModify) {
        g_failNextModify = false;
        return FALSE;
    }
    return Shell_NotifyIconW(message, data);
}

void LogWrite(const std::wstring& path, bool allowed) {
    if (g_writeLog.empty()) return;
    UniqueFileHandle log(CreateFileW(g_writeLog.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return;
    const std::string name(path.begin() + static_cast<std::ptrdiff_t>(path.find_last_of(L'\\') + 1), path.end());
    const std::string line = std::to_string(GetTickCount64()) + " " + name + (allowed ? " ok\n" : " failed\n");
    DWORD written = 0;
    WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

bool SeamWriteGate(const std::wstring& path) {
    bool allowed = true;
    if (g_failingWrites) allowed = g_exiting && g_exitFailuresLeft.fetch_sub(1) <= 0;
    LogWrite(path, allowed);
    return allowed;
}

// A browser's provider that never answers: the first call the watcher makes never returns.
class HangingTree : public AutomationTree {
public:
    bool CanSearch() const override { return true; }
    AutomationElement* ElementFromWindow(WindowId) override { return Hang(); }
    AutomationElement* FirstChild(AutomationElement*) override { return Hang(); }
    AutomationElement* NextSibling(AutomationElement*) override { return Hang(); }
    int32_t ControlType(AutomationElement*) override { return 0; }
    std::wstring ClassName(AutomationElement*) override { return {}; }
    bool ReadValue(AutomationElement*, std::wstring&) override { return false; }
    void Release(AutomationElement*) override {}

private:
    static AutomationElement* Hang() {
        ++g_hangingCalls;
        Sleep(INFINITE);
        return nullptr;
    }
};

std::unique_ptr<AutomationTree> MakeHangingTree() { return std::make_unique<HangingTree>(); }

LRESULT CALLBACK SeamProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (g_dropHookMessage && message == g_dropHookMessage) {
        // As the system removes a hook that did not answer in time: without a word to the
        // program, whose watchdog must notice by itself.
        UnhookWindowsHookEx(MouseHook::InstalledHook());
        return 0;
    }
    if (g_reinstallsMessage && message == g_reinstallsMessage) return MouseHook::ReinstallCount();
    if (g_hangsMessage && message == g_hangsMessage) return g_hangingCalls.load();
    if (g_setRateMessage && message == g_setRateMessage) {
        g_displayRate = static_cast<int32_t>(wParam);
        Win32EnginePlatform::UseDisplaySource(SeamDisplays);
        return 0;
    }
    if (g_rateMessage && message == g_rateMessage) {
        POINT cursor = {};
        GetCursorPos(&cursor);
        return ScrollEngine::Instance().RefreshRateAt(cursor.x, cursor.y);
    }
    if (g_glideRateMessage && message == g_glideRateMessage) return ScrollEngine::Instance().GlideFrameRateHz();
    if (g_failWritesMessage && message == g_failWritesMessage) {
        g_exitFailuresLeft = wParam > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<long>(wParam);
        g_failingWrites = true;
        return 0;
    }
    if (message == WM_DESTROY) g_exiting = true;
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

namespace TestSeams {

void Configure() {
    if (const char* failures = std::getenv("VG_SEAM_TRAY_ADD_FAILURES")) {
        g_trayAddFailures = std::atoi(failures);
        if (g_trayAddFailures > 0) TrayIcon::UseNotifyFunction(RefusingNotify);
    }
    const char* stuck = std::getenv("VG_SEAM_STUCK_AUTOMATION");
    g_stuckAutomation = stuck && std::atoi(stuck) != 0;
    wchar_t log[MAX_PATH];
    if (GetEnvironmentVariableW(L"VG_SEAM_WRITE_LOG", log, MAX_PATH) - 1u < MAX_PATH - 1u) g_writeLog = log;
    Win32ConfigFile::UseWriteGate(SeamWriteGate);
}

BrowserWatcherThread::TreeFactory AutomationTreeFactory() { return g_stuckAutomation ? MakeHangingTree : nullptr; }

void Attach(HWND settingsWindow) {
    g_dropHookMessage = RegisterWindowMessageW(L"Velvetglide.Seam.DropHook");
    g_reinstallsMessage = RegisterWindowMessageW(L"Velvetglide.Seam.HookReinstalls");
    g_hangsMessage = RegisterWindowMessageW(L"Velvetglide.Seam.AutomationHangs");
    g_setRateMessage = RegisterWindowMessageW(L"Velvetglide.Seam.SetRefreshRate");
    g_rateMessage = RegisterWindowMessageW(L"Velvetglide.Seam.RefreshRate");
    g_failWritesMessage = RegisterWindowMessageW(L"Velvetglide.Seam.FailWrites");
    // The tests live in another process, possibly at another integrity level.
    for (const UINT message :
         {g_dropHookMessage, g_reinstallsMessage, g_hangsMessage, g_setRateMessage, g_rateMessage, g_failWritesMessage})
        ChangeWindowMessageFilterEx(settingsWindow, message, MSGFLT_ALLOW, nullptr);
    g_glideRateMessage = RegisterWindowMessageW(L"Velvetglide.Seam.GlideFrameRate");
    ChangeWindowMessageFilterEx(settingsWindow, g_glideRateMessage, MSGFLT_ALLOW, nullptr);
    SetWindowSubclass(settingsWindow, SeamProcedure, 0, 0);
}

} // namespace TestSeams
