#include "engine/result_record.h"

#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/schedule.h"
#include "kestrune_version.h"
#include "lang/language.h"

#include <string.h>

static const char kLineEnd[] = "\r\n";
static const char kByteOrderMark[] = "\xEF\xBB\xBF";

static void StartLine(CsvLine *line) {
    line->text[0] = 0;
    line->length = 0;
    line->fields = 0;
    line->overflow = false;
}

static void AppendByte(CsvLine *line, char byte) {
    // One byte stays free for the terminator.
    if (line->length + 1 >= RESULT_LINE_BYTES) {
        line->overflow = true;
        return;
    }
    line->text[line->length++] = byte;
    line->text[line->length] = 0;
}

// Every byte of a character beyond ASCII is 0x80 or above in UTF-8, so it
// can never be taken for a comma, a quote or a line end.
static bool NeedsQuotes(const char *field) {
    return strpbrk(field, ",\"\r\n") != nullptr;
}

void AppendCsvField(CsvLine *line, const char *field) {
    if (line->fields > 0) {
        AppendByte(line, ',');
    }
    line->fields += 1;
    bool quoted = NeedsQuotes(field);
    if (quoted) {
        AppendByte(line, '"');
    }
    for (const char *c = field; *c != 0; ++c) {
        if (*c == '"') {
            AppendByte(line, '"');
        }
        AppendByte(line, *c);
    }
    if (quoted) {
        AppendByte(line, '"');
    }
}

static void AppendNumberField(CsvLine *line, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    AppendCsvField(line, text);
}

// Hz as the result table prints them: whole part and two truncated decimals.
static void AppendHertzField(CsvLine *line, int centihertz) {
    char text[32];
    wsprintfA(text, "%d.%02d", centihertz / 100, centihertz % 100);
    AppendCsvField(line, text);
}

// A text of the language's table as a field, in UTF-8.
static void AppendWideField(CsvLine *line, const wchar_t *text) {
    char field[RESULT_LINE_BYTES];
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, field, sizeof field, nullptr, nullptr) == 0) {
        line->overflow = true;
        return;
    }
    AppendCsvField(line, field);
}

static void AppendWord(CsvLine *line, int language, TextId id) {
    AppendWideField(line, LanguageText(language, id));
}

// A trial's column title, "問<n> <what>" in Japanese.
static void AppendTrialTitle(CsvLine *line, int language, int trial, const wchar_t *what) {
    wchar_t text[128];
    FormatLanguageText(text, 128, language, TEXT_CSV_TRIAL_COLUMN, trial + 1, what);
    AppendWideField(line, text);
}

static void AppendTrialWord(CsvLine *line, int language, int trial, TextId what) {
    AppendTrialTitle(line, language, trial, LanguageText(language, what));
}

// The finished line with its line end, into `out`; its length, or 0.
static int FinishLine(CsvLine *line, char *out, int size) {
    for (const char *c = kLineEnd; *c != 0; ++c) {
        AppendByte(line, *c);
    }
    if (line->overflow || out == nullptr || size <= line->length) {
        return 0;
    }
    memcpy(out, line->text, line->length + 1);
    return line->length;
}

int FormatResultHeader(int language, char *out, int size) {
    CsvLine line;
    StartLine(&line);
    static const TextId kTestTitles[] = {
        TEXT_CSV_ENDED, TEXT_CSV_UTC_OFFSET, TEXT_CSV_SCORE,
        TEXT_CSV_CENTS, TEXT_CSV_VOLUME,     TEXT_CSV_VERSION,
    };
    for (TextId title : kTestTitles) {
        AppendWord(&line, language, title);
    }
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        TrialInfo info;
        GetTrialInfoAt(t, &info);
        AppendTrialWord(&line, language, t, TEXT_CSV_KIND);
        AppendTrialWord(&line, language, t, TEXT_CSV_CHORD);
        // The tones' names are the buttons', the same in every language.
        if (info.is_comparison) {
            AppendTrialTitle(&line, language, t, L"A[Hz]");
            AppendTrialTitle(&line, language, t, L"B[Hz]");
            AppendTrialTitle(&line, language, t, L"C[Hz]");
        } else {
            AppendTrialTitle(&line, language, t, L"Play[Hz]");
            AppendTrialTitle(&line, language, t, L"Target[Hz]");
        }
        AppendTrialWord(&line, language, t, TEXT_CSV_ANSWER);
        AppendTrialWord(&line, language, t, TEXT_CSV_RIGHT_ANSWER);
        AppendTrialWord(&line, language, t, TEXT_CSV_TRIAL_SCORE);
    }
    return FinishLine(&line, out, size);
}

int ResultHeaderLanguage(const char *start, int length) {
    if (start == nullptr || length < 0) {
        return -1;
    }
    if (length >= 3 && memcmp(start, kByteOrderMark, 3) == 0) {
        start += 3;
        length -= 3;
    }
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        CsvLine first;
        StartLine(&first);
        AppendWord(&first, language, TEXT_CSV_ENDED);
        AppendByte(&first, ',');
        if (!first.overflow && first.length <= length &&
            memcmp(start, first.text, first.length) == 0) {
            return language;
        }
    }
    return -1;
}

// 2026-12-09 23:45:12: the form that Excel, Japanese Excel included, reads
// as a date and time when it opens the file.
static void AppendTimeFields(CsvLine *line, const ResultTime *ended) {
    const SYSTEMTIME &t = ended->local;
    char text[64];
    wsprintfA(text, "%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
              t.wSecond);
    AppendCsvField(line, text);
    // "UTC+09:00" rather than "+09:00", which Excel would take for a time of day.
    int offset = ended->utc_offset_minutes;
    int magnitude = offset < 0 ? -offset : offset;
    wsprintfA(text, "UTC%c%02d:%02d", offset < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    AppendCsvField(line, text);
}

// The chord's name without the spaces that line up the table's columns.
static void AppendChordField(CsvLine *line, int language, int chord_type) {
    if (chord_type == 0) {
        AppendWord(line, language, TEXT_SINGLE_TONE);
        return;
    }
    char name[CHORD_NAME_BYTES + 1];
    lstrcpynA(name, ChordName(chord_type), sizeof name);
    int length = lstrlenA(name);
    while (length > 0 && name[length - 1] == ' ') {
        name[--length] = 0;
    }
    AppendCsvField(line, name);
}

static void AppendLetterPair(CsvLine *line, const int *letters) {
    char text[4] = {static_cast<char>(letters[0]), '-', static_cast<char>(letters[1]), 0};
    AppendCsvField(line, text);
}

static void AppendTrialFields(CsvLine *line, const AppState *state, int language, int t) {
    TrialInfo info;
    GetTrialInfoAt(t, &info);
    const TrialFacts &facts = state->trial_facts[t];
    AppendWord(line, language, info.is_comparison ? TEXT_CSV_COMPARISON : TEXT_CSV_MATCHING);
    AppendChordField(line, language, state->chord_type[t]);
    int tones = info.is_comparison ? 3 : 2;
    for (int i = 0; i < tones; ++i) {
        AppendHertzField(line, facts.centihertz[i]);
    }
    if (info.is_comparison) {
        AppendLetterPair(line, facts.answer);
        AppendLetterPair(line, facts.right);
    } else {
        AppendNumberField(line, facts.answer[0]);
        AppendNumberField(line, facts.right[0]);
    }
    AppendNumberField(line, facts.score);
}

int FormatResultRow(const AppState *state, const ResultTime *ended, int language, char *out,
                    int size) {
    if (state == nullptr || ended == nullptr || state->trial != TRIAL_COUNT) {
        return 0;
    }
    CsvLine line;
    StartLine(&line);
    AppendTimeFields(&line, ended);
    AppendNumberField(&line, state->score);
    char cents[32];
    FormatCentsNumber(CentsAtScore(state->score), cents, sizeof cents);
    AppendCsvField(&line, cents);
    AppendNumberField(&line, state->volume);
    AppendCsvField(&line, KESTRUNE_VERSION_TEXT);
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        AppendTrialFields(&line, state, language, t);
    }
    return FinishLine(&line, out, size);
}
