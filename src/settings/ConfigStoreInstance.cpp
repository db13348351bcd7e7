#include "settings/AutoStart.h"
#include "settings/ConfigPath.h"
#include "settings/ConfigStore.h"
#include "settings/Win32ConfigFile.h"

ConfigStore& ConfigStore::Instance() {
    static Win32ConfigFile files;
    static AutoStart autoStart;
    static ConfigStore store(ResolveConfigPath(), files, autoStart); // thread-safe first use
    return store;
}
