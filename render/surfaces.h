// Drawing resources that live as long as the main window: the back buffer,
// fonts, radio-row brushes and the four gradient backgrounds.
#pragma once

#include "engine/app_state.h"
#include "render/display_scale.h"

// The surfaces' size at 100 % display scale; at any other they are scaled
// (render/display_scale.h).
constexpr int SURFACE_WIDTH = 500;
constexpr int SURFACE_HEIGHT = 300;

typedef COLORREF (*ColorRamp)(double x);

// Builds everything at the record's DPI (RecordDpi).
bool CreateSurfaces(AppState *state);
bool DestroySurfaces(AppState *state);
// A white surface of width x height pixels compatible with `reference`.
void MakeSurface(HDC reference, int width, int height, HDC *dc, HBITMAP *bitmap);
COLORREF CyanRamp(double x);
COLORREF GreenRamp(double x);
// Gradients into a fresh white surface made for `dpi`: its size, the fade's
// width and the ramps' divisors are the 100 % ones scaled.
void FillHorizontalGradient(const Surface *surface, ColorRamp ramp, int dpi = BASE_DPI);
void FillVerticalGradient(const Surface *surface, ColorRamp ramp, int dpi = BASE_DPI);
