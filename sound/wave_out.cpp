#include "sound/wave_out.h"

// Minimal until sound output lands: no device is opened, so every play is refused.
bool OpenWaveOut(HWND, AppState *) {
    return false;
}
bool PlayTone(AppState *, int) {
    return false;
}
void OnWaveDone(AppState *) {}
bool CloseWaveOut(AppState *) {
    return false;
}
