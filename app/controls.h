// The catalogue of the twenty child controls and the operations on them.
#pragma once

#include "engine/app_state.h"
#include "lang/language.h"
#include "render/display_scale.h"

enum ControlId : int {
    ID_START = 1000,
    ID_QUIT = 1001,
    ID_HIGH_A = 2000,
    ID_HIGH_B = 2001,
    ID_HIGH_C = 2002,
    ID_LOW_A = 2003,
    ID_LOW_B = 2004,
    ID_LOW_C = 2005,
    ID_PLAY_A = 2006,
    ID_PLAY_B = 2007,
    ID_PLAY_C = 2008,
    ID_PITCH_SLIDER = 2009,
    ID_TARGET = 2010,
    ID_PLAY = 2011,
    ID_DECIDE = 2012,
    ID_SCORE_DISPLAY = 2013,
    ID_VOLUME_SLIDER = 2014,
    ID_BACK = 3000,
    ID_RESULT_QUIT = 3001,
    ID_FINAL_DISPLAY = 3002,
};

constexpr DWORD STYLE_PUSH = 0x50000000;        // child, visible, BS_PUSHBUTTON
constexpr DWORD STYLE_RADIO = 0x50000009;       // child, visible, BS_AUTORADIOBUTTON
constexpr DWORD STYLE_GROUP_RADIO = 0x50020009; // the same, starting a group
constexpr DWORD STYLE_BAR = 0x50000000;         // child, visible, SBS_HORZ
constexpr DWORD STYLE_DISPLAY = 0x50000000;     // child, visible

// One row of the catalogue: everything CreateWindowExA needs for a control.
// Places and sizes are those of 100 % display scale (96 dpi).
struct ControlDefinition {
    int id;
    DWORD ex_style;
    const char *class_name;
    const char *label; // a label the same in every language (A, Target), or null
    int label_text;    // otherwise the TextId of its label, or NO_LABEL_TEXT
    DWORD style;
    int x;
    int y;
    int width;
    int height;
};

constexpr int NO_LABEL_TEXT = -1;

constexpr int CONTROL_COUNT = 20;
extern const ControlDefinition ControlCatalogue[CONTROL_COUNT];

// The catalogue row of an id, or null when the id is not in it.
const ControlDefinition *FindControlDefinition(int id);

// The control's rectangle in the parent's client area at `dpi`: each edge
// of the catalogue's rectangle scaled on its own (render/display_scale.h).
RECT ControlRect(const ControlDefinition *row, int dpi);

// Makes the control at `dpi`, labelled in `language`. A label in the
// interface's language makes a Unicode window, so that it reads right
// whatever the system's code page and can change language in place; the
// others (A, Target ...) stay ANSI.
bool CreateControl(HWND parent, int id, int dpi = BASE_DPI, int language = LANGUAGE_JA);
// Labels every child whose label is in the interface's language anew, in `language`.
bool RelabelChildren(HWND parent, int language);
// Moves and sizes every child of the parent to its catalogue rectangle at
// `dpi`, shown or hidden as it is.
bool PlaceChildren(HWND parent, int dpi);
bool SetChildFonts(HWND parent, AppState *state);
bool DestroyChildren(HWND parent);
bool ShowTrialControls(AppState *state);
bool ResetAnswerControls(AppState *state);
