#pragma once
// The sliders: trackbars painted entirely by their parent through NM_CUSTOMDRAW.

#include "platform/Win32.h"

#include <commctrl.h>

struct SliderLook {
    RECT client{};  // the trackbar's client rectangle
    RECT channel{}; // TBM_GETCHANNELRECT
    RECT thumb{};   // TBM_GETTHUMBRECT
    bool enabled = true;
    bool active = false;   // hot, or dragged
    bool dragging = false; // holds the mouse capture
    bool focusRing = false;
};

void DrawSlider(HDC target, const SliderLook& look, unsigned dpi);

// NM_CUSTOMDRAW from a slider: draws the whole control at CDDS_PREPAINT and returns
// CDRF_SKIPDEFAULT; CDRF_DODEFAULT at every other stage. `hot`: the slider is the
// window's hot control.
LRESULT DrawSliderCustom(const NMCUSTOMDRAW& draw, bool hot, unsigned dpi);
