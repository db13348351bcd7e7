#include "settings/ConfigStore.h"

#include <algorithm>

#include "settings/ExclusionEntries.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStorage.h"
#include "settings/TextCase.h"

using Lock = std::lock_guard<std::mutex>;

namespace {

// Whether a stored application entry equals an already lower-cased name, ignoring
// case. Lower-casing never changes the length, so most entries are rejected before
// any copy; scratch is reused across a walk of the list.
bool SameAppName(const std::wstring& stored, const std::wstring& lowerName, std::wstring& scratch) {
    if (stored.size() != lowerName.size()) return false;
    scratch.assign(stored);
    LowerCaseInPlace(scratch);
    return scratch == lowerName;
}

} // namespace

ConfigStore::ConfigStore(std::wstring configPath, ConfigFileSystem& files, AutoStartRegistry& autoStart)
    : configPath_(std::move(configPath)), files_(files), autoStart_(autoStart),
      published_(SettingsSnapshot::Make(Settings{}, 0)) {
    Lock lock(lock_);
    ResetLocked();
    PublishLocked();
}

void ConfigStore::Load() {
    // The registry and the file are read before anything is published, with no lock held.
    Settings loaded = Snapshot();
    loaded.StartWithWindows = autoStart_.IsRegistered();
    // Keeps the Run value pointing at wherever the executable was started from this time.
    if (loaded.StartWithWindows) autoStart_.Write(true);
    if (files_.FileExists(configPath_)) ReadSettingsFile(files_, configPath_, loaded);
    {
        Lock lock(lock_);
        settings_ = std::move(loaded);
        PublishLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::PublishLocked() {
    ++generation_;
    published_.Publish(SettingsSnapshot::Make(settings_, generation_));
}

void ConfigStore::NotifyChange() {
    std::function<void()> listener;
    {
        Lock lock(lock_);
        listener = listener_;
    }
    if (listener) listener();
}

void ConfigStore::SetChangeListener(std::function<void()> listener) {
    Lock lock(lock_);
    listener_ = std::move(listener);
}

void ConfigStore::WriteFile() {
    Lock order(saveLock_);
    std::wstring text;
    uint64_t generation = 0;
    {
        Lock lock(lock_);
        text = SerializeSettings(settings_);
        generation = generation_;
    }
    // Readers and other changes go on while the disk works; the file is either the
    // old one or the whole new one (the file system's atomic replace).
    const bool written = files_.WriteFileAtomically(configPath_, text);
    Lock lock(lock_);
    // A failed write (the file held open by a reader, a full disk) leaves the change
    // unsaved even when it came from a command that saves at once: dirty, so that a
    // later SaveIfDirty writes it instead of losing it. A change made during the
    // write keeps the flag it set.
    if (!written) {
        dirty_ = true;
    } else if (generation == generation_) {
        dirty_ = false;
    }
}

void ConfigStore::Save() { WriteFile(); }

void ConfigStore::SaveIfDirty() {
    if (IsDirty()) WriteFile();
}

bool ConfigStore::GetAxisSettings(Axis axis, AxisSettings& out) const {
    const std::shared_ptr<const SettingsSnapshot> snapshot = Current();
    out = snapshot->Values.ForAxis(axis);
    return snapshot->Values.Enabled;
}

bool ConfigStore::IsStartWithWindows() const { return autoStart_.IsRegistered(); }

bool ConfigStore::IsDirty() const {
    Lock lock(lock_);
    return dirty_;
}

void ConfigStore::SetEnabled(bool enabled) {
    {
        Lock lock(lock_);
        settings_.Enabled = enabled;
        PublishLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::SetStartWithWindows(bool on) {
    {
        Lock lock(lock_);
        settings_.StartWithWindows = on;
        PublishLocked();
    }
    NotifyChange();
    autoStart_.Write(on); // the registry is not guarded by the settings lock
}

void ConfigStore::Apply(const Settings& settings, bool saveNow) {
    {
        Lock lock(lock_);
        settings_ = settings;
        ClampAxisSettings(settings_.Vertical);
        ClampAxisSettings(settings_.Horizontal);
        dirty_ = true;
        PublishLocked();
    }
    NotifyChange();
    if (saveNow) WriteFile();
}

void ConfigStore::ResetLocked() {
    settings_.Enabled = true;
    settings_.Vertical = AxisSettings{};
    settings_.Horizontal = AxisSettings{};
    settings_.ExcludedApps = DefaultExcludedApps();
    settings_.ExcludedSites.clear();
}

void ConfigStore::ResetToDefaults() {
    {
        Lock lock(lock_);
        ResetLocked();
        PublishLocked();
    }
    NotifyChange();
}

void ConfigStore::AddExcludedApp(std::wstring_view text) {
    std::wstring entry = ExclusionRules::NormalizeAppEntry(text);
    if (entry.empty()) return;
    const std::wstring lower = ToLowerCopy(entry);
    {
        Lock lock(lock_);
        std::wstring scratch;
        const bool present = std::any_of(settings_.ExcludedApps.begin(), settings_.ExcludedApps.end(),
                                         [&](const std::wstring& stored) { return SameAppName(stored, lower, scratch); });
        if (present) return;
        settings_.ExcludedApps.push_back(std::move(entry));
        PublishLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::AddExcludedSite(std::wstring_view text) {
    std::wstring rule = ExclusionRules::NormalizeSiteEntry(text);
    if (rule.empty()) return;
    {
        Lock lock(lock_);
        auto& sites = settings_.ExcludedSites;
        if (std::find(sites.begin(), sites.end(), rule) != sites.end()) return;
        sites.push_back(std::move(rule));
        PublishLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::RemoveExcludedApp(std::wstring_view text) {
    // No ".exe" is added and no folder cut: the window passes the stored text itself.
    const std::wstring lower = ToLowerCopy(std::wstring(ExclusionRules::TrimAppText(text)));
    {
        Lock lock(lock_);
        std::wstring scratch;
        std::erase_if(settings_.ExcludedApps,
                      [&](const std::wstring& stored) { return SameAppName(stored, lower, scratch); });
        PublishLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::RemoveExcludedSite(std::wstring_view text) {
    const std::wstring rule = ExclusionRules::NormalizeSiteEntry(text);
    {
        Lock lock(lock_);
        std::erase(settings_.ExcludedSites, rule);
        PublishLocked();
    }
    NotifyChange();
    WriteFile();
}
