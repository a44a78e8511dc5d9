#include "engine/result_record.h"

#include "engine/grading.h"
#include "engine/pitch.h"
#include "engine/schedule.h"
#include "kestrune_version.h"

#include <string.h>

// The texts are the program's, in code page 932; the file is UTF-8. The
// conversion names code page 932 itself rather than the process's ANSI code
// page, which need not be Japanese.
constexpr UINT TEXT_CODE_PAGE = 932;

static const char kLineEnd[] = "\r\n";

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

// Trail bytes of code page 932 are 0x40 and above, so a double-byte
// character can never be taken for a comma, a quote or a line end.
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

// A trial's column title: "問<n> <what>".
static void AppendTrialTitle(CsvLine *line, int trial, const char *what) {
    char text[64];
    wsprintfA(text, "問%d %s", trial + 1, what);
    AppendCsvField(line, text);
}

// The finished line in UTF-8 with its line end; its length, or 0.
static int FinishLine(CsvLine *line, char *out, int size) {
    for (const char *c = kLineEnd; *c != 0; ++c) {
        AppendByte(line, *c);
    }
    if (line->overflow || out == nullptr || size <= 0) {
        return 0;
    }
    wchar_t wide[RESULT_LINE_BYTES];
    int units = MultiByteToWideChar(TEXT_CODE_PAGE, MB_ERR_INVALID_CHARS, line->text, line->length,
                                    wide, RESULT_LINE_BYTES);
    if (units <= 0) {
        return 0;
    }
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, units, out, size - 1, nullptr, nullptr);
    if (bytes <= 0) {
        return 0;
    }
    out[bytes] = 0;
    return bytes;
}

int FormatResultHeader(char *out, int size) {
    CsvLine line;
    StartLine(&line);
    static const char *const kTestTitles[] = {
        "日時", "UTCとの時差", "スコア", "識別能力[cent]", "音量", "バージョン",
    };
    for (const char *title : kTestTitles) {
        AppendCsvField(&line, title);
    }
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        TrialInfo info;
        GetTrialInfoAt(t, &info);
        AppendTrialTitle(&line, t, "種類");
        AppendTrialTitle(&line, t, "コード名");
        if (info.is_comparison) {
            AppendTrialTitle(&line, t, "A[Hz]");
            AppendTrialTitle(&line, t, "B[Hz]");
            AppendTrialTitle(&line, t, "C[Hz]");
        } else {
            AppendTrialTitle(&line, t, "Play[Hz]");
            AppendTrialTitle(&line, t, "Target[Hz]");
        }
        AppendTrialTitle(&line, t, "回答");
        AppendTrialTitle(&line, t, "正解");
        AppendTrialTitle(&line, t, "出題時スコア");
    }
    return FinishLine(&line, out, size);
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
static void AppendChordField(CsvLine *line, int chord_type) {
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

static void AppendTrialFields(CsvLine *line, const AppState *state, int t) {
    TrialInfo info;
    GetTrialInfoAt(t, &info);
    const TrialFacts &facts = state->trial_facts[t];
    AppendCsvField(line, info.is_comparison ? "比較" : "調整");
    AppendChordField(line, state->chord_type[t]);
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

int FormatResultRow(const AppState *state, const ResultTime *ended, char *out, int size) {
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
        AppendTrialFields(&line, state, t);
    }
    return FinishLine(&line, out, size);
}
