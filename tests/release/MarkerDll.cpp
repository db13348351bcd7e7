// velvetglide_marker.dll: copied by tools/check-dll-search under the names of system
// DLLs into the folders that a program must never load a DLL from. Once loaded it
// leaves a trace beside itself, a file named after it with ".loaded" appended that
// holds the path of the program that loaded it (UTF-8). It exports nothing.

#include <string>

#include "platform/UniqueHandle.h"

namespace {

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    const std::wstring marker = ModulePath(self);
    if (marker.empty()) return TRUE;
    UniqueFileHandle trace(CreateFileW((marker + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (trace) {
        const std::string program = Utf8(ModulePath(nullptr)) + "\n";
        DWORD written = 0;
        WriteFile(trace.get(), program.data(), static_cast<DWORD>(program.size()), &written, nullptr);
    }
    return TRUE;
}
