#include "platform/ExecutablePath.h"

#include "platform/Win32.h"

std::wstring ExecutablePath() {
    // Grows past MAX_PATH: a truncated path would name a file that does not exist.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}
