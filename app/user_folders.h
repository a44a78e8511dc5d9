// The folders of the user that the program may write to besides its working
// folder, and whether a folder is a temporary one.
#pragma once

#include <windows.h>

// The user's Documents folder (a known folder: wherever the user has moved
// it), without a separator at the end; false when there is none.
bool DocumentsFolder(wchar_t *folder, int chars);
// Whether `folder` (a whole path) is the user's temporary folder or inside
// it, where Windows puts a program started from inside a zip.
bool IsInTemporaryFolder(const wchar_t *folder);
