#include "settings/ConfigStore.h"

#include "settings/DurableWrite.h"
#include "settings/ExclusionEntries.h"
#include "settings/ExclusionListEdits.h"
#include "settings/SettingsFile.h"

using Lock = std::lock_guard<std::mutex>;

ConfigStore::ConfigStore(std::wstring configPath, ConfigFileSystem& files, AutoStartRegistry& autoStart)
    : configPath_(std::move(configPath)), files_(files), autoStart_(autoStart),
      published_(SettingsSnapshot::Make(Settings{}, 0)) {
    Lock lock(lock_);
    ResetValues(settings_);
    PublishLocked();
}

FileReadState ConfigStore::ReadFileInto(Settings& values, std::string& bytes) {
    const FileReadState state = files_.ReadAllBytes(configPath_, bytes);
    if (state != FileReadState::Read) return state;
    // The profile calls cannot tell a file they failed to open from one without the keys:
    // had the file been taken away between the two reads, they gave defaults.
    ReadSettingsFile(files_, configPath_, values);
    std::string again;
    if (files_.ReadAllBytes(configPath_, again) != FileReadState::Read || again != bytes)
        return FileReadState::Unreadable;
    return FileReadState::Read;
}

void ConfigStore::TakeFileValuesLocked(FileReadState state, Settings values, const std::string& bytes) {
    if (state == FileReadState::Unreadable) {
        fileState_ = FileState::WaitingToRead;
        return;
    }
    // Anything but the program's own text for exactly these values (another encoding,
    // values replaced, keys missing, comments) is kept as it was before the rewrite.
    if (state == FileReadState::Read && bytes != EncodeFileText(SerializeSettings(values))) backupBytes_ = bytes;
    if (fileState_ == FileState::WaitingToRead && !pending_.Empty()) {
        pending_.ReplayOn(values, settings_);
        ClampAxisSettings(values.Vertical);
        ClampAxisSettings(values.Horizontal);
        dirty_ = true;
    }
    pending_.Clear();
    values.StartWithWindows = settings_.StartWithWindows;
    settings_ = std::move(values);
    fileState_ = FileState::Loaded;
    PublishLocked();
}

void ConfigStore::Load() {
    // The registry and the file are read before anything is published, with no lock held.
    const bool registered = autoStart_.IsRegistered();
    // Keeps the Run value pointing at wherever the executable was started from this time.
    if (registered) autoStart_.Write(true);
    Settings values = Snapshot();
    std::string bytes;
    const FileReadState state = ReadFileInto(values, bytes);
    {
        Lock lock(lock_);
        settings_.StartWithWindows = registered;
        TakeFileValuesLocked(state, std::move(values), bytes);
        if (state == FileReadState::Unreadable) PublishLocked(); // the Run value's state
    }
    NotifyChange();
    if (state != FileReadState::Unreadable) WriteFile();
}

bool ConfigStore::RetryLoad() {
    if (!IsWaitingForFile()) return true;
    Settings values;
    ResetValues(values);
    std::string bytes;
    const FileReadState state = ReadFileInto(values, bytes);
    if (state == FileReadState::Unreadable) return false;
    {
        Lock lock(lock_);
        TakeFileValuesLocked(state, std::move(values), bytes);
    }
    NotifyChange();
    WriteFile();
    return true;
}

bool ConfigStore::IsWaitingForFile() const {
    Lock lock(lock_);
    return fileState_ == FileState::WaitingToRead;
}

void ConfigStore::PublishLocked() {
    ++generation_;
    published_.Publish(SettingsSnapshot::Make(settings_, generation_));
}

void ConfigStore::UserChangedLocked() {
    userChanged_ = true;
    PublishLocked();
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

bool ConfigStore::WriteFile() {
    Lock order(saveLock_);
    std::wstring text;
    std::string backup;
    uint64_t generation = 0;
    {
        Lock lock(lock_);
        if (fileState_ == FileState::WaitingToRead) {
            // Never over a file that could not be read: the user's changes wait in memory.
            if (userChanged_) dirty_ = true;
            return false;
        }
        text = SerializeSettings(settings_);
        generation = generation_;
        backup = backupBytes_;
    }
    // Readers and other changes go on while the disk works; the file is either the
    // old one or the whole new one (the file system's atomic replace).
    bool written = backup.empty() || files_.WriteBytesAtomically(BackupPath(), backup);
    if (written && !backup.empty()) {
        Lock lock(lock_);
        backupBytes_.clear(); // one copy: the original is safe in it from here on
    }
    written = written && files_.WriteFileAtomically(configPath_, text);
    Lock lock(lock_);
    // A failed write (the file held open by a reader, a full disk) leaves the change
    // unsaved even when it came from a command that saves at once: dirty, so that a
    // later SaveIfDirty writes it instead of losing it. A change made during the
    // write keeps the flag it set.
    if (!written) {
        dirty_ = true;
    } else if (generation == generation_) {
        dirty_ = false;
        userChanged_ = false;
    }
    return written;
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

bool ConfigStore::HasUnsavedUserChanges() const {
    Lock lock(lock_);
    return userChanged_ && (dirty_ || fileState_ == FileState::WaitingToRead);
}

void ConfigStore::SetEnabled(bool enabled) {
    {
        Lock lock(lock_);
        if (fileState_ == FileState::WaitingToRead) {
            Settings after = settings_;
            after.Enabled = enabled;
            pending_.NoteChange(settings_, after);
        }
        settings_.Enabled = enabled;
        UserChangedLocked();
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
        Settings after = settings;
        ClampAxisSettings(after.Vertical);
        ClampAxisSettings(after.Horizontal);
        if (fileState_ == FileState::WaitingToRead) pending_.NoteChange(settings_, after);
        settings_ = std::move(after);
        dirty_ = true;
        UserChangedLocked();
    }
    NotifyChange();
    if (saveNow) WriteFile();
}

void ConfigStore::ResetValues(Settings& settings) {
    settings.Enabled = true;
    settings.Vertical = AxisSettings{};
    settings.Horizontal = AxisSettings{};
    settings.ExcludedApps = DefaultExcludedApps();
    settings.ExcludedSites.clear();
}

void ConfigStore::ResetToDefaults() {
    {
        Lock lock(lock_);
        if (fileState_ == FileState::WaitingToRead) pending_.NoteReset();
        ResetValues(settings_);
        UserChangedLocked();
    }
    NotifyChange();
}

void ConfigStore::AddExcludedApp(std::wstring_view text) {
    const std::wstring entry = ExclusionRules::NormalizeAppEntry(text);
    if (entry.empty()) return;
    {
        Lock lock(lock_);
        if (!ExclusionListEdits::AddApp(settings_.ExcludedApps, entry)) return;
        if (fileState_ == FileState::WaitingToRead) pending_.NoteAddApp(entry);
        UserChangedLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::AddExcludedSite(std::wstring_view text) {
    const std::wstring rule = ExclusionRules::NormalizeSiteEntry(text);
    if (rule.empty()) return;
    {
        Lock lock(lock_);
        if (!ExclusionListEdits::AddSite(settings_.ExcludedSites, rule)) return;
        if (fileState_ == FileState::WaitingToRead) pending_.NoteAddSite(rule);
        UserChangedLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::RemoveExcludedApp(std::wstring_view text) {
    // No ".exe" is added and no folder cut: the window passes the stored text itself.
    const std::wstring trimmed(ExclusionRules::TrimAppText(text));
    {
        Lock lock(lock_);
        ExclusionListEdits::RemoveApp(settings_.ExcludedApps, trimmed);
        if (fileState_ == FileState::WaitingToRead) pending_.NoteRemoveApp(trimmed);
        UserChangedLocked();
    }
    NotifyChange();
    WriteFile();
}

void ConfigStore::RemoveExcludedSite(std::wstring_view text) {
    const std::wstring rule = ExclusionRules::NormalizeSiteEntry(text);
    {
        Lock lock(lock_);
        ExclusionListEdits::RemoveSite(settings_.ExcludedSites, rule);
        if (fileState_ == FileState::WaitingToRead) pending_.NoteRemoveSite(rule);
        UserChangedLocked();
    }
    NotifyChange();
    WriteFile();
}
