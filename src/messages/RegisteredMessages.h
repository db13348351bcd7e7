#pragma once
// The program's registered window messages: a second start asks the first one to show
// its settings window, and the shell announces a restarted taskbar. Shared by the
// entry point, which sends the first, and the settings window, which receives both.

#include "platform/Win32.h"

inline constexpr wchar_t ShowSettingsMessageName[] = L"Velvetglide.ShowSettings";

// Registered before the entry point runs; 0 when registration failed.
extern const UINT ShowSettingsMessage;
extern const UINT TaskbarCreatedMessage;
