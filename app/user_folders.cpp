#include "app/user_folders.h"

#include "platform/system_library.h"

#include <shlobj.h>

typedef HRESULT(WINAPI *GetKnownFolderPathFunction)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR *);
typedef void(WINAPI *FreeTaskMemoryFunction)(void *);

// FOLDERID_Documents, written out: the program links no GUID library.
static const GUID kDocumentsFolderId = {
    0xFDD39AD0, 0x238F, 0x46AF, {0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7}};

bool DocumentsFolder(wchar_t *folder, int chars) {
    folder[0] = 0;
    // Loaded when a result first needs the folder (never at start-up), once.
    static const auto get_path = LibraryFunction<GetKnownFolderPathFunction>(
        LoadSystemLibrary(L"shell32.dll"), "SHGetKnownFolderPath");
    static const auto free_memory =
        LibraryFunction<FreeTaskMemoryFunction>(LoadSystemLibrary(L"ole32.dll"), "CoTaskMemFree");
    if (get_path == nullptr || free_memory == nullptr) {
        return false;
    }
    wchar_t *path = nullptr;
    bool found = SUCCEEDED(get_path(kDocumentsFolderId, KF_FLAG_CREATE, nullptr, &path)) &&
                 path != nullptr && lstrlenW(path) < chars;
    if (found) {
        lstrcpyW(folder, path);
    }
    free_memory(path);
    return found;
}

// The long form of `path` (the temporary folder is often given in 8.3 short
// names, C:\Users\JOHNSM~1\...), with a separator at the end.
static bool LongFolderPath(const wchar_t *path, wchar_t *out, DWORD chars) {
    DWORD length = GetLongPathNameW(path, out, chars);
    if (length == 0 || length >= chars - 1) {
        return false;
    }
    if (out[length - 1] != L'\\') {
        out[length] = L'\\';
        out[length + 1] = 0;
    }
    return true;
}

bool IsInTemporaryFolder(const wchar_t *folder) {
    wchar_t temporary[MAX_PATH + 2];
    wchar_t given[MAX_PATH + 2];
    DWORD length = GetTempPathW(MAX_PATH, temporary);
    if (length == 0 || length >= MAX_PATH || !LongFolderPath(temporary, temporary, MAX_PATH + 2) ||
        !LongFolderPath(folder, given, MAX_PATH + 2)) {
        return false;
    }
    int prefix = lstrlenW(temporary);
    return lstrlenW(given) >= prefix && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, given,
                                                       prefix, temporary, prefix) == CSTR_EQUAL;
}
