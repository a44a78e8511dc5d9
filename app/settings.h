// The volume, remembered in Settings.ini in the current directory.
#pragma once

#include "engine/app_state.h"

constexpr int DEFAULT_VOLUME = 90;
#define SETTINGS_FILE_NAME "Settings.ini"
#define SETTINGS_SECTION "Settings"
#define SETTINGS_KEY "Volume"

// The current directory is asked for with this limit (terminator included).
constexpr DWORD SETTINGS_DIR_LIMIT = MAX_PATH;
// Room for the longest such directory, the separator, the file name and the terminator.
constexpr int SETTINGS_PATH_BYTES = SETTINGS_DIR_LIMIT + sizeof("\\" SETTINGS_FILE_NAME) - 1;

// Writes "<current directory>\Settings.ini" into path (SETTINGS_PATH_BYTES
// long). False, with path emptied, when the directory does not fit the limit.
bool BuildSettingsPath(char *path);

bool ReadSettings(AppState *state);
bool WriteSettings(AppState *state);
