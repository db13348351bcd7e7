// Test tool: saves two alternating settings records to the file named on the
// command line as fast as it can, counting each completed save in a shared
// counter, until the test kills it.

#include "platform/UniqueHandle.h"
#include "settings/ConfigStore.h"
#include "settings/Win32ConfigFile.h"

namespace {
class NoAutoStart : public AutoStartRegistry {
public:
    bool IsRegistered() override { return false; }
    void Write(bool) override {}
};
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2; // config path, name of the shared counter
    UniqueKernelHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, argv[2]));
    if (!mapping) return 3;
    auto* counter = static_cast<volatile LONG*>(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (!counter) return 4;

    Win32ConfigFile files;
    NoAutoStart autoStart;
    ConfigStore store(argv[1], files, autoStart);
    Settings settings = store.Snapshot();
    for (bool flip = false;; flip = !flip) {
        settings.Vertical.Speed = flip ? 300 : 120;
        settings.ExcludedSites = flip ? std::vector<std::wstring>{L"example.com"} : std::vector<std::wstring>{};
        store.Apply(settings, true);
        if (!store.IsDirty()) InterlockedIncrement(counter);
    }
}
