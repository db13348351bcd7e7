#pragma once
// Keeps the current user's start-with-Windows value ("Velvetglide" under the Run key)
// as it was: a guard saves the value, or that there is none, and puts back the same
// type and bytes when it goes, on every path out of a test, a failed assertion
// included. For tests that run the real program, which cannot be pointed elsewhere:
// it rewrites the value at each start while the value exists, and its window's
// switch adds and deletes it.
//
// Guards may overlap in any order (a test's own guard, one per program it starts,
// a new program made before the old one is gone): the value as it was before the
// first of them is put back when the last one goes.

#include "platform/Win32.h"

#include <mutex>
#include <vector>

#include "platform/UniqueHandle.h"
#include "settings/AutoStart.h"

class RunValueGuard {
public:
    RunValueGuard() {
        State& state = Shared();
        std::lock_guard<std::mutex> hold(state.lock);
        if (state.guards++ == 0) state.saved = Read();
    }
    ~RunValueGuard() {
        State& state = Shared();
        std::lock_guard<std::mutex> hold(state.lock);
        if (--state.guards == 0 && Read() != state.saved) Restore(state.saved);
    }
    RunValueGuard(const RunValueGuard&) = delete;
    RunValueGuard& operator=(const RunValueGuard&) = delete;

private:
    struct Value {
        bool present = false;
        DWORD type = 0;
        std::vector<BYTE> data;
        bool operator==(const Value&) const = default;
    };
    struct State {
        std::mutex lock;
        int guards = 0;
        Value saved;
    };

    static State& Shared() {
        static State state;
        return state;
    }

    static UniqueRegistryKey OpenRunKey(REGSAM access) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, access, &key) != ERROR_SUCCESS) return {};
        return UniqueRegistryKey(key);
    }

    static Value Read() {
        Value value;
        const UniqueRegistryKey key = OpenRunKey(KEY_QUERY_VALUE);
        if (!key) return value;
        DWORD size = 0;
        LSTATUS status = RegQueryValueExW(key.get(), RunValueName, nullptr, &value.type, nullptr, &size);
        // Asked again while someone else makes the value longer between the two calls.
        while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            value.data.resize(size);
            status = RegQueryValueExW(key.get(), RunValueName, nullptr, &value.type, value.data.data(), &size);
            if (status == ERROR_SUCCESS) {
                value.data.resize(size);
                value.present = true;
                return value;
            }
        }
        return {};
    }

    static void Restore(const Value& value) {
        const UniqueRegistryKey key = OpenRunKey(KEY_SET_VALUE);
        if (!key) return;
        if (value.present)
            RegSetValueExW(key.get(), RunValueName, 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        else
            RegDeleteValueW(key.get(), RunValueName);
    }
};
