// velvetglide_run_check.exe: one run of a Velvetglide.exe wherever it lies, the way a
// person makes it: started with no arguments, a wheel notch over a window, the About box
// if asked, then Exit from the tray menu. For the scripts that check the downloadable
// package (tools/check-dist) and where the program loads its DLLs from
// (tools/check-dll-search). Prints what it saw; exit code 0 when every step went right.
//
// Usage: velvetglide_run_check.exe [--first-start] [--about] [--working-dir DIR] PROGRAM.exe
//        velvetglide_run_check.exe --load-library NAME
//   --first-start   there must be no config.ini beside PROGRAM nor in %APPDATA%\Velvetglide
//                   before; after the run the one in %APPDATA%\Velvetglide holds the
//                   defaults and nothing new lies beside PROGRAM
//   --about         opens the About box with the tray menu's command and closes it
//   --working-dir   PROGRAM's current directory (default: this program's)
//   --load-library  only loads the DLL NAME with the ordinary search order and says from
//                   where (what a program without any precaution would get)

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/Win32.h"

#include <shlobj.h>

#include "VelvetglideVersion.h"
#include "platform/UniqueHandle.h"
#include "settings/SettingsFile.h"
#include "support/DesktopInput.h"
#include "support/ProgramUnderTest.h" // IsTrayIconRegistered
#include "support/WheelTargetWindow.h"
#include "support/WheelTotals.h"
#include "support/Win32TestFiles.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/tray/TrayModel.h"

namespace {

// msvcrt prints no Cyrillic through %ls: the bytes go out as UTF-8.
void Say(const std::wstring& text) {
    const std::wstring line = text + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

std::wstring Number(double value, int decimals = 0) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%.*f", decimals, value);
    return text;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }

std::set<std::wstring> Listing(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) names.insert(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::wstring RoamingConfigPath() {
    wchar_t roaming[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming))) return {};
    return std::wstring(roaming) + L"\\Velvetglide\\config.ini";
}

class Run {
public:
    Run(std::wstring program, std::wstring workingDir) : program_(std::move(program)), workingDir_(std::move(workingDir)) {}
    ~Run() {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 99); // a check failed half-way: leave nothing running
            WaitForSingleObject(process_.get(), 5000);
        }
    }

    void Fail(const std::wstring& what) {
        Say(L"FAILED: " + what);
        ++failures_;
    }
    int Failures() const { return failures_; }

    // Started as Explorer starts it: the path as the command line, no arguments.
    bool Start() {
        std::wstring commandLine = L"\"" + program_ + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created = {};
        GetDesktopWindow(); // Wine's desktop process first, not inside the program's start
        const double t0 = QpcNowMs();
        if (!CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            workingDir_.empty() ? nullptr : workingDir_.c_str(), &startup, &created)) {
            Fail(L"CreateProcess: error " + std::to_wstring(GetLastError()));
            return false;
        }
        CloseHandle(created.hThread);
        process_.reset(created.hProcess);
        for (int i = 0; i < 1000 && !IsTrayIconRegistered(Window()); ++i) {
            if (WaitForSingleObject(process_.get(), 10) == WAIT_OBJECT_0) {
                DWORD code = 0;
                GetExitCodeProcess(process_.get(), &code);
                Fail(L"the program ended during its start with exit code " + std::to_wstring(code));
                return false;
            }
        }
        if (!IsTrayIconRegistered(Window())) {
            Fail(L"no tray icon after 10 s");
            return false;
        }
        const bool shown = WaitFor([this] { return IsWindowVisible(Window()) != FALSE; });
        Say(L"started: tray icon after " + Number(QpcNowMs() - t0) + L" ms, settings window " +
            (shown ? L"shown" : L"not shown"));
        if (!shown) Fail(L"a start without arguments shows the settings window");
        return true;
    }

    // Probes with notches up until one comes back as a train (the hook follows the tray
    // icon by a moment), then measures one notch down.
    void Scroll(WheelTargetWindow& target) {
        target.PlaceCursor();
        int probes = 0;
        for (bool hooked = false; !hooked;) {
            if (++probes > 10) return Fail(L"no probe notch came back smoothed: the hook is not active");
            target.Clear();
            InjectWheel(120);
            hooked = Sum(target.WaitUntilQuiet(150)).marked > 1;
        }
        Sleep(400); // the probes must not count as a burst
        target.Clear();
        const double sent = QpcNowMs();
        InjectWheel(-120);
        const std::vector<ReceivedWheel> events = target.WaitUntilQuiet();
        const WheelTotals totals = Sum(events);
        const double first = events.empty() ? 0 : events.front().timeMs - sent;
        const double span = events.empty() ? 0 : events.back().timeMs - events.front().timeMs;
        Say(L"hook active after " + std::to_wstring(probes) + L" probe notch(es); one notch down (-120): " +
            std::to_wstring(events.size()) + L" wheel events, " + std::to_wstring(totals.vertical) + L" units (" +
            std::to_wstring(totals.marked) + L" marked, " + std::to_wstring(totals.unmarked) +
            L" unmarked), the first after " + Number(first, 1) + L" ms, over " + Number(span, 1) + L" ms");
        if (totals.vertical != -120 || totals.unmarked != 0 || totals.marked < 2)
            Fail(L"one notch arrives as a marked train of exactly -120 units");
    }

    void AboutBox() {
        PostMessageW(Window(), WM_COMMAND, ID_TRAY_ABOUT, 0);
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindDialog(L"О программе Velvetglide")) != nullptr; }))
            return Fail(L"the About box did not open");
        const std::wstring text = DialogMessage(box);
        const std::wstring firstLine = text.substr(0, text.find(L'\n'));
        Say(L"About box: \"" + firstLine + L"\"");
        if (firstLine != L"Velvetglide v" VG_VERSION_WIDE) Fail(L"the About box names the program and its version");
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        if (!WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); })) Fail(L"the About box did not close");
    }

    void ExitThroughTrayMenu() {
        PostMessageW(Window(), WM_COMMAND, ID_TRAY_EXIT, 0);
        DWORD code = 0;
        if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) return Fail(L"still running 10 s after Exit");
        GetExitCodeProcess(process_.get(), &code);
        Say(L"Exit from the tray menu: exit code " + std::to_wstring(code));
        if (code != 0) Fail(L"exit code 0");
    }

private:
    static HWND Window() { return FindWindowW(L"Velvetglide_SettingsClass", nullptr); }

    std::wstring program_, workingDir_;
    UniqueKernelHandle process_;
    int failures_ = 0;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    bool firstStart = false, about = false;
    std::wstring program, workingDir, library;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--first-start") firstStart = true;
        else if (arg == L"--about") about = true;
        else if (arg == L"--working-dir" && i + 1 < argc) workingDir = argv[++i];
        else if (arg == L"--load-library" && i + 1 < argc) library = argv[++i];
        else program = arg;
    }
    if (!library.empty()) {
        const HMODULE module = LoadLibraryW(library.c_str());
        wchar_t path[MAX_PATH] = {};
        if (module) GetModuleFileNameW(module, path, MAX_PATH);
        Say(L"LoadLibrary(" + library + L"): " + (module ? std::wstring(path) : L"failed, error " + std::to_wstring(GetLastError())));
        return module ? 0 : 1;
    }
    if (program.empty()) {
        std::fprintf(stderr, "usage: velvetglide_run_check.exe [--first-start] [--about] [--working-dir DIR] PROGRAM.exe\n");
        return 2;
    }
    Say(L"program: " + program);
    const std::wstring folder = FolderOf(program), beside = folder + L"\\config.ini", roaming = RoamingConfigPath();
    const std::set<std::wstring> before = Listing(folder);
    Run run(program, workingDir);
    if (firstStart && (PathExists(beside) || PathExists(roaming))) {
        run.Fail(L"not a first start: a config.ini exists already");
        return 1;
    }

    WheelTargetWindow target;
    if (run.Start()) {
        run.Scroll(target);
        if (about) run.AboutBox();
        run.ExitThroughTrayMenu();
    }

    if (firstStart) {
        Settings defaults;
        defaults.ExcludedApps = DefaultExcludedApps();
        const std::vector<unsigned char> written = ReadFileBytes(roaming);
        Say(L"settings: " + roaming + L" (" + std::to_wstring(written.size()) + L" bytes" +
            (written == BomAndText(SerializeSettings(defaults)) ? L", the defaults)" : L")"));
        if (written != BomAndText(SerializeSettings(defaults)))
            run.Fail(L"a first start writes the default settings to %APPDATA%\\Velvetglide\\config.ini");
        if (Listing(folder) != before) run.Fail(L"a first start writes nothing beside the program");
    }
    Say(run.Failures() ? L"result: FAILED" : L"result: ok");
    return run.Failures() ? 1 : 0;
}
