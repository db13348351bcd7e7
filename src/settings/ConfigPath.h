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

// The decision on the real file system; creates the application data folder when chosen.
std::wstring ResolveConfigPath();
