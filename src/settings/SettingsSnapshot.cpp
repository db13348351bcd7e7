#include "settings/SettingsSnapshot.h"

#include "settings/TextCase.h"

std::shared_ptr<const SettingsSnapshot> SettingsSnapshot::Make(const Settings& values, uint64_t generation) {
    auto snapshot = std::make_shared<SettingsSnapshot>();
    snapshot->Values = values;
    snapshot->Generation = generation;
    snapshot->LowerApps.reserve(values.ExcludedApps.size());
    for (const std::wstring& app : values.ExcludedApps) snapshot->LowerApps.push_back(ToLowerCopy(app));
    return snapshot;
}
