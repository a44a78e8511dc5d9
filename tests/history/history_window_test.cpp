// The history window in this process: the plot's points where worked out
// by hand, the window from the main window's system menu in either
// language, Ctrl+C and Esc, and a file of 100 000 rows with results off.
#include "app/history_menu.h"
#include "app/language_menu.h"
#include "app/results_file.h"
#include "history/history_paint.h"
#include "history/history_window.h"
#include "lang/language.h"
#include "tests/support/accessible.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_pump.h"
#include "tests/support/picture.h"
#include "tests/support/program.h"

#include <string>
#include <vector>

namespace {

const COLORREF kPointColor = RGB(40, 40, 40);
const COLORREF kNewestColor = RGB(224, 96, 0);
const COLORREF kFigureColor = RGB(30, 100, 200);
const COLORREF kBandColor = RGB(214, 232, 250);
const COLORREF kWhite = RGB(255, 255, 255);

// Eight tests over two and a half weeks, as a listener takes them: the last
// three are 4.0, 2.0 and 6.0 cents, cbrt(48) = 3.63.
const char kEightTests[] = "\xEF\xBB\xBF"
                           "Date and time,UTC offset,Score,Discrimination[cent]\r\n"
                           "2026-11-20 20:15:00,UTC+09:00,90,30\r\n"
                           "2026-11-20 20:21:00,UTC+09:00,100,23\r\n"
                           "2026-11-23 21:40:00,UTC+09:00,124,9.4\r\n"
                           "2026-11-27 07:55:00,UTC+09:00,150,6.0\r\n"
                           "2026-11-27 08:02:00,UTC+09:00,120,10\r\n"
                           "2026-12-01 22:10:00,UTC+09:00,165,4.0\r\n"
                           "2026-12-04 19:30:00,UTC+09:00,180,2.0\r\n"
                           "2026-12-06 12:45:00,UTC+09:00,150,6.0\r\n";

long long Ticks(WORD year, WORD month, WORD day, WORD hour) {
    SYSTEMTIME t = {year, month, 0, day, hour, 0, 0, 0};
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    return static_cast<long long>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) |
                                  f.dwLowDateTime);
}

// Where the plot of three tests a day apart (10, 2 and 50 cents) must stand,
// worked out by hand. At 100 %, in a 460 x 248 area, the frame runs from x 44
// to 444 and y 22 to 222; the first and last tests stand 12 inside it, at x
// 56 and 432, the middle one half way, at 244. The mean is cbrt(1000) = 10,
// its band 6.67 to 15; the axis runs from 2 (the frame's floor) to 50 (its
// top), so 10 is half way up (y 122), 15 is 62.6 % up (y 97) and 6.67 is
// 37.4 % up (y 147). At 150 % every edge is half as far again: a 690 x 372
// area, the frame from 66 to 666 and 33 to 333, the tests at 84, 366 and
// 648, 10 cents at y 183, the band from 145 to 221.
struct PlotPlaces {
    int dpi, width, height;
    POINT first, middle, newest, between_first, between_last;
    int beside_x, line_y, band_top, band_bottom;
};
const PlotPlaces kPlotPlaces[] = {
    {96, 460, 248, {56, 122}, {244, 222}, {432, 22}, {150, 172}, {338, 122}, 100, 122, 97, 147},
    {144, 690, 372, {84, 183}, {366, 333}, {648, 33}, {225, 258}, {507, 183}, 150, 183, 145, 221},
};

TEST(HistoryPlot, PointsWhereWorkedOutByHandAtTwoScales) {
    HistoryTest tests[] = {{Ticks(2026, 12, 1, 12), 120, 10},
                           {Ticks(2026, 12, 2, 12), 180, 2},
                           {Ticks(2026, 12, 3, 12), 60, 50}};
    for (const PlotPlaces &at : kPlotPlaces) {
        SCOPED_TRACE(at.dpi);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, at.width, at.height);
        ReleaseDC(nullptr, screen);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        RECT area = {0, 0, at.width, at.height};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HistoryFonts fonts = CreateHistoryFonts(LANGUAGE_JA, at.dpi);
        PaintHistoryPlot(dc, &area, tests, 3, LANGUAGE_JA, fonts.small, at.dpi);
        Picture picture = ReadPicture(dc, 0, 0, at.width, at.height);
        DestroyHistoryFonts(&fonts);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        SavePictureIfAsked(picture, "history-plot-" + std::to_string(at.dpi));
        EXPECT_EQ(picture.At(at.first.x, at.first.y), kPointColor) << "10 cents, the first";
        EXPECT_EQ(picture.At(at.middle.x, at.middle.y), kPointColor) << "2 cents, the floor";
        EXPECT_EQ(picture.At(at.newest.x, at.newest.y), kNewestColor) << "50, newest, the top";
        EXPECT_EQ(picture.At(at.between_first.x, at.between_first.y), kPointColor) << "joined";
        EXPECT_EQ(picture.At(at.between_last.x, at.between_last.y), kPointColor) << "joined";
        int x = at.beside_x;
        EXPECT_EQ(picture.At(x, at.line_y), kFigureColor) << "the mean's line";
        EXPECT_EQ(picture.At(x, at.band_top + 5), kBandColor) << "inside the band, at its top";
        EXPECT_EQ(picture.At(x, at.band_bottom - 5), kBandColor) << "inside, at its bottom";
        EXPECT_EQ(picture.At(x, at.band_top - 5), kWhite) << "above the band";
        EXPECT_EQ(picture.At(x, at.band_bottom + 5), kWhite) << "below the band";
    }
}

class HistoryWindowTest : public MainWindowFixture {
  protected:
    HWND Open() {
        SendMessageA(window, WM_SYSCOMMAND, IDM_HISTORY, 0);
        HWND history = FindHistoryWindow();
        EXPECT_TRUE(PumpUntil([&] { return history != nullptr && !IsHistoryReading(history); }))
            << "the file read";
        return history;
    }
    std::vector<std::wstring> Texts(HWND history) {
        std::vector<AccessibleItem> items;
        EXPECT_TRUE(ReadAccessibleScreen(history, &items));
        std::vector<std::wstring> texts;
        for (const AccessibleItem &item : items) {
            texts.push_back(item.name);
        }
        return texts;
    }
    std::wstring MenuText(UINT item) {
        wchar_t text[64] = L"";
        GetMenuStringW(GetSystemMenu(window, FALSE), item, text, 64, MF_BYCOMMAND);
        return text;
    }
};

std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        HANDLE block = GetClipboardData(CF_UNICODETEXT);
        const wchar_t *chars = static_cast<const wchar_t *>(GlobalLock(block));
        text = chars != nullptr ? chars : L"";
        GlobalUnlock(block);
        CloseClipboard();
    }
    return text;
}

// Whether the picture on the clipboard (24 bits a pixel) has a pixel of `color`.
bool ClipboardPictureHas(COLORREF color) {
    bool found = false;
    if (OpenClipboard(nullptr)) {
        HANDLE block = GetClipboardData(CF_DIB);
        const auto *header = static_cast<const BITMAPINFOHEADER *>(GlobalLock(block));
        if (header != nullptr && header->biBitCount == 24) {
            const BYTE *row = reinterpret_cast<const BYTE *>(header + 1);
            int stride = (header->biWidth * 3 + 3) & ~3;
            for (int y = 0; y < header->biHeight; ++y, row += stride) {
                for (int x = 0; x < header->biWidth && !found; ++x) {
                    found = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]) == color;
                }
            }
        }
        GlobalUnlock(block);
        CloseClipboard();
    }
    return found;
}

// The item stands below the language items, after a separator; it opens
// the window, owned by the main window, in the interface's language, which
// follows a switch; Ctrl+C copies the table and the plot; Esc closes.
TEST_F(HistoryWindowTest, FromTheSystemMenuInEitherLanguage) {
    WriteWholeFile(scratch.File("Results.csv"), kEightTests);
    HMENU menu = GetSystemMenu(window, FALSE);
    int items = GetMenuItemCount(menu);
    EXPECT_EQ(GetMenuItemID(menu, items - 1), IDM_HISTORY);
    EXPECT_TRUE(GetMenuState(menu, items - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, items - 3), IDM_LANGUAGE_FIRST + IDM_LANGUAGE_STEP);
    EXPECT_EQ(MenuText(IDM_HISTORY), L"結果の推移\tH");
    HWND history = Open();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(GetWindow(history, GW_OWNER), window);
    wchar_t caption[64];
    GetWindowTextW(history, caption, 64);
    EXPECT_STREQ(caption, L"結果の推移");
    ASSERT_FALSE(Texts(history).empty());
    EXPECT_EQ(Texts(history)[0], L"3.6 cent");
    PumpFor(200); // the table's rows on the screen too, for the README's picture
    SavePictureIfAsked(CaptureClient(history), "history");

    SendMessageA(window, WM_SYSCOMMAND, IDM_LANGUAGE_FIRST + IDM_LANGUAGE_STEP, 0);
    GetWindowTextW(history, caption, 64);
    EXPECT_STREQ(caption, L"Results over time");
    EXPECT_EQ(MenuText(IDM_HISTORY), L"Results over time\tH");
    EXPECT_EQ(Texts(history)[0], L"3.6 cents");

    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
    SetForegroundWindow(history);
    ASSERT_TRUE(PressKeysInForeground({VK_CONTROL, 'C'}));
    ASSERT_TRUE(PumpUntil([] { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }));
    EXPECT_EQ(ClipboardText(), L"Date and time\tScore\tCents\r\n"
                               L"2026-12-06 12:45:00\t150\t6.0\r\n"
                               L"2026-12-04 19:30:00\t180\t2.0\r\n"
                               L"2026-12-01 22:10:00\t165\t4.0\r\n"
                               L"2026-11-27 08:02:00\t120\t10\r\n"
                               L"2026-11-27 07:55:00\t150\t6.0\r\n"
                               L"2026-11-23 21:40:00\t124\t9.4\r\n"
                               L"2026-11-20 20:21:00\t100\t23\r\n"
                               L"2026-11-20 20:15:00\t90\t30\r\n");
    EXPECT_TRUE(ClipboardPictureHas(kNewestColor)) << "the plot, its newest test marked";
    ASSERT_TRUE(PressKeysInForeground({VK_ESCAPE}));
    EXPECT_TRUE(PumpUntil([] { return FindHistoryWindow() == nullptr; })) << "closed by Esc";
}

// 100 000 rows are read and drawn, every one in the table; with Results=0
// the window says that results are not kept, and how to keep them again.
TEST_F(HistoryWindowTest, AHundredThousandRowsWithResultsOff) {
    static const char *const kCents[11] = {"90",  "70",  "50",  "30",   "10",  "6.0",
                                           "2.0", "1.5", "1.0", "0.75", "0.50"};
    std::string rows;
    rows.reserve(100000 * 40);
    for (int i = 0; i < 100000; ++i) {
        // From 2026-01-02 00:00 on, a minute apart (600 000 000 ticks).
        long long when = Ticks(2026, 1, 2, 0) + 600000000LL * i;
        FILETIME f = {static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)};
        SYSTEMTIME t;
        FileTimeToSystemTime(&f, &t);
        char row[64];
        snprintf(row, sizeof row, "%04d-%02d-%02d %02d:%02d:00,UTC+09:00,%d,%s\r\n", t.wYear,
                 t.wMonth, t.wDay, t.wHour, t.wMinute, i % 11 * 30, kCents[i % 11]);
        rows += row;
    }
    WriteWholeFile(scratch.File("Results.csv"), rows);
    WriteWholeFile(scratch.File("Settings.ini"), "[Settings]\r\nResults=0\r\n");
    StartResults(window, state);
    HWND history = Open();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(SendDlgItemMessageW(history, ID_HISTORY_TABLE, LB_GETCOUNT, 0, 0), 100000);
    std::vector<std::wstring> texts = Texts(history);
    ASSERT_GE(texts.size(), 4u);
    // The last three: 1.5, 1.0 and 0.75 cents; cbrt(1.125) = 1.040.
    EXPECT_EQ(texts[0], L"1.0 cent");
    EXPECT_EQ(texts[2], L"結果は保存されていません（Settings.ini に Results=0 とあります）。"
                        L"その行を削除すると、再び保存されます。");
    EXPECT_EQ(texts[3], L"100000回分のグラフ（2026-01-02 00:00～2026-03-12 10:39）。"
                        L"最新は 0.75 cent、直近の平均は 1.0 cent です。");
}

} // namespace
