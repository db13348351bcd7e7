#include "soak/SettingsPanel.h"

#include <commctrl.h>

#include "settings/SettingsFile.h"
#include "support/DesktopInput.h"
#include "support/InMemoryConfigFiles.h"
#include "support/WheelTargetWindow.h"
#include "support/Win32TestFiles.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/SliderValues.h"
#include "ui/tray/TrayModel.h"

namespace {

std::wstring Describe(const char* axis, const AxisSettings& a) {
    wchar_t text[160];
    swprintf(text, 160, L"%hs Speed=%d DurationMs=%d Smoothing=%.1f AccelEnabled=%d AccelStrength=%.1f", axis, a.Speed,
             a.DurationMs, a.Smoothing, a.AccelEnabled ? 1 : 0, a.AccelStrength);
    return text;
}

} // namespace

SettingsPanel::SettingsPanel(HWND window, std::wstring configPath)
    : window_(window), configPath_(std::move(configPath)) {}

bool SettingsPanel::ReadFile(Settings& settings) const {
    // Read with every sharing flag, so the program's atomic replace never fails because of us.
    const std::vector<unsigned char> bytes = ReadFileBytes(configPath_);
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return false;
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    InMemoryConfigFiles files;
    files.files[configPath_] = text;
    settings = Settings();
    ReadSettingsFile(files, configPath_, settings);
    return true;
}

bool SettingsPanel::Load() { return ReadFile(expected_); }

void SettingsPanel::MoveSlider(bool horizontal, int row, int position, bool dragged) {
    const HWND slider = GetDlgItem(window_, SliderId(horizontal, row));
    // A drag passes through positions on the way; only the last one stays.
    if (dragged) {
        const int start = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
        for (int step = 1; step < 4; ++step) {
            const int between = start + (position - start) * step / 4;
            SendMessageW(slider, TBM_SETPOS, TRUE, between);
            SendMessageW(window_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, between), reinterpret_cast<LPARAM>(slider));
        }
    }
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(window_, WM_HSCROLL, MAKEWPARAM(dragged ? TB_THUMBPOSITION : TB_THUMBTRACK, position),
                 reinterpret_cast<LPARAM>(slider));
    if (dragged) SendMessageW(window_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    SetFromSliderPosition(row, position, expected_.ForAxis(horizontal ? Axis::Horizontal : Axis::Vertical));
    lastSliderMs_ = QpcNowMs();
}

void SettingsPanel::ToggleAcceleration(bool horizontal) {
    SendMessageW(GetDlgItem(window_, horizontal ? IDC_H_ACCEL_TOGGLE : IDC_V_ACCEL_TOGGLE), BM_CLICK, 0, 0);
    AxisSettings& axis = expected_.ForAxis(horizontal ? Axis::Horizontal : Axis::Vertical);
    axis.AccelEnabled = !axis.AccelEnabled;
}

bool SettingsPanel::WaitForFile(bool enabled) {
    Settings inFile;
    return WaitFor([&] { return ReadFile(inFile) && inFile.Enabled == enabled; }, 3000);
}

bool SettingsPanel::ToggleEnabled(bool fromTray) {
    if (fromTray) {
        PostMessageW(window_, WM_COMMAND, ID_TRAY_TOGGLE, 0);
    } else {
        SendMessageW(GetDlgItem(window_, IDC_ENABLE_TOGGLE), BM_CLICK, 0, 0);
    }
    expected_.Enabled = !expected_.Enabled;
    return WaitForFile(expected_.Enabled); // the switch saves at once
}

bool SettingsPanel::Show() {
    PostMessageW(window_, WM_COMMAND, ID_TRAY_SETTINGS, 0);
    return WaitFor([&] { return IsShown(); });
}

bool SettingsPanel::Hide() {
    PostMessageW(window_, WM_COMMAND, IDC_HIDE_TO_TRAY, 0);
    return WaitFor([&] { return !IsShown(); });
}

void SettingsPanel::ClickTab(int page) {
    HDC screen = GetDC(nullptr);
    const unsigned dpi = static_cast<unsigned>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    const LayoutRect tab = TabRectAt(page, dpi);
    const LPARAM point = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    PostMessageW(window_, WM_MOUSEMOVE, 0, point); // the tab lights up under the pointer first
    PostMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(window_, WM_LBUTTONUP, 0, point);
}

std::wstring SettingsPanel::DifferenceFromFile() {
    const double saveDue = lastSliderMs_ + SaveDelayMs + 200;
    if (QpcNowMs() < saveDue) Sleep(static_cast<DWORD>(saveDue - QpcNowMs()));
    Settings inFile;
    // A save still on its way (the timer is late under load) is given a moment.
    WaitFor([&] { return ReadFile(inFile) && inFile == expected_; }, 2000);
    if (!ReadFile(inFile)) return L"the configuration file cannot be read";
    if (inFile.Enabled != expected_.Enabled) return L"Enabled differs";
    for (const Axis axis : {Axis::Vertical, Axis::Horizontal}) {
        const char* name = axis == Axis::Vertical ? "[Vertical]" : "[Horizontal]";
        if (!(inFile.ForAxis(axis) == expected_.ForAxis(axis)))
            return L"file " + Describe(name, inFile.ForAxis(axis)) + L"; expected " +
                   Describe(name, expected_.ForAxis(axis));
    }
    if (inFile.ExcludedApps != expected_.ExcludedApps || inFile.ExcludedSites != expected_.ExcludedSites)
        return L"the exclusion lists differ";
    return {};
}
