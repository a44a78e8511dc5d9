// Libraries of the system that Windows does not keep among its Known DLLs
// (WINMM, OLEACC, SHELL32's helpers ...) are found by a plain search in the
// program's own folder first, so a DLL of that name left beside Kestrune.exe
// (in a Downloads folder, in the temporary folder a zip is run from) would
// run inside it. The program imports none of them: each is loaded here, from
// the system folder only.
#pragma once

#include <windows.h>

// Makes the system folder the only place the process's later loads search
// by default, including the loads that system libraries make for themselves.
// Called first thing in WinMain; a Windows without the call keeps its order.
void RestrictLibrarySearch();

// The library `name` (a bare file name, L"winmm.dll") from the system folder,
// with its own dependencies searched there too; null when it is missing. A
// library already loaded is not loaded twice.
HMODULE LoadSystemLibrary(const wchar_t *name);

// A FARPROC taken as the function it is (through the one function type that
// any other may be cast to and from without a warning).
template <typename Function> Function AsFunction(FARPROC proc) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

// The exported function `name` of `library`, or null.
template <typename Function> Function LibraryFunction(HMODULE library, const char *name) {
    return library != nullptr ? AsFunction<Function>(GetProcAddress(library, name)) : nullptr;
}
