#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "app/CommandLine.h"
#include "app/SingleInstance.h"

TEST(StartupTest, TrayFlagsAnywhereCaseSensitive) {
    struct Case {
        const wchar_t* commandLine;
        bool tray;
    };
    for (const Case& c : {Case{L"--minimized", true}, Case{L"-minimized", true}, Case{L"/minimized", true},
                          Case{L"-tray", true}, Case{L"--verbose -trayicon", true}, Case{L"x/minimizedy", true},
                          Case{L"-Minimized", false}, Case{L"/MINIMIZED", false}, Case{L"-TRAY", false},
                          Case{L"", false}, Case{L"minimized tray", false}}) {
        EXPECT_EQ(HasTrayFlag(c.commandLine), c.tray) << std::string(c.commandLine, c.commandLine + wcslen(c.commandLine));
    }
}

TEST(StartupTest, AnyInstanceHoldingTheMutexMakesThisOneTheSecond) {
    EXPECT_EQ(RoleFromMutexCreation(true, 0), InstanceRole::First);
    EXPECT_EQ(RoleFromMutexCreation(true, MutexErrorAlreadyExists), InstanceRole::Second);
    // Held by an elevated instance: no handle, access denied.
    EXPECT_EQ(RoleFromMutexCreation(false, MutexErrorAccessDenied), InstanceRole::Second);
    // A handle was made after all: whatever the last error says, nobody else had it.
    EXPECT_EQ(RoleFromMutexCreation(true, MutexErrorAccessDenied), InstanceRole::First);
    EXPECT_EQ(RoleFromMutexCreation(false, 8 /* ERROR_NOT_ENOUGH_MEMORY */), InstanceRole::First);
}
