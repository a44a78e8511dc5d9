#include "platform/system_library.h"

// Declared here rather than taken from the headers: both are newer than the
// oldest Windows the program starts on.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
typedef BOOL(WINAPI *SetDefaultDllDirectoriesFunction)(DWORD);

// Room for the system folder's path and a library's name.
constexpr UINT SYSTEM_PATH_CHARS = MAX_PATH + 64;

void RestrictLibrarySearch() {
    auto restrict_search = LibraryFunction<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (restrict_search != nullptr) {
        restrict_search(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

HMODULE LoadSystemLibrary(const wchar_t *name) {
    HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) {
        return library;
    }
    // A Windows 7 without the search flags: the whole path, and the library's
    // own dependencies searched from its folder rather than the program's.
    wchar_t path[SYSTEM_PATH_CHARS];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH ||
        length + 1 + lstrlenW(name) >= static_cast<int>(SYSTEM_PATH_CHARS)) {
        return nullptr;
    }
    lstrcatW(path, L"\\");
    lstrcatW(path, name);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
