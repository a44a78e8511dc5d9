// What the test process holds, counted without GetGuiResources (which Wine
// does not implement), so that long use and shutdown can be checked for leaks.
#pragma once

#include <windows.h>

#include <stddef.h>

#include <vector>

struct ProcessCounts {
    int gdi_objects;      // live entries of the GDI handle table (LiveGdiObjects)
    int windows;          // windows of this process: top-level, message-only and children
    int free_timer_slots; // multimedia timers the system would still hand out
    size_t heap_bytes;    // bytes in busy blocks on every heap of the process
    size_t private_bytes; // what the system charges the process (PagefileUsage)
};

ProcessCounts CountProcess();

// Windows owned by this process, found by enumeration: every top-level and
// message-only window and all of their descendants.
int ProcessWindows();

// Multimedia timers are kept in a table of fixed size (16 entries under
// Wine): the free entries are counted by taking timers until the system
// refuses one, then killing them all again. Fewer free entries than before
// means a timer was left running.
int FreeTimerSlots();

// Sum of the busy blocks on all heaps of the process (HeapWalk): GlobalAlloc
// blocks, display records and tone buffers live there.
size_t HeapBytesInUse();

// Takes every multimedia timer the system will still give, until destroyed:
// while it lives, no new timer can start.
class TimerHog {
  public:
    TimerHog();
    ~TimerHog();
    TimerHog(const TimerHog &) = delete;
    TimerHog &operator=(const TimerHog &) = delete;
    int held() const { return static_cast<int>(ids_.size()); }

  private:
    std::vector<UINT> ids_;
};
