#include "tests/support/message_boxes.h"

#include "tests/support/message_pump.h"

// The id of a message box's text.
constexpr int MESSAGE_TEXT_ID = 0xFFFF;

MessageBoxWatcher::MessageBoxWatcher(DWORD process_id)
    : process_id_(process_id), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

// A shown message box of the process, or null.
static HWND FindBox(DWORD process_id) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == process_id && IsWindowVisible(box)) {
            return box;
        }
    }
    return nullptr;
}

void MessageBoxWatcher::Watch() {
    HWND answered = nullptr; // may linger a moment after its OK
    HWND box = nullptr;
    // A box of another process sends this thread no message: it is looked for.
    auto new_box = [&] {
        box = FindBox(process_id_);
        if (box != answered) {
            answered = nullptr;
        }
        return stop_ || (box != nullptr && box != answered);
    };
    while (PollUntil(new_box, INFINITE) && !stop_) {
        wchar_t text[2048] = L"";
        GetDlgItemTextW(box, MESSAGE_TEXT_ID, text, 2048);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(text);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        answered = box;
    }
}

std::vector<std::wstring> MessageBoxWatcher::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}
