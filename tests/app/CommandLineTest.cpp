#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "app/CommandLine.h"

TEST(CommandLineTest, TrayFlagsAnywhereCaseSensitive) {
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
