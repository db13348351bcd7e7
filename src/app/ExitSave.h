#pragma once
// The last save before the program ends: what the user changed in this run is not
// dropped because the file was locked for a moment.

class ConfigStore;

// Tries for about 2 s, less and less often, to write what is unsaved. When changes of
// the user's still could not be written, asks (Retry/Cancel) with the file's path;
// Cancel ends without them. A start-up rewrite the file refuses (a file the user made
// read-only) is tried once and left, without a word.
void SaveSettingsBeforeExit(ConfigStore& store);
