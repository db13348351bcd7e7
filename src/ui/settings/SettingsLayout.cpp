#include "ui/settings/SettingsLayout.h"

#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsTexts.h"

#include <algorithm>

int ScaleToDpi(int value, unsigned dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = BaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / BaseDpi : -((-product + half) / BaseDpi));
}

float ScaleToDpi(float value, unsigned dpi) { return value * static_cast<float>(dpi) / static_cast<float>(BaseDpi); }

LayoutRect ScaleToDpi(const LayoutRect& rect, unsigned dpi) {
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

LayoutRect CentreOnWorkArea(const LayoutRect& work, int width, int height) {
    const int left = work.left + (work.Width() - width) / 2;
    const int top = work.top + (work.Height() - height) / 2;
    return {left, top, left + width, top + height};
}

LayoutRect KeepOnWorkArea(const LayoutRect& work, const LayoutRect& window) {
    // The far edge first, then the near one: when both cannot hold, the near one wins.
    const int left = std::max(work.left, std::min(window.left, work.right - window.Width()));
    const int top = std::max(work.top, std::min(window.top, work.bottom - window.Height()));
    return {left, top, left + window.Width(), top + window.Height()};
}

LayoutRect TabRectAt(int index, unsigned dpi) {
    const LayoutRect strip = ScaleToDpi(TabStripRect, dpi);
    const int inset = ScaleToDpi(TabInset, dpi);
    const int width = (strip.Width() - 2 * inset) / PageCount;
    LayoutRect tab{strip.left + inset + index * width, strip.top + inset, strip.left + inset + (index + 1) * width,
                   strip.bottom - inset};
    if (index == PageCount - 1) tab.right = strip.right - inset;
    return tab;
}

int HitTestTabAt(int x, int y, unsigned dpi) {
    for (int i = 0; i < PageCount; ++i) {
        if (TabRectAt(i, dpi).Contains(x, y)) return i;
    }
    return -1;
}

namespace {

constexpr LayoutRect SpeedRect{36, 206, 564, 236};
constexpr LayoutRect DurationRect{36, 268, 564, 298};
constexpr LayoutRect SmoothingRect{36, 330, 564, 360};
constexpr LayoutRect AccelToggleRect{44, 428, 556, 460};
constexpr LayoutRect AccelStrengthRect{36, 496, 564, 526};
constexpr LayoutRect ListRect{48, 218, 552, 466};

using enum ControlKind;

constexpr ControlSpec Controls[] = {
    {IDC_ENABLE_TOGGLE, Switch, AllPages, {376, 24, 576, 56}, L"", false},
    {IDC_V_SPEED, Slider, PageVertical, SpeedRect, L"", false},
    {IDC_V_DURATION, Slider, PageVertical, DurationRect, L"", false},
    {IDC_V_SMOOTHING, Slider, PageVertical, SmoothingRect, L"", false},
    {IDC_V_ACCEL_TOGGLE, Switch, PageVertical, AccelToggleRect, AccelToggleText, false},
    {IDC_V_ACCEL_STRENGTH, Slider, PageVertical, AccelStrengthRect, L"", false},
    {IDC_H_SPEED, Slider, PageHorizontal, SpeedRect, L"", false},
    {IDC_H_DURATION, Slider, PageHorizontal, DurationRect, L"", false},
    {IDC_H_SMOOTHING, Slider, PageHorizontal, SmoothingRect, L"", false},
    {IDC_H_ACCEL_TOGGLE, Switch, PageHorizontal, AccelToggleRect, AccelToggleText, false},
    {IDC_H_ACCEL_STRENGTH, Slider, PageHorizontal, AccelStrengthRect, L"", false},
    {IDC_APP_LIST, List, PagePrograms, ListRect, AppListHint, false},
    {IDC_APP_EDIT, Edit, PagePrograms, {56, 492, 268, 512}, AppEditCue, false},
    {IDC_APP_ADD, PushButton, PagePrograms, {288, 484, 380, 520}, AddText, true},
    {IDC_APP_BROWSE, PushButton, PagePrograms, {388, 484, 472, 520}, BrowseText, false},
    {IDC_APP_REMOVE, PushButton, PagePrograms, {480, 484, 556, 520}, RemoveText, false},
    {IDC_SITE_LIST, List, PageSites, ListRect, SiteListHint, false},
    {IDC_SITE_EDIT, Edit, PageSites, {56, 492, 360, 512}, SiteEditCue, false},
    {IDC_SITE_ADD, PushButton, PageSites, {380, 484, 468, 520}, AddText, true},
    {IDC_SITE_REMOVE, PushButton, PageSites, {476, 484, 556, 520}, RemoveText, false},
    {IDC_AUTOSTART_TOGGLE, Switch, PageGeneral, {44, 176, 556, 208}, AutostartToggleText, false},
    {IDC_RESET, PushButton, PageGeneral, {44, 222, 264, 258}, ResetText, false},
    {IDC_HIDE_TO_TRAY, PushButton, AllPages, {416, 556, 576, 592}, HideToTrayText, false},
};

constexpr int VerticalSliders[SliderRowCount] = {IDC_V_SPEED, IDC_V_DURATION, IDC_V_SMOOTHING, IDC_V_ACCEL_STRENGTH};
constexpr int HorizontalSliders[SliderRowCount] = {IDC_H_SPEED, IDC_H_DURATION, IDC_H_SMOOTHING,
                                                   IDC_H_ACCEL_STRENGTH};

constexpr LayoutRect AxisCards[] = {{24, 134, 576, 374}, {24, 388, 576, 540}};
constexpr LayoutRect ListCards[] = {{24, 134, 576, 540}};
constexpr LayoutRect GeneralCards[] = {{24, 134, 576, 278}, {24, 292, 576, 540}};

} // namespace

std::span<const ControlSpec> SettingsControls() { return Controls; }

const ControlSpec* FindControl(int id) {
    const auto found = std::find_if(std::begin(Controls), std::end(Controls),
                                    [id](const ControlSpec& control) { return control.id == id; });
    return found == std::end(Controls) ? nullptr : found;
}

LayoutRect SectionHeaderRect(const LayoutRect& card) {
    return {card.left + 20, card.top + 18, card.right - 20, card.top + 34};
}

LayoutRect SectionNoteArea(const LayoutRect& card) {
    return {card.left + 20, card.top + 18, card.right - 20, card.top + 48};
}

LayoutRect SliderLabelRect(int row) { return {44, SliderRowTop[row], 556, SliderRowTop[row] + 20}; }

int SliderId(bool horizontal, int row) { return (horizontal ? HorizontalSliders : VerticalSliders)[row]; }

bool SliderRowOf(int id, int& row, bool& horizontal) {
    for (int i = 0; i < SliderRowCount; ++i) {
        if (VerticalSliders[i] == id || HorizontalSliders[i] == id) {
            row = i;
            horizontal = HorizontalSliders[i] == id;
            return true;
        }
    }
    return false;
}

std::span<const LayoutRect> PageCards(int page) {
    switch (page) {
    case PageVertical:
    case PageHorizontal: return AxisCards;
    case PagePrograms:
    case PageSites: return ListCards;
    case PageGeneral: return GeneralCards;
    default: return {};
    }
}

namespace {
constexpr int SystemFirstRowTop = 334;
constexpr int SystemRowHeight = 30;
constexpr int SystemValueLeft = 220;
} // namespace

LayoutRect SystemRowRect(int row) {
    const int top = SystemFirstRowTop + row * SystemRowHeight;
    return {44, top, 556, top + SystemRowHeight};
}

LayoutRect SystemValueRect(int row) {
    LayoutRect rect = SystemRowRect(row);
    rect.left = SystemValueLeft;
    return rect;
}

LayoutRect SystemSeparatorAt(int row, unsigned dpi) {
    const LayoutRect scaled = ScaleToDpi(SystemRowRect(row), dpi);
    return {scaled.left, scaled.bottom, scaled.right, scaled.bottom + std::max(1, ScaleToDpi(1, dpi))};
}
