#include <gtest/gtest.h>

#include "platform/DelayLoadFailure.h"

// What the program does when a delay-loaded DLL or function is missing: what it can do
// without gets a stand-in, whatever the import table's letter case of the DLL; a needed
// function, or one of another DLL, is not taken for an optional one; and the message
// before the end names what is missing.
TEST(DelayLoadFailureTest, OptionalFunctionsGetStandInsAndTheRestEndsTheProgramNamingIt) {
    EXPECT_EQ(FindOptionalImport("comctl32.dll", "LoadIconMetric"), OptionalImport::LoadIconMetric);
    EXPECT_EQ(FindOptionalImport("COMCTL32.dll", "LoadIconMetric"), OptionalImport::LoadIconMetric);
    EXPECT_EQ(FindOptionalImport("dwmapi.dll", "DwmSetWindowAttribute"), OptionalImport::DwmSetWindowAttribute);
    EXPECT_EQ(FindOptionalImport("WINMM.DLL", "timeEndPeriod"), OptionalImport::TimeEndPeriod);
    EXPECT_EQ(FindOptionalImport("comctl32.dll", "DefSubclassProc"), OptionalImport::None);
    EXPECT_EQ(FindOptionalImport("gdiplus.dll", "GdipCreatePath"), OptionalImport::None);
    EXPECT_EQ(FindOptionalImport("uxtheme.dll", "LoadIconMetric"), OptionalImport::None);
    EXPECT_EQ(FindOptionalImport("comctl32.dll", "loadiconmetric"), OptionalImport::None);
    EXPECT_EQ(FindOptionalImport("comctl32.dl", "LoadIconMetric"), OptionalImport::None);

    const std::wstring library = MissingImportMessage("gdiplus.dll", "");
    const std::wstring function = MissingImportMessage("gdiplus.dll", "GdipCreatePath");
    EXPECT_NE(library.find(L"библиотеку gdiplus.dll"), std::wstring::npos) << "names the DLL";
    EXPECT_NE(function.find(L"gdiplus.dll нет функции GdipCreatePath"), std::wstring::npos) << "names both";
    EXPECT_NE(library, function);
}
