#include "tests/reliability/process_counts.h"

#include "tests/support/picture.h"

#include <mmsystem.h>
#include <psapi.h>

// No real table has more than this; it only bounds the probe on a system
// whose table is large.
static const int TIMER_PROBE_LIMIT = 4096;
// A period no probe lives long enough to see fire.
static const UINT IDLE_TIMER_MS = 60000;

static void CALLBACK IdleTimer(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

static UINT TakeTimer() {
    return timeSetEvent(IDLE_TIMER_MS, IDLE_TIMER_MS / 2, IdleTimer, 0,
                        TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
}

TimerHog::TimerHog() {
    for (int i = 0; i < TIMER_PROBE_LIMIT; ++i) {
        UINT id = TakeTimer();
        if (id == 0) {
            break;
        }
        ids_.push_back(id);
    }
}

TimerHog::~TimerHog() {
    for (UINT id : ids_) {
        timeKillEvent(id);
    }
}

int FreeTimerSlots() {
    TimerHog probe;
    return probe.held();
}

static BOOL CALLBACK CountOne(HWND, LPARAM count) {
    ++*reinterpret_cast<int *>(count);
    return TRUE;
}

static int WindowAndDescendants(HWND window) {
    int count = 1;
    EnumChildWindows(window, CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

static BOOL CALLBACK CountIfOurs(HWND window, LPARAM count) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId()) {
        *reinterpret_cast<int *>(count) += WindowAndDescendants(window);
    }
    return TRUE;
}

int ProcessWindows() {
    int count = 0;
    EnumWindows(CountIfOurs, reinterpret_cast<LPARAM>(&count));
    // Message-only windows are not top-level windows and need a walk of their own.
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
        CountIfOurs(window, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

size_t HeapBytesInUse() {
    HANDLE heaps[256];
    DWORD count = GetProcessHeaps(ARRAYSIZE(heaps), heaps);
    if (count > ARRAYSIZE(heaps)) {
        count = ARRAYSIZE(heaps);
    }
    size_t total = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i])) {
            continue;
        }
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                total += entry.cbData;
            }
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

ProcessCounts CountProcess() {
    ProcessCounts counts = {};
    counts.gdi_objects = LiveGdiObjects();
    counts.windows = ProcessWindows();
    counts.free_timer_slots = FreeTimerSlots();
    counts.heap_bytes = HeapBytesInUse();
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
        counts.private_bytes = memory.PagefileUsage;
    }
    return counts;
}
