#include "engine/ScrollEngine.h"
#include "engine/Win32EnginePlatform.h"
#include "settings/ConfigStore.h"

ScrollEngine& ScrollEngine::Instance() {
    static Win32EnginePlatform platform;
    static ScrollEngine engine(ConfigStore::Instance(), platform); // destroyed first: stops its thread
    return engine;
}
