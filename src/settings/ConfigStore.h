#pragma once
// The one owner of the live settings. Every reader asks the store at each use
// (there is no change notification); one non-recursive lock guards the record and
// the dirty flag, and is held through each file write so no reader sees a half change.

#include <mutex>
#include <string>
#include <vector>

#include "settings/Settings.h"

class ConfigFileSystem;
class AutoStartRegistry;

class ConfigStore {
public:
    // The process-wide store on the real file and registry (constructed on first use).
    static ConfigStore& Instance();

    // Starts from the defaults; nothing is read until Load. The two accessors must outlive the store.
    ConfigStore(std::wstring configPath, ConfigFileSystem& files, AutoStartRegistry& autoStart);
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    void Load();        // once at start-up; always rewrites the file
    void Save();
    void SaveIfDirty();

    Settings Snapshot() const;
    bool IsEnabled() const;
    bool GetAxisSettings(Axis axis, AxisSettings& out) const; // → Enabled, read in the same lock hold
    std::vector<std::wstring> GetExcludedApps() const;
    std::vector<std::wstring> GetExcludedSites() const;
    bool HasSiteExclusions() const;
    bool IsAppExcluded(std::wstring_view processName) const;
    bool IsSiteExcluded(std::wstring_view normalizedAddress, std::wstring_view title) const;
    bool IsStartWithWindows() const; // asks the registry, not the cached flag
    const std::wstring& GetConfigPath() const { return configPath_; } // never changes
    bool IsDirty() const;

    void SetEnabled(bool enabled);
    void SetStartWithWindows(bool on);
    void Apply(const Settings& settings, bool saveNow);
    void ResetToDefaults();
    void AddExcludedApp(std::wstring_view text);
    void AddExcludedSite(std::wstring_view text);
    void RemoveExcludedApp(std::wstring_view text);
    void RemoveExcludedSite(std::wstring_view text);

private:
    void SaveLocked(); // lock held by the caller
    void ResetLocked();

    const std::wstring configPath_;
    ConfigFileSystem& files_;
    AutoStartRegistry& autoStart_;

    mutable std::mutex lock_;
    Settings settings_;
    bool dirty_ = false;
};
