#pragma once
#include "platform/Win32.h"

// Whether the window under a screen point must keep the ordinary wheel (an
// excluded application or site, or a process the program cannot reach). Hook thread.
bool IsExcludedAtPoint(POINT point);
