// The process queries on the real system: this test program's own process, and
// process ids that cannot be opened.

#include <gtest/gtest.h>

#include "exclusions/BrowserKind.h"
#include "exclusions/ProcessInfo.h"
#include "exclusions/ProcessQueriesWin32.h"
#include "platform/ExecutablePath.h"

TEST(ProcessQueriesWin32Test, OwnProcessIsReadableAtItsOwnLevelAndMissingOnesAreNot) {
    Win32ProcessQueries queries;
    std::wstring path;
    uint32_t level = 0;
    ASSERT_TRUE(queries.Inspect(GetCurrentProcessId(), path, level));
    EXPECT_EQ(path, ExecutablePath());
    EXPECT_NE(level, 0u);
    EXPECT_EQ(level, queries.ReadOwnIntegrityLevel());
    std::printf("own integrity level: 0x%04X\n", static_cast<unsigned>(level));

    OwnIntegrityLevel own;
    ProcessInfoCache cache(queries, own);
    const ProcessInfo& info = cache.Get(GetCurrentProcessId(), GetTickCount64());
    EXPECT_EQ(info.Name, FileNameOfPath(ExecutablePath()));
    EXPECT_FALSE(info.Inaccessible); // an equal level is within reach
    EXPECT_FALSE(info.IsBrowser);

    for (uint32_t missing : {0u, 0xFFFFFFF0u}) {
        EXPECT_FALSE(queries.Inspect(missing, path, level)) << missing;
        EXPECT_TRUE(cache.Get(missing, GetTickCount64()).Inaccessible);
    }
    EXPECT_EQ(GetIntegrityLevel(nullptr), 0u);
}
