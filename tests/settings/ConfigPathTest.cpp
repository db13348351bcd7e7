#include <gtest/gtest.h>

#include "settings/AutoStart.h"
#include "settings/ConfigPath.h"

TEST(ConfigPathTest, FileBesideTheExecutableWinsElseAppData) {
    struct Case {
        const char* name;
        const wchar_t* exe;
        PathKind beside;
        std::optional<std::wstring> appData;
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {"portable file", L"D:\\Tools\\Velvetglide.exe", PathKind::File, L"C:\\Users\\u\\AppData\\Roaming",
         L"D:\\Tools\\config.ini", L""},
        {"no file", L"D:\\Tools\\Velvetglide.exe", PathKind::Missing, L"C:\\Users\\u\\AppData\\Roaming",
         L"C:\\Users\\u\\AppData\\Roaming\\Velvetglide\\config.ini", L"C:\\Users\\u\\AppData\\Roaming\\Velvetglide"},
        {"a folder named config.ini", L"D:\\Tools\\Velvetglide.exe", PathKind::Directory, L"C:\\R",
         L"C:\\R\\Velvetglide\\config.ini", L"C:\\R\\Velvetglide"},
        {"no application data folder", L"D:\\Tools\\Velvetglide.exe", PathKind::Missing, std::nullopt,
         L"D:\\Tools\\config.ini", L""},
        {"forward slashes", L"Z:/work/bin/Velvetglide.exe", PathKind::File, std::nullopt, L"Z:/work/bin\\config.ini",
         L""},
        {"no folder at all", L"Velvetglide.exe", PathKind::File, std::nullopt, L"Velvetglide.exe\\config.ini", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ConfigLocation location = ChooseConfigLocation(c.exe, c.beside, c.appData);
        EXPECT_EQ(location.path, c.path);
        EXPECT_EQ(location.folderToCreate, c.folder);
    }
}

TEST(ConfigPathTest, RunValueQuotesThePathAndAddsTheTrayFlag) {
    EXPECT_EQ(RunValueData(L"C:\\Program Files\\Velvetglide\\Velvetglide.exe"),
              L"\"C:\\Program Files\\Velvetglide\\Velvetglide.exe\" --minimized");
    EXPECT_EQ(RunValueData(L"D:\\v.exe"), L"\"D:\\v.exe\" --minimized");
}
