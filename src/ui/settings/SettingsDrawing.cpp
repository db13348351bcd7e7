#include "ui/settings/OwnerDraw.h"

#include "ui/settings/ListDrawing.h"
#include "ui/settings/PushButtonDrawing.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/SwitchDrawing.h"

bool DrawOwnerDrawnItem(const DRAWITEMSTRUCT& item, bool switchOn, bool hot, unsigned dpi, const ThemeFonts& fonts) {
    if (item.CtlType == ODT_LISTBOX) {
        DrawListBoxItem(item, dpi, fonts);
        return true;
    }
    if (item.CtlType != ODT_BUTTON) return false;
    const ControlSpec* control = FindControl(static_cast<int>(item.CtlID));
    if (control && control->kind == ControlKind::Switch) {
        DrawSwitchItem(item, switchOn, hot, dpi, fonts);
    } else {
        DrawPushButtonItem(item, hot, dpi, fonts);
    }
    return true;
}
