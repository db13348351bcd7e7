#include "settings/TextCase.h"

namespace {
bool InRange(unsigned c, unsigned first, unsigned last) { return c >= first && c <= last; }
bool IsEven(unsigned c) { return (c & 1u) == 0; }
} // namespace

wchar_t FoldCasePortable(wchar_t ch) {
    const unsigned c = static_cast<unsigned>(ch);
    if (InRange(c, 'A', 'Z')) return static_cast<wchar_t>(c + 32);
    if (c < 0xC0) return ch;
    // Latin-1: À..Þ except the multiplication sign.
    if (InRange(c, 0xC0, 0xDE) && c != 0xD7) return static_cast<wchar_t>(c + 32);
    // Latin Extended-A pairs capital/small; U+0130 (dotted I) is left to the system table.
    if ((InRange(c, 0x100, 0x12F) || InRange(c, 0x132, 0x137) || InRange(c, 0x14A, 0x177)) && IsEven(c))
        return static_cast<wchar_t>(c + 1);
    if ((InRange(c, 0x139, 0x148) || InRange(c, 0x179, 0x17E)) && !IsEven(c)) return static_cast<wchar_t>(c + 1);
    if (c == 0x178) return static_cast<wchar_t>(0xFF);
    // Greek.
    if (InRange(c, 0x391, 0x3AB) && c != 0x3A2) return static_cast<wchar_t>(c + 32);
    if (c == 0x386) return static_cast<wchar_t>(0x3AC);
    if (InRange(c, 0x388, 0x38A)) return static_cast<wchar_t>(c + 37);
    if (c == 0x38C) return static_cast<wchar_t>(0x3CC);
    if (InRange(c, 0x38E, 0x38F)) return static_cast<wchar_t>(c + 63);
    // Cyrillic: Ѐ..Џ, А..Я, then the paired historic and national letters.
    if (InRange(c, 0x400, 0x40F)) return static_cast<wchar_t>(c + 80);
    if (InRange(c, 0x410, 0x42F)) return static_cast<wchar_t>(c + 32);
    if ((InRange(c, 0x460, 0x481) || InRange(c, 0x48A, 0x4BF) || InRange(c, 0x4D0, 0x52F)) && IsEven(c))
        return static_cast<wchar_t>(c + 1);
    if (c == 0x4C0) return static_cast<wchar_t>(0x4CF);
    if (InRange(c, 0x4C1, 0x4CE) && !IsEven(c)) return static_cast<wchar_t>(c + 1);
    return ch;
}

#ifndef _WIN32
void LowerCaseInPlace(wchar_t* text, size_t length) {
    // Most titles are all ASCII: then one branch-free pass the compiler can vectorise.
    unsigned any = 0;
    for (size_t i = 0; i < length; ++i) any |= static_cast<unsigned>(text[i]);
    if (any < 0x80) {
        for (size_t i = 0; i < length; ++i) {
            const unsigned c = static_cast<unsigned>(text[i]);
            text[i] = static_cast<wchar_t>(c + ((c - L'A' < 26u) ? 32u : 0u));
        }
        return;
    }
    for (size_t i = 0; i < length; ++i) text[i] = FoldCasePortable(text[i]);
}
#endif
