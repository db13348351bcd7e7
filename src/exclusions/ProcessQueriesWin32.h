#pragma once
// Questions about another process, asked through a handle opened for limited
// queries: its image path and its token's mandatory integrity level.

#include <cstdint>
#include <string>

#include "exclusions/ProcessInfo.h"
#include "platform/UniqueHandle.h"

// A handle with PROCESS_QUERY_LIMITED_INFORMATION; empty when the process cannot be opened.
UniqueKernelHandle OpenProcessForQuery(uint32_t processId);

// The full Win32 path of the process's executable (260 characters at most); false on failure.
bool ReadProcessImagePath(HANDLE process, std::wstring& path);

// The relative identifier of the process token's integrity label; 0 on any failure.
uint32_t GetIntegrityLevel(HANDLE process);

class Win32ProcessQueries : public ProcessQueries {
public:
    bool Inspect(uint32_t processId, std::wstring& imagePath, uint32_t& integrityLevel) override;
    uint32_t ReadOwnIntegrityLevel() override { return GetIntegrityLevel(GetCurrentProcess()); }
};
