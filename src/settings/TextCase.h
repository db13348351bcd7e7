#pragma once
// Lower-casing as the system does it: CharLowerBuffW on Windows, a table-driven
// fold elsewhere so that the portable core behaves the same in native tests.

#include <cstddef>
#include <string>

// Lower-cases length characters in place (a caller's buffer: nothing is allocated).
void LowerCaseInPlace(wchar_t* text, size_t length);

// The length never changes.
inline void LowerCaseInPlace(std::wstring& text) { LowerCaseInPlace(text.data(), text.size()); }

inline std::wstring ToLowerCopy(std::wstring text) {
    LowerCaseInPlace(text);
    return text;
}

// The portable fold: the capitals of ASCII, Latin-1, Latin Extended-A, the basic Greek
// alphabet and Cyrillic map to their small letters as the system's case table maps
// them; everything else is left unchanged (rarer letters fold only on Windows).
wchar_t FoldCasePortable(wchar_t c);
