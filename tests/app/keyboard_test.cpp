// Tab and Shift+Tab on the program's main window in the test process: the
// shown controls of each screen in reading order (left to right, top to
// bottom, as the requirements place them), round and back; a row of radio
// buttons is one stop, its marked button or its first.
#include "app/controls.h"
#include "app/keyboard.h"
#include "tests/support/answers.h"
#include "tests/support/main_window_fixture.h"

#include <vector>

namespace {

class KeyboardTest : public MainWindowFixture {
  protected:
    // The key as the message loop gets it, to the control that has the focus.
    void Press(WPARAM key, bool shift = false) {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        HWND focus = GetFocus();
        MSG msg = {focus != nullptr ? focus : window, WM_KEYDOWN, key, 1, 0, {0, 0}};
        EXPECT_TRUE(HandleKeyboardMessage(&msg, state));
    }
    // Tab once more than there are stops, then Shift+Tab once: the ids
    // focused in turn.
    std::vector<int> WalkTabs(size_t stops) {
        std::vector<int> seen;
        for (size_t i = 0; i <= stops; ++i) {
            Press(VK_TAB);
            seen.push_back(GetDlgCtrlID(GetFocus()));
        }
        Press(VK_TAB, true);
        seen.push_back(GetDlgCtrlID(GetFocus()));
        return seen;
    }
};

TEST_F(KeyboardTest, TabFollowsTheReadingOrderOfEveryScreen) {
    EXPECT_EQ(WalkTabs(2), (std::vector<int>{ID_START, ID_QUIT, ID_START, ID_QUIT}));
    Click(window, ID_START);
    Click(window, ID_HIGH_C);
    EXPECT_EQ(WalkTabs(7), (std::vector<int>{ID_PLAY_A, ID_PLAY_B, ID_PLAY_C, ID_LOW_A, ID_DECIDE,
                                             ID_VOLUME_SLIDER, ID_HIGH_C, ID_PLAY_A, ID_HIGH_C}));
    for (int t = 0; t < 3; ++t) {
        AnswerAndDecide(window, state, true);
    }
    // Since the keyboard was used, each trial begins on its first control.
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_PITCH_SLIDER);
    EXPECT_EQ(WalkTabs(5), (std::vector<int>{ID_TARGET, ID_PLAY, ID_DECIDE, ID_VOLUME_SLIDER,
                                             ID_PITCH_SLIDER, ID_TARGET, ID_PITCH_SLIDER}));
    for (int t = 3; t < TRIAL_COUNT; ++t) {
        AnswerAndDecide(window, state, true);
    }
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), ID_BACK);
    EXPECT_EQ(WalkTabs(2), (std::vector<int>{ID_RESULT_QUIT, ID_BACK, ID_RESULT_QUIT, ID_BACK}));
}

} // namespace
