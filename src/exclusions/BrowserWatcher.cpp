#include "exclusions/BrowserWatcher.h"

#include "exclusions/AddressBook.h"
#include "settings/ConfigStore.h"

namespace {
AddressBook g_addresses;       // shared with the hook thread
BrowserWatcherThread g_thread; // declared after the book: stopped before it goes
} // namespace

namespace BrowserWatcher {

void Start(BrowserWatcherThread::TreeFactory makeTree) { g_thread.Start(ConfigStore::Instance(), g_addresses, makeTree); }

bool Stop(DWORD timeoutMs) { return g_thread.Stop(timeoutMs); }

const AddressBook& Addresses() { return g_addresses; }

} // namespace BrowserWatcher
