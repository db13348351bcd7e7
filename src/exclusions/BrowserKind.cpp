#include "exclusions/BrowserKind.h"

#include <string>

#include "settings/TextCase.h"

namespace {

struct KnownBrowser {
    std::wstring_view exe;
    BrowserKind kind;
};

// Fixed: the user cannot extend it. Other programs built on the same engines are
// recognised only through their own rules.
constexpr KnownBrowser KnownBrowsers[] = {
    {L"chrome.exe", BrowserKind::ChromiumFamily},   {L"msedge.exe", BrowserKind::ChromiumFamily},
    {L"browser.exe", BrowserKind::ChromiumFamily},  {L"opera.exe", BrowserKind::ChromiumFamily},
    {L"brave.exe", BrowserKind::ChromiumFamily},    {L"vivaldi.exe", BrowserKind::ChromiumFamily},
    {L"chromium.exe", BrowserKind::ChromiumFamily}, {L"thorium.exe", BrowserKind::ChromiumFamily},
    {L"arc.exe", BrowserKind::ChromiumFamily},      {L"firefox.exe", BrowserKind::FirefoxFamily},
    {L"librewolf.exe", BrowserKind::FirefoxFamily}, {L"waterfox.exe", BrowserKind::FirefoxFamily},
    {L"floorp.exe", BrowserKind::FirefoxFamily},    {L"zen.exe", BrowserKind::FirefoxFamily},
};

} // namespace

BrowserKind ClassifyLowerBrowserExe(std::wstring_view lowerName) {
    for (const KnownBrowser& browser : KnownBrowsers)
        if (lowerName == browser.exe) return browser.kind;
    return BrowserKind::None;
}

BrowserKind ClassifyBrowserExe(std::wstring_view name) { return ClassifyLowerBrowserExe(ToLowerCopy(std::wstring(name))); }

std::wstring_view FileNameOfPath(std::wstring_view path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}
