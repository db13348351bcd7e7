#include "engine/MouseHook.h"

#include "engine/ScrollEngine.h"
#include "engine/Win32EnginePlatform.h"
#include "engine/WheelInjection.h"
#include "engine/WheelRouting.h"
#include "exclusions/ExcludedAtPoint.h"
#include "platform/UniqueHandle.h"
#include "settings/ConfigStore.h"

static_assert(InjectedWheelMarker == WheelMarker);

namespace {

constexpr DWORD ReadyTimeoutMs = 5000;
constexpr DWORD StopTimeoutMs = 3000;

// The hook's state lives here alone: the thread writes hook before it sets ready.
struct HookState {
    HHOOK hook = nullptr;
    UniqueKernelHandle thread;
    DWORD threadId = 0;
    UniqueKernelHandle ready;
    HINSTANCE instance = nullptr;
};
HookState g_state;

class LiveRoutingContext : public WheelRoutingContext {
public:
    bool IsSmoothingEnabled() override { return ConfigStore::Instance().IsEnabled(); }
    bool IsModifierDown() override { return IsZoomOrSystemModifierDown(); }
    bool IsShiftDown() override { return GetAsyncKeyState(VK_SHIFT) < 0; }
    bool IsExcludedAtPoint(int32_t x, int32_t y) override { return ::IsExcludedAtPoint(POINT{x, y}); }
    void CancelAll() override { ScrollEngine::Instance().CancelAll(); }
    void QueueWheel(short delta, bool horizontal) override { ScrollEngine::Instance().QueueWheel(delta, horizontal); }
};

LRESULT CALLBACK HookProcedure(int code, WPARAM message, LPARAM lParam) {
    if (code >= 0) {
        const auto* data = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
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

using SetThreadDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

DWORD WINAPI HookThread(void*) {
    // The hook sees the same physical coordinates as the rest of the process.
    if (auto setContext = reinterpret_cast<SetThreadDpiAwarenessContextFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext"))))
        setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // Creates the message queue now, so a WM_QUIT posted right after start-up is not lost.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    g_state.hook = SetWindowsHookExW(WH_MOUSE_LL, HookProcedure, g_state.instance, 0);
    SetEvent(g_state.ready.get());
    if (!g_state.hook) return 1;

    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
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
