#include "render/screen_paint.h"

// Minimal until screen painting lands: nothing is drawn.
bool ComposeScreen(AppState *state) {
    return state != nullptr;
}
void FormatCentsNumber(double, char *text, int text_size) {
    if (text_size > 0) {
        text[0] = 0;
    }
}
