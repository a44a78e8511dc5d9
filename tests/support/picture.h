// Pictures read back from surfaces and from the screen (500 x 300 at 100 %
// display scale, larger at others), reference drawings of texts,
// comparisons, pictures scaled down, and a count of the process's GDI
// objects.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Width and height of a picture of the main window's client area at 100 %.
constexpr int PICTURE_WIDTH = 500;
constexpr int PICTURE_HEIGHT = 300;

struct Picture {
    int width = PICTURE_WIDTH;
    int height = PICTURE_HEIGHT;
    std::vector<COLORREF> pixels; // width x height, row by row
    // The colour at (x, y).
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

// Every pixel of a width x height surface from (x, y) on, in one block copy.
Picture ReadPicture(HDC dc, int x = 0, int y = 0, int width = PICTURE_WIDTH,
                    int height = PICTURE_HEIGHT);
// The window's whole client area as it is on the screen, after the window
// has painted what is pending.
Picture CaptureClient(HWND window);
// The client-area rectangles of the window's visible children, which their
// own classes draw.
std::vector<RECT> VisibleChildRects(HWND window);

// The DPI of this run's screen (LOGPIXELSY): that of every program in the
// same Wine prefix, 96 unless the prefix is one of another display scale.
int ScreenDpi();

// Writes the picture as a 24-bit BMP file.
bool SavePicture(const Picture &picture, const std::string &path);
// Reads back a picture that SavePicture wrote; false if it is not one.
bool LoadPicture(const std::string &path, Picture *picture);
// Writes the picture as a 24-bit BMP into the folder named by the environment
// variable KESTRUNE_PICTURE_DIR, when it is set; otherwise does nothing.
void SavePictureIfAsked(const Picture &picture, const std::string &name);

// What CreateFontA is asked for to draw a text.
struct FontDescription {
    int height;
    int weight;
    DWORD italic;
    DWORD charset;
    DWORD pitch_family;
};

// A text drawn in a font, centred on one line in a rectangle.
struct PlacedText {
    FontDescription font;
    RECT rect;
    std::string text; // code page 932
};

// The background with the given texts drawn on it (black, transparent,
// single line centred in each rectangle), as the screens draw their texts.
Picture RenderTexts(HDC background, const std::vector<PlacedText> &texts);

// Pixels in rect where a and b differ (every pixel of a, when the two differ
// in size).
int CountDifferences(const Picture &a, const Picture &b, const RECT &rect);
// Pixels that differ between a and b outside every one of the rectangles.
int CountDifferencesOutside(const Picture &a, const Picture &b, const std::vector<RECT> &skip);

// Two pictures of one size compared square by square: for each tile of
// `tile` x `tile` pixels of a (smaller at the right and bottom edges), the
// mean of each colour channel, against the means of the same square of b
// moved by up to `shift` pixels each way; the tile's difference is the
// smallest, over those moves, of the largest difference of the three means.
// The strokes of a text drawn at another size, or an edge a pixel or a few
// off, barely move a tile's means; a text, band or control that is not
// where it should be moves them a lot.
struct TileComparison {
    int columns = 0;
    int rows = 0;
    std::vector<int> differences; // per tile, row by row
    int largest = 0;              // the largest difference, at tile (largest_x, largest_y)
    int largest_x = 0;
    int largest_y = 0;
    // How many tiles differ by more than `tolerance`.
    int over(int tolerance) const;
};
TileComparison CompareTiles(const Picture &a, const Picture &b, int tile, int shift);

// The picture scaled down to width x height by averaging: each new pixel is
// the mean colour of the area of the old picture it covers, partly covered
// old pixels counting by the share they lie inside.
Picture ScaleDown(const Picture &picture, int width, int height);

// The number of GDI objects the process holds, counted in the GDI handle table
// that the system maps into every process (its address is in the process
// environment block). Wine has no GetGuiResources; this table is what it
// would count. Entries of freed handles have type 0.
int LiveGdiObjects();
