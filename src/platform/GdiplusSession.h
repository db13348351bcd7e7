#pragma once
// GDI+ started for the program's drawing and shut down on every way out.

#include <cstdint>

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    uintptr_t token_ = 0;
};
