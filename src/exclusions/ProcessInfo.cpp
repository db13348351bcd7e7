#include "exclusions/ProcessInfo.h"

#include "exclusions/BrowserKind.h"

uint32_t OwnIntegrityLevel::Get(ProcessQueries& queries) {
    std::call_once(once_, [&] {
        const uint32_t level = queries.ReadOwnIntegrityLevel();
        level_ = level != 0 ? level : MediumIntegrityLevel;
    });
    return level_;
}

const ProcessInfo& ProcessInfoCache::Get(uint32_t processId, uint64_t nowMs) {
    const auto found = records_.find(processId);
    if (found != records_.end() && nowMs - found->second.QueriedAtMs < FreshMs) return found->second;

    ProcessInfo info = Query(processId, nowMs);
    // No eviction by age or use: a cache this small is cheaper to refill than to manage.
    if (records_.size() > MaxRecords) records_.clear();
    ProcessInfo& stored = records_[processId];
    stored = std::move(info);
    return stored;
}

ProcessInfo ProcessInfoCache::Query(uint32_t processId, uint64_t nowMs) {
    ProcessInfo info;
    info.QueriedAtMs = nowMs;
    std::wstring path;
    uint32_t level = 0;
    if (!queries_.Inspect(processId, path, level)) {
        info.Inaccessible = true;
        return info;
    }
    if (!path.empty()) {
        info.Name = FileNameOfPath(path);
        info.IsBrowser = ClassifyBrowserExe(info.Name) != BrowserKind::None;
    }
    // A process above our level would ignore the injected steps (and the wheel must
    // keep working there), so it is left alone; equal or lower is fine.
    info.Inaccessible = level == 0 || level > ownLevel_.Get(queries_);
    return info;
}
