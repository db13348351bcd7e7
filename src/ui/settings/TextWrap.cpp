#include "ui/settings/TextWrap.h"

std::vector<std::wstring_view> WrapAtSpaces(std::wstring_view text, int maxWidth,
                                            const std::function<int(std::wstring_view)>& widthOf) {
    std::vector<std::wstring_view> lines;
    size_t start = text.find_first_not_of(L' ');
    while (start != std::wstring_view::npos) {
        // Grow the line word by word while it still fits; the first word always goes on.
        size_t end = text.find(L' ', start);
        if (end == std::wstring_view::npos) end = text.size();
        for (;;) {
            const size_t nextWord = text.find_first_not_of(L' ', end);
            if (nextWord == std::wstring_view::npos) break;
            size_t nextEnd = text.find(L' ', nextWord);
            if (nextEnd == std::wstring_view::npos) nextEnd = text.size();
            if (widthOf(text.substr(start, nextEnd - start)) > maxWidth) break;
            end = nextEnd;
        }
        lines.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(L' ', end);
    }
    return lines;
}
