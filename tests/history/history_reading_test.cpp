// Reading results files back: a row written then read, the combined figure
// against hand-worked values, and files as they really are (edited by
// hand, saved again by Excel, held open by another program).
#include "engine/result_record.h"
#include "history/combined_figure.h"
#include "history/history_texts.h"
#include "lang/language.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Expected {
    const char *when; // as the table shows it
    int score;
    double cents;
};

// The file in a scratch folder, read back; its tests as the table shows them.
ResultsHistory ReadFile(const ScratchFolder &folder, const std::string &bytes) {
    WriteWholeFile(folder.File("Results.csv"), bytes);
    ResultsHistory history;
    ReadResultsHistory(Wide(folder.File("Results.csv")).c_str(), nullptr, &history);
    return history;
}

void ExpectTests(const ResultsHistory &history, const std::vector<Expected> &expected) {
    ASSERT_EQ(history.status, HISTORY_READ);
    ASSERT_EQ(history.count, static_cast<int>(expected.size()));
    for (int i = 0; i < history.count; ++i) {
        wchar_t when[32];
        FormatHistoryWhen(history.tests[i].when, false, when, 32);
        EXPECT_EQ(std::wstring(when), Wide(expected[i].when)) << "test " << i;
        EXPECT_EQ(history.tests[i].score, expected[i].score) << "test " << i;
        EXPECT_EQ(history.tests[i].cents, expected[i].cents) << "test " << i;
    }
}

// A row written by the program, in either language, reads back as the test
// it was: score 124 stands for 9.47 cents, shown 9.4.
TEST(HistoryReading, ARowWrittenIsReadBack) {
    AppState state = {};
    state.trial = TRIAL_COUNT;
    state.score = 124;
    state.volume = 73;
    ResultTime ended = {};
    ended.local = {2026, 12, 3, 9, 23, 45, 12, 0};
    ended.utc_offset_minutes = 540;
    for (int language : {LANGUAGE_JA, LANGUAGE_EN}) {
        SCOPED_TRACE(language);
        char header[RESULT_LINE_BYTES], row[RESULT_LINE_BYTES];
        int header_length = FormatResultHeader(language, header, sizeof header);
        int row_length = FormatResultRow(&state, &ended, language, row, sizeof row);
        ResultColumns columns = {};
        ASSERT_TRUE(ReadResultHeader(header, header_length - 2, &columns));
        EXPECT_EQ(columns.ended, 0);
        EXPECT_EQ(columns.score, 2);
        EXPECT_EQ(columns.cents, 3);
        ResultReading read;
        ASSERT_TRUE(ReadResultRow(row, row_length - 2, &columns, &read));
        const SYSTEMTIME &t = read.ended;
        EXPECT_EQ(std::vector<int>({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}),
                  std::vector<int>({2026, 12, 9, 23, 45, 12}));
        EXPECT_EQ(read.score, 124);
        EXPECT_EQ(read.cents, 9.4);
    }
}

// Worked by hand: the geometric mean of the last three (or of all, fewer),
// with the cents line's digits: two decimals below 0.95, one below 9.5,
// none from 9.5 on, truncated.
TEST(HistoryReading, TheCombinedFigureOfTheLastThree) {
    const struct {
        std::vector<double> cents;
        int tests;
        const char *digits;
    } cases[] = {
        {{23}, 1, "23"},
        {{10, 2}, 2, "4.4"},              // sqrt(20) = 4.472
        {{10, 2, 50}, 3, "10"},           // cbrt(1000), a hair under 10 in doubles
        {{90, 10, 2, 50}, 3, "10"},       // the oldest left out
        {{9.4, 10, 10}, 3, "9"},          // cbrt(940) = 9.796
        {{0.5, 0.75, 1.0}, 3, "0.72"},    // cbrt(0.375) = 0.7211
        {{30, 1.5, 0.5, 0.5}, 3, "0.72"}, // cbrt(0.375) again
    };
    for (const auto &c : cases) {
        std::vector<HistoryTest> tests;
        for (double cents : c.cents) {
            tests.push_back({static_cast<long long>(tests.size()), 0, cents});
        }
        CombinedFigure figure = CombineLastTests(tests.data(), static_cast<int>(tests.size()));
        char digits[32];
        FormatFigureCents(figure.cents, digits, sizeof digits);
        EXPECT_EQ(figure.tests, c.tests);
        EXPECT_STREQ(digits, c.digits) << c.cents.back();
    }
    EXPECT_EQ(CombineLastTests(nullptr, 0).tests, 0);
}

// Every kind of damage a hand can do, in one file: the rows that can be
// read are the tests, in order of time; the others are counted.
TEST(HistoryReading, EveryRowThatCanBeReadAndACountOfTheOthers) {
    ScratchFolder folder;
    std::string english_row = "2026-12-01 10:00:00,UTC+09:00,100,23,90,1.1.0,comparison,[tone]";
    std::string file = std::string("\xEF\xBB\xBF") +
                       u8"日時,UTCとの時差,スコア,識別能力[cent],音量,バージョン\r\n" +
                       english_row +
                       "\r\n"                                       // the other language
                       "\r\n"                                       // blank
                       ",,,,,\r\n"                                  // blank, as Excel saves
                       "2026-12-06 10:00:00,UTC+09:00,180,2.0,90\n" // LF alone, out of order
                       "2026-12-02 10:00:00,UTC+09:00,124,9.4,90,1.1.0,x,y,z,extra\r\n"
                       "2026-12-03 10:00:00,UTC+09:00,150,6.0\r\n" // columns missing
                       "2026-12-04 10:00:00,UTC+09:00,abc,6.0\r\n" // text for the score
                       "2026-12-04 11:00:00,UTC+09:00,150,six\r\n" // text for the cents
                       "yesterday,UTC+09:00,150,6.0\r\n"           // text for the date
                       "2026-02-30 10:00:00,UTC+09:00,150,6.0\r\n" // no such day
                       "2026-12-05 10:00:00,UTC+09:00,124,9\r\n"   // cut in its cents
                       "Date and time,UTC offset,Score,Discrimination[cent]\r\n" // pasted
                       "\"2026-12-07 10:00:00\",UTC+09:00,\"120\",\"10\"\r\n"
                       "2026-12-08 10:00:00,UTC+09:00,1"; // the last, cut short
    ResultsHistory history = ReadFile(folder, file);
    ExpectTests(history, {{"2026-12-01 10:00", 100, 23},
                          {"2026-12-02 10:00", 124, 9.4},
                          {"2026-12-03 10:00", 150, 6},
                          {"2026-12-06 10:00", 180, 2},
                          {"2026-12-07 10:00", 120, 10}});
    EXPECT_EQ(history.unread, 6);
    FreeResultsHistory(&history);
}

// Saved again by Excel: in code page 932 without the mark and with its
// own dates (Japanese Excel), with semicolons and decimal commas (where the
// decimal mark is a comma); and a header of an older kind, whose titles say
// where the columns are.
TEST(HistoryReading, FilesExcelSavedAndHeadersOfOtherKinds) {
    ScratchFolder folder;
    ResultsHistory japanese = ReadFile(folder, "\x93\xfa\x8e\x9e,UTC,\x83X\x83R\x83\x41\r\n"
                                               "2026/12/9 23:45,UTC+09:00,300,0.5\r\n"
                                               "2026/12/10 8:05,UTC+09:00,124,9.4\r\n");
    ExpectTests(japanese, {{"2026-12-09 23:45", 300, 0.5}, {"2026-12-10 08:05", 124, 9.4}});
    EXPECT_EQ(japanese.unread, 0);
    ResultsHistory german =
        ReadFile(folder, "Date and time;UTC offset;Score;Discrimination[cent]\r\n"
                         "13.12.2026 23:45;UTC+01:00;124;9,4\r\n");
    ExpectTests(german, {{"2026-12-13 23:45", 124, 9.4}});
    ResultsHistory older = ReadFile(folder, u8"日時,スコア,識別能力[cent]\r\n"
                                            "2026-12-01 10:00:00,150,6.0\r\n"
                                            "12/13/2026 9:00,300,0.50\r\n");
    ExpectTests(older, {{"2026-12-01 10:00", 150, 6}, {"2026-12-13 09:00", 300, 0.5}});
    for (ResultsHistory *h : {&japanese, &german, &older}) {
        FreeResultsHistory(h);
    }
}

// Held open by a program that lets others read (as Excel holds a file it
// shows), the file is read; held without sharing, the window says why; a
// missing file is no test yet.
TEST(HistoryReading, AFileHeldOpenOrMissing) {
    ScratchFolder folder;
    std::wstring path = Wide(folder.File("Results.csv"));
    ResultsHistory history;
    ReadResultsHistory(path.c_str(), nullptr, &history);
    EXPECT_EQ(history.status, HISTORY_NO_FILE);
    WriteWholeFile(path, "2026-12-01 10:00:00,UTC+09:00,100,23\r\n");
    {
        FileHeldElsewhere excel(path, FILE_SHARE_READ);
        ASSERT_TRUE(excel.held()) << excel.failure();
        ReadResultsHistory(path.c_str(), nullptr, &history);
        ExpectTests(history, {{"2026-12-01 10:00", 100, 23}});
        FreeResultsHistory(&history);
    }
    FileHeldElsewhere locked(path, 0);
    ASSERT_TRUE(locked.held()) << locked.failure();
    EXPECT_FALSE(ReadResultsHistory(path.c_str(), nullptr, &history));
    EXPECT_EQ(history.status, HISTORY_UNREADABLE);
    HistoryView view = {LANGUAGE_EN, true, path.c_str(), &history};
    HistoryText texts[HISTORY_TEXT_MAX];
    ASSERT_EQ(ListHistoryTexts(&view, texts, HISTORY_TEXT_MAX), 1);
    EXPECT_EQ(std::wstring(texts[0].text),
              path + L" could not be read. Another program has it open and lets no one read it.");
}

} // namespace
