#pragma once
// The calling thread inside a COM apartment for the owner's lifetime; left again on
// destruction only if this owner entered it (a thread already in another model stays).

#include "platform/Win32.h"

#include <objbase.h>

class ComApartment {
public:
    explicit ComApartment(DWORD model) : entered_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ~ComApartment() {
        if (entered_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Entered() const { return entered_; }

private:
    bool entered_;
};
