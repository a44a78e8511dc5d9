// The program's words as the tests expect them, written out by hand in both
// languages (the closing note's list), never read from the program's
// tables: two texts swapped there must fail a test.
#pragma once

#include "app/controls.h"

#include <string>
#include <vector>

// Index of the tests' own: 0 Japanese, 1 English.
enum WordsLanguage { WORDS_JA = 0, WORDS_EN = 1, WORDS_LANGUAGES = 2 };

struct Wording {
    const wchar_t *text[WORDS_LANGUAGES];
};

// The message boxes (the moved results' notice is followed by the file's path).
extern const Wording kNoSoundNotice;
extern const Wording kResultsMovedNotice;
extern const Wording kResultsNotSavedNotice;
// The system menu's items.
extern const Wording kLanguageItems[WORDS_LANGUAGES];

// A control's visible label (null: none, or the same in every language)
// and the name a screen reader reads.
struct ControlWording {
    int id;
    Wording label;
    Wording name;
};
extern const std::vector<ControlWording> kControlWords;
const ControlWording *ControlWordsOf(int id);
// A score display's value while it shows dashes.
extern const Wording kHiddenScoreValue;

// The texts each screen paints, in reading order as a screen reader reads
// them (captions of controls left out): the title's, and a trial's first
// line by kind (its number follows).
extern const std::vector<Wording> kTitleScreenTexts;
extern const Wording kComparisonInstruction;
extern const Wording kMatchingInstruction;
// The result table's heading and the cents line around "%s".
extern const Wording kTableHeading;
extern const Wording kCentsLine;
// A single tone's name in the table, in place of a chord's.
extern const Wording kSingleTone;
// The captions beside the test screen's controls, as painted: 高 and 低,
// the volume's three.
extern const Wording kHighCaption;
extern const Wording kLowCaption;
extern const Wording kVolumeCaptions[3];

// The cents line with its number in.
std::wstring CentsLineOf(int language, const std::wstring &number);
// The language the program starts in without a Language key, by the rule:
// Japanese when Windows' display language is Japanese, English otherwise.
int DisplayLanguageWords();
// Whether a text holds a character of Japanese script (kana, kanji, the
// full-width forms and the ideographic punctuation).
bool HasJapanese(const std::wstring &text);
