#include "app/history_menu.h"

#include "app/results_file.h"
#include "history/history_window.h"
#include "lang/language.h"

static void ReadSource(HistorySource *source) {
    source->results_on = CurrentResultsFile(source->path, HISTORY_PATH_CHARS);
}

static void Toggle(HWND main_window, const AppState *state) {
    HistorySource source;
    ReadSource(&source);
    ToggleHistoryWindow(main_window, state->language, state->dpi, &source);
}

void AddHistoryItem(HWND main_window, int language) {
    HMENU menu = GetSystemMenu(main_window, FALSE);
    if (menu == nullptr) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_HISTORY, LanguageText(language, TEXT_HISTORY_MENU_ITEM));
}

bool OnHistoryCommand(HWND main_window, WPARAM command, const AppState *state) {
    if ((static_cast<UINT>(command) & 0xFFF0) != IDM_HISTORY) {
        return false;
    }
    Toggle(main_window, state);
    return true;
}

bool OnHistoryKey(const AppState *state, WPARAM key, bool repeated) {
    bool screen = state->screen == ScreenTitle || state->screen == ScreenResult;
    if (key != 'H' || !screen || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    if (!repeated) {
        Toggle(state->main_window, state);
    }
    return true;
}

void RefreshHistory() {
    if (FindHistoryWindow() == nullptr) {
        return;
    }
    HistorySource source;
    ReadSource(&source);
    ReloadHistoryWindow(&source);
}

void RelabelHistory(HWND main_window, int language) {
    HMENU menu = GetSystemMenu(main_window, FALSE);
    if (menu != nullptr) {
        ModifyMenuW(menu, IDM_HISTORY, MF_BYCOMMAND | MF_STRING, IDM_HISTORY,
                    LanguageText(language, TEXT_HISTORY_MENU_ITEM));
    }
    SetHistoryLanguage(language);
}
