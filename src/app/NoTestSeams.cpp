#include "app/TestSeams.h"

namespace TestSeams {
void Configure() {}
BrowserWatcherThread::TreeFactory AutomationTreeFactory() { return nullptr; }
void Attach(HWND) {}
} // namespace TestSeams
