// Every text of the interface in English. Keep each %d and %s where it
// stands; each text must fit where the Japanese one is drawn (the render
// tests measure them).
#include "lang/language.h"

static constexpr TextEntry kTexts[] = {
    {TEXT_LANGUAGE_NAME, L"English"},

    {TEXT_TITLE_HEADING, L"Kestrune Ver1.1"},
    {TEXT_TITLE_LEAD, L"A quick test of how finely you hear pitch."},
    {TEXT_TITLE_NOTE_1, L"1. There are %d trials. The test takes about 3 minutes."},
    {TEXT_TITLE_NOTE_2, L"2. Your score is worked out again after every trial."},
    {TEXT_TITLE_NOTE_3, L"3. The score is shown at first, then hidden halfway through."},
    {TEXT_TITLE_NOTE_4, L"4. The trials get harder or easier to match how you do."},
    {TEXT_TITLE_NOTE_5, L"5. Set the volume as you like, but not too loud."},
    {TEXT_TITLE_START_HINT, L"Press Start to begin. There is no time limit."},

    {TEXT_COMPARISON_INSTRUCTION, L"Mark the highest tone and the lowest tone."},
    {TEXT_MATCHING_INSTRUCTION, L"Move the slider until Play matches Target."},
    {TEXT_HIGH_CAPTION, L"High"},
    {TEXT_LOW_CAPTION, L"Low"},
    {TEXT_TRIAL_NUMBER, L"No.%d of %d"},
    {TEXT_VOLUME_CAPTION, L"Volume"},
    {TEXT_VOLUME_SOFT_CAPTION, L"\u2212"},
    {TEXT_VOLUME_LOUD_CAPTION, L"+"},
    {TEXT_SCORE_CAPTION, L"Score"},

    {TEXT_FINAL_SCORE_CAPTION, L"Final Score"},
    {TEXT_TABLE_HEADING, L"       Tones played [Hz] and chord       Answer(right) Score"},
    {TEXT_SINGLE_TONE, L"[tone]"},
    {TEXT_CENTS_LINE, L"You can tell pitches %s cents apart."},

    {TEXT_BUTTON_START, L"Start"},
    {TEXT_BUTTON_QUIT, L"Quit"},
    {TEXT_BUTTON_DECIDE, L"OK"},
    {TEXT_BUTTON_BACK, L"Back"},

    {TEXT_NAME_HIGH_A, L"Highest A"},
    {TEXT_NAME_HIGH_B, L"Highest B"},
    {TEXT_NAME_HIGH_C, L"Highest C"},
    {TEXT_NAME_LOW_A, L"Lowest A"},
    {TEXT_NAME_LOW_B, L"Lowest B"},
    {TEXT_NAME_LOW_C, L"Lowest C"},
    {TEXT_NAME_PLAY_A, L"Listen to A"},
    {TEXT_NAME_PLAY_B, L"Listen to B"},
    {TEXT_NAME_PLAY_C, L"Listen to C"},
    {TEXT_NAME_PITCH, L"Pitch"},
    {TEXT_NAME_TARGET, L"Listen to Target"},
    {TEXT_NAME_PLAY, L"Listen to Play"},
    {TEXT_NAME_SCORE, L"Score"},
    {TEXT_NAME_VOLUME, L"Volume"},
    {TEXT_NAME_FINAL_SCORE, L"Final score"},
    {TEXT_VALUE_HIDDEN, L"Hidden"},

    {TEXT_NOTICE_NO_SOUND,
     L"The tone could not be played.\r\n\r\n"
     L"Check that speakers or headphones are connected and that an output device is "
     L"turned on in the Windows sound settings, then press the button again."},
    {TEXT_NOTICE_RESULTS_MOVED,
     L"Results cannot be saved in this folder, so they will be saved in this file:\r\n\r\n"},
    {TEXT_NOTICE_RESULTS_NOT_SAVED,
     L"The results could not be saved: the Documents folder cannot be written to.\r\n\r\n"
     L"You can go on, but any results not saved by the time you quit will be lost."},

    {TEXT_CSV_ENDED, L"Date and time"},
    {TEXT_CSV_UTC_OFFSET, L"UTC offset"},
    {TEXT_CSV_SCORE, L"Score"},
    {TEXT_CSV_CENTS, L"Discrimination[cent]"},
    {TEXT_CSV_VOLUME, L"Volume"},
    {TEXT_CSV_VERSION, L"Version"},
    {TEXT_CSV_TRIAL_COLUMN, L"Trial %d %s"},
    {TEXT_CSV_KIND, L"type"},
    {TEXT_CSV_CHORD, L"chord"},
    {TEXT_CSV_ANSWER, L"answer"},
    {TEXT_CSV_RIGHT_ANSWER, L"right answer"},
    {TEXT_CSV_TRIAL_SCORE, L"score"},
    {TEXT_CSV_COMPARISON, L"comparison"},
    {TEXT_CSV_MATCHING, L"matching"},

    // History window.
    {TEXT_HISTORY_CAPTION, L"Results over time"},
    {TEXT_HISTORY_MENU_ITEM, L"Results over time\tH"},
    {TEXT_HISTORY_FIGURE, L"%s cents"},
    {TEXT_HISTORY_ABOUT_THREE,
     L"The geometric mean of your last three tests. A single test varies by about \u00d71.5; "
     L"three together are the figure to trust."},
    {TEXT_HISTORY_ABOUT_TWO,
     L"The geometric mean of your two tests. Take one more to make three: a single test "
     L"varies by about \u00d71.5."},
    {TEXT_HISTORY_ABOUT_ONE,
     L"Your one test so far. Take two more to make three: a single test varies by about "
     L"\u00d71.5."},
    {TEXT_HISTORY_NO_TESTS, L"Your first completed test will appear here."},
    {TEXT_HISTORY_LOADING, L"Reading your results\u2026"},
    {TEXT_HISTORY_UNREAD_ONE, L"1 row could not be read."},
    {TEXT_HISTORY_UNREAD_MANY, L"%d rows could not be read."},
    {TEXT_HISTORY_RESULTS_OFF,
     L"Results are not being kept: Settings.ini says Results=0. Delete that line to keep "
     L"them again."},
    {TEXT_HISTORY_CANNOT_READ, L"%s could not be read. %s"},
    {TEXT_HISTORY_WHY_IN_USE, L"Another program has it open and lets no one read it."},
    {TEXT_HISTORY_WHY_DENIED, L"You do not have permission to read it."},
    {TEXT_HISTORY_WHY_ERROR, L"Windows error %d."},
    {TEXT_HISTORY_COLUMN_ENDED, L"Date and time"},
    {TEXT_HISTORY_COLUMN_SCORE, L"Score"},
    {TEXT_HISTORY_COLUMN_CENTS, L"Cents"},
    {TEXT_HISTORY_TABLE_NAME, L"Tests, newest first"},
    {TEXT_HISTORY_ROW_NAME, L"%s, score %s, %s cents"},
    {TEXT_HISTORY_AXIS_CENTS, L"cents"},
    {TEXT_HISTORY_LINE_LABEL, L"mean of last 3 tests, band \u00d7\u00f71.5"},
    {TEXT_HISTORY_PLOT_SUMMARY,
     L"Plot of %d tests from %s to %s. Newest: %s cents. Combined figure: %s cents."},
    {TEXT_HISTORY_PLOT_ONE_TEST, L"Plot of 1 test, on %s: %s cents."},
};
static_assert(IsCompleteTable(kTexts, sizeof kTexts / sizeof kTexts[0]),
              "every text once, in TextId order");

extern const TextEntry *const kEnglishTexts;
const TextEntry *const kEnglishTexts = kTexts;
