#pragma once
#include <string>

// Full path of the running executable ("Z:\..." for Linux paths under Wine).
std::wstring ExecutablePath();
