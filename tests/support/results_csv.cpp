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
