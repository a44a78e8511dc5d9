// Drawing resources that live as long as the main window: the back buffer,
// fonts, radio-row brushes and the four gradient backgrounds.
#pragma once

#include "engine/app_state.h"

constexpr int SURFACE_WIDTH = 500;
constexpr int SURFACE_HEIGHT = 300;

typedef COLORREF (*ColorRamp)(double x);

bool CreateSurfaces(AppState *state);
bool DestroySurfaces(AppState *state);
void MakeSurface(HDC reference, HDC *dc, HBITMAP *bitmap);
COLORREF CyanRamp(double x);
COLORREF GreenRamp(double x);
void FillHorizontalGradient(const Surface *surface, ColorRamp ramp);
void FillVerticalGradient(const Surface *surface, ColorRamp ramp);
