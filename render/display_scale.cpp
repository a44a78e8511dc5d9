#include "render/display_scale.h"

#include "render/surfaces.h"

int ScaleToDpi(int value, int dpi) {
    // MulDiv rounds halves away from zero; at 96 dpi it is the identity.
    return MulDiv(value, dpi, BASE_DPI);
}

bool IsDisplayDpi(int dpi) {
    return dpi >= MIN_DPI && dpi <= MAX_DPI;
}

RECT ScaledRect(int left, int top, int right, int bottom, int dpi) {
    RECT r;
    SetRect(&r, ScaleToDpi(left, dpi), ScaleToDpi(top, dpi), ScaleToDpi(right, dpi),
            ScaleToDpi(bottom, dpi));
    return r;
}

int RecordDpi(const AppState *state) {
    if (state == nullptr || !IsDisplayDpi(state->dpi)) {
        return BASE_DPI;
    }
    return state->dpi;
}

int ScaledClientWidth(int dpi) {
    return ScaleToDpi(SURFACE_WIDTH, dpi);
}

int ScaledClientHeight(int dpi) {
    return ScaleToDpi(SURFACE_HEIGHT, dpi);
}
