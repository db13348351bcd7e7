#include "platform/GdiplusSession.h"

#include "platform/Win32.h"

#include <objidl.h>
#include <gdiplus.h>

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input; // version 1, no callback, background thread and codecs on
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token; // a failure is not reported
}

GdiplusSession::~GdiplusSession() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
}
