#include "settings/AutoStart.h"

std::wstring RunValueData(const std::wstring& exePath) { return L"\"" + exePath + L"\" --minimized"; }
