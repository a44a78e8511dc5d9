#include "tests/support/picture.h"

#include <stdio.h>
#include <stdlib.h>

Picture ReadPicture(HDC dc, int x, int y) {
    Picture picture;
    picture.pixels.resize(PICTURE_WIDTH * PICTURE_HEIGHT);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = PICTURE_WIDTH;
    info.bmiHeader.biHeight = -PICTURE_HEIGHT; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT, dc, x, y, SRCCOPY);
    GdiFlush();
    const DWORD *pixel = static_cast<const DWORD *>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        DWORD bgra = pixel[i];
        picture.pixels[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}

Picture CaptureClient(HWND window) {
    // Paint what earlier clicks and counts invalidated, then copy the screen.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    Picture picture = ReadPicture(screen, origin.x, origin.y);
    ReleaseDC(nullptr, screen);
    return picture;
}

static BOOL CALLBACK AddVisibleChild(HWND child, LPARAM param) {
    auto *rects = reinterpret_cast<std::vector<RECT> *>(param);
    if (IsWindowVisible(child)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&r), 2);
        rects->push_back(r);
    }
    return TRUE;
}

std::vector<RECT> VisibleChildRects(HWND window) {
    std::vector<RECT> rects;
    EnumChildWindows(window, AddVisibleChild, reinterpret_cast<LPARAM>(&rects));
    return rects;
}

bool SavePicture(const Picture &picture, const std::string &path) {
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const int row_bytes = PICTURE_WIDTH * 3; // 1500, already a multiple of 4
    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + row_bytes * PICTURE_HEIGHT;
    info.biSize = sizeof info;
    info.biWidth = PICTURE_WIDTH;
    info.biHeight = -PICTURE_HEIGHT; // top-down
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    fwrite(&header, sizeof header, 1, file);
    fwrite(&info, sizeof info, 1, file);
    std::vector<BYTE> row(row_bytes);
    for (int y = 0; y < PICTURE_HEIGHT; y++) {
        for (int x = 0; x < PICTURE_WIDTH; x++) {
            COLORREF c = picture.At(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
        fwrite(row.data(), 1, row.size(), file);
    }
    return fclose(file) == 0;
}

bool LoadPicture(const std::string &path, Picture *picture) {
    FILE *file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    bool ok = fread(&header, sizeof header, 1, file) == 1 &&
              fread(&info, sizeof info, 1, file) == 1 && header.bfType == 0x4D42 &&
              info.biWidth == PICTURE_WIDTH && info.biHeight == -PICTURE_HEIGHT &&
              info.biBitCount == 24 && fseek(file, header.bfOffBits, SEEK_SET) == 0;
    picture->pixels.assign(PICTURE_WIDTH * PICTURE_HEIGHT, 0);
    std::vector<BYTE> row(PICTURE_WIDTH * 3);
    for (int y = 0; ok && y < PICTURE_HEIGHT; y++) {
        ok = fread(row.data(), 1, row.size(), file) == row.size();
        for (int x = 0; ok && x < PICTURE_WIDTH; x++) {
            picture->pixels[y * PICTURE_WIDTH + x] =
                RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
        }
    }
    fclose(file);
    return ok;
}

void SavePictureIfAsked(const Picture &picture, const std::string &name) {
    const char *folder = getenv("KESTRUNE_PICTURE_DIR");
    if (folder == nullptr || folder[0] == 0) {
        return;
    }
    SavePicture(picture, std::string(folder) + "/" + name + ".bmp");
}

Picture RenderTexts(HDC background, const std::vector<PlacedText> &texts) {
    // A surface of the background's own format, drawn on as the program draws.
    HDC dc = CreateCompatibleDC(background);
    HBITMAP bitmap = CreateCompatibleBitmap(background, PICTURE_WIDTH, PICTURE_HEIGHT);
    HGDIOBJ displaced = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT, background, 0, 0, SRCCOPY);
    SetBkMode(dc, TRANSPARENT);
    for (const PlacedText &item : texts) {
        HFONT font = CreateFontA(item.font.height, 0, 0, 0, item.font.weight, item.font.italic, 0,
                                 0, item.font.charset, 0, 0, 0, item.font.pitch_family, nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        RECT r = item.rect;
        DrawTextA(dc, item.text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        SelectObject(dc, old);
        DeleteObject(font);
    }
    Picture picture = ReadPicture(dc);
    SelectObject(dc, displaced);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return picture;
}

int CountDifferencesOutside(const Picture &a, const Picture &b, const std::vector<RECT> &skip) {
    int count = 0;
    for (int y = 0; y < PICTURE_HEIGHT; ++y) {
        for (int x = 0; x < PICTURE_WIDTH; ++x) {
            POINT p = {x, y};
            bool skipped = false;
            for (const RECT &r : skip) {
                skipped = skipped || PtInRect(&r, p);
            }
            if (!skipped && a.At(x, y) != b.At(x, y)) {
                ++count;
            }
        }
    }
    return count;
}

int CountDifferences(const Picture &a, const Picture &b, const RECT &rect) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; y++) {
        for (int x = rect.left; x < rect.right; x++) {
            if (a.At(x, y) != b.At(x, y)) {
                count++;
            }
        }
    }
    return count;
}

namespace {
// One entry of the GDI handle table, as laid out on 64-bit Windows and Wine.
struct GdiHandleEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 user_pointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle table entries are 24 bytes");
constexpr int GDI_HANDLE_TABLE_SIZE = 0x10000;
constexpr size_t PEB_GDI_SHARED_HANDLE_TABLE = 0xF8; // offset in the 64-bit PEB
constexpr size_t TEB_PROCESS_ENVIRONMENT_BLOCK = 0x60;
} // namespace

// Reading the thread block through the SDK's inline helper trips a false
// array-bounds warning in GCC.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
int LiveGdiObjects() {
    const BYTE *teb = reinterpret_cast<const BYTE *>(NtCurrentTeb());
    const BYTE *peb = *reinterpret_cast<const BYTE *const *>(teb + TEB_PROCESS_ENVIRONMENT_BLOCK);
    const GdiHandleEntry *table =
        *reinterpret_cast<const GdiHandleEntry *const *>(peb + PEB_GDI_SHARED_HANDLE_TABLE);
    if (table == nullptr) {
        return -1;
    }
    int count = 0;
    for (int i = 0; i < GDI_HANDLE_TABLE_SIZE; i++) {
        if (table[i].type != 0) {
            count++;
        }
    }
    return count;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
