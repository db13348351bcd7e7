#pragma once
// File helpers for the tests that run on the real Windows (or Wine) file system.

#include "platform/Win32.h"

#include <string>
#include <vector>

#include "platform/UniqueHandle.h"

inline bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::vector<unsigned char> ReadFileBytes(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<unsigned char> bytes;
    if (!file) return bytes;
    unsigned char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.insert(bytes.end(), chunk, chunk + read);
    return bytes;
}

// The bytes a save writes for a text: the byte-order mark, then UTF-16LE.
inline std::vector<unsigned char> BomAndText(const std::wstring& text) {
    std::vector<unsigned char> bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
    }
    return bytes;
}

inline void RemoveTree(const std::wstring& path) {
    if (!IsDirectory(path)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"vg-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter_++);
        RemoveTree(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    static inline int counter_ = 0;
    std::wstring path_;
};
