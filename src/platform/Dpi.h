#pragma once
// The DPI functions of user32 that older Windows 10 builds lack (1607 and 1703 brought
// them): each is looked up once by name here, and its fallback stands next to it.
// Nothing else in the program asks GetProcAddress for a system function.

#include "platform/Win32.h"

// Per-monitor aware (v2) for the whole process, or system-aware where that is unknown.
void BecomeDpiAware();
// The same for the calling thread only; nothing where the function is missing.
void MakeThreadPerMonitorDpiAware();

// The window's DPI; else the DPI of its DC; else 96.
unsigned WindowDpi(HWND window);
// Grows a client rectangle to the window rectangle of `style` (no menu, no extended
// style) at `dpi`; without the DPI variant, at the system's DPI.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, unsigned dpi);
// GetSystemMetrics(metric) as it is at `dpi`; without the DPI variant, the system
// DPI's value scaled to `dpi`.
int SystemMetricForDpi(int metric, unsigned dpi);
