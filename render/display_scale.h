// The display scale: everything the program places and sizes is written for
// 96 dpi (100 %) and scaled to the main window's DPI by one rounding rule.
#pragma once

#include "engine/app_state.h"

constexpr int BASE_DPI = 96;
// DPI values outside this range are not display scales (Windows offers 100
// to 500 %, 96 to 480 dpi); a record or message that carries one is not
// followed. Above it the five surfaces alone would take hundreds of megabytes.
constexpr int MIN_DPI = 48;
constexpr int MAX_DPI = 480;

// The rule: a coordinate v at 96 dpi becomes v * dpi / 96 rounded to the
// nearest integer, halves away from zero (MulDiv). It is applied to the
// coordinates of edges, never to widths or heights, so two rectangles that
// meet at 100 % still meet at any scale: left' = R(left), right' = R(right),
// width' = R(right) - R(left). Font heights follow the same rule.
int ScaleToDpi(int value, int dpi);
// Whether a DPI is a display scale the program follows (MIN_DPI..MAX_DPI).
bool IsDisplayDpi(int dpi);
// A rectangle given by its four edges at 96 dpi, each edge scaled.
RECT ScaledRect(int left, int top, int right, int bottom, int dpi);
// The DPI a record is drawn at: its own, or 96 when it has none (or one
// outside MIN_DPI..MAX_DPI).
int RecordDpi(const AppState *state);
// The client area (and every surface) at a DPI: 500 x 300 scaled.
int ScaledClientWidth(int dpi);
int ScaledClientHeight(int dpi);
