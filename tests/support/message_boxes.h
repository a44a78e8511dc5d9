// The message boxes of a process, watched from a thread of the test's own:
// each one's text is kept and the box closed with OK, as a listener who has
// read it does, so that the program goes on.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxWatcher {
  public:
    explicit MessageBoxWatcher(DWORD process_id = GetCurrentProcessId());
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher &) = delete;
    MessageBoxWatcher &operator=(const MessageBoxWatcher &) = delete;
    // The texts of the boxes closed so far, in order.
    std::vector<std::wstring> Texts() const;

  private:
    void Watch();

    DWORD process_id_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};
