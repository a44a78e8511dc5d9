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

ResultColumns DefaultResultColumns() {
    ResultColumns columns;
    columns.ended = 0;
    columns.score = 2;
    columns.cents = 3;
    columns.separator = ',';
    columns.day_first = false;
    return columns;
}

// The fields of a line one after another, as RFC 4180 parts them, but that
// a line end always ends the row: a stray quote costs one row, never the
// rest of the file.
struct FieldCursor {
    const char *at;
    const char *end;
    char separator;
    bool done;
};

static FieldCursor StartFields(const char *line, int length, char separator) {
    return {line, line + length, separator, false};
}

// The next field, its quotes undone, into `out` (`*whole` false when it did
// not fit); false when none is left.
static bool NextField(FieldCursor *cursor, char *out, int size, bool *whole) {
    if (cursor->done) {
        return false;
    }
    const char *c = cursor->at;
    int n = 0;
    *whole = true;
    auto put = [&](char ch) {
        if (n + 1 < size) {
            out[n++] = ch;
        } else {
            *whole = false;
        }
    };
    if (c < cursor->end && *c == '"') {
        for (++c; c < cursor->end; ++c) {
            if (*c == '"' && (c + 1 >= cursor->end || c[1] != '"')) {
                ++c;
                break;
            }
            put(*c);
            c += *c == '"' ? 1 : 0;
        }
    }
    while (c < cursor->end && *c != cursor->separator) {
        put(*c++);
    }
    out[n] = 0;
    if (c < cursor->end) {
        cursor->at = c + 1;
    } else {
        cursor->done = true;
    }
    return true;
}

// The separator a line uses most: commas as this program writes, semicolons
// as Excel writes where the decimal mark is a comma, or tabs.
static char SeparatorOf(const char *line, int length) {
    int commas = 0, semicolons = 0, tabs = 0;
    for (int i = 0; i < length; ++i) {
        commas += line[i] == ',';
        semicolons += line[i] == ';';
        tabs += line[i] == '\t';
    }
    if (semicolons > commas && semicolons >= tabs) {
        return ';';
    }
    return tabs > commas ? '\t' : ',';
}

static void TrimSpaces(const char **start, const char **end) {
    while (*start < *end && (**start == ' ' || **start == '\t')) {
        ++*start;
    }
    while (*end > *start && ((*end)[-1] == ' ' || (*end)[-1] == '\t')) {
        --*end;
    }
}

// Whether a field, spaces aside, is the title `id` in some language.
static bool IsTitle(const char *field, TextId id) {
    const char *start = field;
    const char *end = field + lstrlenA(field);
    TrimSpaces(&start, &end);
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        char title[128];
        int bytes = WideCharToMultiByte(CP_UTF8, 0, LanguageText(language, id), -1, title,
                                        sizeof title, nullptr, nullptr);
        if (bytes > 0 && end - start == bytes - 1 && memcmp(start, title, bytes - 1) == 0) {
            return true;
        }
    }
    return false;
}

bool ReadResultHeader(const char *line, int length, ResultColumns *columns) {
    bool day_first = columns->day_first;
    *columns = DefaultResultColumns();
    columns->day_first = day_first;
    columns->separator = SeparatorOf(line, length);
    int ended = -1, score = -1, cents = -1;
    FieldCursor cursor = StartFields(line, length, columns->separator);
    char field[128];
    bool whole;
    for (int index = 0; NextField(&cursor, field, sizeof field, &whole); ++index) {
        if (ended < 0 && IsTitle(field, TEXT_CSV_ENDED)) {
            ended = index;
        } else if (score < 0 && IsTitle(field, TEXT_CSV_SCORE)) {
            score = index;
        } else if (cents < 0 && IsTitle(field, TEXT_CSV_CENTS)) {
            cents = index;
        }
    }
    if (ended >= 0 && cents >= 0) {
        columns->ended = ended;
        columns->score = score;
        columns->cents = cents;
        return true;
    }
    // Any other first line that is not a row is a header of a kind of its
    // own (a hand-made one, or ours saved in another code page).
    ResultReading row;
    return !ReadResultRow(line, length, columns, &row);
}

// A run of 1..max_digits digits at *c; false when there is none or more.
static bool ReadDigits(const char **c, const char *end, int max_digits, int *value, int *digits) {
    *value = 0;
    *digits = 0;
    while (*c < end && **c >= '0' && **c <= '9') {
        if (++*digits > max_digits) {
            return false;
        }
        *value = *value * 10 + (**c - '0');
        ++*c;
    }
    return *digits > 0;
}

static bool ReadSeparatorChar(const char **c, const char *end, char wanted) {
    if (*c < end && **c == wanted) {
        ++*c;
        return true;
    }
    return false;
}

// The date: 2026-12-09 as this program writes it, 2026/12/9 as Japanese
// Excel saves it, or with the year last (12/9/2026, 9.12.2026) as Excel
// saves it elsewhere, in the order of the user's dates unless a number
// above 12 says which is the day.
static bool ReadDate(const char **c, const char *end, bool day_first, SYSTEMTIME *t) {
    int n[3], digits[3];
    if (!ReadDigits(c, end, 4, &n[0], &digits[0]) || *c >= end) {
        return false;
    }
    char mark = **c;
    if ((mark != '-' && mark != '/' && mark != '.') || !ReadSeparatorChar(c, end, mark) ||
        !ReadDigits(c, end, 2, &n[1], &digits[1]) || !ReadSeparatorChar(c, end, mark) ||
        !ReadDigits(c, end, 4, &n[2], &digits[2])) {
        return false;
    }
    if (digits[0] == 4 && digits[2] <= 2) {
        t->wYear = static_cast<WORD>(n[0]);
        t->wMonth = static_cast<WORD>(n[1]);
        t->wDay = static_cast<WORD>(n[2]);
        return true;
    }
    if (digits[2] != 4 || digits[0] > 2) {
        return false;
    }
    bool day_is_first = n[0] > 12 || (n[1] <= 12 && day_first);
    t->wYear = static_cast<WORD>(n[2]);
    t->wMonth = static_cast<WORD>(day_is_first ? n[1] : n[0]);
    t->wDay = static_cast<WORD>(day_is_first ? n[0] : n[1]);
    return true;
}

// The time of day after the date: 23:45:12, or 23:45 as Excel saves it;
// none is midnight.
static bool ReadTimeOfDay(const char **c, const char *end, SYSTEMTIME *t) {
    if (*c >= end) {
        return true;
    }
    if (**c != ' ' && **c != 'T') {
        return false;
    }
    while (*c < end && (**c == ' ' || **c == 'T')) {
        ++*c;
    }
    int hour, minute, second = 0, digits;
    if (!ReadDigits(c, end, 2, &hour, &digits) || !ReadSeparatorChar(c, end, ':') ||
        !ReadDigits(c, end, 2, &minute, &digits) || digits != 2) {
        return false;
    }
    if (ReadSeparatorChar(c, end, ':') &&
        (!ReadDigits(c, end, 2, &second, &digits) || digits != 2)) {
        return false;
    }
    t->wHour = static_cast<WORD>(hour);
    t->wMinute = static_cast<WORD>(minute);
    t->wSecond = static_cast<WORD>(second);
    return true;
}

static bool IsDay(const SYSTEMTIME &t) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (t.wYear % 4 == 0 && t.wYear % 100 != 0) || t.wYear % 400 == 0;
    return t.wYear >= 1601 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
           t.wDay <= kDays[t.wMonth - 1] + (t.wMonth == 2 && leap ? 1 : 0) && t.wHour < 24 &&
           t.wMinute < 60 && t.wSecond < 60;
}

// The time as FILETIME counts it (100 ns from 1601-01-01), worked out here:
// the system's conversion, twice a row, was a third of reading a file.
static long long TicksOf(const SYSTEMTIME &t) {
    // Days from 0000-03-01 (a year that starts in March puts the leap day
    // last), less those to 1601-01-01.
    int year = t.wYear - (t.wMonth <= 2 ? 1 : 0);
    int era = year / 400;
    int year_of_era = year - era * 400;
    int day_of_year = (153 * (t.wMonth + (t.wMonth > 2 ? -3 : 9)) + 2) / 5 + t.wDay - 1;
    long long days = era * 146097LL + year_of_era * 365 + year_of_era / 4 - year_of_era / 100 +
                     day_of_year - 584694;
    long long seconds = ((days * 24 + t.wHour) * 60 + t.wMinute) * 60 + t.wSecond;
    return seconds * 10000000LL;
}

static bool ReadDateTime(const char *text, bool day_first, SYSTEMTIME *t) {
    const char *c = text;
    const char *end = text + lstrlenA(text);
    TrimSpaces(&c, &end);
    *t = {};
    return ReadDate(&c, end, day_first, t) && ReadTimeOfDay(&c, end, t) && c == end && IsDay(*t);
}

// A number of the file: digits, with a decimal point or comma; the
// conversion is correctly rounded, so "0.50" and "0.5" are one value.
static bool ReadDecimal(const char *text, bool whole_only, double *value) {
    const char *c = text;
    const char *end = text + lstrlenA(text);
    TrimSpaces(&c, &end);
    int whole, whole_digits, fraction = 0, fraction_digits = 0;
    if (!ReadDigits(&c, end, 9, &whole, &whole_digits)) {
        return false;
    }
    if (!whole_only && c < end && (*c == '.' || *c == ',')) {
        ++c;
        if (!ReadDigits(&c, end, 6, &fraction, &fraction_digits)) {
            return false;
        }
    }
    if (c != end) {
        return false;
    }
    double scale = 1.0;
    for (int i = 0; i < fraction_digits; ++i) {
        scale *= 10.0;
    }
    *value = (static_cast<double>(whole) * scale + fraction) / scale;
    return true;
}

// The cents a score stands for, with the result screen's digits; worked
// out once for every score (the first call's, whichever thread makes it).
static double ShownCentsOfScore(int score) {
    struct ShownCents {
        double of_score[SCORE_MAX + 1];
    };
    static const ShownCents table = [] {
        ShownCents t;
        for (int s = 0; s <= SCORE_MAX; ++s) {
            char digits[32];
            FormatCentsNumber(CentsAtScore(s), digits, sizeof digits);
            t.of_score[s] = 0.0;
            ReadDecimal(digits, false, &t.of_score[s]);
        }
        return t;
    }();
    return table.of_score[score];
}

bool ReadResultRow(const char *line, int length, const ResultColumns *columns, ResultReading *row) {
    if (line == nullptr || columns == nullptr || row == nullptr) {
        return false;
    }
    char ended[48] = {}, score[48] = {}, cents[48] = {};
    bool found_ended = false, found_score = columns->score < 0, found_cents = false;
    int last = columns->ended > columns->cents ? columns->ended : columns->cents;
    last = columns->score > last ? columns->score : last;
    FieldCursor cursor = StartFields(line, length, columns->separator);
    char field[48];
    bool whole;
    for (int index = 0; index <= last && NextField(&cursor, field, sizeof field, &whole); ++index) {
        if (!whole) {
            continue; // longer than any of the three can be
        }
        if (index == columns->ended) {
            lstrcpynA(ended, field, sizeof ended);
            found_ended = true;
        }
        if (index == columns->score) {
            lstrcpynA(score, field, sizeof score);
            found_score = true;
        }
        if (index == columns->cents) {
            lstrcpynA(cents, field, sizeof cents);
            found_cents = true;
        }
    }
    double score_value = -1.0;
    if (!found_ended || !found_score || !found_cents ||
        !ReadDateTime(ended, columns->day_first, &row->ended) ||
        !ReadDecimal(cents, false, &row->cents) || !(row->cents > 0.0) ||
        (columns->score >= 0 && !ReadDecimal(score, true, &score_value))) {
        return false;
    }
    row->when = TicksOf(row->ended);
    row->score = static_cast<int>(score_value);
    if (columns->score >= 0 &&
        (row->score > SCORE_MAX || ShownCentsOfScore(row->score) != row->cents)) {
        return false;
    }
    return true;
}
