// The multimedia functions the program uses, from the system folder's
// WINMM.dll (platform/system_library.h says why it is not imported).
#pragma once

#include <windows.h>
#include <mmsystem.h>

struct WinmmFunctions {
    decltype(&::waveOutOpen) waveOutOpen;
    decltype(&::waveOutPrepareHeader) waveOutPrepareHeader;
    decltype(&::waveOutUnprepareHeader) waveOutUnprepareHeader;
    decltype(&::waveOutWrite) waveOutWrite;
    decltype(&::waveOutReset) waveOutReset;
    decltype(&::waveOutClose) waveOutClose;
    decltype(&::timeSetEvent) timeSetEvent;
    decltype(&::timeKillEvent) timeKillEvent;
    decltype(&::timeGetTime) timeGetTime;
};

// Loaded on first use. Without WINMM.dll every member still works: the wave
// device fails to open, no timer is given, and the clock is the tick count.
const WinmmFunctions &Winmm();
