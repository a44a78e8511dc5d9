// The volume, remembered in Settings.ini in the current directory, and the
// switch for the results file kept beside it.
#pragma once

#include "engine/app_state.h"

constexpr int DEFAULT_VOLUME = 90;
#define SETTINGS_FILE_NAME "Settings.ini"
#define SETTINGS_SECTION "Settings"
#define SETTINGS_KEY "Volume"
// Results=0 turns the results file off; the program never writes this key.
#define SETTINGS_RESULTS_KEY "Results"
// Language=ja or Language=en: the interface's language, written only once
// the listener has chosen one (or the file named one).
#define SETTINGS_LANGUAGE_KEY "Language"
// The same names as wide literals, for the wide profile functions.
#define SETTINGS_WIDEN_(text) L##text
#define SETTINGS_WIDE(text) SETTINGS_WIDEN_(text)

// The current directory is asked for with this limit, in UTF-16 units
// (terminator included).
constexpr DWORD SETTINGS_DIR_LIMIT = MAX_PATH;
// Room for the longest such directory, the separator, the file name and the terminator.
constexpr int SETTINGS_PATH_CHARS =
    SETTINGS_DIR_LIMIT + sizeof(SETTINGS_WIDE("\\" SETTINGS_FILE_NAME)) / sizeof(wchar_t) - 1;

// Writes "<current directory>\<name>" into path (path_chars long, at least
// SETTINGS_DIR_LIMIT). False, with path emptied, when the directory does not
// fit the limit or the whole path does not fit path_chars. The path is wide
// so that a folder the ANSI code page cannot spell (José, Łukasz, Hangul)
// still has its files.
bool BuildCurrentFolderPath(const wchar_t *name, wchar_t *path, int path_chars);
// The same for Settings.ini (path is SETTINGS_PATH_CHARS long).
bool BuildSettingsPath(wchar_t *path);

bool ReadSettings(AppState *state);
// Also writes the language, when the record's was named in the file or
// chosen by the listener.
bool WriteSettings(AppState *state);
// The interface's language: the one Settings.ini names, else the one of
// Windows' display language (Japanese for Japanese, English for any other).
bool ReadLanguage(AppState *state);
// False when Settings.ini says Results=0; true without the key or the file.
bool ReadResultsEnabled();
