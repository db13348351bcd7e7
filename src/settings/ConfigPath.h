#pragma once
// Where "config.ini" lives: next to the executable when a file of that name is
// there (portable use), else in "Velvetglide" under the roaming application data.

#include <optional>
#include <string>

enum class PathKind { Missing, File, Directory };

struct ConfigLocation {
    std::wstring path;
    std::wstring folderToCreate; // empty when nothing is to be created
};

// The decision alone: the executable's path, what stands at "<exe folder>\config.ini",
// and the application data folder when the system gave one.
ConfigLocation ChooseConfigLocation(const std::wstring& exePath, PathKind besideExe,
                                    const std::optional<std::wstring>& appDataFolder);

// The decision on the real file system for an executable at exePath and the roaming
// application data folder the system gave; creates "Velvetglide" there when chosen.
std::wstring ResolveConfigPath(const std::wstring& exePath, const std::optional<std::wstring>& roamingAppData);

// The same for the running executable and the user's own application data folder.
std::wstring ResolveConfigPath();
