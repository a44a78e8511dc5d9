#include "tests/support/message_boxes.h"

#include "tests/support/message_pump.h"

MessageBoxWatcher::MessageBoxWatcher(DWORD process_id)
    : process_id_(process_id), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    thread_.join();
}

struct BoxSearch {
    DWORD process_id;
    HWND found;
};

static BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    BoxSearch *search = reinterpret_cast<BoxSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner == search->process_id && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The box's message: the longest text among its static controls (the icon
// is one without text).
static BOOL CALLBACK KeepLongestText(HWND child, LPARAM param) {
    std::wstring *longest = reinterpret_cast<std::wstring *>(param);
    wchar_t name[16] = L"";
    wchar_t text[2048] = L"";
    GetClassNameW(child, name, 16);
    GetWindowTextW(child, text, 2048);
    if (lstrcmpiW(name, L"Static") == 0 && lstrlenW(text) > static_cast<int>(longest->size())) {
        *longest = text;
    }
    return TRUE;
}

void MessageBoxWatcher::Watch() {
    HWND last = nullptr;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) {
                return;
            }
        }
        BoxSearch search = {process_id_, nullptr};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        // A box already answered may linger a moment before it is gone.
        if (search.found != nullptr && search.found != last) {
            std::wstring text;
            EnumChildWindows(search.found, KeepLongestText, reinterpret_cast<LPARAM>(&text));
            {
                std::lock_guard<std::mutex> lock(mutex_);
                texts_.push_back(text);
            }
            last = search.found;
            PostMessageW(search.found, WM_COMMAND, IDOK, 0);
        } else if (search.found == nullptr) {
            last = nullptr;
        }
        Sleep(10);
    }
}

std::vector<std::wstring> MessageBoxWatcher::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

bool MessageBoxWatcher::WaitForCount(size_t count, DWORD timeout_ms) const {
    return PollUntil([&] { return Texts().size() >= count; }, timeout_ms);
}
