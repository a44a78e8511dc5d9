// The program's own main window made in the test process, driven the way a
// user's clicks and drags arrive, with a record of what the score displays
// are told.
#pragma once

#include "engine/app_state.h"

#include <vector>

// Registers the program's window classes (the display class wrapped so that
// it logs its DSBM_* messages before handing them on, unless `log_displays`
// is false), resets the one AppState and opens the main window.
HWND OpenMainWindow(bool log_displays = true);
// Removes a WM_QUIT that the window's destruction left in this thread's queue.
void DrainQuit();
// The volume ReadSettings puts in a fresh record (the current directory's
// Settings.ini); the record starts far outside 0..100, so a read that
// changes nothing shows.
int ReadSettingsVolume();
// WriteSettings of a record that holds `volume`.
void WriteSettingsVolume(int volume);
// Runs the message loop until the tone in flight on `state` has come back
// through its completion; false when none comes within 20 s.
bool WaitForToneEnd(const AppState *state);

// One message a score display received.
struct DisplayMessage {
    int id; // the display's control id
    UINT message;
    WPARAM wparam;
};
// Every DSBM_* message sent to any score display since the last ClearDisplayLog.
const std::vector<DisplayMessage> &DisplayLog();
// Forgets the messages logged so far.
void ClearDisplayLog();
// The logged messages of one display only, in the order received.
std::vector<DisplayMessage> DisplayMessagesFor(int id);

// Control ids of the window's children, first-created first.
std::vector<int> ChildIds(HWND parent);
// Whether the child `id` exists and is shown.
bool IsShown(HWND parent, int id);
// A click on the control `id` (BM_CLICK), the way a user's click arrives.
void Click(HWND parent, int id);
// The WM_COMMAND that control `id` sends its parent (by default: clicked).
void Command(HWND parent, int id, int code = BN_CLICKED);
// WM_HSCROLL from the scroll bar `id` to its parent, as a drag or a click on it sends.
void Scroll(HWND parent, int id, int code, int thumb = 0);
