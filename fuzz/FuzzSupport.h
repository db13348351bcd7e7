#pragma once
// What the fuzz targets share: bytes turned into text as the program holds it (UTF-16
// code units in wchar_t, as on Windows), and a check that stops the run with a readable
// message, which libFuzzer keeps together with the input that broke it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace Fuzz {

inline void AppendCodePoint(std::wstring& text, uint32_t c) {
    if (c < 0x10000) {
        text += static_cast<wchar_t>(c);
        return;
    }
    c -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (c >> 10));
    text += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
}

// UTF-8, leniently: a byte that starts no whole sequence stands for the Latin-1 character
// of that value, so one mutated byte can reach an accented capital.
inline std::wstring FromUtf8(const uint8_t* data, size_t size) {
    std::wstring text;
    text.reserve(size);
    for (size_t i = 0; i < size;) {
        const uint8_t lead = data[i];
        size_t extra = 0;
        uint32_t c = lead, minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, c = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, c = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, c = lead & 0x07, minimum = 0x10000;
        }
        bool whole = extra > 0 && size - i > extra;
        for (size_t k = 1; whole && k <= extra; ++k) {
            if ((data[i + k] & 0xC0) != 0x80) whole = false;
            else c = (c << 6) | (data[i + k] & 0x3F);
        }
        if (whole && c >= minimum && c <= 0x10FFFF) {
            AppendCodePoint(text, c);
            i += extra + 1;
        } else {
            text += static_cast<wchar_t>(lead);
            ++i;
        }
    }
    return text;
}

// The configuration file as it lies on disk: UTF-16LE after its byte-order mark. Input
// without the mark is taken as UTF-8, so that seeds can be read and written by hand.
inline std::wstring FileText(const uint8_t* data, size_t size) {
    if (size < 2 || data[0] != 0xFF || data[1] != 0xFE) return FromUtf8(data, size);
    std::wstring text;
    for (size_t i = 2; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

// The first count - 1 lines, then the rest as the last part (missing parts are empty).
inline std::vector<std::wstring> SplitLines(std::wstring_view text, size_t count) {
    std::vector<std::wstring> parts;
    while (parts.size() + 1 < count) {
        const size_t end = text.find(L'\n');
        if (end == std::wstring_view::npos) break;
        parts.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    parts.emplace_back(text);
    parts.resize(count);
    return parts;
}

inline void Print(std::wstring_view text) {
    std::fputc('"', stderr);
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != L'"' && c != L'\\') std::fputc(static_cast<int>(c), stderr);
        else std::fprintf(stderr, "\\u%04X", static_cast<unsigned>(c));
    }
    std::fputc('"', stderr);
}

[[noreturn]] inline void Fail(const char* file, int line, const char* condition,
                              std::initializer_list<std::wstring_view> texts) {
    std::fprintf(stderr, "\n%s:%d: check failed: %s\n", file, line, condition);
    for (const std::wstring_view text : texts) {
        std::fputs("  ", stderr);
        Print(text);
        std::fputc('\n', stderr);
    }
    std::abort();
}

} // namespace Fuzz

// Checks a property; on failure prints the condition and the given texts, then aborts.
#define FUZZ_CHECK(condition, ...)                                                                                    \
    do {                                                                                                              \
        if (!(condition)) Fuzz::Fail(__FILE__, __LINE__, #condition, {__VA_ARGS__});                                  \
    } while (0)
