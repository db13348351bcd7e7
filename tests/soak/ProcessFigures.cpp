#include "soak/ProcessFigures.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "platform/UniqueHandle.h"

namespace {

// The system's list of every open handle (SystemExtendedHandleInformation), counted
// for one process: where GetProcessHandleCount answers 0, as under Wine.
struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct HandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};
constexpr ULONG SystemExtendedHandleInformation = 64;
constexpr LONG StatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

uint32_t CountHandlesInSystemList(DWORD processId) {
    using QueryFunction = LONG(NTAPI*)(ULONG, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<unsigned char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const LONG status =
            query(SystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == StatusInfoLengthMismatch && buffer.size() < (64u << 20)) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0) return 0;
        break;
    }
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    uint32_t count = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i) count += list->entries[i].processId == processId;
    return count;
}

} // namespace

ProcessFigures SampleProcess(HANDLE process) {
    ProcessFigures figures;
    const DWORD id = GetProcessId(process);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    // Windows gives the commit charge in both; Wine only in PagefileUsage (the
    // process's anonymous resident memory).
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        figures.privateFromPagefile = memory.PrivateUsage == 0;
        figures.privateBytes = figures.privateFromPagefile ? memory.PagefileUsage : memory.PrivateUsage;
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles)) figures.handles = handles;
    if (figures.handles == 0) {
        figures.handlesFromSystemList = true;
        figures.handles = CountHandlesInSystemList(id);
    }
    figures.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    figures.userObjects = GetGuiResources(process, GR_USEROBJECTS);

    // The system's thread list, filtered by owner: there is no per-process count.
    const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof thread;
    if (snapshot && Thread32First(snapshot.get(), &thread)) {
        do {
            if (thread.th32OwnerProcessID == id) ++figures.threads;
        } while (Thread32Next(snapshot.get(), &thread));
    }
    return figures;
}
