// The real Kestrune.exe in a hostile environment and closed in every state:
// it keeps working, ends with exit code 0 and saves the volume where it can.
#include "app/controls.h"
#include "app/notices.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/words.h"
#include "tests/support/message_boxes.h"
#include "tests/support/program.h"
#include "tests/support/screen_controls.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

const DWORD kToneTimeoutMs = 10000;

// Clicks through a whole test: the play buttons of each trial, an answer,
// Decide; then the result screen and back to the title.
// `volume` is set on the test screen first.
void CompleteATest(KestruneApp &app, int volume) {
    ASSERT_TRUE(app.Click(ID_START));
    ASSERT_TRUE(app.HasControl(ID_DECIDE));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, volume));
    for (int t = 0; t < 10; ++t) {
        for (int id : kPlayIds) {
            if (app.IsShown(id)) {
                ASSERT_TRUE(app.Click(id));
            }
        }
        if (app.IsShown(ID_HIGH_A)) {
            ASSERT_TRUE(app.Click(ID_HIGH_C));
            ASSERT_TRUE(app.Click(ID_LOW_A));
        } else {
            ASSERT_TRUE(app.Scroll(ID_PITCH_SLIDER, SB_PAGERIGHT));
        }
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));
    ASSERT_TRUE(app.Click(ID_BACK));
    EXPECT_TRUE(app.WaitForScreen(kTitleScreenIds));
}

enum class State { Title, MidTest, ToneInFlight, CountRunning, ResultCountRunning };

struct ExitCase {
    const char *name;
    State state;
    int volume; // set on the test screen before leaving (title: the default)
};

void PrintTo(const ExitCase &c, std::ostream *out) {
    *out << c.name;
}

class RealProgramExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(RealProgramExit, ExitCodeZeroAndTheVolumeSaved) {
    const ExitCase &c = GetParam();
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    KestruneApp app;
    // The tone's sound is kept (this case runs with the capture device), to
    // see that the close came while it sounded.
    CaptureMonitor capture;
    if (c.state == State::ToneInFlight) {
        ASSERT_STREQ(getenv("ALSA_CONFIG_PATH"), KESTRUNE_CAPTURE_CONF);
        capture.Follow(dir.File(CAPTURE_FILE_NAME));
    }
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    if (c.state != State::Title) {
        ASSERT_TRUE(app.Click(ID_START));
        ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, c.volume));
    }
    switch (c.state) {
    case State::MidTest:
        for (int t = 0; t < 4; ++t) {
            ASSERT_TRUE(app.Click(ID_DECIDE));
        }
        break;
    case State::ToneInFlight:
        ASSERT_TRUE(app.Click(ID_PLAY_B));
        ASSERT_TRUE(capture.WaitForSound(kToneTimeoutMs)) << "the play button sounded nothing";
        break;
    case State::CountRunning: ASSERT_TRUE(app.Click(ID_DECIDE)); break;
    case State::ResultCountRunning:
        for (int t = 0; t < 10; ++t) {
            ASSERT_TRUE(app.Click(ID_DECIDE));
        }
        break;
    default: break;
    }
    // Closed at once, while the tone sounds or the count runs.
    if (c.state == State::ResultCountRunning) {
        ASSERT_TRUE(app.PostClick(ID_RESULT_QUIT));
    } else {
        ASSERT_TRUE(app.Close());
    }
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(ReadSavedVolume(dir.path()), c.volume);
    if (c.state == State::ToneInFlight) {
        // The tone had begun and was cut short by the close: less than its second.
        CapturedStream stream;
        ASSERT_TRUE(ReadCapturedStream(dir.File(CAPTURE_FILE_NAME), &stream));
        std::vector<CapturedTone> tones = FindTones(stream.left);
        ASSERT_EQ(tones.size(), 1u);
        printf("  %d of %d frames sounded before the close\n", tones[0].frames, FRAMES_PER_TONE);
        EXPECT_LT(tones[0].frames, FRAMES_PER_TONE) << "the tone had ended before the close";
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, RealProgramExit,
    ::testing::Values(ExitCase{"Title", State::Title, 90}, ExitCase{"MidTest", State::MidTest, 41},
                      ExitCase{"ToneInFlight", State::ToneInFlight, 7},
                      ExitCase{"CountRunning", State::CountRunning, 64},
                      ExitCase{"ResultCountRunning", State::ResultCountRunning, 99}),
    [](const ::testing::TestParamInfo<ExitCase> &info) { return std::string(info.param.name); });

// No wave output device at all: every press of a play button tells the
// listener that nothing could be played (and what to do), the rest works.
TEST(RealProgramFaults, NoAudioDevice) {
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    KestruneApp app;
    // The program inherits this case's sound configuration: no device at all.
    ASSERT_STREQ(getenv("ALSA_CONFIG_PATH"), KESTRUNE_NO_DEVICE_CONF);
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    MessageBoxWatcher boxes(app.process_id());
    CompleteATest(app, 12);
    std::vector<std::wstring> texts = boxes.Texts();
    EXPECT_EQ(texts.size(), 6u * 3 + 4u * 2) << "one notice for each press";
    for (const std::wstring &text : texts) {
        EXPECT_EQ(text, std::wstring(kNoSoundNotice.text[WORDS_JA]));
    }
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(ReadSavedVolume(dir.path()), 12);
}

// A working folder nobody may write to (immutable, so even root cannot): the
// volume is read from it, the test works, the volume's write is lost (the
// results go to the Documents folder, ResultsFileProgram's case).
TEST(RealProgramFaults, ReadOnlyWorkingFolder) {
    std::string folder = WindowsPath(KESTRUNE_RELIABILITY_READONLY_DIR);
    ASSERT_EQ(ReadSavedVolume(folder), 37) << "the read-only folder was not prepared";
    // Where the system refuses the immutable attribute the folder stays
    // writable, and the case could prove nothing.
    std::string why = WhyWritable(folder);
    if (!why.empty()) {
        GTEST_SKIP() << "the folder could not be made read-only here: " << why;
    }

    ScratchFolder documents(ScratchFolder::DO_NOT_ENTER);
    DocumentsFolderAt moved(Wide(documents.path()));
    KestruneApp app;
    ASSERT_TRUE(app.Launch(folder));
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 37);
    ASSERT_TRUE(app.Click(ID_DECIDE));
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(ReadSavedVolume(folder), 37);
    // Again, through a whole test with another volume.
    KestruneApp again;
    ASSERT_TRUE(again.Launch(folder));
    MessageBoxWatcher boxes(again.process_id());
    CompleteATest(again, 0);
    ASSERT_TRUE(again.Close());
    EXPECT_TRUE(again.ExitsCleanly()) << "the program did not end with exit code 0";
    EXPECT_EQ(ReadSavedVolume(folder), 37);
}

} // namespace
