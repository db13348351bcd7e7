#include "settings/Win32ConfigFile.h"

#include <atomic>
#include <vector>

#include "platform/UniqueHandle.h"
#include "settings/DurableWrite.h"

namespace {

class Win32DurableWriteSteps : public DurableWriteSteps {
public:
    bool Create(const std::wstring& tmpPath) override {
        file_.reset(
            CreateFileW(tmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file_);
    }
    bool Write(const void* data, size_t size) override {
        DWORD written = 0;
        return WriteFile(file_.get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }
    bool Flush() override { return FlushFileBuffers(file_.get()) != FALSE; }
    void Close() override { file_.reset(); }
    bool Replace(const std::wstring& tmpPath, const std::wstring& path) override {
        return MoveFileExW(tmpPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    void Remove(const std::wstring& tmpPath) override { DeleteFileW(tmpPath.c_str()); }

private:
    UniqueFileHandle file_;
};

std::atomic<Win32ConfigFile::WriteGate> g_writeGate{nullptr};

bool WriteAllowed(const std::wstring& path) {
    const Win32ConfigFile::WriteGate gate = g_writeGate.load();
    return !gate || gate(path);
}

} // namespace

bool WriteBytesAtomically(const std::wstring& path, const std::string& bytes) {
    if (!WriteAllowed(path)) return false;
    Win32DurableWriteSteps steps;
    return WriteDurably(steps, path, bytes);
}

bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) {
    return WriteBytesAtomically(path, EncodeFileText(text));
}

void Win32ConfigFile::UseWriteGate(WriteGate gate) { g_writeGate = gate; }

bool Win32ConfigFile::FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileReadState Win32ConfigFile::ReadAllBytes(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    // Others may go on reading and writing while we read; a reader that holds the file
    // without sharing (a scanner, a backup, a sync client) makes it unreadable for now.
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError() == ERROR_FILE_NOT_FOUND ? FileReadState::Missing : FileReadState::Unreadable;
    char chunk[4096];
    DWORD read = 0;
    for (;;) {
        if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return FileReadState::Unreadable;
        if (read == 0) return FileReadState::Read;
        bytes.append(chunk, read);
    }
}

bool Win32ConfigFile::WriteFileAtomically(const std::wstring& path, const std::wstring& text) {
    return ::WriteFileAtomically(path, text);
}

bool Win32ConfigFile::WriteBytesAtomically(const std::wstring& path, const std::string& bytes) {
    return ::WriteBytesAtomically(path, bytes);
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
