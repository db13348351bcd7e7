#pragma once
// The configuration file on the real file system: profile calls to read, and an
// atomic replace to write.

#include <string>

#include "settings/SettingsStorage.h"

// Writes path + ".tmp" (byte-order mark, then the text), then moves it over path.
// The file at path is always either the old one or the complete new one.
bool WriteFileAtomically(const std::wstring& path, const std::wstring& text);

class Win32ConfigFile : public ConfigFileSystem {
public:
    bool FileExists(const std::wstring& path) override;
    bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) override;
    int ReadInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int defaultValue) override;
    std::wstring ReadString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                            size_t bufferChars) override;
    std::vector<std::wstring> ReadKeyNames(const std::wstring& path, const wchar_t* section) override;
};
