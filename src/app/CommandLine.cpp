#include "app/CommandLine.h"

bool HasTrayFlag(std::wstring_view commandLine) {
    for (std::wstring_view flag : {L"-minimized", L"--minimized", L"-tray", L"/minimized"})
        if (commandLine.find(flag) != std::wstring_view::npos) return true;
    return false;
}
