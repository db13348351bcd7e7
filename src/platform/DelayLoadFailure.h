#pragma once
// What the program does when the loader of its delay-loaded system DLLs finds a DLL or
// one of its functions missing. A function the program can do without gets a stand-in
// that fails the way the function itself reports failure, so that its caller's fallback
// runs (leaving it unresolved is no way out: the loader then raises an exception that
// nothing catches). A function the program needs, or a DLL that does not load at all,
// ends the program with a message that names what is missing.

#include <string>
#include <string_view>

enum class OptionalImport {
    None, // needed: there is no stand-in
    LoadIconMetric,       // the tray icon is loaded at the default size instead
    SetWindowSubclass,    // controls keep their standard behaviour
    RemoveWindowSubclass,
    DwmSetWindowAttribute, // the title bar stays as the system draws it
    DwmGetCompositionTimingInfo, // frames keep their deadlines without the display's phase
    SetWindowTheme,        // the list keeps a light scroll bar
    TimeBeginPeriod,       // frames wait on the system's coarser timer
    TimeEndPeriod,
    CreateStdAccessibleObject, // screen readers hear less of the window
    LresultFromObject,
    AccessibleObjectFromWindow,
    GetOpenFileNameW, // browsing for a program is as if cancelled
};

// The stand-in for `function` of `dll` (a file name in any letter case); None when the
// program cannot do without it.
OptionalImport FindOptionalImport(std::string_view dll, std::string_view function);

// What the user is told before the program ends. An empty function: the DLL itself did not load.
std::wstring MissingImportMessage(std::string_view dll, std::string_view function);
