#pragma once
// The hook's exclusion question for the window under the cursor, apart from the
// system calls that feed it: the process behind the window (through the cache),
// the application rules, and for browsers with site rules the top-level window's
// title and the address the browser watcher last published for it.

#include <cstdint>
#include <string>

#include "exclusions/WindowId.h"

class ConfigStore;
class ProcessInfoCache;

// The window questions of the decision; the Win32 version asks user32 and the watcher.
class PointTargetQueries {
public:
    virtual ~PointTargetQueries() = default;
    virtual WindowId WindowAt(int32_t x, int32_t y) = 0;   // 0: none
    virtual uint32_t ProcessIdOf(WindowId window) = 0;     // 0: none
    virtual WindowId RootOf(WindowId window) = 0;          // its top-level window
    virtual std::wstring TitleOf(WindowId topLevel) = 0;   // at most 511 characters
    virtual std::wstring AddressOf(WindowId topLevel) = 0; // published by the watcher; may be empty
    virtual uint64_t TickMs() = 0;
};

// True when a wheel notch at screen point (x, y) must pass through unsmoothed.
bool IsExcludedAt(int32_t x, int32_t y, PointTargetQueries& target, ProcessInfoCache& processes,
                  const ConfigStore& store);
