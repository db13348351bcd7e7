// The loader of delay-loaded DLLs asks this hook when a DLL or a function is missing
// (platform/DelayLoadFailure.h says what is done about it). Each stand-in has the very
// signature of the function it stands for and fails the way that function reports failure.

#include "platform/Win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <delayimp.h>
#include <dwmapi.h>
#include <mmsystem.h>
#include <oleacc.h>
#include <uxtheme.h>

#include <string>
#include <type_traits>

#include "platform/DelayLoadFailure.h"

namespace {

HRESULT WINAPI NoLoadIconMetric(HINSTANCE, PCWSTR, int, HICON* icon) {
    *icon = nullptr;
    return E_NOTIMPL;
}
BOOL WINAPI NoSetWindowSubclass(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR) { return FALSE; }
BOOL WINAPI NoRemoveWindowSubclass(HWND, SUBCLASSPROC, UINT_PTR) { return FALSE; }
HRESULT WINAPI NoDwmSetWindowAttribute(HWND, DWORD, LPCVOID, DWORD) { return E_NOTIMPL; }
HRESULT WINAPI NoDwmGetCompositionTimingInfo(HWND, DWM_TIMING_INFO*) { return E_NOTIMPL; }
HRESULT WINAPI NoSetWindowTheme(HWND, LPCWSTR, LPCWSTR) { return E_NOTIMPL; }
MMRESULT WINAPI NoTimePeriod(UINT) { return TIMERR_NOCANDO; }
HRESULT WINAPI NoCreateStdAccessibleObject(HWND, LONG, REFIID, void** object) {
    *object = nullptr;
    return E_NOTIMPL;
}
LRESULT WINAPI NoLresultFromObject(REFIID, WPARAM, LPUNKNOWN) { return E_NOTIMPL; }
HRESULT WINAPI NoAccessibleObjectFromWindow(HWND, DWORD, REFIID, void** object) {
    *object = nullptr;
    return E_NOTIMPL;
}
BOOL WINAPI NoGetOpenFileNameW(LPOPENFILENAMEW) { return FALSE; }

template <typename StandIn, typename Function>
FARPROC Checked(StandIn standIn, Function) {
    static_assert(std::is_same_v<StandIn, Function>, "a stand-in must have its function's signature");
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(standIn));
}

FARPROC StandInFor(OptionalImport import) {
    switch (import) {
    case OptionalImport::LoadIconMetric: return Checked(&NoLoadIconMetric, &LoadIconMetric);
    case OptionalImport::SetWindowSubclass: return Checked(&NoSetWindowSubclass, &SetWindowSubclass);
    case OptionalImport::RemoveWindowSubclass: return Checked(&NoRemoveWindowSubclass, &RemoveWindowSubclass);
    case OptionalImport::DwmSetWindowAttribute: return Checked(&NoDwmSetWindowAttribute, &DwmSetWindowAttribute);
    case OptionalImport::DwmGetCompositionTimingInfo:
        return Checked(&NoDwmGetCompositionTimingInfo, &DwmGetCompositionTimingInfo);
    case OptionalImport::SetWindowTheme: return Checked(&NoSetWindowTheme, &SetWindowTheme);
    case OptionalImport::TimeBeginPeriod: return Checked(&NoTimePeriod, &timeBeginPeriod);
    case OptionalImport::TimeEndPeriod: return Checked(&NoTimePeriod, &timeEndPeriod);
    case OptionalImport::CreateStdAccessibleObject:
        return Checked(&NoCreateStdAccessibleObject, &CreateStdAccessibleObject);
    case OptionalImport::LresultFromObject: return Checked(&NoLresultFromObject, &LresultFromObject);
    case OptionalImport::AccessibleObjectFromWindow:
        return Checked(&NoAccessibleObjectFromWindow, &AccessibleObjectFromWindow);
    case OptionalImport::GetOpenFileNameW: return Checked(&NoGetOpenFileNameW, &GetOpenFileNameW);
    case OptionalImport::None: break;
    }
    return nullptr;
}

FARPROC WINAPI OnDelayLoadFailure(unsigned notification, PDelayLoadInfo info) {
    const std::string dll = info->szDll ? info->szDll : "";
    std::string function; // stays empty when the DLL itself did not load
    if (notification == dliFailGetProc) {
        function = info->dlp.fImportByName ? info->dlp.szProcName : "#" + std::to_string(info->dlp.dwOrdinal);
        if (FARPROC standIn = StandInFor(FindOptionalImport(dll, function))) return standIn;
    }
    // A system without it cannot run the program: say so instead of crashing. On whatever
    // thread asked; the file keeps the settings as they were last saved.
    MessageBoxW(nullptr, MissingImportMessage(dll, function).c_str(), L"Ошибка", MB_ICONERROR | MB_TOPMOST);
    TerminateProcess(GetCurrentProcess(), 1);
    return nullptr;
}

} // namespace

// delayimp.h declares the hook const for MSVC and as a plain variable for mingw-w64.
extern "C" {
#ifdef _MSC_VER
const PfnDliHook __pfnDliFailureHook2 = OnDelayLoadFailure;
#else
PfnDliHook __pfnDliFailureHook2 = OnDelayLoadFailure;
#endif
}
