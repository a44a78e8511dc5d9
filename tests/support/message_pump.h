// Running this thread's message loop in tests that own real windows: until
// something holds, for a while, or just what is queued now.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches what is queued for this thread now, without waiting.
void PumpPending();
// Dispatches this thread's messages until `done` holds or `timeout_ms` passes;
// `before` sees each message just before it is dispatched, `after` just after.
// Returns whether `done` held.
bool PumpUntil(const std::function<bool()> &done, DWORD timeout_ms = 10000,
               const std::function<void(const MSG &)> &before = nullptr,
               const std::function<void(const MSG &)> &after = nullptr);
// Dispatches this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);
// For what another process produces (its window on the screen, a file it
// writes), which sends this thread no message: looks again every 10 ms until
// `done` holds or `timeout_ms` passes. Returns whether `done` held.
bool PollUntil(const std::function<bool()> &done, DWORD timeout_ms);
