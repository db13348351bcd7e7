#pragma once
#include <string_view>

// Whether the command line asks to start in the tray only: "-minimized",
// "--minimized", "-tray" or "/minimized" anywhere in it, letter case as written.
bool HasTrayFlag(std::wstring_view commandLine);
