// Kestrune on a system that is not set to Japanese. Its texts are Shift-JIS
// through the ANSI functions, legible only with code page 932, and its
// manifest asks for that code page whatever the locale. Two runs in two Wine
// prefixes show it: ForeignLocaleTest runs under LANG=C.UTF-8 (code page 1252
// for a program without such a manifest, as this driver is), reads the
// buttons and leaves a picture of every screen in a folder; LocaleTest, in the
// Japanese prefix, plays the same test and compares its screens with them.
#include "app/controls.h"
#include "engine/app_state.h"
#include "listener.h"
#include "tests/support/screen_check.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"
#include "tests/support/picture.h"
#include "tests/support/program.h"
#include "tests/support/screen_controls.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <string>

namespace {

constexpr DWORD COUNT_TIMEOUT_MS = 20000;
constexpr DWORD PAINT_TIMEOUT_MS = 5000;

// The ten rows of the result table (rows of 15 pixels from y = 100, x 50 to
// 450): they hold the random plan's frequencies, so they differ between two
// runs and are held against the Japanese painting of the foreign run's rows.
constexpr RECT TABLE_ROWS = {50, 100, 450, 250};
constexpr RECT WHOLE_CLIENT = {0, 0, PICTURE_WIDTH, PICTURE_HEIGHT};

// A button's label as the user must read it.
struct Label {
    int id;
    const wchar_t *text;
};
const Label kTitleLabels[] = {{ID_START, L"\u958b\u59cb"}, {ID_QUIT, L"\u7d42\u4e86"}};
const Label kTestLabels[] = {
    {ID_HIGH_A, L"A"},      {ID_PLAY_B, L"B"},  {ID_LOW_C, L"C"},
    {ID_TARGET, L"Target"}, {ID_PLAY, L"Play"}, {ID_DECIDE, L"\u6c7a\u5b9a"},
};
const Label kResultLabels[] = {{ID_BACK, L"\u623b\u308b"}, {ID_RESULT_QUIT, L"\u7d42\u4e86"}};

// Language=ja in the folder's Settings.ini, as a listener who chose Japanese.
void ChooseJapanese(const std::string &folder) {
    WritePrivateProfileStringA("Settings", "Language", "ja", (folder + "\\Settings.ini").c_str());
}

// The buttons read as the user must read them, through the wide interface.
void ExpectLabelsOf(const KestruneApp &app, const Label *labels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        wchar_t text[32] = {};
        GetWindowTextW(app.Control(labels[i].id), text, 32);
        EXPECT_EQ(wcscmp(text, labels[i].text), 0)
            << "control " << labels[i].id << " does not read as it should";
    }
}

enum ScreenShot { TITLE_SHOT, COMPARISON_SHOT, MATCHING_SHOT, RESULT_SHOT, SHOT_COUNT };
const char *const kShotNames[SHOT_COUNT] = {"title", "comparison", "matching", "result"};

// The screens of one run, each taken once it had settled: the title, the
// first trial with nothing marked, the fourth (a matching trial) with the
// slider where the program puts it, and the revealed result of a test
// answered right throughout.
struct RunShots {
    Picture shots[SHOT_COUNT];
    char result_rows[TRIAL_COUNT][RESULT_ROW_BYTES];
};

std::string ShotFolder() {
    return WindowsPath(KESTRUNE_LOCALE_SHOTS);
}

std::string ShotPath(int shot) {
    return ShotFolder() + "\\" + kShotNames[shot] + ".bmp";
}

class LocaleRun : public ::testing::Test {
  protected:
    void SetUp() override { CreateReferenceScreens(&reference_); }
    void TearDown() override { DestroyReferenceScreens(&reference_); }

    void ExpectLabels(const Label *labels, size_t count) { ExpectLabelsOf(app_, labels, count); }

    // The window once its painting outside the children is the program's
    // own and its children have painted too.
    Picture Settled(int screen, const char *name) {
        SCOPED_TRACE(name);
        Picture wanted = ComposeReference(&reference_, listener_.expected, screen);
        Picture shown;
        EXPECT_TRUE(WaitForSettledPicture(app_.window(), wanted, PAINT_TIMEOUT_MS, &shown))
            << "the window never settled on its own painting";
        return shown;
    }

    void AnswerRight(int trial) {
        bool answered = IsComparisonTrial(trial) ? AnswerComparison(&listener_, AnswerStyle::Heard)
                                                 : AnswerMatching(&listener_, AnswerStyle::Heard);
        ASSERT_TRUE(answered) << listener_.failure;
        ASSERT_TRUE(Decide(&listener_)) << listener_.failure;
        ASSERT_TRUE(listener_.verdicts.back()) << "trial " << trial << " was not answered right";
    }

    // A whole test answered right, its screens taken on the way. The
    // interface is Japanese by choice: on a system of another display
    // language the program would otherwise start in English.
    void PlayAndTake(RunShots *run) {
        ChooseJapanese(dir_.path());
        ASSERT_TRUE(app_.Launch(dir_.path())) << app_.launch_failure();
        BeginListening(&listener_, &app_, dir_.File(CAPTURE_FILE_NAME));
        ASSERT_TRUE(app_.WaitForScreen(kTitleScreenIds));
        ExpectLabels(kTitleLabels, ARRAYSIZE(kTitleLabels));
        run->shots[TITLE_SHOT] = Settled(ScreenTitle, "title");

        ASSERT_TRUE(app_.Click(ID_START));
        ExpectNewTest(&listener_);
        ASSERT_TRUE(app_.WaitForScreen(kTestScreenIds));
        ExpectLabels(kTestLabels, ARRAYSIZE(kTestLabels));
        ASSERT_EQ(WaitForDisplayText(app_.window(), ID_SCORE_DISPLAY, "100", COUNT_TIMEOUT_MS),
                  "100");
        run->shots[COMPARISON_SHOT] = Settled(ScreenTest, "comparison");
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            if (t == 3) {
                // Three right answers: the display has counted to 183 and rests.
                ASSERT_EQ(
                    WaitForDisplayText(app_.window(), ID_SCORE_DISPLAY, "183", COUNT_TIMEOUT_MS),
                    "183");
                run->shots[MATCHING_SHOT] = Settled(ScreenTest, "matching");
            }
            AnswerRight(t);
            if (HasFatalFailure()) {
                return;
            }
        }
        ASSERT_TRUE(app_.WaitForScreen(kResultScreenIds));
        ExpectLabels(kResultLabels, ARRAYSIZE(kResultLabels));
        ASSERT_EQ(WaitForDisplayText(app_.window(), ID_FINAL_DISPLAY, "300", COUNT_TIMEOUT_MS),
                  "300");
        listener_.expected.results_revealed = 1;
        run->shots[RESULT_SHOT] = Settled(ScreenResult, "result");
        memcpy(run->result_rows, listener_.expected.result_rows, sizeof run->result_rows);
        ASSERT_TRUE(app_.PostClick(ID_RESULT_QUIT));
        EXPECT_TRUE(app_.ExitsCleanly());
    }

    ScratchFolder dir_{ScratchFolder::DO_NOT_ENTER};
    KestruneApp app_;
    Listener listener_;
    ReferenceScreens reference_;
};

using ForeignLocaleTest = LocaleRun;
using LocaleTest = LocaleRun;

TEST_F(ForeignLocaleTest, ButtonsReadInJapaneseAndTheScreensAreKept) {
    ASSERT_NE(GetACP(), 932u) << "this run must be in a locale that is not Japanese";
    RemoveTree(ShotFolder());
    RunShots run;
    PlayAndTake(&run);
    if (HasFailure()) {
        return;
    }
    ASSERT_TRUE(CreateDirectoryA(ShotFolder().c_str(), nullptr)) << ShotFolder();
    for (int shot = 0; shot < SHOT_COUNT; ++shot) {
        ASSERT_TRUE(SavePicture(run.shots[shot], ShotPath(shot))) << ShotPath(shot);
    }
    WriteWholeFile(ShotFolder() + "\\result-rows.bin",
                   std::string(&run.result_rows[0][0], sizeof run.result_rows));
}

TEST_F(LocaleTest, TheForeignLocaleRunShowsTheJapaneseScreens) {
    ASSERT_EQ(GetACP(), 932u) << "this run must be in the Japanese locale";
    RunShots foreign;
    for (int shot = 0; shot < SHOT_COUNT; ++shot) {
        ASSERT_TRUE(LoadPicture(ShotPath(shot), &foreign.shots[shot]))
            << "the run in the foreign locale left no " << kShotNames[shot] << " picture";
    }
    std::string rows = ReadWholeFile(ShotFolder() + "\\result-rows.bin");
    ASSERT_EQ(rows.size(), sizeof foreign.result_rows);
    memcpy(foreign.result_rows, rows.data(), rows.size());

    RunShots japanese;
    PlayAndTake(&japanese);
    ASSERT_FALSE(HasFatalFailure());
    for (int shot = 0; shot < SHOT_COUNT; ++shot) {
        SCOPED_TRACE(kShotNames[shot]);
        int differences =
            shot == RESULT_SHOT
                ? CountDifferencesOutside(foreign.shots[shot], japanese.shots[shot], {TABLE_ROWS})
                : CountDifferences(foreign.shots[shot], japanese.shots[shot], WHOLE_CLIENT);
        EXPECT_EQ(differences, 0) << "pixels that differ between the two locales";
        if (differences != 0) {
            SavePicture(japanese.shots[shot], ShotFolder() + "\\" + kShotNames[shot] + "-ja.bmp");
        }
    }
    // The foreign run's own rows, as the Japanese locale paints them.
    AppState record = listener_.expected;
    memcpy(record.result_rows, foreign.result_rows, sizeof record.result_rows);
    Picture table = ComposeReference(&reference_, record, ScreenResult);
    EXPECT_EQ(CountDifferences(foreign.shots[RESULT_SHOT], table, TABLE_ROWS), 0)
        << "the foreign run's result table differs from its Japanese painting";
}

// Kestrune.exe as Windows 10 runs it on a system that is not set to
// Japanese: the manifest's code page setting (a locale name, which Windows
// 10 does not honour) taken out of a copy of the executable. The program
// then runs with the system's code page, and the Japanese buttons must read
// right all the same, and look as they do with code page 932.
TEST(NoCodePageProgramTest, TheJapaneseButtonsReadRightWithoutTheManifestsCodePage) {
    ASSERT_NE(GetACP(), 932u) << "this run must be in a locale that is not Japanese";
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    std::string bytes = ReadWholeFile(KestruneExePath());
    const std::string open = "<activeCodePage ";
    const std::string close = "</activeCodePage>";
    size_t begin = bytes.find(open);
    ASSERT_NE(begin, std::string::npos) << "the manifest has no code page setting";
    size_t end = bytes.find(close, begin);
    ASSERT_NE(end, std::string::npos);
    end += close.size();
    bytes.replace(begin, end - begin, std::string(end - begin, ' ')); // the XML stays well-formed
    ASSERT_EQ(bytes.find("activeCodePage"), std::string::npos);
    std::string copy = dir.File("Kestrune-without-code-page.exe");
    WriteWholeFile(copy, bytes);

    // The title and the first trial of the real program (whose manifest Wine
    // honours: code page 932) and of the copy, side by side.
    struct Run {
        UINT code_page;
        Picture title, trial;
    } runs[2];
    // What the windows must show outside their buttons; each picture is
    // taken once the window has settled on it (a busy machine paints late).
    ReferenceScreens reference;
    CreateReferenceScreens(&reference);
    AppState first_trial = {};
    Picture title_wanted = ComposeReference(&reference, first_trial, ScreenTitle);
    Picture trial_wanted = ComposeReference(&reference, first_trial, ScreenTest);
    DestroyReferenceScreens(&reference);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "the real program" : "the copy");
        ScratchFolder work(ScratchFolder::DO_NOT_ENTER);
        KestruneApp app;
        if (i == 1) {
            app.UseExecutable(copy);
        }
        ChooseJapanese(work.path());
        ASSERT_TRUE(app.Launch(work.path())) << app.launch_failure();
        runs[i].code_page = ProcessAnsiCodePage(app.process());
        ASSERT_TRUE(app.WaitForScreen(kTitleScreenIds));
        ExpectLabelsOf(app, kTitleLabels, ARRAYSIZE(kTitleLabels));
        EXPECT_TRUE(
            WaitForSettledPicture(app.window(), title_wanted, PAINT_TIMEOUT_MS, &runs[i].title))
            << "the title never settled on its painting";
        ASSERT_TRUE(app.Click(ID_START));
        ASSERT_TRUE(app.WaitForScreen(kTestScreenIds));
        ExpectLabelsOf(app, kTestLabels, ARRAYSIZE(kTestLabels));
        ASSERT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, "100", COUNT_TIMEOUT_MS),
                  "100");
        EXPECT_TRUE(
            WaitForSettledPicture(app.window(), trial_wanted, PAINT_TIMEOUT_MS, &runs[i].trial))
            << "the first trial never settled on its painting";
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            ASSERT_TRUE(app.Click(ID_DECIDE));
        }
        ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));
        ExpectLabelsOf(app, kResultLabels, ARRAYSIZE(kResultLabels));
        ASSERT_TRUE(app.PostClick(ID_RESULT_QUIT));
        EXPECT_TRUE(app.ExitsCleanly());
    }
    printf("  code page of the real program %u, of the copy without the setting %u\n",
           runs[0].code_page, runs[1].code_page);
    EXPECT_EQ(runs[0].code_page, 932u) << "the real program, with its manifest's code page";
    EXPECT_NE(runs[1].code_page, 932u) << "the copy, without it";
    EXPECT_NE(runs[1].code_page, 0u) << "the copy's code page could not be read";
    EXPECT_EQ(CountDifferences(runs[0].title, runs[1].title, WHOLE_CLIENT), 0)
        << "the title screen, its buttons included";
    EXPECT_EQ(CountDifferences(runs[0].trial, runs[1].trial, WHOLE_CLIENT), 0)
        << "the first trial, its buttons included";
}

// The real program in a folder whose name the ANSI code page cannot spell
// (José under code page 932, Hangul under any): the volume is kept there.
TEST(UnicodeFolderProgramTest, TheVolumeIsKeptInTheFolderItself) {
    const wchar_t *const names[] = {L"Jos\u00e9", L"\ud55c\uad6d\uc5b4 \U0001F3B5"};
    for (const wchar_t *name : names) {
        SCOPED_TRACE(::testing::Message() << "folder of " << wcslen(name) << " UTF-16 units");
        ScratchFolder parent(ScratchFolder::DO_NOT_ENTER);
        std::wstring folder = Wide(parent.path()) + L"\\" + name;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        {
            KestruneApp app;
            ASSERT_TRUE(app.Launch(folder)) << app.launch_failure();
            ASSERT_TRUE(app.Click(ID_START));
            EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 90);
            ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, 42));
            ASSERT_TRUE(app.Close());
            ASSERT_TRUE(app.ExitsCleanly());
        }
        EXPECT_EQ(ReadWholeFile(folder + L"\\Settings.ini"), "[Settings]\r\nVolume=42\r\n");
        std::vector<std::wstring> beside = FolderEntries(Wide(parent.path()));
        EXPECT_TRUE(beside.size() == 1 && beside[0] == name) << "something was written elsewhere";
        // The next start reads it back.
        KestruneApp again;
        ASSERT_TRUE(again.Launch(folder)) << again.launch_failure();
        ASSERT_TRUE(again.Click(ID_START));
        EXPECT_EQ(again.ScrollPos(ID_VOLUME_SLIDER), 42);
        ASSERT_TRUE(again.Close());
        EXPECT_TRUE(again.ExitsCleanly());
    }
}

} // namespace
