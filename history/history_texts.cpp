#include "history/history_texts.h"

#include "lang/language.h"

static HistoryText *Add(HistoryText *texts, int *count, int capacity, HistoryTextKind kind) {
    if (*count >= capacity) {
        return nullptr;
    }
    HistoryText *text = &texts[(*count)++];
    text->kind = kind;
    text->text[0] = 0;
    return text;
}

static void AddWords(HistoryText *texts, int *count, int capacity, HistoryTextKind kind,
                     int language, TextId id) {
    HistoryText *text = Add(texts, count, capacity, kind);
    if (text != nullptr) {
        lstrcpynW(text->text, LanguageText(language, id), HISTORY_TEXT_CHARS);
    }
}

static TextId SentenceOf(int tests) {
    switch (tests) {
    case 0: return TEXT_HISTORY_NO_TESTS;
    case 1: return TEXT_HISTORY_ABOUT_ONE;
    case 2: return TEXT_HISTORY_ABOUT_TWO;
    default: return TEXT_HISTORY_ABOUT_THREE;
    }
}

static TextId ReasonOf(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return TEXT_HISTORY_WHY_IN_USE;
    case ERROR_ACCESS_DENIED: return TEXT_HISTORY_WHY_DENIED;
    default: return TEXT_HISTORY_WHY_ERROR;
    }
}

static void AddCannotRead(HistoryText *texts, int *count, int capacity, const HistoryView *view) {
    HistoryText *text = Add(texts, count, capacity, HISTORY_NOTE);
    if (text == nullptr) {
        return;
    }
    wchar_t reason[HISTORY_TEXT_CHARS];
    FormatLanguageText(reason, HISTORY_TEXT_CHARS, view->language, ReasonOf(view->history->error),
                       static_cast<int>(view->history->error));
    FormatLanguageText(text->text, HISTORY_TEXT_CHARS, view->language, TEXT_HISTORY_CANNOT_READ,
                       view->path, reason);
}

static void AddPlotSummary(HistoryText *texts, int *count, int capacity, const HistoryView *view,
                           const CombinedFigure *figure) {
    HistoryText *text = Add(texts, count, capacity, HISTORY_PLOT);
    if (text == nullptr) {
        return;
    }
    const ResultsHistory *history = view->history;
    const HistoryTest &newest = history->tests[history->count - 1];
    wchar_t first[32], last[32], cents[32], combined[32];
    FormatHistoryWhen(history->tests[0].when, false, first, 32);
    FormatHistoryWhen(newest.when, false, last, 32);
    FormatFigureCentsW(newest.cents, cents, 32);
    FormatFigureCentsW(figure->cents, combined, 32);
    if (history->count == 1) {
        FormatLanguageText(text->text, HISTORY_TEXT_CHARS, view->language,
                           TEXT_HISTORY_PLOT_ONE_TEST, last, cents);
        return;
    }
    FormatLanguageText(text->text, HISTORY_TEXT_CHARS, view->language, TEXT_HISTORY_PLOT_SUMMARY,
                       history->count, first, last, cents, combined);
}

int ListHistoryTexts(const HistoryView *view, HistoryText *texts, int capacity) {
    int count = 0;
    int language = view->language;
    const ResultsHistory *history = view->history;
    if (history == nullptr) {
        AddWords(texts, &count, capacity, HISTORY_NOTE, language, TEXT_HISTORY_LOADING);
        return count;
    }
    bool read = history->status == HISTORY_READ;
    CombinedFigure figure = CombineLastTests(history->tests, read ? history->count : 0);
    if (figure.tests > 0) {
        HistoryText *text = Add(texts, &count, capacity, HISTORY_FIGURE);
        wchar_t cents[32];
        FormatFigureCentsW(figure.cents, cents, 32);
        FormatLanguageText(text->text, HISTORY_TEXT_CHARS, language, TEXT_HISTORY_FIGURE, cents);
    }
    if (history->status == HISTORY_UNREADABLE) {
        AddCannotRead(texts, &count, capacity, view);
    } else if (figure.tests > 0 || view->results_on) {
        AddWords(texts, &count, capacity, HISTORY_SENTENCE, language, SentenceOf(figure.tests));
    }
    if (!view->results_on) {
        AddWords(texts, &count, capacity, HISTORY_NOTE, language, TEXT_HISTORY_RESULTS_OFF);
    }
    if (history->unread == 1) {
        AddWords(texts, &count, capacity, HISTORY_NOTE, language, TEXT_HISTORY_UNREAD_ONE);
    } else if (history->unread > 1) {
        HistoryText *text = Add(texts, &count, capacity, HISTORY_NOTE);
        if (text != nullptr) {
            FormatLanguageText(text->text, HISTORY_TEXT_CHARS, language, TEXT_HISTORY_UNREAD_MANY,
                               history->unread);
        }
    }
    if (figure.tests > 0) {
        AddPlotSummary(texts, &count, capacity, view, &figure);
    }
    return count;
}

void FormatHistoryWhen(long long when, bool seconds, wchar_t *text, int chars) {
    FILETIME file;
    file.dwLowDateTime = static_cast<DWORD>(when);
    file.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(when) >> 32);
    SYSTEMTIME t = {};
    FileTimeToSystemTime(&file, &t);
    wchar_t whole[32];
    if (seconds) {
        wsprintfW(whole, L"%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    } else {
        wsprintfW(whole, L"%04d-%02d-%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute);
    }
    lstrcpynW(text, whole, chars);
}

void FormatHistoryScore(int score, wchar_t *text, int chars) {
    wchar_t whole[16] = L"";
    if (score >= 0) {
        wsprintfW(whole, L"%d", score);
    }
    lstrcpynW(text, whole, chars);
}

void HistoryRowName(const HistoryTest *test, int language, wchar_t *text, int chars) {
    wchar_t when[32], score[16], cents[32];
    FormatHistoryWhen(test->when, false, when, 32);
    FormatHistoryScore(test->score, score, 16);
    FormatFigureCentsW(test->cents, cents, 32);
    FormatLanguageText(text, chars, language, TEXT_HISTORY_ROW_NAME, when, score, cents);
}
