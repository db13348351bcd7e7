#pragma once
// The one owner of the live settings. Every reader asks the store at each use;
// reads never wait: they take the snapshot the store last published. Changes are
// made under the settings lock, which guards the writer's record and the dirty
// flag and is never held across file I/O: a save builds the file's text under it
// and writes outside it, one save at a time under a lock of its own.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Published.h"
#include "settings/Settings.h"
#include "settings/SettingsSnapshot.h"

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

    // Readers: any thread, never blocked by a change or a save in progress.
    std::shared_ptr<const SettingsSnapshot> Current() const { return published_.Load(); }
    Settings Snapshot() const { return Current()->Values; }
    bool IsEnabled() const { return Current()->Values.Enabled; }
    bool GetAxisSettings(Axis axis, AxisSettings& out) const; // → Enabled, from one snapshot
    std::vector<std::wstring> GetExcludedApps() const { return Current()->Values.ExcludedApps; }
    std::vector<std::wstring> GetExcludedSites() const { return Current()->Values.ExcludedSites; }
    bool HasSiteExclusions() const { return !Current()->Values.ExcludedSites.empty(); }
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

    // Called after every published change, on the changing thread, with no lock held
    // (the browser watcher sleeps until the site list changes). Empty: none.
    void SetChangeListener(std::function<void()> listener);

private:
    void PublishLocked(); // settings lock held by the caller
    void ResetLocked();
    void NotifyChange();
    void WriteFile(); // settings lock not held

    const std::wstring configPath_;
    ConfigFileSystem& files_;
    AutoStartRegistry& autoStart_;

    std::mutex saveLock_;     // orders writes of the file; taken before the settings lock
    mutable std::mutex lock_; // the settings lock
    Settings settings_;
    uint64_t generation_ = 0;
    bool dirty_ = false;
    std::function<void()> listener_;
    Published<SettingsSnapshot> published_;
};
