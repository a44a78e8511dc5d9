#include "tests/support/screen_check.h"

#include "render/screen_paint.h"
#include "render/surfaces.h"
#include "tests/support/message_pump.h"
#include "tests/support/seven_segment.h"

#include <string.h>

void CreateReferenceScreens(ReferenceScreens *screens, int dpi) {
    screens->record = AppState();
    screens->record.dpi = dpi;
    CreateSurfaces(&screens->record);
}

void DestroyReferenceScreens(ReferenceScreens *screens) {
    DestroySurfaces(&screens->record);
}

Picture ComposeReference(ReferenceScreens *screens, const AppState &expected, int screen) {
    AppState *record = &screens->record;
    record->screen = screen;
    record->trial = expected.trial;
    record->score = expected.score;
    record->results_revealed = expected.results_revealed;
    memcpy(record->result_rows, expected.result_rows, sizeof record->result_rows);
    memcpy(record->trial_facts, expected.trial_facts, sizeof record->trial_facts);
    memcpy(record->chord_type, expected.chord_type, sizeof record->chord_type);
    record->language = expected.language;
    ComposeScreen(record);
    BITMAP bitmap = {};
    GetObject(record->back_bitmap, sizeof bitmap, &bitmap);
    return ReadPicture(record->back_dc, 0, 0, bitmap.bmWidth, bitmap.bmHeight);
}

std::string WaitForDisplayText(HWND window, int display_id, const std::string &text,
                               DWORD timeout_ms) {
    std::string shown;
    PollUntil(
        [&] {
            shown = ReadDisplayIn(CaptureClient(window), window, display_id);
            return shown == text;
        },
        timeout_ms);
    return shown;
}

int WaitForPicture(HWND window, const Picture &wanted, DWORD timeout_ms, Picture *shown) {
    // What a paint puts on the screen reaches it a little later, and the
    // reveal follows the final count's last tick.
    int differences = 0;
    PollUntil(
        [&] {
            *shown = CaptureClient(window);
            differences = CountDifferencesOutside(*shown, wanted, VisibleChildRects(window));
            return differences == 0;
        },
        timeout_ms);
    return differences;
}

bool WaitForSettledPicture(HWND window, const Picture &wanted, DWORD timeout_ms, Picture *shown) {
    if (WaitForPicture(window, wanted, timeout_ms, shown) != 0) {
        return false;
    }
    return PollUntil(
        [&] {
            Picture again = CaptureClient(window);
            bool same = again.pixels == shown->pixels;
            *shown = again;
            return same;
        },
        timeout_ms);
}
