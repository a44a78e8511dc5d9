// Whole tests on the real Kestrune.exe, played by a listener who hears every
// tone in the captured sound: each screen is compared pixel by pixel with
// the picture the program's painting gives for the state the listener has
// worked out, the score display's digits are read off the screen and held
// against scores worked out by hand, and after quitting the captured stream
// and Settings.ini are checked.
#include "app/controls.h"
#include "engine/schedule.h"
#include "listener.h"
#include "tests/support/accessible.h"
#include "tests/support/screen_check.h"
#include "tests/support/message_pump.h"
#include "tests/support/picture.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/program.h"
#include "tests/support/results_csv.h"
#include "tests/support/screen_controls.h"
#include "tests/support/seven_segment.h"
#include "tests/support/words.h"

#include <gtest/gtest.h>

#include <oleacc.h>
#include <stdio.h>

#include <set>

namespace {

constexpr DWORD COUNT_TIMEOUT_MS = 20000;
constexpr DWORD PAINT_TIMEOUT_MS = 5000;

// One trial as it must come out: whether the answer is right, and the score
// after it.
struct TrialOutcome {
    bool right;
    int score;
};

// A first test in a fresh program (start score 100, no run yet) whose every
// answer is what the listener heard, or every answer the opposite, worked out
// by hand from the grading rules: right answers gain 30 x d, 50 x d in
// matching (off by 0 steps), and sqrt(d) times that once three are in a row
// (d = 1 - trial / 10); opposite ones (the slider at least 34 steps off) lose
// 30 x d^0.25 and 50 x d^0.25 once the run of wrong ones is under way; the
// score stays within 0..300.
const TrialOutcome kHeardTest[TRIAL_COUNT] = {
    {true, 130}, {true, 157}, {true, 183}, {true, 224}, {true, 262},
    {true, 297}, {true, 300}, {true, 300}, {true, 300}, {true, 300},
};
const TrialOutcome kOppositeTest[TRIAL_COUNT] = {
    {false, 70}, {false, 41}, {false, 13}, {false, 0}, {false, 0},
    {false, 0},  {false, 0},  {false, 0},  {false, 0}, {false, 0},
};
// The two first trials of a second test after kHeardTest: the run of ten
// carries over, so both gain sqrt(d) x 30 at once (30, then 28.46).
const TrialOutcome kSecondHeardTest[2] = {{true, 130}, {true, 158}};
// The chords as the result table names them, in the order of chord types
// (the single tone's name is the language's: kSingleToneWords).
const char *const kChordNamesUtf8[7] = {"", "[maj]", "[min]", "[7th]", "[m7]", "[dim]", "[aug]"};
// The key each play button gives a screen reader as its shortcut.
const std::pair<int, const wchar_t *> kPlayShortcuts[] = {
    {ID_PLAY_A, L"A"}, {ID_PLAY_B, L"B"}, {ID_PLAY_C, L"C"}, {ID_TARGET, L"T"}, {ID_PLAY, L"P"}};

class PlaythroughTest : public ::testing::Test {
  protected:
    // The screens at this run's display scale (the program's, in the same prefix).
    void SetUp() override { CreateReferenceScreens(&reference, ScreenDpi()); }
    void TearDown() override { DestroyReferenceScreens(&reference); }

    // The children are exactly the ids given, and the window's picture
    // outside them equals the reference.
    void ExpectScreen(int screen, const std::vector<int> &ids, const char *name) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(app.WaitForScreen(ids)) << "the screen's controls";
        Picture wanted = ComposeReference(&reference, listener.expected, screen);
        Picture shown;
        int differences = WaitForPicture(app.window(), wanted, PAINT_TIMEOUT_MS, &shown);
        EXPECT_EQ(differences, 0) << "pixels that differ from the program's own painting";
        if (differences != 0) {
            SavePicture(shown, std::string(name) + "-shown.bmp");
            SavePicture(wanted, std::string(name) + "-wanted.bmp");
        }
    }

    void ExpectTrialControls(bool comparison) {
        for (int id : kComparisonOnlyIds) {
            EXPECT_EQ(app.IsShown(id), comparison) << "control " << id;
        }
        for (int id : kMatchingOnlyIds) {
            EXPECT_EQ(app.IsShown(id), !comparison) << "control " << id;
        }
        for (int id : kAlwaysOnTestIds) {
            EXPECT_TRUE(app.IsShown(id)) << "control " << id;
        }
    }

    // After the trial `trial` is decided, the test's score display settles on
    // `score`, or on dashes from the sixth decided trial on. A wrong figure
    // ends the test: every later one would be wrong too.
    void ExpectDisplaySettlesAfter(int trial, int score) {
        std::string text = trial + 1 < 6 ? DisplayText(score) : "---";
        ASSERT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, text, COUNT_TIMEOUT_MS), text)
            << "the test's score display after trial " << trial;
    }

    // Answers and decides one trial in `style`; the outcome must be `want`:
    // the listener's own verdict, the score by the grading rules, and the
    // score the program shows.
    void PlayTrial(int t, AnswerStyle style, const TrialOutcome &want) {
        SCOPED_TRACE(::testing::Message() << "trial " << t);
        ASSERT_EQ(listener.expected.trial, t);
        bool comparison = IsComparisonTrial(t);
        bool answered =
            comparison ? AnswerComparison(&listener, style) : AnswerMatching(&listener, style);
        ASSERT_TRUE(answered) << listener.failure;
        ASSERT_TRUE(Decide(&listener)) << listener.failure;
        printf("  trial %d: %s, score %d\n", t, listener.verdicts.back() ? "right" : "wrong",
               listener.expected.score);
        EXPECT_EQ(listener.verdicts.back(), want.right) << "the listener's verdict";
        EXPECT_EQ(listener.expected.score, want.score) << "the grading rules on this history";
        if (t + 1 < TRIAL_COUNT) {
            ExpectDisplaySettlesAfter(t, want.score);
        }
    }

    // Ten trials answered in `style`, up to the revealed result screen.
    void PlayWholeTest(AnswerStyle style, const TrialOutcome *outcomes) {
        ExpectNewTest(&listener);
        EXPECT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, "100", COUNT_TIMEOUT_MS),
                  "100");
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            ExpectTrialControls(IsComparisonTrial(t));
            ExpectScreen(ScreenTest, kTestScreenIds,
                         IsComparisonTrial(t) ? "comparison" : "matching");
            PlayTrial(t, style, outcomes[t]);
            ASSERT_FALSE(HasFatalFailure());
        }
        // The final count runs, then the table and the cents line appear.
        std::string final_text = DisplayText(outcomes[TRIAL_COUNT - 1].score);
        EXPECT_EQ(WaitForDisplayText(app.window(), ID_FINAL_DISPLAY, final_text, COUNT_TIMEOUT_MS),
                  final_text)
            << "the final score display";
        listener.expected.results_revealed = 1;
        ExpectScreen(ScreenResult, kResultScreenIds, "result");
    }

    void ExpectTitle() { ExpectScreen(ScreenTitle, kTitleScreenIds, "title"); }

    // The screen as a screen reader reads it in `words` (WORDS_JA, WORDS_EN):
    // each shown control by its own name and label, no two alike, a play
    // button with its key, a slider's value its position, a score display's
    // value the figure its pixels show (a blank one's is hidden), and these
    // texts among the controls.
    void ExpectReadable(const char *name, int words, const std::vector<std::wstring> &texts) {
        SCOPED_TRACE(name);
        std::vector<AccessibleItem> items;
        ASSERT_TRUE(ReadAccessibleScreen(app.window(), &items));
        std::set<std::wstring> names;
        std::vector<std::wstring> read;
        Picture picture = CaptureClient(app.window());
        for (const AccessibleItem &item : items) {
            if (words == WORDS_EN) {
                EXPECT_FALSE(HasJapanese(item.name + item.value)) << "a Japanese character read";
            }
            if (!item.is_control) {
                read.push_back(item.name);
                continue;
            }
            SCOPED_TRACE(::testing::Message() << "control " << item.id);
            const ControlWording *want = ControlWordsOf(item.id);
            ASSERT_NE(want, nullptr);
            EXPECT_EQ(item.name, want->name.text[words]);
            EXPECT_TRUE(names.insert(item.name).second) << "a name twice";
            if (want->label.text[words] != nullptr) {
                wchar_t label[32] = {};
                GetWindowTextW(app.Control(item.id), label, 32);
                EXPECT_STREQ(label, want->label.text[words]) << "the label";
            }
            for (const auto &key : kPlayShortcuts) {
                if (key.first == item.id) {
                    EXPECT_EQ(item.shortcut, key.second);
                }
            }
            if (item.id == ID_PITCH_SLIDER || item.id == ID_VOLUME_SLIDER) {
                EXPECT_EQ(item.value, std::to_wstring(app.ScrollPos(item.id)));
            }
            if (item.id == ID_SCORE_DISPLAY || item.id == ID_FINAL_DISPLAY) {
                std::string digits = ReadDisplayIn(picture, app.window(), item.id);
                digits.erase(0, digits.find_first_not_of(' '));
                EXPECT_EQ(item.value,
                          digits == "---" ? kHiddenScoreValue.text[words] : Wide(digits));
            }
        }
        size_t shown = 0;
        for (int id : app.ChildIds()) {
            shown += app.IsShown(id) ? 1 : 0;
        }
        EXPECT_EQ(names.size(), shown) << "every shown control, once";
        EXPECT_EQ(read, texts) << "the painted texts";
    }

    // The title's texts in `words`.
    static std::vector<std::wstring> TitleTexts(int words) {
        std::vector<std::wstring> texts;
        for (const Wording &w : kTitleScreenTexts) {
            texts.push_back(w.text[words]);
        }
        return texts;
    }
    // A trial's: its instruction and its number.
    static std::vector<std::wstring> TrialTexts(int words, int trial) {
        const Wording &first =
            IsComparisonTrial(trial) ? kComparisonInstruction : kMatchingInstruction;
        return {first.text[words], L"No." + std::to_wstring(trial + 1) + L" of 10"};
    }
    // The revealed result's: the heading, the rows of `shown` (the record's
    // Japanese rows, the single tone named in `words`) and the cents line.
    static std::vector<std::wstring> ResultTexts(int words, const AppState &shown,
                                                 const wchar_t *cents) {
        std::vector<std::wstring> texts = {kTableHeading.text[words]};
        for (const char *row : shown.result_rows) {
            std::wstring text = FromCodePage932(row);
            size_t single = text.find(kSingleTone.text[WORDS_JA]);
            if (single != std::wstring::npos) {
                text.replace(single, 4, kSingleTone.text[words]);
            }
            texts.push_back(text);
        }
        texts.push_back(CentsLineOf(words, cents));
        return texts;
    }

    // A whole test heard right from its first trial (already on the screen)
    // to the revealed result, every screen held against the painting, and
    // read in `words` in the first comparison trial, the first matching
    // one, the first with the score hidden, and on the result screen.
    void PlayHeardTestAndRead(int words) {
        ExpectNewTest(&listener);
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            if (t == 0 || t == 3 || t == 6) {
                std::string shown = t < 6 ? DisplayText(listener.expected.score) : "---";
                EXPECT_EQ(
                    WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, shown, COUNT_TIMEOUT_MS),
                    shown);
                ExpectReadable(t == 3 ? "matching" : "comparison", words, TrialTexts(words, t));
            }
            ExpectScreen(ScreenTest, kTestScreenIds,
                         IsComparisonTrial(t) ? "comparison" : "matching");
            PlayTrial(t, AnswerStyle::Heard, kHeardTest[t]);
            ASSERT_FALSE(HasFatalFailure());
        }
        EXPECT_EQ(WaitForDisplayText(app.window(), ID_FINAL_DISPLAY, "300", COUNT_TIMEOUT_MS),
                  "300");
        listener.expected.results_revealed = 1;
        ExpectScreen(ScreenResult, kResultScreenIds, "result");
        ExpectReadable("result", words, ResultTexts(words, listener.expected, L"0.50"));
    }

    void Launch() {
        ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
        BeginListening(&listener, &app, dir.File(CAPTURE_FILE_NAME));
    }
    void Launch(const std::wstring &folder) {
        ASSERT_TRUE(app.Launch(folder)) << app.launch_failure();
        BeginListening(&listener, &app, folder + L"\\" + Wide(CAPTURE_FILE_NAME));
    }

    // A row of Results.csv against a test the listener took (`shown`, the
    // record of what its result screen showed):
    // its score as the display showed it, its cents as the cents line reads
    // for that score (`cents`), and each trial's fields as the result table
    // on the screen shows them.
    void ExpectRowOfTheTest(const std::string &line, const AppState &shown, const char *cents,
                            int words = WORDS_JA) {
        std::vector<std::string> f = CsvFields(line);
        ASSERT_EQ(f.size(), RESULTS_COLUMNS);
        EXPECT_EQ(f[2], std::to_string(shown.score));
        EXPECT_EQ(f[3], cents);
        EXPECT_EQ(f[4], "90");
        EXPECT_EQ(f[5], "1.1.0");
        size_t at = 6;
        for (int t = 0; t < TRIAL_COUNT; ++t) {
            SCOPED_TRACE(::testing::Message() << "trial " << t + 1);
            bool comparison = IsComparisonTrial(t);
            const std::string row = shown.result_rows[t];
            EXPECT_EQ(f[at], kTrialKindWords[words][comparison ? 0 : 1]);
            int chord = shown.chord_type[t];
            EXPECT_EQ(f[at + 1], chord == 0 ? kSingleToneWords[words] : kChordNamesUtf8[chord])
                << "the chord heard";
            const char *const labels[] = {"A: ", "B: ", "C: ", "Play: ", "Target: "};
            int tones = comparison ? 3 : 2;
            for (int i = 0; i < tones; ++i) {
                std::string tone = labels[comparison ? i : 3 + i] + f[at + 2 + i];
                EXPECT_NE(row.find(tone), std::string::npos) << tone << " in " << row;
            }
            at += 2 + tones;
            char answer[32];
            snprintf(answer, sizeof answer, comparison ? "%s(%s)" : "%3s(%3s)", f[at].c_str(),
                     f[at + 1].c_str());
            EXPECT_NE(row.find(answer), std::string::npos) << answer << " in " << row;
            char score[16];
            snprintf(score, sizeof score, "    %3s", f[at + 2].c_str());
            EXPECT_EQ(row.substr(row.size() - 7), score);
            at += 3;
        }
    }

    void QuitAndExpectVolume(int volume) {
        ASSERT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
        EXPECT_EQ(ReadSavedVolume(dir.path()), volume);
        ExpectCapturedTonesAsHeard();
    }

    // After the program has ended the whole stream is written: exactly the
    // tones the listener heard, each one second long.
    void ExpectCapturedTonesAsHeard() {
        CapturedStream stream;
        ASSERT_TRUE(ReadCapturedStream(dir.File(CAPTURE_FILE_NAME), &stream));
        EXPECT_EQ(stream.left, stream.right);
        std::vector<CapturedTone> tones = FindTones(stream.left);
        ASSERT_EQ(tones.size(), listener.heard.size());
        ASSERT_GT(tones.size(), 0u);
        for (size_t i = 0; i < tones.size(); ++i) {
            EXPECT_EQ(tones[i].frames, FRAMES_PER_TONE) << "tone " << i;
        }
        printf("  %d tones captured, each %d frames\n", static_cast<int>(tones.size()),
               FRAMES_PER_TONE);
    }

    ScratchFolder dir{ScratchFolder::DO_NOT_ENTER};
    KestruneApp app;
    Listener listener;
    ReferenceScreens reference;
};

TEST_F(PlaythroughTest, WithoutSettingsAListenerWhoHearsEverythingThenTheCloseButton) {
    DWORD start = GetTickCount();
    Launch();
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 90) << "no Settings.ini: the default volume";
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBTRACK, 60));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_THUMBPOSITION, 60));
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_ENDSCROLL));
    PlayWholeTest(AnswerStyle::Heard, kHeardTest);
    if (HasFatalFailure()) {
        return;
    }

    ASSERT_TRUE(app.Click(ID_BACK));
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 60);
    // A second test, left in its third trial with the close button.
    ExpectNewTest(&listener);
    for (int t = 0; t < 2; ++t) {
        PlayTrial(t, AnswerStyle::Heard, kSecondHeardTest[t]);
        ASSERT_FALSE(HasFatalFailure());
    }
    ASSERT_TRUE(app.Close());
    QuitAndExpectVolume(60);
    printf("  whole run %lu ms\n", GetTickCount() - start);
}

TEST_F(PlaythroughTest, WithSettingsAListenerWhoAnswersTheOppositeThenTheQuitButton) {
    DWORD start = GetTickCount();
    WritePrivateProfileStringA("Settings", "Volume", "25", dir.File("Settings.ini").c_str());
    WritePrivateProfileStringA("Other", "Keep", "yes", dir.File("Settings.ini").c_str());
    Launch();
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 25) << "the saved volume";
    ASSERT_TRUE(app.Scroll(ID_VOLUME_SLIDER, SB_PAGERIGHT));
    EXPECT_EQ(app.ScrollPos(ID_VOLUME_SLIDER), 35);
    PlayWholeTest(AnswerStyle::Opposite, kOppositeTest);
    if (HasFatalFailure()) {
        return;
    }

    ASSERT_TRUE(app.Click(ID_BACK));
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    EXPECT_EQ(WaitForDisplayText(app.window(), ID_SCORE_DISPLAY, "100", COUNT_TIMEOUT_MS), "100")
        << "a new test starts at 100, unblanked";
    EXPECT_FALSE(app.Click(ID_BACK)) << "Back belongs to the result screen only";
    // Leave the test the only way the test screen offers: through its ten trials.
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    ASSERT_TRUE(app.WaitForScreen(kResultScreenIds));
    ASSERT_TRUE(app.Click(ID_BACK));
    ASSERT_TRUE(app.PostClick(ID_QUIT));
    QuitAndExpectVolume(35);
    char keep[16] = {};
    GetPrivateProfileStringA("Other", "Keep", "", keep, sizeof keep,
                             dir.File("Settings.ini").c_str());
    EXPECT_STREQ(keep, "yes");
    printf("  whole run %lu ms\n", GetTickCount() - start);
}

// A listener who has only the keyboard (and a screen reader): Enter starts,
// the play keys sound the tones, Tab, the arrows and Space mark the answers,
// the slider's keys move it, Enter (held, so that it repeats) decides; no
// click reaches the program. The scores are the mouse's for the same
// answers, and each screen reads as it is drawn.
TEST_F(PlaythroughTest, AKeyboardAloneTakesTheWholeTestAndTheScreensRead) {
    Launch();
    ExpectTitle();
    ExpectReadable("title", WORDS_JA, TitleTexts(WORDS_JA));
    listener.keys_only = true;
    ASSERT_TRUE(app.PressKey(VK_RETURN, 3));
    ASSERT_TRUE(app.WaitForScreen(kTestScreenIds));
    PlayHeardTestAndRead(WORDS_JA);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(app.PressKey(VK_RETURN));
    ExpectTitle();
    // Alt+Space opens the system menu; from its top, Up goes round to the
    // last item (the history window's), Up again to English above it.
    ASSERT_TRUE(app.PressKey(VK_SPACE, 0, VK_MENU));
    ASSERT_TRUE(app.PressKey(VK_UP));
    ASSERT_TRUE(app.PressKey(VK_UP));
    ASSERT_TRUE(app.PressKey(VK_RETURN));
    EXPECT_TRUE(PollUntil(
        [&] {
            wchar_t label[32] = {};
            GetWindowTextW(app.Control(ID_START), label, 32);
            return wcscmp(label, ControlWordsOf(ID_START)->label.text[WORDS_EN]) == 0;
        },
        PAINT_TIMEOUT_MS))
        << "the menu's English, chosen from the keyboard";
    ASSERT_TRUE(app.Close());
    QuitAndExpectVolume(90);
}

// Two tests in a folder named in Hangul: Results.csv there holds the header
// and a row for each, whose scores and cents are the ones on the screen.
// Registered at 150 % (the 144-dpi prefix): the listener also reads every
// score off the scaled display and holds every screen against the scaled
// painting.
TEST_F(PlaythroughTest, TwoTestsInAHangulFolderAreKeptInResultsCsv) {
    std::wstring folder = Wide(dir.path()) + L"\\\ud55c\uad6d\uc5b4 \uacb0\uacfc";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    Launch(folder);
    ExpectTitle();
    ASSERT_TRUE(app.Click(ID_START));
    PlayWholeTest(AnswerStyle::Heard, kHeardTest);
    ASSERT_FALSE(HasFatalFailure());
    AppState first = listener.expected;
    ASSERT_TRUE(app.Click(ID_BACK));
    ASSERT_TRUE(app.Click(ID_START));
    // From 100 again: the first wrong answer ends the run of right ones and
    // costs 30 as in a fresh program, so the scores are kOppositeTest's.
    PlayWholeTest(AnswerStyle::Opposite, kOppositeTest);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(app.PostClick(ID_RESULT_QUIT));
    ASSERT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";

    ResultsFile file = ReadResultsFile(folder + L"\\Results.csv");
    ASSERT_TRUE(file.exists) << "no Results.csv in the folder";
    EXPECT_TRUE(file.has_mark);
    ASSERT_EQ(file.lines.size(), 3u);
    EXPECT_EQ(file.lines[0] + "\r\n", kResultsHeader);
    EXPECT_TRUE(file.ends_with_line_end);
    // 300 is 0.5 cents, shown "0.50"; 0 is 90 cents.
    {
        SCOPED_TRACE("first test");
        ExpectRowOfTheTest(file.lines[1], first, "0.50");
    }
    {
        SCOPED_TRACE("second test");
        ExpectRowOfTheTest(file.lines[2], listener.expected, "90");
    }
    EXPECT_GE(CsvFields(file.lines[2])[0], CsvFields(file.lines[1])[0]) << "in the order taken";
}

// A listener on a Windows of another display language (registered to run
// under an English locale), without a Language key: the whole test in
// English, every screen read in English words (no Japanese character), the
// scores those of the Japanese runs, and a new Results.csv with the English
// header whose row holds the screen's figures in English words.
TEST_F(PlaythroughTest, InEnglishEveryScreenAndTheResultsFileAreEnglish) {
    Launch();
    listener.expected.language = 1; // the screens the listener expects are the English ones
    ExpectTitle();
    ExpectReadable("title", WORDS_EN, TitleTexts(WORDS_EN));
    ASSERT_TRUE(app.Click(ID_START));
    PlayHeardTestAndRead(WORDS_EN);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(app.PostClick(ID_RESULT_QUIT));
    ASSERT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";

    ResultsFile file = ReadResultsFile(Wide(dir.File("Results.csv")));
    ASSERT_EQ(file.lines.size(), 2u);
    EXPECT_TRUE(file.has_mark);
    EXPECT_EQ(file.lines[0] + "\r\n", kResultsHeaderEnglish);
    ExpectRowOfTheTest(file.lines[1], listener.expected, "0.50", WORDS_EN);
    EXPECT_EQ(ReadWholeFile(dir.File("Settings.ini")), "[Settings]\r\nVolume=90\r\n")
        << "no language chosen, none written: the next run follows Windows again";
}

} // namespace
