#pragma once
// Command ids of the tray menu and the settings window's timers.

inline constexpr int ID_TRAY_EXIT = 3004;
inline constexpr unsigned TIMER_SAVE = 1;
