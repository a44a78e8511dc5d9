// Pictures of 500 x 300 pixels read back from surfaces and from the screen,
// reference drawings of texts, comparisons, and a count of the process's
// GDI objects.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Width and height of every picture: the main window's client area.
constexpr int PICTURE_WIDTH = 500;
constexpr int PICTURE_HEIGHT = 300;

struct Picture {
    std::vector<COLORREF> pixels; // 500 x 300, row by row
    // The colour at (x, y).
    COLORREF At(int x, int y) const { return pixels[y * PICTURE_WIDTH + x]; }
};

// Every pixel of a 500 x 300 surface from (x, y) on, in one block copy.
Picture ReadPicture(HDC dc, int x = 0, int y = 0);
// The window's 500 x 300 client area as it is on the screen, after the
// window has painted what is pending.
Picture CaptureClient(HWND window);
// The client-area rectangles of the window's visible children, which their
// own classes draw.
std::vector<RECT> VisibleChildRects(HWND window);

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

// Pixels in rect where a and b differ.
int CountDifferences(const Picture &a, const Picture &b, const RECT &rect);
// Pixels that differ between a and b outside every one of the rectangles.
int CountDifferencesOutside(const Picture &a, const Picture &b, const std::vector<RECT> &skip);

// The number of GDI objects the process holds, counted in the GDI handle table
// that the system maps into every process (its address is in the process
// environment block). Wine has no GetGuiResources; this table is what it
// would count. Entries of freed handles have type 0.
int LiveGdiObjects();
