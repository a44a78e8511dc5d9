#include "app/settings.h"

// Minimal until the settings file lands: the default volume, nothing saved.
bool ReadSettings(AppState *state) {
    if (state != nullptr) {
        state->volume = DEFAULT_VOLUME;
    }
    return true;
}
bool WriteSettings(AppState *) {
    return true;
}
