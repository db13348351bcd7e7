#pragma once
// Breaking a text into lines that fit a width, for texts the window draws itself
// line by line. No windows.h: the width of a piece of text is asked of the caller.

#include <functional>
#include <string_view>
#include <vector>

// The lines of `text`, broken at ordinary spaces (a no-break space holds its words
// together) so that each is at most `maxWidth` wide as `widthOf` measures it. A word
// wider than the whole line stands on a line of its own. The lines keep no spaces at
// their ends and view `text`.
std::vector<std::wstring_view> WrapAtSpaces(std::wstring_view text, int maxWidth,
                                            const std::function<int(std::wstring_view)>& widthOf);
