#pragma once
// The two places settings persist, as narrow interfaces: the configuration file and
// the start-with-Windows value. The store decides what is written when; these only
// do the writing, so tests can watch every write through in-memory versions.

#include <string>
#include <vector>

// What opening a file for reading found. Only a file that is not there may be created
// from defaults: one that is there but cannot be read (held by a scanner or a backup,
// access denied, a folder not yet reachable) is never written over.
enum class FileReadState { Missing, Read, Unreadable };

class ConfigFileSystem {
public:
    virtual ~ConfigFileSystem() = default;

    virtual bool FileExists(const std::wstring& path) = 0;

    // The file's bytes, read while others may still read and write it.
    virtual FileReadState ReadAllBytes(const std::wstring& path, std::string& bytes) = 0;

    // Replaces the file with a byte-order mark and the text, never leaving a partial file,
    // and with the new contents on the disk before the old name points at them.
    // True when the file now holds exactly that.
    virtual bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) = 0;
    // The same for bytes taken as they are (a copy of a file the program cannot read as its own).
    virtual bool WriteBytesAtomically(const std::wstring& path, const std::string& bytes) = 0;

    // Profile-style reads: the default when the key is missing or its value is empty.
    virtual int ReadInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int defaultValue) = 0;
    // At most bufferChars - 1 characters (the platform's buffer holds the terminator).
    virtual std::wstring ReadString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                                    size_t bufferChars) = 0;
    // Names of the keys present in a section, in one read (lists are read only where keys exist).
    virtual std::vector<std::wstring> ReadKeyNames(const std::wstring& path, const wchar_t* section) = 0;
};

class AutoStartRegistry {
public:
    virtual ~AutoStartRegistry() = default;
    virtual bool IsRegistered() = 0;
    virtual void Write(bool on) = 0; // failures are silent; IsRegistered tells the truth afterwards
};
