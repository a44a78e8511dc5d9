// Ctrl+C in the history window: the table as tab-separated text (its
// heading, then the tests newest first, dates with their seconds, as a
// spreadsheet reads them) and the plot as a picture, to paste into a mail or
// a report.
#pragma once

#include "history/results_history.h"

// Puts both on the clipboard for `owner`; the picture is `width` x `height`
// pixels drawn at `dpi` with `font`. False when there is no test to copy or
// the clipboard could not be had.
bool CopyHistory(HWND owner, const ResultsHistory *history, int language, HFONT font, int width,
                 int height, int dpi);
