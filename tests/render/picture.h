// Reading surfaces back for the rendering tests: whole pictures, reference
// drawings of single texts, a count of the process's GDI objects.
#pragma once

#include "engine/app_state.h"

#include <string>
#include <vector>

struct Picture {
    std::vector<COLORREF> pixels; // 500 x 300, row by row
    COLORREF At(int x, int y) const { return pixels[y * 500 + x]; }
};

// Every pixel of a 500 x 300 surface, through GetPixel.
Picture ReadPicture(HDC dc);

// Writes the picture as a 24-bit BMP file.
bool SavePicture(const Picture &picture, const std::string &path);
// Writes the picture as a 24-bit BMP into the folder named by the environment
// variable KESTRUNE_PICTURE_DIR, when it is set; otherwise does nothing.
void SavePictureIfAsked(const Picture &picture, const std::string &name);

struct FontSpec {
    int height;
    int weight;
    DWORD italic;
    DWORD charset;
    DWORD pitch_family;
};

struct TextSpec {
    FontSpec font;
    RECT rect;
    std::string text; // code page 932
};

// The background with the given texts drawn on it (black, transparent,
// single line centred in each rectangle), as the screens draw their texts.
Picture RenderTexts(HDC background, const std::vector<TextSpec> &texts);

// Pixels in rect where a and b differ.
int CountDifferences(const Picture &a, const Picture &b, const RECT &rect);

// The number of GDI objects the process holds, counted in the GDI handle table
// that the system maps into every process (its address is in the process
// environment block). Wine has no GetGuiResources; this table is what it
// would count. Entries of freed handles have type 0.
int LiveGdiObjects();
