#pragma once
// The configuration file on the real file system: profile calls to read, and a durable
// atomic replace to write.

#include <string>

#include "settings/SettingsStorage.h"

// Writes path + ".tmp" (byte-order mark, then the text), flushes it to the disk and moves
// it over path. The file at path is always either the old one or the complete new one.
bool WriteFileAtomically(const std::wstring& path, const std::wstring& text);
bool WriteBytesAtomically(const std::wstring& path, const std::string& bytes);

class Win32ConfigFile : public ConfigFileSystem {
public:
    bool FileExists(const std::wstring& path) override;
    FileReadState ReadAllBytes(const std::wstring& path, std::string& bytes) override;
    bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) override;
    bool WriteBytesAtomically(const std::wstring& path, const std::string& bytes) override;
    int ReadInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int defaultValue) override;
    std::wstring ReadString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                            size_t bufferChars) override;
    std::vector<std::wstring> ReadKeyNames(const std::wstring& path, const wchar_t* section) override;

    // Asked before every write of the program's files; false makes the write fail as a
    // locked file would. Only the test build sets one (null: every write is attempted).
    using WriteGate = bool (*)(const std::wstring& path);
    static void UseWriteGate(WriteGate gate);
};
