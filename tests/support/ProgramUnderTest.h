#pragma once
// A copy of the real Velvetglide.exe in a folder of its own, with a config.ini
// beside it, started as a separate process and ended the way the tray menu ends it.
// The config beside the copy keeps the program away from the user's own file; the
// user's Run value, which the program rewrites at start-up, is put back afterwards.

#include <string>

#include "platform/UniqueHandle.h"
#include "support/RunValueGuard.h"
#include "support/Win32TestFiles.h"

// True while the shell holds an icon `id` of `owner` (asked without changing it).
bool IsTrayIconRegistered(HWND owner, UINT id = 1);

class ProgramUnderTest {
public:
    // The shipped program, or its test build with the seams that make the system
    // misbehave on demand (copied under the same name).
    enum class Build { Shipped, WithSeams };

    explicit ProgramUnderTest(const std::wstring& configText, Build build = Build::Shipped);
    ~ProgramUnderTest(); // ends a program still running

    // False also when the copy or its config.ini could not be made: never starts without them.
    bool Start(const std::wstring& arguments = L"--minimized");
    HWND FindSettingsWindow() const;
    // Posts the tray menu's exit command; the exit code, or -1 when it did not end in time.
    int ExitThroughTrayMenu(DWORD timeoutMs = 3000);
    // Starts another copy of the same exe; returns its exit code (-1 on a time-out).
    int RunSecondInstance(const std::wstring& arguments, DWORD timeoutMs = 10000);
    HANDLE Process() const { return process_.get(); }
    const std::wstring& Folder() const { return folder_.Path(); }

private:
    RunValueGuard runValue_; // first: restores only after the program has ended
    TempFolder folder_;
    std::wstring exe_;
    bool prepared_ = false;
    UniqueKernelHandle process_;
};
