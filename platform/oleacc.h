// The accessibility functions a window needs to answer a screen reader
// (OLEACC's standard objects, OLEAUT32's strings), loaded from the system
// folder when a screen reader first asks: nothing of them runs before.
#pragma once

#include <windows.h>

#include <oleacc.h>

typedef HRESULT(WINAPI *CreateStdAccessibleObjectFunction)(HWND, LONG, REFIID, void **);
typedef LRESULT(WINAPI *LresultFromObjectFunction)(REFIID, WPARAM, LPUNKNOWN);
typedef BSTR(WINAPI *SysAllocStringLenFunction)(const OLECHAR *, UINT);

struct AccessibilityFunctions {
    CreateStdAccessibleObjectFunction create_standard;
    LresultFromObjectFunction result_from_object;
    SysAllocStringLenFunction alloc_string;
};

// The functions, each null when the system has none.
const AccessibilityFunctions &Oleacc();
// Whether every one of them is there.
bool HasOleacc();
// A copy of `text` for a screen reader to free.
HRESULT MakeAccessibleString(const wchar_t *text, BSTR *out);
