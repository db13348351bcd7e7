#include <gtest/gtest.h>

#include <string>

#include "settings/TextCase.h"

#ifdef _WIN32
#include "platform/Win32.h"

#include <cstdio>
#endif

// On Windows LowerCaseInPlace is the system call, elsewhere the portable table:
// the same expectations hold for both.
TEST(TextCaseTest, LowerCaseInPlace) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"", L""},
        {L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", L"abcdefghijklmnopqrstuvwxyz"},
        {L"Hello, World 2024", L"hello, world 2024"},
        // Latin-1 capitals À..Þ, all but the multiplication sign.
        {L"ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ", L"àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"},
        {L"¿ÀÞß×÷", L"¿àþß×÷"},
        {L"CAFÉ Über", L"café über"},
        // Cyrillic А..Я, and Ѐ..Џ (Ё among them) onto ѐ..џ.
        {L"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ", L"абвгдежзийклмнопрстуфхцчшщъыьэюя"},
        {L"ЀЁЂЃЄЅІЇЈЉЊЋЌЍЎЏ", L"ѐёђѓєѕіїјљњћќѝўџ"},
        {L"ЁЛКА и Ёжик", L"ёлка и ёжик"},
        {L"Привет, МИР! Hello 2024", L"привет, мир! hello 2024"},
        // Digits, punctuation, blanks, small letters and signs have nothing to fold, including
        // the neighbours of A..Z and a..z.
        {L"0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\t\r\n",
         L"0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\t\r\n"},
        {L"abcdefghijklmnopqrstuvwxyz2×3", L"abcdefghijklmnopqrstuvwxyz2×3"},
        {L"àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿßµªº©®°±²³¹¼½¾", L"àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿßµªº©®°±²³¹¼½¾"},
        {L"абвгдежзийклмнопрстуфхцчшщъыьэюяѐёђѓєѕіїјљњћќѝўџ",
         L"абвгдежзийклмнопрстуфхцчшщъыьэюяѐёђѓєѕіїјљњћќѝўџ"},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << input << "\"");
        std::wstring text = input;
        LowerCaseInPlace(text);
        EXPECT_EQ(text, expected); // the same length too
        EXPECT_EQ(ToLowerCopy(input), expected);
    }
}

#ifdef _WIN32
// The portable fold stands in for CharLowerBuffW in the native tests, so it must
// agree with the system where site rules and titles are typed in practice. Beyond
// ASCII, Latin-1 and basic Cyrillic the table is knowingly incomplete (Latin
// Extended-B, archaic Greek), so only these ranges are held to it.
TEST(TextCaseTest, PortableFoldAgreesWithCharLowerBuffW) {
    const auto compared = [](unsigned c) { return c <= 0xFF || (c >= 0x400 && c <= 0x45F); };
    for (unsigned c = 0; c <= 0x52F; ++c) {
        if (!compared(c)) continue;
        wchar_t system = static_cast<wchar_t>(c);
        CharLowerBuffW(&system, 1);
        const unsigned portable = static_cast<unsigned>(FoldCasePortable(static_cast<wchar_t>(c)));
        char message[64];
        std::snprintf(message, sizeof message, "U+%04X: portable U+%04X, CharLowerBuffW U+%04X", c, portable,
                      static_cast<unsigned>(system));
        EXPECT_EQ(portable, static_cast<unsigned>(system)) << message;
    }
}
#endif
