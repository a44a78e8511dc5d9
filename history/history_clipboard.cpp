#include "history/history_clipboard.h"

#include "history/history_paint.h"
#include "lang/language.h"

#include <string.h>

// The longest row: a date with seconds, a score, cents, two tabs, CRLF.
constexpr int ROW_CHARS = 48;
constexpr int HEADING_CHARS = 128;

static void Append(wchar_t *text, int *length, const wchar_t *part) {
    int n = lstrlenW(part);
    memcpy(text + *length, part, sizeof(wchar_t) * n);
    *length += n;
}

// The table as Unicode text in a block for the clipboard, or null.
static HGLOBAL TableText(const ResultsHistory *history, int language) {
    SIZE_T chars = static_cast<SIZE_T>(history->count) * ROW_CHARS + HEADING_CHARS + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(wchar_t) * chars);
    wchar_t *text = block != nullptr ? static_cast<wchar_t *>(GlobalLock(block)) : nullptr;
    if (text == nullptr) {
        if (block != nullptr) {
            GlobalFree(block);
        }
        return nullptr;
    }
    int length = 0;
    wchar_t heading[HEADING_CHARS];
    wsprintfW(heading, L"%.40s\t%.40s\t%.40s\r\n",
              LanguageText(language, TEXT_HISTORY_COLUMN_ENDED),
              LanguageText(language, TEXT_HISTORY_COLUMN_SCORE),
              LanguageText(language, TEXT_HISTORY_COLUMN_CENTS));
    Append(text, &length, heading);
    for (int i = history->count - 1; i >= 0; --i) {
        const HistoryTest &test = history->tests[i];
        wchar_t when[32], score[16], cents[32], row[ROW_CHARS + 1];
        FormatHistoryWhen(test.when, true, when, 32);
        FormatHistoryScore(test.score, score, 16);
        FormatFigureCentsW(test.cents, cents, 32);
        wsprintfW(row, L"%s\t%s\t%s\r\n", when, score, cents);
        Append(text, &length, row);
    }
    text[length] = 0;
    GlobalUnlock(block);
    return block;
}

// The plot as a device-independent bitmap (24 bits, bottom-up) in a block
// for the clipboard, or null.
static HGLOBAL PlotPicture(const ResultsHistory *history, int language, HFONT font, int width,
                           int height, int dpi) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    HGLOBAL block = nullptr;
    if (dc != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        RECT area = {0, 0, width, height};
        HBRUSH white = CreateSolidBrush(PLOT_BACKGROUND);
        FillRect(dc, &area, white);
        DeleteObject(white);
        PaintHistoryPlot(dc, &area, history->tests, history->count, language, font, dpi);
        GdiFlush();
        block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + header.biSizeImage);
        BYTE *out = block != nullptr ? static_cast<BYTE *>(GlobalLock(block)) : nullptr;
        if (out != nullptr) {
            memcpy(out, &header, sizeof header);
            memcpy(out + sizeof header, bits, header.biSizeImage);
            GlobalUnlock(block);
        }
        SelectObject(dc, previous);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    return block;
}

bool CopyHistory(HWND owner, const ResultsHistory *history, int language, HFONT font, int width,
                 int height, int dpi) {
    if (history == nullptr || history->status != HISTORY_READ || history->count == 0 ||
        !OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL text = TableText(history, language);
    HGLOBAL picture = width > 0 && height > 0
                          ? PlotPicture(history, language, font, width, height, dpi)
                          : nullptr;
    // The clipboard owns what it takes; what it refuses is freed here.
    bool copied = text != nullptr && SetClipboardData(CF_UNICODETEXT, text) != nullptr;
    if (text != nullptr && !copied) {
        GlobalFree(text);
    }
    if (picture != nullptr && SetClipboardData(CF_DIB, picture) == nullptr) {
        GlobalFree(picture);
    }
    CloseClipboard();
    return copied;
}
