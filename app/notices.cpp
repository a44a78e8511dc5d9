#include "app/notices.h"

// Room for the longest notice, decoded, and a path after it.
constexpr int NOTICE_CHARS = 1024;

static bool notice_open = false;

// Decoded from code page 932 here, as the Japanese button labels are, so
// that the text reads right whatever the system's code page.
static bool Decode(const char *text, wchar_t *wide, int chars) {
    return MultiByteToWideChar(932, 0, text, -1, wide, chars) != 0;
}

void ShowNotice(HWND owner, const char *text, const wchar_t *detail) {
    // A failure met while the listener reads about it (a queued press, say)
    // is the same news: one box at a time, never a pile of them.
    if (notice_open) {
        return;
    }
    wchar_t message[NOTICE_CHARS];
    wchar_t caption[64];
    if (!Decode(text, message, NOTICE_CHARS) || !Decode(NOTICE_CAPTION, caption, 64)) {
        return;
    }
    if (detail != nullptr) {
        int used = lstrlenW(message);
        lstrcpynW(message + used, detail, NOTICE_CHARS - used);
    }
    notice_open = true;
    MessageBoxW(owner, message, caption, MB_OK | MB_ICONWARNING);
    notice_open = false;
}
