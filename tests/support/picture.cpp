#include "tests/support/picture.h"

#include <stdio.h>
#include <stdlib.h>

Picture ReadPicture(HDC dc, int x, int y, int width, int height) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
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
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    Picture picture = ReadPicture(screen, origin.x, origin.y, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    return picture;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
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
    const int row_bytes = (picture.width * 3 + 3) / 4 * 4; // rows end on a 4-byte boundary
    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + row_bytes * picture.height;
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height; // top-down
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    fwrite(&header, sizeof header, 1, file);
    fwrite(&info, sizeof info, 1, file);
    std::vector<BYTE> row(row_bytes);
    for (int y = 0; y < picture.height; y++) {
        for (int x = 0; x < picture.width; x++) {
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
              info.biWidth > 0 && info.biWidth <= 8192 && info.biHeight < 0 &&
              info.biHeight >= -8192 && info.biBitCount == 24 &&
              fseek(file, header.bfOffBits, SEEK_SET) == 0;
    picture->width = ok ? info.biWidth : PICTURE_WIDTH;
    picture->height = ok ? -info.biHeight : PICTURE_HEIGHT;
    picture->pixels.assign(static_cast<size_t>(picture->width) * picture->height, 0);
    std::vector<BYTE> row((picture->width * 3 + 3) / 4 * 4);
    for (int y = 0; ok && y < picture->height; y++) {
        ok = fread(row.data(), 1, row.size(), file) == row.size();
        for (int x = 0; ok && x < picture->width; x++) {
            picture->pixels[y * picture->width + x] =
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
    if (a.width != b.width || a.height != b.height) {
        return a.width * a.height;
    }
    int count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
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
    if (a.width != b.width || a.height != b.height) {
        return a.width * a.height;
    }
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

// How much of each old pixel along one axis falls into each new pixel when
// `from` pixels are averaged down to `to`.
struct Share {
    int from_index;
    double weight;
};
std::vector<std::vector<Share>> SharesAlong(int from, int to) {
    std::vector<std::vector<Share>> shares(to);
    double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        double begin = i * step;
        double end = begin + step;
        for (int j = static_cast<int>(begin); j < from && j < end; ++j) {
            double inside = (j + 1 < end ? j + 1 : end) - (j > begin ? j : begin);
            if (inside > 0) {
                shares[i].push_back({j, inside / step});
            }
        }
    }
    return shares;
}

} // namespace

Picture ScaleDown(const Picture &picture, int width, int height) {
    std::vector<std::vector<Share>> columns = SharesAlong(picture.width, width);
    std::vector<std::vector<Share>> rows = SharesAlong(picture.height, height);
    Picture small;
    small.width = width;
    small.height = height;
    small.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double red = 0, green = 0, blue = 0;
            for (const Share &row : rows[y]) {
                for (const Share &column : columns[x]) {
                    COLORREF c = picture.At(column.from_index, row.from_index);
                    double weight = row.weight * column.weight;
                    red += GetRValue(c) * weight;
                    green += GetGValue(c) * weight;
                    blue += GetBValue(c) * weight;
                }
            }
            small.pixels[y * width + x] =
                RGB(static_cast<int>(red + 0.5), static_cast<int>(green + 0.5),
                    static_cast<int>(blue + 0.5));
        }
    }
    return small;
}

int TileComparison::over(int tolerance) const {
    int count = 0;
    for (int d : differences) {
        count += d > tolerance;
    }
    return count;
}

namespace {

// Sums of each colour channel over every rectangle from the origin, so that
// the sum over any rectangle takes four look-ups.
struct ChannelSums {
    int width;
    std::vector<long long> sums[3]; // (width + 1) x (height + 1)
    explicit ChannelSums(const Picture &p) : width(p.width) {
        for (auto &s : sums) {
            s.assign(static_cast<size_t>(p.width + 1) * (p.height + 1), 0);
        }
        for (int y = 0; y < p.height; ++y) {
            long long row[3] = {};
            for (int x = 0; x < p.width; ++x) {
                COLORREF c = p.At(x, y);
                row[0] += GetRValue(c);
                row[1] += GetGValue(c);
                row[2] += GetBValue(c);
                for (int i = 0; i < 3; ++i) {
                    sums[i][At(x + 1, y + 1)] = sums[i][At(x + 1, y)] + row[i];
                }
            }
        }
    }
    size_t At(int x, int y) const { return static_cast<size_t>(y) * (width + 1) + x; }
    long long Sum(int channel, int left, int top, int right, int bottom) const {
        const std::vector<long long> &s = sums[channel];
        return s[At(right, bottom)] - s[At(left, bottom)] - s[At(right, top)] + s[At(left, top)];
    }
};

} // namespace

TileComparison CompareTiles(const Picture &a, const Picture &b, int tile, int shift) {
    TileComparison result;
    if (a.width != b.width || a.height != b.height || tile <= 0 || shift < 0) {
        result.largest = 255;
        result.differences.assign(1, 255);
        return result;
    }
    ChannelSums sa(a);
    ChannelSums sb(b);
    result.columns = (a.width + tile - 1) / tile;
    result.rows = (a.height + tile - 1) / tile;
    for (int ty = 0; ty < result.rows; ++ty) {
        for (int tx = 0; tx < result.columns; ++tx) {
            int left = tx * tile;
            int top = ty * tile;
            int right = left + tile < a.width ? left + tile : a.width;
            int bottom = top + tile < a.height ? top + tile : a.height;
            long long count = static_cast<long long>(right - left) * (bottom - top);
            int best = 255;
            for (int dy = -shift; dy <= shift; ++dy) {
                for (int dx = -shift; dx <= shift; ++dx) {
                    if (left + dx < 0 || top + dy < 0 || right + dx > b.width ||
                        bottom + dy > b.height) {
                        continue;
                    }
                    int difference = 0;
                    for (int channel = 0; channel < 3; ++channel) {
                        long long d = sa.Sum(channel, left, top, right, bottom) -
                                      sb.Sum(channel, left + dx, top + dy, right + dx, bottom + dy);
                        int mean = static_cast<int>((d < 0 ? -d : d) / count);
                        difference = mean > difference ? mean : difference;
                    }
                    best = difference < best ? difference : best;
                }
            }
            result.differences.push_back(best);
            if (best > result.largest) {
                result.largest = best;
                result.largest_x = tx;
                result.largest_y = ty;
            }
        }
    }
    return result;
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
