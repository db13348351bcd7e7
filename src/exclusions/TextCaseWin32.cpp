#include "exclusions/TextCase.h"

#include "platform/Win32.h"

void LowerCaseInPlace(std::wstring& text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
}
