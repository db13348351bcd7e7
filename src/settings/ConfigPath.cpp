#include "settings/ConfigPath.h"

namespace {
std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(0, separator);
}
} // namespace

ConfigLocation ChooseConfigLocation(const std::wstring& exePath, PathKind besideExe,
                                    const std::optional<std::wstring>& appDataFolder) {
    const std::wstring candidate = FolderOf(exePath) + L"\\config.ini";
    if (besideExe == PathKind::File || !appDataFolder) return {candidate, {}};
    const std::wstring folder = *appDataFolder + L"\\Velvetglide";
    return {folder + L"\\config.ini", folder};
}
