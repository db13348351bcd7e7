#include "settings/TextCase.h"

#include "platform/Win32.h"

void LowerCaseInPlace(wchar_t* text, size_t length) {
    if (length != 0) CharLowerBuffW(text, static_cast<DWORD>(length));
}
