// Message boxes a program shows, watched from a thread of the test's own:
// each one's text is kept and the box is closed with OK, as a listener who
// reads it does, so that the program goes on.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxWatcher {
  public:
    // Watches the boxes of the process `process_id` (this one by default).
    explicit MessageBoxWatcher(DWORD process_id = GetCurrentProcessId());
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher &) = delete;
    MessageBoxWatcher &operator=(const MessageBoxWatcher &) = delete;
    // The texts of the boxes closed so far, in order.
    std::vector<std::wstring> Texts() const;
    // Waits until `count` boxes have been closed; false on timeout.
    bool WaitForCount(size_t count, DWORD timeout_ms) const;

  private:
    void Watch();

    DWORD process_id_;
    bool stop_ = false;
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};
