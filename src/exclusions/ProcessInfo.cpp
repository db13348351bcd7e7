#include "exclusions/ProcessInfo.h"

#include "exclusions/BrowserKind.h"
#include "exclusions/ExclusionRules.h"

uint32_t OwnIntegrityLevel::Get(ProcessQueries& queries) {
    std::call_once(once_, [&] {
        const uint32_t level = queries.ReadOwnIntegrityLevel();
        level_ = level != 0 ? level : MediumIntegrityLevel;
    });
    return level_;
}

ProcessInfo& ProcessInfoCache::Get(uint32_t processId, uint64_t nowMs) {
    auto found = records_.find(processId);
    if (found != records_.end() && nowMs - found->second.QueriedAtMs < FreshMs) return found->second;

    // No eviction by age or use: a cache this small is cheaper to refill than to manage.
    if (records_.size() > MaxRecords) {
        records_.clear();
        found = records_.end();
    }
    if (found == records_.end()) found = records_.try_emplace(processId).first;
    Fill(found->second, processId, nowMs);
    return found->second;
}

void ProcessInfoCache::Fill(ProcessInfo& info, uint32_t processId, uint64_t nowMs) {
    info.Name.clear();
    info.LowerName.clear();
    info.Inaccessible = false;
    info.IsBrowser = false;
    info.QueriedAtMs = nowMs;
    info.VerdictGeneration = 0; // another process may have taken the id
    uint32_t level = 0;
    if (!queries_.Inspect(processId, imagePath_, level)) {
        info.Inaccessible = true;
        return;
    }
    if (!imagePath_.empty()) {
        info.Name.assign(FileNameOfPath(imagePath_));
        ExclusionRules::ToAppRuleName(info.Name, info.LowerName);
        info.IsBrowser = ClassifyLowerBrowserExe(info.LowerName) != BrowserKind::None;
    }
    // A process above our level would ignore the injected steps (and the wheel must
    // keep working there), so it is left alone; equal or lower is fine.
    info.Inaccessible = level == 0 || level > ownLevel_.Get(queries_);
}
