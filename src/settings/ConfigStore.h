#pragma once
// The one owner of the live settings. Every reader asks the store at each use;
// reads never wait: they take the snapshot the store last published. Changes are
// made under the settings lock, which guards the writer's record and the dirty
// flag and is never held across file I/O: a save builds the file's text under it
// and writes outside it, one save at a time under a lock of its own.
//
// A file that is there but cannot be read at start-up (another program holds it) is
// never written over: the store runs on defaults, keeps the user's changes aside, and
// once RetryLoad can read the file makes those changes on the file's own values. A
// file the program cannot take as its own (not its encoding, values it had to replace)
// is copied byte for byte to "config.ini.bak" before its first rewrite.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Published.h"
#include "settings/PendingEdits.h"
#include "settings/Settings.h"
#include "settings/SettingsSnapshot.h"
#include "settings/SettingsStorage.h"

class ConfigStore {
public:
    // The process-wide store on the real file and registry (constructed on first use).
    static ConfigStore& Instance();

    // Starts from the defaults; nothing is read until Load. The two accessors must outlive the store.
    ConfigStore(std::wstring configPath, ConfigFileSystem& files, AutoStartRegistry& autoStart);
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    void Load();        // once at start-up; rewrites the file unless it could not be read
    // While the file could not be read at Load: tries again; true once its values are in
    // (and then written with the user's changes made meanwhile). True when not waiting.
    bool RetryLoad();
    bool IsWaitingForFile() const;

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
    // Changes the user made in this run that are not in the file yet (a start-up rewrite
    // that could not be written is not one of them).
    bool HasUnsavedUserChanges() const;

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

    // The name of the copy kept of a file the program could not take as its own.
    std::wstring BackupPath() const { return configPath_ + L".bak"; }

private:
    enum class FileState { NotLoaded, Loaded, WaitingToRead };

    // Reads the file into values; Read only when the bytes did not change while the
    // profile calls read them (the file was not taken away in between).
    FileReadState ReadFileInto(Settings& values, std::string& bytes);
    // Takes what the file gave (settings lock held): its values with the user's changes
    // made on them, or nothing while it stays unreadable.
    void TakeFileValuesLocked(FileReadState state, Settings values, const std::string& bytes);
    void UserChangedLocked(); // publishes a change of the user's (settings lock held)
    void PublishLocked();     // settings lock held by the caller
    static void ResetValues(Settings& settings); // the values a reset puts back
    void NotifyChange();
    bool WriteFile(); // settings lock not held


    const std::wstring configPath_;
    ConfigFileSystem& files_;
    AutoStartRegistry& autoStart_;

    std::mutex saveLock_;     // orders writes of the file; taken before the settings lock
    mutable std::mutex lock_; // the settings lock
    Settings settings_;
    uint64_t generation_ = 0;
    bool dirty_ = false;
    bool userChanged_ = false; // a change of the user's is not in the file yet
    FileState fileState_ = FileState::NotLoaded;
    PendingEdits pending_;     // while WaitingToRead
    std::string backupBytes_;  // a file not in the program's form, to copy before its rewrite
    std::function<void()> listener_;
    Published<SettingsSnapshot> published_;
};
