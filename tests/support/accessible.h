// A window read as a screen reader reads it, through Microsoft Active
// Accessibility from this process (another one than the program's, for the
// real Kestrune.exe): the children of its client area in order, each a
// control with an object of its own or a simple element (a painted text).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct AccessibleItem {
    bool is_control; // an object of its own (a control), not a simple element
    std::wstring name;
    std::wstring value;
    long role;
};

// The items of `window`'s client area; false, with `failure` saying why,
// when they cannot be read.
bool ReadAccessibleScreen(HWND window, std::vector<AccessibleItem> *items, std::string *failure);
// The texts (the simple elements' names) among `items`, in order.
std::vector<std::wstring> AccessibleTexts(const std::vector<AccessibleItem> &items);
// The item named `name`, or null.
const AccessibleItem *FindAccessible(const std::vector<AccessibleItem> &items,
                                     const std::wstring &name);
