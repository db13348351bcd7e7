#include "ControlPreviewHost.h"

#include "ui/settings/ListDrawing.h"
#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsControlWindow.h"
#include "ui/settings/SliderValues.h"

#include <commctrl.h>

namespace {

constexpr wchar_t HostClass[] = L"VelvetglideControlPreviewHost";

void RegisterHostClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = HostClass;
    RegisterClassExW(&windowClass); // a second registration fails harmlessly
}

} // namespace

ControlPreviewHost::ControlPreviewHost(const PageView& view, bool startWithWindows)
    : view_(view), startWithWindows_(startWithWindows) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    drawing_.CreateFonts(instance, view.dpi);
    RegisterHostClass(instance, Procedure);
    window_ = CreateWindowExW(0, HostClass, L"preview", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                              ScaleToDpi(ClientWidth, view.dpi), ScaleToDpi(ClientHeight, view.dpi), nullptr, nullptr,
                              instance, this);
    if (window_) CreateControls(instance);
}

ControlPreviewHost::~ControlPreviewHost() {
    if (window_) DestroyWindow(window_);
}

void ControlPreviewHost::CreateControls(HINSTANCE instance) {
    for (const ControlSpec& entry : SettingsControls()) {
        if (entry.page != view_.page && entry.page != AllPages) continue;
        const HWND control =
            CreateSettingsControl(window_, instance, entry, WS_VISIBLE, ToRect(ScaleToDpi(entry.rect, view_.dpi)));
        if (!control) continue;
        children_.push_back({&entry, control});
        drawing_.ApplyDpi(control, entry.kind, view_.dpi);
        int row = 0;
        bool horizontal = false;
        if (entry.kind == ControlKind::Slider && SliderRowOf(entry.id, row, horizontal)) {
            const AxisSettings& axis = view_.settings.ForAxis(horizontal ? Axis::Horizontal : Axis::Vertical);
            SendMessageW(control, TBM_SETPOS, TRUE, SliderPosition(row, axis));
            if (row == AccelStrengthRow) EnableWindow(control, view_.strengthSliderEnabled[horizontal ? 1 : 0]);
        } else if (entry.kind == ControlKind::List) {
            const auto& entries = entry.id == IDC_APP_LIST ? view_.settings.ExcludedApps : view_.settings.ExcludedSites;
            for (const std::wstring& text : entries)
                SendMessageW(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
}

HWND ControlPreviewHost::Control(int id) const {
    for (const Child& child : children_)
        if (child.entry->id == id) return child.handle;
    return nullptr;
}

RECT ControlPreviewHost::PlaceOf(int id) const {
    RECT place = {};
    if (const HWND control = Control(id)) {
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    }
    return place;
}

bool ControlPreviewHost::SwitchOn(int id) const {
    switch (id) {
    case IDC_ENABLE_TOGGLE: return view_.settings.Enabled;
    case IDC_V_ACCEL_TOGGLE: return view_.settings.Vertical.AccelEnabled;
    case IDC_H_ACCEL_TOGGLE: return view_.settings.Horizontal.AccelEnabled;
    case IDC_AUTOSTART_TOGGLE: return startWithWindows_;
    default: return false;
    }
}

void ControlPreviewHost::Render(HDC target) const {
    SendMessageW(window_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT);
    for (const Child& child : children_) {
        // Each control prints into a picture of its own size: a control may clip to its
        // client rectangle in device units, which an offset origin would misplace.
        const RECT place = PlaceOf(child.entry->id);
        MemoryCanvas piece(target, place.right - place.left, place.bottom - place.top);
        if (child.entry->kind == ControlKind::List && SendMessageW(child.handle, LB_GETCOUNT, 0, 0) == 0) {
            DrawEmptyListHint(piece.Dc(), {0, 0, piece.Width(), piece.Height()}, drawing_.Fonts().body.get(),
                              child.entry->text);
        } else {
            // As in a real paint: the background first (an owner-drawn list leaves the space below its last item to it).
            SendMessageW(child.handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(piece.Dc()), 0);
            SendMessageW(child.handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(piece.Dc()), PRF_CLIENT);
        }
        piece.CopyTo(target, place.left, place.top);
    }
}

// The window's own drawing dispatch answers the drawing messages; the rest is default.
LRESULT CALLBACK ControlPreviewHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ControlPreviewHost*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    const auto* self = reinterpret_cast<const ControlPreviewHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && self->drawing_.OnMessage(window, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}
