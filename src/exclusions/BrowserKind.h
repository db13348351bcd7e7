#pragma once
// The browsers the program knows by their executable file name, and the file name
// of an image path. Pure lookups, any thread.

#include <string_view>

enum class BrowserKind { None = 0, ChromiumFamily = 1, FirefoxFamily = 2 };

// The family of a browser by its executable's file name, ignoring letter case.
BrowserKind ClassifyBrowserExe(std::wstring_view name);
// The same for a name already lower-cased (allocates nothing).
BrowserKind ClassifyLowerBrowserExe(std::wstring_view lowerName);

// The text after the last "\" or "/" of a path; the whole path when it has neither.
std::wstring_view FileNameOfPath(std::wstring_view path);
