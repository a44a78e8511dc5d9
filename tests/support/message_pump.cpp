#include "tests/support/message_pump.h"

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()> &done, DWORD timeout_ms,
               const std::function<void(const MSG &)> &before,
               const std::function<void(const MSG &)> &after) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (before) {
                before(msg);
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (after) {
                after(msg);
            }
        }
    }
    return true;
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

bool PollUntil(const std::function<bool()> &done, DWORD timeout_ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms) {
            return false;
        }
        Sleep(10);
    }
    return true;
}
