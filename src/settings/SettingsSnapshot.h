#pragma once
// One immutable state of the settings as the store published it, with what the
// mouse hook's questions need prepared once per change instead of once per notch.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/Settings.h"

struct SettingsSnapshot {
    Settings Values;
    uint64_t Generation = 0;             // grows with every change the store publishes
    std::vector<std::wstring> LowerApps; // ExcludedApps lower-cased, in the same order

    static std::shared_ptr<const SettingsSnapshot> Make(const Settings& values, uint64_t generation);
};
