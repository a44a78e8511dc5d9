// The whole test from the keyboard: Tab and Shift+Tab through the visible
// controls in reading order, the arrow keys within a row of radio buttons,
// Enter for the screen's main action, and a key for each tone. Space and a
// slider's keys are the controls' own. A key does what the click it stands
// for does, through the same WM_COMMAND; a held key acts once.
#pragma once

#include "engine/app_state.h"

// Handles a message of the loop before it is translated, when it is a key
// of the program's own; false for everything else, which then goes on as
// usual (Space to a button, arrows to a scroll bar).
bool HandleKeyboardMessage(const MSG *msg, AppState *state);
// After a screen is built or a trial begins: the controls take the focus
// cues' state, and once the keyboard has been used the focus goes to the
// screen's first control. A mouse user's focus stays where it was.
void ArrangeFocus(AppState *state);
// The key that plays the tone of the button `id`, or 0.
WPARAM PlayKeyOf(int id);
