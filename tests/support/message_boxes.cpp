#include "tests/support/message_boxes.h"

// The id of a message box's text.
constexpr int MESSAGE_TEXT_ID = 0xFFFF;

MessageBoxWatcher::MessageBoxWatcher(DWORD process_id)
    : process_id_(process_id), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

void MessageBoxWatcher::Watch() {
    HWND answered = nullptr; // may linger a moment after its OK
    while (!stop_) {
        HWND box = nullptr;
        DWORD owner = 0;
        while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
            GetWindowThreadProcessId(box, &owner);
            if (owner == process_id_ && IsWindowVisible(box)) {
                break;
            }
        }
        if (box != nullptr && box != answered) {
            wchar_t text[2048] = L"";
            GetDlgItemTextW(box, MESSAGE_TEXT_ID, text, 2048);
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(text);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        answered = box;
        Sleep(10);
    }
}

std::vector<std::wstring> MessageBoxWatcher::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}
