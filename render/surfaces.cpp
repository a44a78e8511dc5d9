#include "render/surfaces.h"

// Minimal until the surfaces land: nothing is made.
bool CreateSurfaces(AppState *state) {
    return state != nullptr;
}
bool DestroySurfaces(AppState *state) {
    return state != nullptr;
}
void MakeSurface(HDC, HDC *, HBITMAP *) {}
COLORREF CyanRamp(double) {
    return 0;
}
COLORREF GreenRamp(double) {
    return 0;
}
void FillHorizontalGradient(const Surface *, ColorRamp) {}
void FillVerticalGradient(const Surface *, ColorRamp) {}
