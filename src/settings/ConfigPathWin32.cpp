#include "platform/ExecutablePath.h"
#include "settings/ConfigPath.h"

#include "platform/Win32.h"

#include <shlobj.h>

namespace {

PathKind KindOf(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

std::optional<std::wstring> RoamingAppData() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return std::nullopt;
    return std::wstring(buffer);
}

} // namespace

std::wstring ResolveConfigPath(const std::wstring& exePath, const std::optional<std::wstring>& roamingAppData) {
    const std::wstring besideExe = ChooseConfigLocation(exePath, PathKind::File, std::nullopt).path;
    const ConfigLocation location = ChooseConfigLocation(exePath, KindOf(besideExe), roamingAppData);
    // An existing folder (or any other failure) is fine: a later save reports nothing either.
    if (!location.folderToCreate.empty()) CreateDirectoryW(location.folderToCreate.c_str(), nullptr);
    return location.path;
}

std::wstring ResolveConfigPath() { return ResolveConfigPath(ExecutablePath(), RoamingAppData()); }
