#include "support/TargetProcess.h"

#include "platform/ExecutablePath.h"

namespace {

std::wstring BuiltTarget() {
    const std::wstring exe = ExecutablePath();
    return exe.substr(0, exe.find_last_of(L"\\/")) + L"\\velvetglide_wheel_target.exe";
}

std::wstring UniqueReportName() {
    static LONG counter = 0;
    return L"VelvetglideTargetReport-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter));
}

} // namespace

TargetProcess::TargetProcess(const std::wstring& folder, const std::wstring& exeName, const std::wstring& windowClass,
                             const std::wstring& title, TargetPlacement placement, bool withChild)
    : placement_(placement) {
    const std::wstring exe = folder + L"\\" + exeName;
    CopyFileW(BuiltTarget().c_str(), exe.c_str(), TRUE); // an earlier copy may be running
    const std::wstring reportName = UniqueReportName();
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TargetReport),
                                      reportName.c_str()));
    if (!mapping_) return;
    report_ = static_cast<TargetReport*>(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TargetReport)));
    if (!report_) return;

    std::wstring commandLine = L"\"" + exe + L"\" " + reportName + L" " + windowClass + L" " +
                               std::to_wstring(placement.x) + L" " + std::to_wstring(placement.y) + L" " +
                               std::to_wstring(placement.width) + L" " + std::to_wstring(placement.height) + L" " +
                               (withChild ? L"1" : L"0") + L" \"" + title + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    CloseHandle(process.hThread);
    process_.reset(process.hProcess);
    for (int i = 0; i < 1000 && !report_->ready; ++i) {
        if (WaitForSingleObject(process_.get(), 10) == WAIT_OBJECT_0) return;
    }
    Sleep(100); // let the X server map the window before input arrives
}

TargetProcess::~TargetProcess() {
    // Nothing in the target needs an orderly end, and closing a window waits for the
    // X server's answer under Wine (about 2 s without a window manager).
    if (process_) {
        TerminateProcess(process_.get(), 0);
        WaitForSingleObject(process_.get(), 5000);
    }
    if (report_) UnmapViewOfFile(report_);
}

HWND TargetProcess::Window() const { return report_ ? reinterpret_cast<HWND>(report_->topLevel) : nullptr; }

HWND TargetProcess::Child() const { return report_ ? reinterpret_cast<HWND>(report_->child) : nullptr; }

void TargetProcess::PlaceCursor() const {
    SetCursorPos(placement_.x + placement_.width / 2, placement_.y + placement_.height / 2);
    if (HWND window = Window()) SetForegroundWindow(window);
}

std::vector<ReceivedWheel> TargetProcess::Received() const {
    std::vector<ReceivedWheel> events;
    if (!report_) return events;
    const LONG count = report_->count;
    MemoryBarrier();
    for (LONG i = seen_; i < count; ++i) {
        const TargetWheelRecord& r = report_->records[i];
        events.push_back(ReceivedWheel{r.horizontal != 0, r.delta, static_cast<ULONG_PTR>(r.extraInfo), r.timeMs});
    }
    return events;
}

std::vector<ReceivedWheel> TargetProcess::NotchOver() {
    PlaceCursor();
    Sleep(50);
    Clear();
    InjectWheel(120);
    WaitUntilAllQuiet(150, 5000, *this);
    return Received();
}
