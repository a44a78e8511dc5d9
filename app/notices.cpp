#include "app/notices.h"

// Room for the longest notice and a path after it.
constexpr int NOTICE_CHARS = 1024;

static bool notice_open = false;

void ShowNotice(HWND owner, int language, TextId id, const wchar_t *detail) {
    // A failure met while the listener reads about it (a queued press, say)
    // is the same news: one box at a time, never a pile of them.
    if (notice_open) {
        return;
    }
    wchar_t message[NOTICE_CHARS];
    lstrcpynW(message, LanguageText(language, id), NOTICE_CHARS);
    if (detail != nullptr) {
        int used = lstrlenW(message);
        lstrcpynW(message + used, detail, NOTICE_CHARS - used);
    }
    notice_open = true;
    MessageBoxW(owner, message, NOTICE_CAPTION, MB_OK | MB_ICONWARNING);
    notice_open = false;
}
