#include "app/settings.h"

#include "lang/language.h"

bool BuildCurrentFolderPath(const wchar_t *name, wchar_t *path, int path_chars) {
    path[0] = 0;
    if (path_chars < static_cast<int>(SETTINGS_DIR_LIMIT)) {
        return false;
    }
    DWORD length = GetCurrentDirectoryW(SETTINGS_DIR_LIMIT, path);
    // A directory that does not fit comes back as the size it would need,
    // with the buffer not filled in: appending to it would run past the end.
    if (length == 0 || length >= SETTINGS_DIR_LIMIT ||
        static_cast<int>(length) + 1 + lstrlenW(name) >= path_chars) {
        path[0] = 0;
        return false;
    }
    // The separator goes on even after a drive root's own backslash.
    lstrcatW(path, L"\\");
    lstrcatW(path, name);
    return true;
}

bool BuildSettingsPath(wchar_t *path) {
    return BuildCurrentFolderPath(SETTINGS_WIDE(SETTINGS_FILE_NAME), path, SETTINGS_PATH_CHARS);
}

bool ReadSettings(AppState *state) {
    if (state == nullptr) {
        return true;
    }
    wchar_t path[SETTINGS_PATH_CHARS];
    int volume = DEFAULT_VOLUME;
    if (BuildSettingsPath(path)) {
        volume = static_cast<int>(GetPrivateProfileIntW(
            SETTINGS_WIDE(SETTINGS_SECTION), SETTINGS_WIDE(SETTINGS_KEY), DEFAULT_VOLUME, path));
    }
    if (volume < 0) {
        volume = 0;
    } else if (volume > VOLUME_MAX) {
        volume = VOLUME_MAX;
    }
    state->volume = volume;
    return true;
}

bool WriteSettings(AppState *state) {
    if (state == nullptr) {
        return true;
    }
    wchar_t path[SETTINGS_PATH_CHARS];
    // Without a whole path there is nowhere safe to write: the volume is lost.
    if (!BuildSettingsPath(path)) {
        return true;
    }
    // A new file is written in the ANSI code page by the wide function too;
    // the text is plain digits, so its bytes are the same as ever.
    wchar_t text[16];
    wsprintfW(text, L"%d", state->volume);
    WritePrivateProfileStringW(SETTINGS_WIDE(SETTINGS_SECTION), SETTINGS_WIDE(SETTINGS_KEY), text,
                               path);
    // Written only once chosen, so that a listener who never chose follows
    // Windows' display language from run to run.
    if (state->language_chosen != 0) {
        WritePrivateProfileStringW(SETTINGS_WIDE(SETTINGS_SECTION),
                                   SETTINGS_WIDE(SETTINGS_LANGUAGE_KEY),
                                   GetLanguageTable(state->language)->code, path);
    }
    return true;
}

bool ReadLanguage(AppState *state) {
    if (state == nullptr) {
        return true;
    }
    wchar_t path[SETTINGS_PATH_CHARS];
    wchar_t code[16] = {};
    if (BuildSettingsPath(path)) {
        GetPrivateProfileStringW(SETTINGS_WIDE(SETTINGS_SECTION),
                                 SETTINGS_WIDE(SETTINGS_LANGUAGE_KEY), L"", code, 16, path);
    }
    // A value that names no language is ignored, as an unreadable volume is.
    int named = LanguageOfCode(code);
    state->language_chosen = named >= 0 ? 1 : 0;
    state->language = named >= 0 ? named : LanguageOfDisplayLanguage(GetUserDefaultUILanguage());
    return true;
}

bool ReadResultsEnabled() {
    wchar_t path[SETTINGS_PATH_CHARS];
    if (!BuildSettingsPath(path)) {
        return true;
    }
    return GetPrivateProfileIntW(SETTINGS_WIDE(SETTINGS_SECTION),
                                 SETTINGS_WIDE(SETTINGS_RESULTS_KEY), 1, path) != 0;
}
