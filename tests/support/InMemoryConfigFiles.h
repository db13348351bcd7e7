#pragma once
// In-memory stand-ins for the configuration file and the Run value: they record
// every write and read keys back the way the platform's profile calls do.

#include <cwchar>
#include <cwctype>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/DurableWrite.h"
#include "settings/SettingsStorage.h"

class InMemoryConfigFiles : public ConfigFileSystem {
public:
    std::map<std::wstring, std::wstring> files; // path → text without the byte-order mark
    std::map<std::wstring, std::string> rawFiles; // path → bytes of a file not in the program's form
    std::set<std::wstring> unreadable;            // present but held by another program
    bool failWrites = false;
    int writeCount = 0;
    std::function<void()> onRead; // runs after each read of bytes (a file changing meanwhile)

    bool FileExists(const std::wstring& path) override { return files.count(path) || rawFiles.count(path); }

    FileReadState ReadAllBytes(const std::wstring& path, std::string& bytes) override {
        bytes.clear();
        if (unreadable.count(path)) return FileReadState::Unreadable;
        const auto raw = rawFiles.find(path);
        const auto text = files.find(path);
        if (raw == rawFiles.end() && text == files.end()) return FileReadState::Missing;
        bytes = raw != rawFiles.end() ? raw->second : EncodeFileText(text->second);
        if (onRead) onRead();
        return FileReadState::Read;
    }

    bool WriteBytesAtomically(const std::wstring& path, const std::string& bytes) override {
        if (failWrites || unreadable.count(path)) return false;
        rawFiles[path] = bytes;
        files.erase(path);
        return true;
    }

    bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) override {
        ++writeCount;
        if (failWrites || unreadable.count(path)) return false;
        files[path] = text;
        rawFiles.erase(path);
        return true;
    }

    int ReadInt(const std::wstring& path, const wchar_t* section, const wchar_t* key, int defaultValue) override {
        const std::optional<std::wstring> value = Lookup(path, section, key);
        if (!value || value->empty()) return defaultValue;
        // Decimal, with the wrap-around of a 32-bit unsigned result, as the platform reads it.
        return static_cast<int>(static_cast<unsigned>(std::wcstoll(value->c_str(), nullptr, 10)));
    }

    std::wstring ReadString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                            size_t bufferChars) override {
        std::wstring value = Lookup(path, section, key).value_or(L"");
        if (value.size() >= bufferChars) value.resize(bufferChars - 1);
        return value;
    }

    std::vector<std::wstring> ReadKeyNames(const std::wstring& path, const wchar_t* section) override {
        std::vector<std::wstring> names;
        ForEachKey(path, section, [&](const std::wstring& key, const std::wstring&) {
            names.push_back(key);
            return false;
        });
        return names;
    }

    const std::wstring& Text(const std::wstring& path) { return files.at(path); }

private:
    static std::wstring Trim(const std::wstring& text) {
        const size_t first = text.find_first_not_of(L" \t");
        if (first == std::wstring::npos) return {};
        return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
    }
    static bool SameName(const std::wstring& a, const wchar_t* b) {
        if (a.size() != std::wcslen(b)) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (std::towlower(a[i]) != std::towlower(b[i])) return false;
        return true;
    }

    // First matching key, names compared ignoring case.
    std::optional<std::wstring> Lookup(const std::wstring& path, const wchar_t* section, const wchar_t* key) const {
        std::optional<std::wstring> found;
        ForEachKey(path, section, [&](const std::wstring& name, const std::wstring& value) {
            if (!SameName(name, key)) return false;
            found = value;
            return true;
        });
        return found;
    }

    // A raw file as the profile calls see it: UTF-16LE after its byte-order mark, else
    // one character per byte (the ANSI reading of a file without the mark).
    std::wstring TextOf(const std::wstring& path) const {
        if (const auto file = files.find(path); file != files.end()) return file->second;
        const auto raw = rawFiles.find(path);
        if (raw == rawFiles.end()) return {};
        const std::string& bytes = raw->second;
        std::wstring text;
        if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
            for (size_t i = 2; i + 1 < bytes.size(); i += 2)
                text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                    static_cast<unsigned char>(bytes[i + 1]) << 8));
        } else {
            for (const char c : bytes) text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
        }
        return text;
    }

    // Calls visit(key, value) for each key line of the section until it returns true.
    template <typename Visit>
    void ForEachKey(const std::wstring& path, const wchar_t* section, Visit visit) const {
        if (unreadable.count(path)) return; // the profile calls read nothing: defaults
        const std::wstring text = TextOf(path);
        bool inSection = false;
        for (size_t begin = 0; begin < text.size();) {
            size_t end = text.find(L'\n', begin);
            if (end == std::wstring::npos) end = text.size();
            std::wstring line = Trim(text.substr(begin, end - begin));
            if (!line.empty() && line.back() == L'\r') line = Trim(line.substr(0, line.size() - 1));
            begin = end + 1;
            if (line.empty() || line[0] == L';') continue;
            if (line[0] == L'[') {
                const size_t close = line.find(L']');
                inSection = close != std::wstring::npos && SameName(line.substr(1, close - 1), section);
                continue;
            }
            const size_t equals = line.find(L'=');
            if (inSection && equals != std::wstring::npos &&
                visit(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))))
                return;
        }
    }
};

class FakeAutoStart : public AutoStartRegistry {
public:
    bool registered = false;
    int writeCount = 0;
    bool IsRegistered() override { return registered; }
    void Write(bool on) override {
        ++writeCount;
        registered = on;
    }
};
