#include "platform/winmm.h"

#include "platform/system_library.h"

// What stands in for a function that WINMM.dll does not give.
static MMRESULT WINAPI NoWaveOpen(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD) {
    return MMSYSERR_NODRIVER;
}
static MMRESULT WINAPI NoWaveHeader(HWAVEOUT, LPWAVEHDR, UINT) {
    return MMSYSERR_INVALHANDLE;
}
static MMRESULT WINAPI NoWaveDevice(HWAVEOUT) {
    return MMSYSERR_INVALHANDLE;
}
static MMRESULT WINAPI NoTimer(UINT, UINT, LPTIMECALLBACK, DWORD_PTR, UINT) {
    return 0;
}
static MMRESULT WINAPI NoTimerToKill(UINT) {
    return TIMERR_NOCANDO;
}
static DWORD WINAPI TickCountClock() {
    return GetTickCount();
}

template <typename Function>
static void Resolve(HMODULE library, const char *name, Function fallback, Function *slot) {
    Function found = LibraryFunction<Function>(library, name);
    *slot = found != nullptr ? found : fallback;
}

static WinmmFunctions LoadWinmm() {
    HMODULE library = LoadSystemLibrary(L"winmm.dll");
    WinmmFunctions f;
    Resolve(library, "waveOutOpen", &NoWaveOpen, &f.waveOutOpen);
    Resolve(library, "waveOutPrepareHeader", &NoWaveHeader, &f.waveOutPrepareHeader);
    Resolve(library, "waveOutUnprepareHeader", &NoWaveHeader, &f.waveOutUnprepareHeader);
    Resolve(library, "waveOutWrite", &NoWaveHeader, &f.waveOutWrite);
    Resolve(library, "waveOutReset", &NoWaveDevice, &f.waveOutReset);
    Resolve(library, "waveOutClose", &NoWaveDevice, &f.waveOutClose);
    Resolve(library, "timeSetEvent", &NoTimer, &f.timeSetEvent);
    Resolve(library, "timeKillEvent", &NoTimerToKill, &f.timeKillEvent);
    Resolve(library, "timeGetTime", &TickCountClock, &f.timeGetTime);
    return f;
}

const WinmmFunctions &Winmm() {
    // Made once, by whichever thread asks first.
    static const WinmmFunctions functions = LoadWinmm();
    return functions;
}
