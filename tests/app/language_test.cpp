// The interface's language chosen from the system menu, on a real main
// window in this process (Wine gives no other process a window's system
// menu): mid-trial, with the score counting, only the words change, and the
// choice outlives the program.
#include "app/controls.h"
#include "app/main_window.h"
#include "dsb/score_display.h"
#include "tests/support/accessible.h"
#include "tests/support/answers.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"
#include "tests/support/words.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

// The command of the system menu's item named `name` (0 when there is
// none), and whether it is marked.
UINT MenuItem(HWND window, const wchar_t *name, bool *marked) {
    HMENU menu = GetSystemMenu(window, FALSE);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        if (wcscmp(text, name) == 0) {
            *marked = (GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0;
            return GetMenuItemID(menu, i);
        }
    }
    return 0;
}

std::wstring Label(HWND window, int id) {
    wchar_t text[32] = {};
    GetWindowTextW(GetDlgItem(window, id), text, 32);
    return text;
}

TEST(LanguageMenu, SwitchedMidTrialOnlyTheWordsChangeAndTheChoiceIsKept) {
    ScratchFolder scratch;
    const std::string settings = scratch.File("Settings.ini");
    WriteWholeFile(settings, "[Settings]\r\nVolume=40\r\nResults=0\r\n[Other]\r\nKeep=yes\r\n");
    HWND window = OpenMainWindow();
    AppState *state = GetAppState();
    bool ja_marked = false, en_marked = true;
    UINT ja = MenuItem(window, kLanguageItems[WORDS_JA].text[0], &ja_marked);
    UINT en = MenuItem(window, kLanguageItems[WORDS_EN].text[0], &en_marked);
    ASSERT_NE(ja, 0u);
    ASSERT_NE(en, 0u);
    EXPECT_TRUE(ja_marked && !en_marked) << "a Japanese system without a Language key";

    // Trial 1 decided (its score still counting), trial 2 marked.
    Click(window, ID_START);
    AnswerAndDecide(window, state, true);
    Click(window, ID_HIGH_B);
    Click(window, ID_LOW_C);
    const AppState before = *state;
    ClearDisplayLog();
    SendMessageW(window, WM_SYSCOMMAND, en, 0);

    EXPECT_EQ(state->trial, 1);
    EXPECT_EQ(state->score, before.score);
    EXPECT_EQ(state->streak, before.streak);
    EXPECT_EQ(state->chosen_high, 2);
    EXPECT_EQ(state->chosen_low, 3);
    EXPECT_EQ(memcmp(state->result_rows, before.result_rows, sizeof before.result_rows), 0);
    EXPECT_EQ(SendDlgItemMessageA(window, ID_HIGH_B, BM_GETCHECK, 0, 0) +
                  SendDlgItemMessageA(window, ID_LOW_C, BM_GETCHECK, 0, 0),
              2 * BST_CHECKED)
        << "the marks";
    EXPECT_TRUE(DisplayLog().empty()) << "nothing told to the display mid-count";
    std::vector<AccessibleItem> items;
    ASSERT_TRUE(ReadAccessibleScreen(window, &items));
    std::vector<std::wstring> texts;
    for (const AccessibleItem &item : items) {
        if (item.is_control) {
            EXPECT_EQ(item.name, ControlWordsOf(item.id)->name.text[WORDS_EN]) << item.id;
        } else {
            texts.push_back(item.name);
        }
    }
    EXPECT_EQ(texts,
              (std::vector<std::wstring>{kComparisonInstruction.text[WORDS_EN], L"No.2 of 10"}));
    EXPECT_EQ(Label(window, ID_DECIDE), ControlWordsOf(ID_DECIDE)->label.text[WORDS_EN]);
    MenuItem(window, kLanguageItems[WORDS_JA].text[0], &ja_marked);
    MenuItem(window, kLanguageItems[WORDS_EN].text[0], &en_marked);
    EXPECT_TRUE(en_marked && !ja_marked) << "the mark moved to English";
    EXPECT_TRUE(PumpUntil([&] {
        return SendDlgItemMessageA(window, ID_SCORE_DISPLAY, DSBM_GETSHOWN, 0, 0) == before.score;
    })) << "the count came to rest on the score";

    DestroyWindow(window);
    DrainQuit();
    EXPECT_EQ(ReadWholeFile(settings),
              "[Settings]\r\nVolume=40\r\nResults=0\r\nLanguage=en\r\n[Other]\r\nKeep=yes\r\n");

    // The next start is in English.
    window = OpenMainWindow();
    EXPECT_EQ(Label(window, ID_START), ControlWordsOf(ID_START)->label.text[WORDS_EN]);
    MenuItem(window, kLanguageItems[WORDS_EN].text[0], &en_marked);
    EXPECT_TRUE(en_marked);
    DestroyWindow(window);
    DrainQuit();
}

} // namespace
