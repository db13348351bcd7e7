#pragma once
// What the hook needs to know about the process behind a window: its executable's
// name, whether the program may touch it at all, and whether it is a known browser.
// Kept per process id for a few seconds, so the system is asked at most once per
// process per 5 s however fast the wheel turns. Hook thread only (no lock).

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

struct ProcessInfo {
    std::wstring Name;         // executable file name; empty when unreadable
    std::wstring LowerName;    // trimmed and lower-cased, as the application rules compare it
    bool Inaccessible = false; // cannot be opened, level unreadable, or above ours
    bool IsBrowser = false;
    uint64_t QueriedAtMs = 0;  // tick count when filled
    // The application rules' answer, kept while the settings stay those of this generation.
    bool AppExcluded = false;
    uint64_t VerdictGeneration = 0; // 0: not decided yet
};

inline constexpr uint32_t MediumIntegrityLevel = 0x2000; // SECURITY_MANDATORY_MEDIUM_RID

// The system's answers about processes; the Win32 version opens the process for
// limited queries, and tests answer from tables.
class ProcessQueries {
public:
    virtual ~ProcessQueries() = default;
    // False when the process cannot be opened. Otherwise imagePath is its full image
    // path (empty when unreadable; assigned, so its storage is reused) and
    // integrityLevel its token's level (0 when unreadable).
    virtual bool Inspect(uint32_t processId, std::wstring& imagePath, uint32_t& integrityLevel) = 0;
    // This program's own level, 0 when unreadable.
    virtual uint32_t ReadOwnIntegrityLevel() = 0;
};

// This program's own integrity level: read once, the first time a target's level is
// known, and kept; medium when it cannot be read. Safe to share between threads.
class OwnIntegrityLevel {
public:
    uint32_t Get(ProcessQueries& queries);

private:
    std::once_flag once_;
    uint32_t level_ = 0;
};

class ProcessInfoCache {
public:
    static constexpr uint64_t FreshMs = 5000;
    static constexpr size_t MaxRecords = 64; // above this the whole cache is emptied before a store

    // Both must outlive the cache.
    ProcessInfoCache(ProcessQueries& queries, OwnIntegrityLevel& ownLevel) : queries_(queries), ownLevel_(ownLevel) {}

    // The record of a process, refilled in place when it is 5000 ms old or more (a
    // record's strings keep their storage, so a refill allocates nothing). The
    // reference holds until the next call; the caller may keep its verdict in it.
    ProcessInfo& Get(uint32_t processId, uint64_t nowMs);
    size_t Size() const { return records_.size(); }

private:
    void Fill(ProcessInfo& info, uint32_t processId, uint64_t nowMs);

    ProcessQueries& queries_;
    OwnIntegrityLevel& ownLevel_;
    std::unordered_map<uint32_t, ProcessInfo> records_;
    std::wstring imagePath_; // reused by every query
};
