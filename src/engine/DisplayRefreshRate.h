#pragma once
// The displays as the system reports them now: each monitor's rectangle on the desktop
// and its refresh rate (0 when it reports none in 24..1000).

#include "engine/DisplayRates.h"

DisplayTable ReadDisplayTable();
