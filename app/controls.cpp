#include "app/controls.h"

// Minimal until the application shell lands: no controls are made.
bool CreateControl(HWND, int) {
    return false;
}
bool SetChildFonts(HWND, AppState *) {
    return true;
}
bool DestroyChildren(HWND) {
    return true;
}
bool ShowTrialControls(AppState *) {
    return false;
}
bool ResetAnswerControls(AppState *) {
    return false;
}
