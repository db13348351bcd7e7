#pragma once
// A window handle as a plain number, so the logic around windows needs no windows.h.
// 0 is no window.

#include <cstdint>

using WindowId = std::uintptr_t;
