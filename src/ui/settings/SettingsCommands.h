#pragma once
// The ids of the settings window's controls and timers. No windows.h: the layout
// tables use them too. (The tray menu's commands are the tray's: ui/tray/TrayModel.h.)

// Controls, in creation (and Tab) order.
inline constexpr int IDC_ENABLE_TOGGLE = 2001;
inline constexpr int IDC_V_SPEED = 2002;
inline constexpr int IDC_V_DURATION = 2003;
inline constexpr int IDC_V_SMOOTHING = 2004;
inline constexpr int IDC_V_ACCEL_TOGGLE = 2015;
inline constexpr int IDC_V_ACCEL_STRENGTH = 2005;
inline constexpr int IDC_H_SPEED = 2006;
inline constexpr int IDC_H_DURATION = 2007;
inline constexpr int IDC_H_SMOOTHING = 2008;
inline constexpr int IDC_H_ACCEL_TOGGLE = 2016;
inline constexpr int IDC_H_ACCEL_STRENGTH = 2009;
inline constexpr int IDC_APP_LIST = 2020;
inline constexpr int IDC_APP_EDIT = 2021;
inline constexpr int IDC_APP_ADD = 2022;
inline constexpr int IDC_APP_BROWSE = 2023;
inline constexpr int IDC_APP_REMOVE = 2024;
inline constexpr int IDC_SITE_LIST = 2040;
inline constexpr int IDC_SITE_EDIT = 2041;
inline constexpr int IDC_SITE_ADD = 2042;
inline constexpr int IDC_SITE_REMOVE = 2044;
inline constexpr int IDC_AUTOSTART_TOGGLE = 2031;
inline constexpr int IDC_RESET = 2032;
inline constexpr int IDC_HIDE_TO_TRAY = 2034;

// The deferred save after slider movements, also retrying a save that failed
// (500 ms, doubling up to 30 s).
inline constexpr unsigned TIMER_SAVE = 1;
inline constexpr unsigned SaveDelayMs = 500;
inline constexpr unsigned MaxSaveRetryMs = 30000;
// Another try to put the icon into the notification area when the shell refused it
// (at logon it may not be ready yet): 1 s, doubling up to a minute.
inline constexpr unsigned TIMER_TRAY_RETRY = 2;
inline constexpr unsigned FirstTrayRetryMs = 1000;
inline constexpr unsigned MaxTrayRetryMs = 60000;
// Another try to read a configuration file that another program held at start-up
// (250 ms, doubling up to 30 s); its values then replace the defaults run on meanwhile.
inline constexpr unsigned TIMER_LOAD_RETRY = 3;
inline constexpr unsigned FirstLoadRetryMs = 250;
inline constexpr unsigned MaxLoadRetryMs = 30000;
