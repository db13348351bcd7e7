#include "exclusions/ProcessQueriesWin32.h"

#include <vector>

namespace {
constexpr DWORD ImagePathChars = 260;
}

UniqueKernelHandle OpenProcessForQuery(uint32_t processId) {
    return UniqueKernelHandle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
}

bool ReadProcessImagePath(HANDLE process, std::wstring& path) {
    wchar_t buffer[ImagePathChars] = {};
    DWORD length = ImagePathChars;
    if (!QueryFullProcessImageNameW(process, 0, buffer, &length)) return false;
    path.assign(buffer, length);
    return true;
}

uint32_t GetIntegrityLevel(HANDLE process) {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return 0;
    const UniqueKernelHandle token(rawToken);
    DWORD needed = 0;
    GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &needed);
    if (needed == 0) return 0;
    // Pointers keep the label and its SID suitably aligned. A label with its SID fits
    // the stack buffer, so the hook's process queries allocate nothing; a larger
    // answer than any Windows gives still works.
    void* local[32] = {};
    std::vector<void*> large;
    void** buffer = local;
    if (needed > sizeof local) {
        large.assign((needed + sizeof(void*) - 1) / sizeof(void*), nullptr);
        buffer = large.data();
    }
    if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer, needed, &needed)) return 0;
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer);
    const PSID sid = label->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    if (count == 0) return 0;
    return *GetSidSubAuthority(sid, count - 1u);
}

bool Win32ProcessQueries::Inspect(uint32_t processId, std::wstring& imagePath, uint32_t& integrityLevel) {
    const UniqueKernelHandle process = OpenProcessForQuery(processId);
    if (!process) return false;
    imagePath.clear();
    if (!ReadProcessImagePath(process.get(), imagePath)) imagePath.clear();
    integrityLevel = GetIntegrityLevel(process.get());
    return true;
}
