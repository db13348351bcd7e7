#include "settings/ConfigStore.h"

#include <algorithm>

#include "exclusions/ExclusionRules.h"
#include "exclusions/TextCase.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStorage.h"

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
    : configPath_(std::move(configPath)), files_(files), autoStart_(autoStart) {
    ResetLocked(); // no other thread can see the store yet
}

void ConfigStore::Load() {
    Lock lock(lock_);
    settings_.StartWithWindows = autoStart_.IsRegistered();
    // Keeps the Run value pointing at wherever the executable was started from this time.
    if (settings_.StartWithWindows) autoStart_.Write(true);
    if (files_.FileExists(configPath_)) ReadSettingsFile(files_, configPath_, settings_);
    SaveLocked();
}

void ConfigStore::SaveLocked() {
    // A failed write (the file held open by a reader, a full disk) leaves the change
    // unsaved even when it came from a command that saves at once: dirty, so that the
    // next SaveIfDirty writes it instead of losing it.
    dirty_ = !files_.WriteFileAtomically(configPath_, SerializeSettings(settings_));
}

void ConfigStore::Save() {
    Lock lock(lock_);
    SaveLocked();
}

void ConfigStore::SaveIfDirty() {
    Lock lock(lock_);
    if (dirty_) SaveLocked();
}

Settings ConfigStore::Snapshot() const {
    Lock lock(lock_);
    return settings_;
}

bool ConfigStore::IsEnabled() const {
    Lock lock(lock_);
    return settings_.Enabled;
}

bool ConfigStore::GetAxisSettings(Axis axis, AxisSettings& out) const {
    Lock lock(lock_);
    out = settings_.ForAxis(axis);
    return settings_.Enabled;
}

std::vector<std::wstring> ConfigStore::GetExcludedApps() const {
    Lock lock(lock_);
    return settings_.ExcludedApps;
}

std::vector<std::wstring> ConfigStore::GetExcludedSites() const {
    Lock lock(lock_);
    return settings_.ExcludedSites;
}

bool ConfigStore::HasSiteExclusions() const {
    Lock lock(lock_);
    return !settings_.ExcludedSites.empty();
}

bool ConfigStore::IsAppExcluded(std::wstring_view processName) const {
    const std::wstring name = ToLowerCopy(std::wstring(ExclusionRules::TrimAppText(processName)));
    if (name.empty()) return false;
    Lock lock(lock_);
    std::wstring scratch;
    return std::any_of(settings_.ExcludedApps.begin(), settings_.ExcludedApps.end(),
                       [&](const std::wstring& stored) { return SameAppName(stored, name, scratch); });
}

bool ConfigStore::IsSiteExcluded(std::wstring_view normalizedAddress, std::wstring_view title) const {
    const std::wstring lowerTitle = ToLowerCopy(std::wstring(title));
    Lock lock(lock_);
    return std::any_of(settings_.ExcludedSites.begin(), settings_.ExcludedSites.end(), [&](const std::wstring& rule) {
        return ExclusionRules::SiteRuleMatchesLowerTitle(rule, normalizedAddress, lowerTitle);
    });
}

bool ConfigStore::IsStartWithWindows() const { return autoStart_.IsRegistered(); }

bool ConfigStore::IsDirty() const {
    Lock lock(lock_);
    return dirty_;
}

void ConfigStore::SetEnabled(bool enabled) {
    Lock lock(lock_);
    settings_.Enabled = enabled;
    SaveLocked();
}

void ConfigStore::SetStartWithWindows(bool on) {
    {
        Lock lock(lock_);
        settings_.StartWithWindows = on;
    }
    autoStart_.Write(on); // the registry is not guarded by the settings lock
}

void ConfigStore::Apply(const Settings& settings, bool saveNow) {
    Lock lock(lock_);
    settings_ = settings;
    ClampAxisSettings(settings_.Vertical);
    ClampAxisSettings(settings_.Horizontal);
    dirty_ = true;
    if (saveNow) SaveLocked();
}

void ConfigStore::ResetLocked() {
    settings_.Enabled = true;
    settings_.Vertical = AxisSettings{};
    settings_.Horizontal = AxisSettings{};
    settings_.ExcludedApps = DefaultExcludedApps();
    settings_.ExcludedSites.clear();
}

void ConfigStore::ResetToDefaults() {
    Lock lock(lock_);
    ResetLocked();
}

void ConfigStore::AddExcludedApp(std::wstring_view text) {
    std::wstring entry = ExclusionRules::NormalizeAppEntry(text);
    if (entry.empty()) return;
    const std::wstring lower = ToLowerCopy(entry);
    Lock lock(lock_);
    std::wstring scratch;
    const bool present = std::any_of(settings_.ExcludedApps.begin(), settings_.ExcludedApps.end(),
                                     [&](const std::wstring& stored) { return SameAppName(stored, lower, scratch); });
    if (present) return;
    settings_.ExcludedApps.push_back(std::move(entry));
    SaveLocked();
}

void ConfigStore::AddExcludedSite(std::wstring_view text) {
    std::wstring rule = ExclusionRules::NormalizeSiteEntry(text);
    if (rule.empty()) return;
    Lock lock(lock_);
    auto& sites = settings_.ExcludedSites;
    if (std::find(sites.begin(), sites.end(), rule) != sites.end()) return;
    sites.push_back(std::move(rule));
    SaveLocked();
}

void ConfigStore::RemoveExcludedApp(std::wstring_view text) {
    // No ".exe" is added and no folder cut: the window passes the stored text itself.
    const std::wstring lower = ToLowerCopy(std::wstring(ExclusionRules::TrimAppText(text)));
    Lock lock(lock_);
    std::wstring scratch;
    std::erase_if(settings_.ExcludedApps, [&](const std::wstring& stored) { return SameAppName(stored, lower, scratch); });
    SaveLocked();
}

void ConfigStore::RemoveExcludedSite(std::wstring_view text) {
    const std::wstring rule = ExclusionRules::NormalizeSiteEntry(text);
    Lock lock(lock_);
    std::erase(settings_.ExcludedSites, rule);
    SaveLocked();
}
