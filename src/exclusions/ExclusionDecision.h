#pragma once
// The hook's exclusion question for the window under the cursor, apart from the
// system calls that feed it: the process behind the window (through the cache),
// the application rules, and for browsers with site rules the top-level window's
// title and the address the browser watcher last published for it. Allocates
// nothing once the process is in the cache.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "exclusions/WindowId.h"

struct SettingsSnapshot;
class ProcessInfoCache;

// The window questions of the decision; the Win32 version asks user32 and the watcher.
class PointTargetQueries {
public:
    static constexpr size_t TitleChars = 512; // a title has at most 511 characters

    virtual ~PointTargetQueries() = default;
    virtual WindowId WindowAt(int32_t x, int32_t y) = 0; // 0: none
    virtual uint32_t ProcessIdOf(WindowId window) = 0;   // 0: none
    virtual WindowId RootOf(WindowId window) = 0;        // its top-level window
    // Writes the window's title into buffer (TitleChars long) and returns its length.
    virtual size_t TitleOf(WindowId topLevel, wchar_t* buffer) = 0;
    // Published by the watcher; may be empty. Valid while this object lives.
    virtual std::wstring_view AddressOf(WindowId topLevel) = 0;
    virtual uint64_t TickMs() = 0;
};

// True when a wheel notch at screen point (x, y) must pass through unsmoothed.
bool IsExcludedAt(int32_t x, int32_t y, PointTargetQueries& target, ProcessInfoCache& processes,
                  const SettingsSnapshot& settings);
