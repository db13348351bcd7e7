#include "exclusions/BrowserWatcher.h"

#include "exclusions/AddressBook.h"
#include "exclusions/BrowserWatcherThread.h"
#include "settings/ConfigStore.h"

namespace {
AddressBook g_addresses;       // shared with the hook thread
BrowserWatcherThread g_thread; // declared after the book: stopped before it goes
} // namespace

namespace BrowserWatcher {

void Start() { g_thread.Start(ConfigStore::Instance(), g_addresses); }

void Stop() { g_thread.Stop(); }

std::wstring GetAddress(HWND topLevel) { return g_addresses.Get(reinterpret_cast<WindowId>(topLevel)); }

} // namespace BrowserWatcher
