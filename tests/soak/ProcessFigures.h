#pragma once
// What a long run watches in the program under test, as the system reports it to
// another process: private memory, handles, threads, and GDI and USER objects
// (Wine answers 0 for the last two: it does not count them). Where the system has
// no count of handles for a process (Wine), they are counted in its list of all handles.

#include <cstdint>

#include "platform/Win32.h"

struct ProcessFigures {
    uint64_t privateBytes = 0;
    uint32_t handles = 0;
    uint32_t threads = 0;
    uint32_t gdiObjects = 0;
    uint32_t userObjects = 0;
    // Where the system gives no figure of its own (Wine): the private bytes are the
    // pagefile usage (there the anonymous resident memory), the handles are counted in
    // the list of all handles.
    bool privateFromPagefile = false;
    bool handlesFromSystemList = false;
};

ProcessFigures SampleProcess(HANDLE process);
