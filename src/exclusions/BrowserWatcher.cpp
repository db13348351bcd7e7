#include "exclusions/BrowserWatcher.h"

namespace BrowserWatcher {
void Start() {}
void Stop() {}
} // namespace BrowserWatcher
