#pragma once
// Lower-casing as the system does it: CharLowerBuffW on Windows, a table-driven
// fold elsewhere so that the portable core behaves the same in native tests.

#include <string>

// Lower-cases in place; the length never changes.
void LowerCaseInPlace(std::wstring& text);

inline std::wstring ToLowerCopy(std::wstring text) {
    LowerCaseInPlace(text);
    return text;
}

// The portable fold: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic capitals
// map to their small letters as the Windows case table maps them; all else is unchanged.
wchar_t FoldCasePortable(wchar_t c);
