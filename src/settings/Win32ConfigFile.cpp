#include "settings/Win32ConfigFile.h"

#include <vector>

#include "platform/UniqueHandle.h"

bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) {
    const std::wstring tmp = path + L".tmp";
    {
        UniqueFileHandle file(
            CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        static const unsigned char bom[2] = {0xFF, 0xFE};
        DWORD written = 0;
        // wchar_t is UTF-16 here: the text goes out as little-endian code units.
        const bool ok = WriteFile(file.get(), bom, sizeof bom, &written, nullptr) &&
                        WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                                  &written, nullptr);
        if (!ok) {
            file.reset();
            DeleteFileW(tmp.c_str());
            return false;
        }
    } // closed before the move
    if (!MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(tmp.c_str());
        return false;
    }
    return true;
}

bool Win32ConfigFile::FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32ConfigFile::WriteFileAtomically(const std::wstring& path, const std::wstring& text) {
    return ::WriteFileAtomically(path, text);
}

int Win32ConfigFile::ReadInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, path.c_str()));
}

std::wstring Win32ConfigFile::ReadString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                                         size_t bufferChars) {
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    const DWORD length =
        GetPrivateProfileStringW(section, key, L"", buffer.data(), static_cast<DWORD>(bufferChars), path.c_str());
    return std::wstring(buffer.data(), length);
}

std::vector<std::wstring> Win32ConfigFile::ReadKeyNames(const std::wstring& path, const wchar_t* section) {
    // A null key name lists the section's keys, each ending in NUL, the list in a second NUL.
    std::vector<wchar_t> buffer(4096);
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(section, nullptr, L"", buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), path.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 24)) {
            std::vector<std::wstring> names;
            for (const wchar_t* name = buffer.data(); name < buffer.data() + length && *name; name += wcslen(name) + 1)
                names.emplace_back(name);
            return names;
        }
        buffer.resize(buffer.size() * 4); // truncated: the list did not fit
    }
}
