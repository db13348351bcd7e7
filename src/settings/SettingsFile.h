#pragma once
// The configuration file's text and how its keys are read into a Settings record.

#include <string>

#include "settings/Settings.h"

class ConfigFileSystem;

// The whole file as every save writes it, without the byte-order mark.
std::wstring SerializeSettings(const Settings& settings);

// Reads every key of the file at path into settings (keys missing keep their defaults,
// ranges are clamped, list entries are normalised). StartWithWindows is not touched.
void ReadSettingsFile(ConfigFileSystem& files, const std::wstring& path, Settings& settings);

// A hand-edited "Count" must not make start-up read billions of keys.
inline constexpr int MaxListEntriesRead = 4096;
