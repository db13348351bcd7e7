#include "support/ProgramUnderTest.h"

#include <shellapi.h>

#include "platform/ExecutablePath.h"
#include "settings/Win32ConfigFile.h"

namespace {

std::wstring BuiltProgram(ProgramUnderTest::Build build) {
    const std::wstring exe = ExecutablePath();
    const wchar_t* name = build == ProgramUnderTest::Build::WithSeams ? L"\\VelvetglideSeams.exe" : L"\\Velvetglide.exe";
    return exe.substr(0, exe.find_last_of(L"\\/")) + name;
}

UniqueKernelHandle Launch(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    CloseHandle(process.hThread);
    return UniqueKernelHandle(process.hProcess);
}

int WaitForExit(HANDLE process, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

} // namespace

ProgramUnderTest::ProgramUnderTest(const std::wstring& configText, Build build)
    : exe_(folder_.File(L"Velvetglide.exe")) {
    // Without its config.ini the copy would load and rewrite the user's own in AppData.
    prepared_ = CopyFileW(BuiltProgram(build).c_str(), exe_.c_str(), FALSE) &&
                WriteFileAtomically(folder_.File(L"config.ini"), configText);
}

ProgramUnderTest::~ProgramUnderTest() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        if (ExitThroughTrayMenu() == -1) {
            TerminateProcess(process_.get(), 99);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
}

bool IsTrayIconRegistered(HWND owner, UINT id) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    return owner && Shell_NotifyIconW(NIM_MODIFY, &data); // no flags: nothing changes
}

HWND ProgramUnderTest::FindSettingsWindow() const { return FindWindowW(L"Velvetglide_SettingsClass", nullptr); }

bool ProgramUnderTest::Start(const std::wstring& arguments) {
    if (!prepared_) return false;
    // Wine starts its desktop process on first use, which can take seconds when the
    // previous one is just ending: let that happen here, not inside the program's start.
    GetDesktopWindow();
    process_ = Launch(exe_, arguments);
    if (!process_) return false;
    // The window and then the tray icon come before the hook; the hook is up once a notch
    // comes back smoothed, which the tests check themselves. Here: wait for the window and
    // the icon (Wine's tray can take a while the first time), then the hook's thread.
    for (int i = 0; i < 1000 && !IsTrayIconRegistered(FindSettingsWindow()); ++i) {
        if (WaitForSingleObject(process_.get(), 10) == WAIT_OBJECT_0) return false;
    }
    Sleep(300);
    return FindSettingsWindow() != nullptr;
}

int ProgramUnderTest::ExitThroughTrayMenu(DWORD timeoutMs) {
    if (HWND window = FindSettingsWindow()) PostMessageW(window, WM_COMMAND, 3004, 0);
    return WaitForExit(process_.get(), timeoutMs);
}

int ProgramUnderTest::RunSecondInstance(const std::wstring& arguments, DWORD timeoutMs) {
    const UniqueKernelHandle second = prepared_ ? Launch(exe_, arguments) : UniqueKernelHandle();
    return second ? WaitForExit(second.get(), timeoutMs) : -2;
}
