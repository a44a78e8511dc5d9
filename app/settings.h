// The volume, remembered in Settings.ini in the current directory.
#pragma once

#include "engine/app_state.h"

constexpr int DEFAULT_VOLUME = 90;

bool ReadSettings(AppState *state);
bool WriteSettings(AppState *state);
