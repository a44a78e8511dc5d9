// Results.csv beside Settings.ini: one row appended for every completed
// test. A row that cannot be written yet (another program, such as Excel,
// holds the file) is kept in memory and written at the next chance, in the
// order the tests were taken; what is still kept when the program ends goes
// to a new file beside it. A working folder that cannot be written (or lies
// in the temporary folder) sends the rows to Kestrune\Results.csv in the
// Documents folder instead, and the listener is told where, once a run.
#pragma once

#include "engine/app_state.h"

#define RESULTS_FILE_NAME "Results.csv"
// The file written at the end with the rows Results.csv would not take:
// Results-<yyyymmdd-hhmmss>.csv, with "-2", "-3"... when that name is taken.
#define RESULTS_FALLBACK_PREFIX "Results-"

// Writers take turns on this one byte, far past the end of any real file, so
// that the check of the file's last bytes and the rows after it are one step
// between programs; a lock there keeps no reader from the rows.
constexpr DWORD RESULTS_TURN_OFFSET_LOW = 0xFFFFFFFE;
constexpr DWORD RESULTS_TURN_OFFSET_HIGH = 0x7FFFFFFF;
// How long a writer waits for its turn before it keeps its rows for later.
constexpr DWORD RESULTS_TURN_WAIT_MS = 3000;

// The folder made in the Documents folder for the results that the working
// folder will not take.
#define RESULTS_DOCUMENTS_FOLDER "Kestrune"

// Reads whether the file is wanted (Results=0 in Settings.ini turns it off)
// and starts the run's results beside Settings.ini; `owner` owns the
// message boxes that tell where the results went, which are in the language
// of `state`, the main window's record.
void StartResults(HWND owner, const AppState *state);
// Keeps the completed test in `state` as a row, then writes every row kept,
// oldest first. A new file gets its header in the interface's language; a
// file that exists keeps its header, and its rows take its words. True when
// none is left waiting.
bool RecordResult(const AppState *state);
// Writes the rows kept, if the file can take them now. True when none is
// left waiting. The listener may be told where they went (a message box).
bool WritePendingResults();
// At the program's end: the rows kept go to Results.csv, or failing that to
// a new fallback file, and are then forgotten. Shows nothing.
void FinishResults();
// How many rows are waiting in memory.
int PendingResultCount();
// The Results.csv this run writes to (or will write its first row to):
// beside Settings.ini, or Kestrune\Results.csv in the Documents folder once
// the working folder has turned out not to take it; `path` is emptied when
// neither can be named. Returns whether results are kept (false: Results=0).
bool CurrentResultsFile(wchar_t *path, int chars);
