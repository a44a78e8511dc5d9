#include "tests/support/results_csv.h"

#include "tests/support/files.h"

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// Written out column by column: the six about the test, then each trial's.
const char kResultsHeader[] =
    u8"日時,UTCとの時差,スコア,識別能力[cent],音量,バージョン,"
    u8"問1 種類,問1 コード名,問1 A[Hz],問1 B[Hz],問1 C[Hz],問1 回答,問1 正解,問1 出題時スコア,"
    u8"問2 種類,問2 コード名,問2 A[Hz],問2 B[Hz],問2 C[Hz],問2 回答,問2 正解,問2 出題時スコア,"
    u8"問3 種類,問3 コード名,問3 A[Hz],問3 B[Hz],問3 C[Hz],問3 回答,問3 正解,問3 出題時スコア,"
    u8"問4 種類,問4 コード名,問4 Play[Hz],問4 Target[Hz],問4 回答,問4 正解,問4 出題時スコア,"
    u8"問5 種類,問5 コード名,問5 Play[Hz],問5 Target[Hz],問5 回答,問5 正解,問5 出題時スコア,"
    u8"問6 種類,問6 コード名,問6 Play[Hz],問6 Target[Hz],問6 回答,問6 正解,問6 出題時スコア,"
    u8"問7 種類,問7 コード名,問7 A[Hz],問7 B[Hz],問7 C[Hz],問7 回答,問7 正解,問7 出題時スコア,"
    u8"問8 種類,問8 コード名,問8 A[Hz],問8 B[Hz],問8 C[Hz],問8 回答,問8 正解,問8 出題時スコア,"
    u8"問9 種類,問9 コード名,問9 A[Hz],問9 B[Hz],問9 C[Hz],問9 回答,問9 正解,問9 出題時スコア,"
    u8"問10 種類,問10 コード名,問10 Play[Hz],問10 Target[Hz],問10 回答,問10 正解,問10 出題時スコア"
    "\r\n";

// The same in English.
const char kResultsHeaderEnglish[] =
    "Date and time,UTC offset,Score,Discrimination[cent],Volume,Version,"
    "Trial 1 type,Trial 1 chord,Trial 1 A[Hz],Trial 1 B[Hz],Trial 1 C[Hz],"
    "Trial 1 answer,Trial 1 right answer,Trial 1 score,"
    "Trial 2 type,Trial 2 chord,Trial 2 A[Hz],Trial 2 B[Hz],Trial 2 C[Hz],"
    "Trial 2 answer,Trial 2 right answer,Trial 2 score,"
    "Trial 3 type,Trial 3 chord,Trial 3 A[Hz],Trial 3 B[Hz],Trial 3 C[Hz],"
    "Trial 3 answer,Trial 3 right answer,Trial 3 score,"
    "Trial 4 type,Trial 4 chord,Trial 4 Play[Hz],Trial 4 Target[Hz],"
    "Trial 4 answer,Trial 4 right answer,Trial 4 score,"
    "Trial 5 type,Trial 5 chord,Trial 5 Play[Hz],Trial 5 Target[Hz],"
    "Trial 5 answer,Trial 5 right answer,Trial 5 score,"
    "Trial 6 type,Trial 6 chord,Trial 6 Play[Hz],Trial 6 Target[Hz],"
    "Trial 6 answer,Trial 6 right answer,Trial 6 score,"
    "Trial 7 type,Trial 7 chord,Trial 7 A[Hz],Trial 7 B[Hz],Trial 7 C[Hz],"
    "Trial 7 answer,Trial 7 right answer,Trial 7 score,"
    "Trial 8 type,Trial 8 chord,Trial 8 A[Hz],Trial 8 B[Hz],Trial 8 C[Hz],"
    "Trial 8 answer,Trial 8 right answer,Trial 8 score,"
    "Trial 9 type,Trial 9 chord,Trial 9 A[Hz],Trial 9 B[Hz],Trial 9 C[Hz],"
    "Trial 9 answer,Trial 9 right answer,Trial 9 score,"
    "Trial 10 type,Trial 10 chord,Trial 10 Play[Hz],Trial 10 Target[Hz],"
    "Trial 10 answer,Trial 10 right answer,Trial 10 score"
    "\r\n";

const char *const kResultsHeaders[2] = {kResultsHeader, kResultsHeaderEnglish};
const char *const kTrialKindWords[2][2] = {{u8"比較", u8"調整"}, {"comparison", "matching"}};
const char *const kSingleToneWords[2] = {u8"[単音]", "[tone]"};

ResultsFile SplitResults(const std::string &bytes) {
    ResultsFile file;
    file.exists = true;
    size_t at = 0;
    if (bytes.compare(0, 3, kUtf8Mark) == 0) {
        file.has_mark = true;
        at = 3;
    }
    while (at < bytes.size()) {
        size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            file.lines.push_back(bytes.substr(at));
            return file;
        }
        file.lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    file.ends_with_line_end = !file.lines.empty();
    return file;
}

ResultsFile ReadResultsFile(const std::wstring &path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return ResultsFile();
    }
    return SplitResults(ReadWholeFile(path));
}

std::vector<std::string> CsvFields(const std::string &line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<std::wstring> FallbackFiles(const std::wstring &folder) {
    std::vector<std::wstring> found;
    for (const std::wstring &name : FolderEntries(folder)) {
        if (name.compare(0, 8, L"Results-") == 0) {
            found.push_back(name);
        }
    }
    return found;
}
