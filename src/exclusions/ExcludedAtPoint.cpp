#include "exclusions/ExcludedAtPoint.h"

// The classification of the window under the cursor (process, browser, integrity)
// is not built yet: until it is, every window gets smooth scrolling.
bool IsExcludedAtPoint(POINT) { return false; }
