#include "support/WheelTargetWindow.h"

namespace {
constexpr wchar_t TargetClass[] = L"VelvetglideWheelTarget";
WheelTargetWindow* g_target = nullptr;
}

double QpcNowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / frequency;
}

InputPacer::InputPacer() {
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0x2 /* high resolution */, TIMER_ALL_ACCESS);
    if (!timer_) timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

InputPacer::~InputPacer() {
    if (timer_) CloseHandle(timer_);
}

void InputPacer::WaitUntil(double qpcMs) {
    const double rest = qpcMs - QpcNowMs();
    if (rest <= 0) return;
    if (!timer_) {
        Sleep(static_cast<DWORD>(rest + 0.5));
        return;
    }
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(rest * 10000.0);
    SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
    WaitForSingleObject(timer_, INFINITE);
}

WheelTargetWindow::WheelTargetWindow() {
    g_target = this;
    created_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(created_, 10000);
    PlaceCursor();
    Sleep(200); // let the X server map the window before input arrives
}

WheelTargetWindow::~WheelTargetWindow() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (thread_.joinable()) thread_.join();
    CloseHandle(created_);
    g_target = nullptr;
}

void WheelTargetWindow::PlaceCursor() {
    SetCursorPos(350, 350);
    if (window_) SetForegroundWindow(window_);
}

void WheelTargetWindow::Run() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = TargetClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(WS_EX_TOPMOST, TargetClass, L"Wheel target", WS_POPUP | WS_VISIBLE, 100, 100, 500, 500,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
    threadId_ = GetCurrentThreadId();
    SetEvent(created_);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    UnregisterClassW(TargetClass, windowClass.hInstance);
}

LRESULT CALLBACK WheelTargetWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL) && g_target) {
        const ReceivedWheel wheel{message == WM_MOUSEHWHEEL, GET_WHEEL_DELTA_WPARAM(wParam),
                                  static_cast<ULONG_PTR>(GetMessageExtraInfo()),
                                  QpcNowMs()};
        std::lock_guard<std::mutex> lock(g_target->lock_);
        g_target->received_.push_back(wheel);
        g_target->lastReceiptMs_ = wheel.timeMs;
        return 0;
    }
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<ReceivedWheel> WheelTargetWindow::Received() {
    std::lock_guard<std::mutex> lock(lock_);
    return received_;
}

void WheelTargetWindow::Clear() {
    std::lock_guard<std::mutex> lock(lock_);
    received_.clear();
}

std::vector<ReceivedWheel> WheelTargetWindow::WaitUntilQuiet(int quietMs, int timeoutMs) {
    const double start = QpcNowMs();
    for (;;) {
        Sleep(10);
        std::lock_guard<std::mutex> lock(lock_);
        const double now = QpcNowMs();
        const double last = received_.empty() ? start : lastReceiptMs_;
        if (now - last >= quietMs || now - start >= timeoutMs) return received_;
    }
}

void InjectWheel(int delta, bool horizontal, ULONG_PTR extraInfo) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.mouseData = static_cast<DWORD>(delta);
    input.mi.dwFlags = horizontal ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL;
    input.mi.dwExtraInfo = extraInfo;
    SendInput(1, &input, sizeof input);
}
