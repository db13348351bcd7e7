#include "ui/settings/ThemeFonts.h"

#include "ui/settings/SettingsLayout.h"

namespace {

UniqueFont MakeFont(int sizePx, int weight, unsigned dpi) {
    return UniqueFont(CreateFontW(-ScaleToDpi(sizePx, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                                       L"Segoe UI"));
}

} // namespace

bool ThemeFonts::Create(HINSTANCE instance, unsigned dpi) {
    title = MakeFont(17, 600, dpi);
    body = MakeFont(13, 400, dpi);
    bodySemibold = MakeFont(13, 600, dpi);
    small = MakeFont(12, 400, dpi);
    section = MakeFont(11, 700, dpi);
    const int logoSize = ScaleToDpi(LogoRect.Width(), dpi);
    logo.reset(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(LogoIconId), IMAGE_ICON, logoSize, logoSize, LR_DEFAULTCOLOR)));
    return title && body && bodySemibold && small && section;
}
