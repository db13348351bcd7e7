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
static_assert(HookWatchdog::NoCheck == INFINITE);

namespace {

constexpr DWORD ReadyTimeoutMs = 5000;
constexpr DWORD StopTimeoutMs = 3000;
constexpr wchar_t DeviceInputClass[] = L"Velvetglide_MouseInput";

// The hook's state lives here alone: the thread writes hook before it sets ready, and
// afterwards only the hook thread changes it.
struct HookState {
    std::atomic<HHOOK> hook{nullptr};
    UniqueKernelHandle thread;
    DWORD threadId = 0;
    UniqueKernelHandle ready;
    HINSTANCE instance = nullptr;
};
HookState g_state;

// When the hook procedure was last called, for the watchdog on the same thread.
std::atomic<uint64_t> g_lastEventMs{0};
std::atomic<uint32_t> g_reinstalls{0};

class LiveRoutingContext : public WheelRoutingContext {
public:
    bool IsSmoothingEnabled() override { return ConfigStore::Instance().IsEnabled(); }
    bool IsModifierDown() override { return IsZoomOrSystemModifierDown(); }
    bool IsShiftDown() override { return GetAsyncKeyState(VK_SHIFT) < 0; }
    bool IsExcludedAtPoint(int32_t x, int32_t y) override { return ::IsExcludedAtPoint(POINT{x, y}); }
    void CancelAll() override { ScrollEngine::Instance().CancelAll(); }
    bool QueueWheel(short delta, bool horizontal, int32_t x, int32_t y) override {
        return ScrollEngine::Instance().QueueWheel(delta, horizontal, x, y);
    }
};

LRESULT CALLBACK HookProcedure(int code, WPARAM message, LPARAM lParam) {
    if (code >= 0) {
        const auto* data = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        g_lastEventMs.store(GetTickCount64(), std::memory_order_relaxed);
        MouseEvent event;
        event.message = static_cast<uint32_t>(message);
        event.mouseData = data->mouseData;
        event.extraInfo = data->dwExtraInfo;
        event.x = data->pt.x;
        event.y = data->pt.y;
        LiveRoutingContext context;
        if (RouteMouseEvent(event, context)) return 1;
    }
    return CallNextHookEx(g_state.hook.load(std::memory_order_relaxed), code, message, lParam);
}

HHOOK InstallHook() { return SetWindowsHookExW(WH_MOUSE_LL, HookProcedure, g_state.instance, 0); }

// The mice's raw input, delivered to a message-only window of the hook thread even while
// another program is in front: the watchdog's sign of real pointer input. Without it (the
// registration refused) nothing is ever taken for a dropped hook.
class DeviceInputSink {
public:
    explicit DeviceInputSink(HINSTANCE instance) {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW; // which frees each input's data
        windowClass.hInstance = instance;
        windowClass.lpszClassName = DeviceInputClass;
        RegisterClassExW(&windowClass); // fails harmlessly when a previous start registered it
        window_.reset(CreateWindowExW(0, DeviceInputClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
        RAWINPUTDEVICE mice = {1, 2, RIDEV_INPUTSINK, window_.get()}; // generic desktop page, mouse
        registered_ = window_ && RegisterRawInputDevices(&mice, 1, sizeof mice);
    }
    ~DeviceInputSink() {
        RAWINPUTDEVICE mice = {1, 2, RIDEV_REMOVE, nullptr};
        if (registered_) RegisterRawInputDevices(&mice, 1, sizeof mice);
    }
    DeviceInputSink(const DeviceInputSink&) = delete;
    DeviceInputSink& operator=(const DeviceInputSink&) = delete;

private:
    UniqueWindow window_;
    bool registered_ = false;
};

void Reinstall(HookWatchdog& watchdog) {
    // The new hook first, so that no event passes unhooked in between. The old handle is
    // dead already when the system dropped it; removing it again is harmless.
    if (HHOOK fresh = InstallHook()) {
        UnhookWindowsHookEx(g_state.hook.exchange(fresh));
        g_reinstalls.fetch_add(1, std::memory_order_relaxed);
    }
    watchdog.Installed(GetTickCount64()); // a failed install is tried again at the next missed input
}

// Services the hook until WM_QUIT; wakes for the hook's calls, the mice's raw input and,
// while an input is unseen, the watchdog's check.
void RunHookLoop() {
    const DeviceInputSink mice(g_state.instance);
    HookWatchdog watchdog;
    watchdog.Installed(GetTickCount64());
    MSG message;
    for (;;) {
        MsgWaitForMultipleObjectsEx(0, nullptr, watchdog.NextCheckDelayMs(GetTickCount64()), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            if (message.message == WM_INPUT)
                watchdog.DeviceInput(GetTickCount64(), g_lastEventMs.load(std::memory_order_relaxed));
            DispatchMessageW(&message);
        }
        if (watchdog.HookMissedInput(GetTickCount64(), g_lastEventMs.load(std::memory_order_relaxed)))
            Reinstall(watchdog);
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
    if (!g_state.hook.load()) return 1;

    RunHookLoop();
    UnhookWindowsHookEx(g_state.hook.exchange(nullptr));
    return 0;
}

bool EndThread() {
    PostThreadMessageW(g_state.threadId, WM_QUIT, 0, 0);
    const bool ended = WaitForSingleObject(g_state.thread.get(), StopTimeoutMs) == WAIT_OBJECT_0;
    g_state.thread.reset(); // a thread that hangs is abandoned
    g_state.threadId = 0;
    g_state.ready.reset();
    return ended;
}

} // namespace

bool MouseHook::Start(HINSTANCE instance) {
    if (g_state.thread) return g_state.hook.load() != nullptr;
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
    if (g_state.hook.load()) return true;
    EndThread();
    return false;
}

bool MouseHook::Stop() {
    if (!g_state.thread) return true;
    return EndThread();
}

uint32_t MouseHook::ReinstallCount() { return g_reinstalls.load(std::memory_order_relaxed); }

HHOOK MouseHook::InstalledHook() { return g_state.hook.load(); }

HANDLE MouseHook::Thread() { return g_state.thread.get(); }
