#pragma once
// The IAccessible (MSAA) objects of the windows that draw themselves, handed out on
// WM_GETOBJECT through LresultFromObject; Windows bridges them to UI Automation for
// screen readers. An object asks its source at every call and keeps nothing, so what
// is heard is what is painted now. Whatever the window's standard proxy knows better
// (list items, child windows, places on the screen) is asked of that proxy.

#include "platform/Win32.h"

#include <oleacc.h>

#include "ui/settings/AccessibleInfo.h"

// IID_IAccessible, {618736E0-3C3D-11CF-810C-00AA00389B71}. Linked statically, MinGW's
// import library gives an import thunk under that name, not the GUID.
inline constexpr GUID AccessibleInterfaceId = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// What an object stands for.
enum class AccessibleShape {
    Control, // a child control: itself from the source, its items from the standard proxy
    Painted, // something painted on the window (the tab strip): itself and its simple children from the source
    Window,  // the window's client area: the standard proxy's, with the painted object as its first child
};

// What the objects ask about the window they stand for. Child 0 is the object itself,
// 1..OwnChildCount the simple children of a painted object (the page tabs).
class AccessibleSource {
public:
    virtual AccessibleInfo Describe(HWND window, long objectId, long child) const = 0;
    virtual long OwnChildCount(HWND window, long objectId) const = 0;
    // Screen rectangle of the painted object (child 0) or one of its children; false if none.
    virtual bool OwnPlace(HWND window, long objectId, long child, RECT& screen) const = 0;
    // The painted object's child under a screen point, 0 for the object itself, -1 outside it.
    virtual long OwnChildAt(HWND window, long objectId, POINT screen) const = 0;
    virtual void DoDefaultAction(HWND window, long objectId, long child) = 0;

protected:
    ~AccessibleSource() = default;
};

// The answer to WM_GETOBJECT for `window`: a new object of `shape` for `objectId`
// (`paintedId` names the painted object a Window shape puts first among its children).
// 0 when the object could not be made, so the default handling can take over.
LRESULT AnswerGetObject(HWND window, long objectId, AccessibleShape shape, long paintedId, WPARAM wParam,
                        AccessibleSource& source);
