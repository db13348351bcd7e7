#include "ui/settings/SliderDrawing.h"

#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/Palette.h"

void DrawSlider(HDC target, const SliderLook& look, unsigned dpi) {
    MemoryCanvas canvas(target, look.client);
    if (!canvas) return;
    canvas.FillAll(Palette::Card);

    const float mid = canvas.Height() / 2.0f;
    const float trackHeight = static_cast<float>(ScaleToDpi(4, dpi));
    const float trackTop = mid - trackHeight / 2.0f;
    const float channelLeft = static_cast<float>(look.channel.left);
    canvas.RoundRect(channelLeft, trackTop, static_cast<float>(look.channel.right - look.channel.left), trackHeight,
                     trackHeight / 2.0f, Filled(Palette::SliderTrack));

    const float centreX = (look.thumb.left + look.thumb.right) / 2.0f;
    const std::uint32_t filled = look.enabled ? Palette::Accent : Palette::SliderDisabled;
    if (channelLeft < centreX) {
        canvas.RoundRect(channelLeft, trackTop, centreX - channelLeft, trackHeight, trackHeight / 2.0f,
                         Filled(filled));
    }
    if (look.focusRing) {
        canvas.Circle(centreX, mid, ScaleToDpi(12.5f, dpi),
                      Outlined(Palette::Accent, ScaleToDpi(1.5f, dpi), 170));
    }
    canvas.Circle(centreX, mid, ScaleToDpi(9.5f, dpi),
                  FilledOutlined(Palette::ThumbFill, Palette::ThumbOutline, ScaleToDpi(1.0f, dpi)));
    const float dot = !look.enabled   ? 4.5f
                      : look.dragging ? 4.0f
                      : look.active   ? 6.0f
                                      : 5.0f;
    canvas.Circle(centreX, mid, ScaleToDpi(dot, dpi), Filled(filled));
    canvas.CopyTo(target, look.client.left, look.client.top);
}

LRESULT DrawSliderCustom(const NMCUSTOMDRAW& draw, bool hot, unsigned dpi) {
    if (draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    const HWND slider = draw.hdr.hwndFrom;
    SliderLook look;
    GetClientRect(slider, &look.client);
    SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&look.channel));
    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&look.thumb));
    look.enabled = IsWindowEnabled(slider) != FALSE;
    look.dragging = GetCapture() == slider;
    look.active = hot || look.dragging;
    look.focusRing =
        GetFocus() == slider && !(SendMessageW(slider, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    DrawSlider(draw.hdc, look, dpi);
    return CDRF_SKIPDEFAULT;
}
