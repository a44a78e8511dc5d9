#include "app/settings.h"

bool BuildSettingsPath(wchar_t *path) {
    path[0] = 0;
    DWORD length = GetCurrentDirectoryW(SETTINGS_DIR_LIMIT, path);
    // A directory that does not fit comes back as the size it would need,
    // with the buffer not filled in: appending to it would run past the end.
    if (length == 0 || length >= SETTINGS_DIR_LIMIT) {
        path[0] = 0;
        return false;
    }
    // The separator goes on even after a drive root's own backslash.
    lstrcatW(path, L"\\");
    lstrcatW(path, SETTINGS_WIDE(SETTINGS_FILE_NAME));
    return true;
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
    return true;
}
