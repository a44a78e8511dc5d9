#include "app/language_menu.h"

#include "app/accessibility.h"
#include "app/controls.h"
#include "app/history_menu.h"
#include "lang/language.h"
#include "render/screen_paint.h"

static UINT ItemOf(int language) {
    return IDM_LANGUAGE_FIRST + IDM_LANGUAGE_STEP * static_cast<UINT>(language);
}

static void MarkLanguage(HMENU menu, int language) {
    CheckMenuRadioItem(menu, ItemOf(0), ItemOf(LANGUAGE_COUNT - 1), ItemOf(language), MF_BYCOMMAND);
}

void AddLanguageItems(HWND window, const AppState *state) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        AppendMenuW(menu, MF_STRING, ItemOf(language), LanguageText(language, TEXT_LANGUAGE_NAME));
    }
    MarkLanguage(menu, state->language);
}

bool OnLanguageCommand(HWND, WPARAM command, AppState *state) {
    UINT item = static_cast<UINT>(command) & 0xFFF0;
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        if (item == ItemOf(language)) {
            SwitchLanguage(state, language);
            return true;
        }
    }
    return false;
}

void SwitchLanguage(AppState *state, int language) {
    if (state == nullptr || !IsLanguage(language)) {
        return;
    }
    state->language = language;
    state->language_chosen = 1;
    HWND window = state->main_window;
    MarkLanguage(GetSystemMenu(window, FALSE), language);
    RelabelChildren(window, language);
    ComposeScreen(state);
    InvalidateRect(window, nullptr, TRUE);
    AnnounceNames(window);
    RelabelHistory(window, language);
}
