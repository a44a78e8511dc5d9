// The results file as the tests expect it: its header row written out by
// hand from the requirements, its lines and the fields of a row.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// UTF-8's byte-order mark, which the file starts with.
extern const char kUtf8Mark[];
// The header row in UTF-8 with its CRLF.
extern const char kResultsHeader[];
// The same in English, and both by the tests' language index (0 Japanese,
// 1 English, tests/support/words.h).
extern const char kResultsHeaderEnglish[];
extern const char *const kResultsHeaders[2];
// A row's words by language: the kinds of trial (comparison, matching) and
// the chord name of a single tone.
extern const char *const kTrialKindWords[2][2];
extern const char *const kSingleToneWords[2];
// Columns of a row.
constexpr size_t RESULTS_COLUMNS = 82;

// A results file read back: whether it starts with the mark, and its lines
// after it, split at CRLF only (a lone CR or LF stays inside its line), the
// last one kept even when it has no line end.
struct ResultsFile {
    bool exists = false;
    bool has_mark = false;
    std::vector<std::string> lines;
    bool ends_with_line_end = false;
};
ResultsFile ReadResultsFile(const std::wstring &path);
ResultsFile SplitResults(const std::string &bytes);
// The fields of one row, with the quotes of quoted fields undone.
std::vector<std::string> CsvFields(const std::string &line);
// The names in `folder` that start with "Results-" (the fallback files).
std::vector<std::wstring> FallbackFiles(const std::wstring &folder);
