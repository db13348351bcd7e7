// The loader of delay-loaded DLLs asks this hook before it loads one: the DLL is taken
// from System32 and nowhere else, whatever the process's search path is at its first
// call (wWinMain restricts that too, but a call made before it would not be covered).

#include "platform/Win32.h"

#include <delayimp.h>

namespace {

FARPROC WINAPI LoadFromSystem32(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr; // the loader goes on as usual
    return reinterpret_cast<FARPROC>(LoadLibraryExA(info->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

} // namespace

// delayimp.h declares the hook const for MSVC and as a plain variable for mingw-w64.
extern "C" {
#ifdef _MSC_VER
const PfnDliHook __pfnDliNotifyHook2 = LoadFromSystem32;
#else
PfnDliHook __pfnDliNotifyHook2 = LoadFromSystem32;
#endif
}
