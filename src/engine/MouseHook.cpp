#include "engine/MouseHook.h"

#include <atomic>

#include "engine/HookWatchdog.h"
#include "engine/ScrollEngine.h"
#include "engine/WheelInjection.h"
#include "engine/WheelRouting.h"
#include "engine/Win32EnginePlatform.h"
#include "exclusions/ExcludedAtPoint.h"
#include "platform/Dpi.h"
#include "platform/UniqueHandle.h"
#include "settings/ConfigStore.h"

static_assert(InjectedWheelMarker == WheelMarker);

namespace {

constexpr DWORD ReadyTimeoutMs = 5000;
constexpr DWORD StopTimeoutMs = 3000;
constexpr UINT SimulatedRemovalMessage = WM_APP + 40; // a thread message of the hook thread

// The hook's state lives here alone: the thread writes hook before it sets ready,
// and afterwards only the hook thread touches it.
struct HookState {
    HHOOK hook = nullptr;
    UniqueKernelHandle thread;
    DWORD threadId = 0;
    UniqueKernelHandle ready;
    HINSTANCE instance = nullptr;
};
HookState g_state;

// What the hook procedure last saw, for the watchdog on the same thread.
std::atomic<uint64_t> g_lastEventMs{0};
std::atomic<uint64_t> g_lastPoint{0};
std::atomic<uint32_t> g_reinstalls{0};

uint64_t PackPoint(POINT point) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(point.x)) << 32) | static_cast<uint32_t>(point.y);
}

class LiveRoutingContext : public WheelRoutingContext {
public:
    bool IsSmoothingEnabled() override { return ConfigStore::Instance().IsEnabled(); }
    bool IsModifierDown() override { return IsZoomOrSystemModifierDown(); }
    bool IsShiftDown() override { return GetAsyncKeyState(VK_SHIFT) < 0; }
    bool IsExcludedAtPoint(int32_t x, int32_t y) override { return ::IsExcludedAtPoint(POINT{x, y}); }
    void CancelAll() override { ScrollEngine::Instance().CancelAll(); }
    bool QueueWheel(short delta, bool horizontal) override { return ScrollEngine::Instance().QueueWheel(delta, horizontal); }
};

LRESULT CALLBACK HookProcedure(int code, WPARAM message, LPARAM lParam) {
    if (code >= 0) {
        const auto* data = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        g_lastEventMs.store(GetTickCount64(), std::memory_order_relaxed);
        g_lastPoint.store(PackPoint(data->pt), std::memory_order_relaxed);
        MouseEvent event;
        event.message = static_cast<uint32_t>(message);
        event.mouseData = data->mouseData;
        event.extraInfo = data->dwExtraInfo;
        event.x = data->pt.x;
        event.y = data->pt.y;
        LiveRoutingContext context;
        if (RouteMouseEvent(event, context)) return 1;
    }
    return CallNextHookEx(g_state.hook, code, message, lParam);
}

HHOOK InstallHook() { return SetWindowsHookExW(WH_MOUSE_LL, HookProcedure, g_state.instance, 0); }

// The hook starts from where the cursor is: only a later move counts as missed input.
void NoteInstalled(HookWatchdog& watchdog) {
    POINT cursor = {};
    if (GetCursorPos(&cursor)) g_lastPoint.store(PackPoint(cursor), std::memory_order_relaxed);
    watchdog.Installed(GetTickCount64());
}

WatchdogObservation Observe() {
    WatchdogObservation seen;
    seen.nowMs = GetTickCount64();
    seen.hookEventMs = g_lastEventMs.load(std::memory_order_relaxed);
    LASTINPUTINFO input = {sizeof input, 0};
    seen.systemInputMs = GetLastInputInfo(&input) ? WidenTick(seen.nowMs, input.dwTime) : 0;
    POINT cursor = {};
    // On another desktop (a locked session) the cursor cannot be read: nothing is missed.
    seen.cursorAwayFromHook = GetCursorPos(&cursor) && PackPoint(cursor) != g_lastPoint.load(std::memory_order_relaxed);
    return seen;
}

void Reinstall(HookWatchdog& watchdog) {
    // The new hook first, so that no event passes unhooked in between. The old handle is
    // dead already when the system dropped it; removing it again is harmless.
    if (HHOOK fresh = InstallHook()) {
        UnhookWindowsHookEx(g_state.hook);
        g_state.hook = fresh;
        g_reinstalls.fetch_add(1, std::memory_order_relaxed);
    }
    NoteInstalled(watchdog); // a failed install is tried again at the next missed input
}

// Services the hook until WM_QUIT; wakes for the hook's calls and the watchdog's checks.
void RunHookLoop() {
    HookWatchdog watchdog;
    NoteInstalled(watchdog);
    MSG message;
    for (;;) {
        const DWORD wait = watchdog.NextCheckDelayMs(GetTickCount64(), g_lastEventMs.load(std::memory_order_relaxed));
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            if (message.hwnd == nullptr && message.message == SimulatedRemovalMessage) {
                UnhookWindowsHookEx(g_state.hook); // the handle stays, dead, as after the system's removal
                continue;
            }
            DispatchMessageW(&message);
        }
        if (watchdog.HookMissedInput(Observe())) Reinstall(watchdog);
    }
}

DWORD WINAPI HookThread(void*) {
    // The hook sees the same physical coordinates as the rest of the process.
    MakeThreadPerMonitorDpiAware();
    // Creates the message queue now, so a WM_QUIT posted right after start-up is not lost.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    g_state.hook = InstallHook();
    SetEvent(g_state.ready.get());
    if (!g_state.hook) return 1;

    RunHookLoop();
    UnhookWindowsHookEx(g_state.hook);
    g_state.hook = nullptr;
    return 0;
}

void EndThread() {
    PostThreadMessageW(g_state.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_state.thread.get(), StopTimeoutMs); // a thread that hangs is abandoned
    g_state.thread.reset();
    g_state.threadId = 0;
    g_state.ready.reset();
}

} // namespace

bool MouseHook::Start(HINSTANCE instance) {
    if (g_state.thread) return g_state.hook != nullptr;
    g_state.instance = instance;
    g_state.ready.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!g_state.ready) return false;
    g_state.thread.reset(CreateThread(nullptr, 0, HookThread, nullptr, 0, &g_state.threadId));
    if (!g_state.thread) {
        g_state.ready.reset();
        return false;
    }
    SetThreadPriority(g_state.thread.get(), THREAD_PRIORITY_HIGHEST);
    WaitForSingleObject(g_state.ready.get(), ReadyTimeoutMs);
    if (g_state.hook) return true;
    EndThread();
    return false;
}

void MouseHook::Stop() {
    if (!g_state.thread) return;
    EndThread();
}

uint32_t MouseHook::ReinstallCount() { return g_reinstalls.load(std::memory_order_relaxed); }

void MouseHook::SimulateSystemRemoval() {
    if (g_state.threadId) PostThreadMessageW(g_state.threadId, SimulatedRemovalMessage, 0, 0);
}
