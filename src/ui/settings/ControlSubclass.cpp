#include "ui/settings/ControlSubclass.h"

#include <commctrl.h>

#include "ui/settings/ListDrawing.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/SettingsWindow.h"

namespace {

// The hover procedure's subclass id is its HoverKind (1 or 2); the key procedure's is 3.
constexpr UINT_PTR KeySubclassId = 3;

// The key each control acts on and the command it sends to the window.
struct KeyCommand {
    int control;
    WPARAM key;
    int command;
};
constexpr KeyCommand KeyCommands[] = {
    {IDC_APP_EDIT, VK_RETURN, IDC_APP_ADD},
    {IDC_SITE_EDIT, VK_RETURN, IDC_SITE_ADD},
    {IDC_APP_LIST, VK_DELETE, IDC_APP_REMOVE},
    {IDC_SITE_LIST, VK_DELETE, IDC_SITE_REMOVE},
};

// WM_KEYDOWN's bit for a key that was already down (auto-repeat).
constexpr LPARAM KeyWasDown = 1 << 30;

// WM_GETDLGCODE asks about this message: `key` going down.
bool IsKeyDown(LPARAM asked, WPARAM key) {
    const auto* message = reinterpret_cast<const MSG*>(asked);
    return message && message->message == WM_KEYDOWN && message->wParam == key;
}

const KeyCommand* KeyCommandOf(int control) {
    for (const KeyCommand& entry : KeyCommands) {
        if (entry.control == control) return &entry;
    }
    return nullptr;
}

LRESULT CALLBACK HoverProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR data) {
    auto& owner = *reinterpret_cast<SettingsWindow*>(data);
    const bool slider = id == static_cast<UINT_PTR>(HoverKind::Slider);
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(control, nullptr, FALSE); break; // the focus ring
    case WM_PAINT:
        // The custom draw paints the whole slider or nothing: never just a damaged part.
        if (slider) InvalidateRect(control, nullptr, FALSE);
        break;
    case WM_ERASEBKGND:
        if (slider) return 1;
        break;
    case WM_MOUSEMOVE:
        if (const HWND previous = owner.HotControl(); previous != control) {
            owner.SetHotControl(control);
            if (previous) InvalidateRect(previous, nullptr, FALSE);
            InvalidateRect(control, nullptr, FALSE);
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, control, 0};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        if (owner.HotControl() == control) {
            owner.SetHotControl(nullptr);
            InvalidateRect(control, nullptr, FALSE);
        }
        break;
    case WM_LBUTTONDBLCLK:
        // Each click of a fast double click is a click of its own (a switch flips twice).
        if (!slider) return DefSubclassProc(control, WM_LBUTTONDOWN, wParam, lParam);
        break;
    case WM_GETDLGCODE:
        // Enter on a button or switch does what Space does, instead of the dialog manager's IDOK.
        if (!slider && IsKeyDown(lParam, VK_RETURN))
            return DefSubclassProc(control, message, wParam, lParam) | DLGC_WANTALLKEYS;
        break;
    case WM_KEYDOWN:
        if (slider || wParam != VK_RETURN) break;
        if (!(lParam & KeyWasDown)) // not again while the key is held
            SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                         reinterpret_cast<LPARAM>(control));
        return 0;
    case WM_CHAR:
        if (!slider && wParam == L'\r') return 0; // no beep
        break;
    case WM_NCDESTROY: RemoveWindowSubclass(control, HoverProcedure, id); break;
    default: break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT CALLBACK KeyProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const auto& keys = *reinterpret_cast<const KeyCommand*>(data);
    switch (message) {
    case WM_GETDLGCODE: {
        // The dialog manager would turn Enter into IDOK and leave Delete alone otherwise.
        LRESULT code = DefSubclassProc(control, message, wParam, lParam);
        if (IsKeyDown(lParam, keys.key)) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam != keys.key) break;
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(keys.command, 0), 0);
        return 0;
    case WM_CHAR:
        if (wParam == L'\r' && keys.key == VK_RETURN) return 0; // no beep from the edit field
        break;
    case WM_PAINT:
        if (keys.key == VK_DELETE) {
            const ControlSpec* list = FindControl(keys.control);
            if (list && PaintEmptyList(control, list->text)) return 0;
        }
        break;
    case WM_NCDESTROY: RemoveWindowSubclass(control, KeyProcedure, KeySubclassId); break;
    default: break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

bool AddHoverProcedure(HWND control, HoverKind kind, SettingsWindow& owner) {
    return SetWindowSubclass(control, HoverProcedure, static_cast<UINT_PTR>(kind), reinterpret_cast<DWORD_PTR>(&owner)) != FALSE;
}

bool AddKeyProcedure(HWND control) {
    const KeyCommand* keys = KeyCommandOf(GetDlgCtrlID(control));
    return keys && SetWindowSubclass(control, KeyProcedure, KeySubclassId, reinterpret_cast<DWORD_PTR>(keys)) != FALSE;
}
