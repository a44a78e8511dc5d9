// A window read as a screen reader reads it, through Microsoft Active
// Accessibility from this process (another one than the real program's).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One child of a window's client area: a control (an object of its own) or
// a simple element (a painted text).
struct AccessibleItem {
    bool is_control;
    std::wstring name;
    std::wstring value;
    long role;
    std::wstring shortcut;
    int id; // a control's id (its window's), 0 for a text
};

// The children of `window`'s client area in order; false when they cannot
// be read.
bool ReadAccessibleScreen(HWND window, std::vector<AccessibleItem> *items);
