#include "app/settings.h"

bool BuildSettingsPath(char *path) {
    path[0] = 0;
    DWORD length = GetCurrentDirectoryA(SETTINGS_DIR_LIMIT, path);
    // A directory that does not fit comes back as the size it would need,
    // with the buffer not filled in: appending to it would run past the end.
    if (length == 0 || length >= SETTINGS_DIR_LIMIT) {
        path[0] = 0;
        return false;
    }
    // The separator goes on even after a drive root's own backslash.
    lstrcatA(path, "\\");
    lstrcatA(path, SETTINGS_FILE_NAME);
    return true;
}

bool ReadSettings(AppState *state) {
    if (state == nullptr) {
        return true;
    }
    char path[SETTINGS_PATH_BYTES];
    int volume = DEFAULT_VOLUME;
    if (BuildSettingsPath(path)) {
        volume = static_cast<int>(
            GetPrivateProfileIntA(SETTINGS_SECTION, SETTINGS_KEY, DEFAULT_VOLUME, path));
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
    char path[SETTINGS_PATH_BYTES];
    // Without a whole path there is nowhere safe to write: the volume is lost.
    if (!BuildSettingsPath(path)) {
        return true;
    }
    char text[16];
    wsprintfA(text, "%d", state->volume);
    WritePrivateProfileStringA(SETTINGS_SECTION, SETTINGS_KEY, text, path);
    return true;
}
