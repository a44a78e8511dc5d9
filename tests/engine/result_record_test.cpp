// The results file's header and a row, held against a test worked by hand:
// a seeded plan, the answers given, and every figure of the row worked out
// from the rules (tones from the score's interval, scores from the grading
// rules, the cents line's digits), written out here.
#include "engine/grading.h"
#include "engine/random.h"
#include "engine/result_record.h"
#include "engine/trial_plan.h"
#include "lang/language.h"
#include "tests/support/results_csv.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

// A comparison answer (the letters marked highest and lowest, 0 for none)
// or a matching answer (the slider's position).
struct Answer {
    int high, low, slider;
};

// Seed 2026 plans (worked from the generator and the plan's rules):
//   bases 300 297 220 258 231 325 268 273 289 267 Hz,
//   chords: trial 4 seventh, 5 diminished, 6 major, 9 minor seventh, 10 major;
//   comparison keys (high/low) B/A B/A A/C B/A B/C C/B; match targets 188 8 33 165.
// The answers: right, swapped, nothing marked; on target, 20 steps off, at
// the far end; right, only the highest right, right; on target.
const Answer kAnswers[TRIAL_COUNT] = {
    {2, 1, 0},   {1, 2, 0}, {0, 0, 0}, {0, 0, 188}, {0, 0, 28},
    {0, 0, 200}, {2, 1, 0}, {2, 1, 0}, {3, 2, 0},   {0, 0, 165},
};

// The test ended 2026-12-09 23:45:12 in Japan (UTC+9) at volume 73: scores
// 100 130 102 74 109 98 56 68 46 51, final 55 (the last step is 4, not 5:
// 50 x 0.09999... truncated), whose interval is 53.33 cents, shown as "53".
// Tones: the trial's base moved by the interval at its score (23.33 cents at
// 100), up for the high key, down for the low one; Play by the slider's
// distance from the target; hundredths of Hz truncated.
const std::vector<std::vector<std::string>> kExpectedRow = {
    {"2026-12-09 23:45:12", "UTC+09:00", "55", "53", "73", "1.1.0"},
    {u8"比較", u8"[単音]", "295.98", "304.07", "300.00", "B-A", "B-A", "100"},
    {u8"比較", u8"[単音]", "295.51", "298.49", "297.00", "A-B", "B-A", "130"},
    {u8"比較", u8"[単音]", "222.81", "220.00", "217.22", "N-N", "A-C", "102"},
    {u8"調整", "[7th]", "258.00", "258.00", "188", "188", "74"},
    {u8"調整", "[dim]", "233.68", "231.00", "28", "8", "109"},
    {u8"調整", "[maj]", "340.82", "325.00", "200", "33", "98"},
    {u8"比較", u8"[単音]", "259.96", "276.27", "268.00", "B-A", "B-A", "56"},
    {u8"比較", u8"[単音]", "273.00", "280.13", "266.04", "B-A", "B-C", "68"},
    {u8"比較", "[m7]", "289.00", "279.26", "299.07", "C-B", "C-B", "46"},
    {u8"調整", "[maj]", "267.00", "267.00", "165", "165", "51"},
};

ResultTime Ended(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, int offset) {
    ResultTime t = {};
    t.local.wYear = year;
    t.local.wMonth = month;
    t.local.wDay = day;
    t.local.wHour = hour;
    t.local.wMinute = minute;
    t.local.wSecond = second;
    t.utc_offset_minutes = offset;
    return t;
}

AppState TakeWorkedTest() {
    AppState s = {};
    SeedRandom(2026);
    BuildTrialPlan(&s);
    s.volume = 73;
    s.score = SCORE_START;
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        s.trial = t;
        s.chosen_high = kAnswers[t].high;
        s.chosen_low = kAnswers[t].low;
        s.slider_pos = kAnswers[t].slider;
        ScoreAnswer(&s);
    }
    s.trial = TRIAL_COUNT;
    return s;
}

TEST(ResultRecord, HeaderNamesEveryColumn) {
    char line[RESULT_LINE_BYTES];
    int length = FormatResultHeader(LANGUAGE_JA, line, sizeof line);
    EXPECT_EQ(std::string(line, length), kResultsHeader);
    EXPECT_EQ(CsvFields(line).size(), RESULTS_COLUMNS);
}

TEST(ResultRecord, RowOfAWorkedTestFieldByField) {
    AppState s = TakeWorkedTest();
    ASSERT_EQ(s.base_freq[0], 300.0) << "seed 2026 no longer gives the plan worked out here";
    ASSERT_EQ(s.match_target[3], 165);
    ResultTime ended = Ended(2026, 12, 9, 23, 45, 12, 540);
    char line[RESULT_LINE_BYTES];
    int length = FormatResultRow(&s, &ended, LANGUAGE_JA, line, sizeof line);
    ASSERT_GT(length, 2);
    std::string row(line, length);
    ASSERT_EQ(row.substr(row.size() - 2), "\r\n");
    row.resize(row.size() - 2);
    std::vector<std::string> fields = CsvFields(row);
    std::vector<std::string> names =
        CsvFields(std::string(kResultsHeader, strlen(kResultsHeader) - 2));
    ASSERT_EQ(fields.size(), RESULTS_COLUMNS);
    std::string joined;
    size_t column = 0;
    for (const std::vector<std::string> &group : kExpectedRow) {
        for (const std::string &want : group) {
            EXPECT_EQ(fields[column], want) << names[column];
            joined += (column == 0 ? "" : ",") + want;
            ++column;
        }
    }
    EXPECT_EQ(column, RESULTS_COLUMNS);
    EXPECT_EQ(row, joined) << "nothing quoted, nothing else between the fields";
}

TEST(ResultRecord, TimeAndOffsetAnywhere) {
    const struct {
        ResultTime ended;
        const char *time;
        const char *offset;
    } cases[] = {
        {Ended(2027, 1, 2, 3, 4, 5, 0), "2027-01-02 03:04:05", "UTC+00:00"},
        {Ended(2026, 7, 1, 12, 0, 0, -210), "2026-07-01 12:00:00", "UTC-03:30"},
        {Ended(2026, 3, 29, 1, 59, 59, 345), "2026-03-29 01:59:59", "UTC+05:45"},
        {Ended(2030, 12, 31, 23, 59, 59, -600), "2030-12-31 23:59:59", "UTC-10:00"},
    };
    AppState s = TakeWorkedTest();
    for (const auto &c : cases) {
        char line[RESULT_LINE_BYTES];
        ASSERT_GT(FormatResultRow(&s, &c.ended, LANGUAGE_JA, line, sizeof line), 0);
        std::vector<std::string> fields = CsvFields(line);
        EXPECT_EQ(fields[0], c.time);
        EXPECT_EQ(fields[1], c.offset);
    }
}

// Quotes only where a field needs them (RFC 4180), in the program's code page.
TEST(ResultRecord, FieldsAreQuotedOnlyWhereNeeded) {
    CsvLine line = {};
    for (const char *field : {"plain", "a,b", "say \"hi\"", "two\r\nlines", "", "[単音]"}) {
        AppendCsvField(&line, field);
    }
    EXPECT_STREQ(line.text, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",,[単音]");
    EXPECT_FALSE(line.overflow);
}

} // namespace
