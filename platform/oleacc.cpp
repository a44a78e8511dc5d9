#include "platform/oleacc.h"

#include "platform/system_library.h"

const AccessibilityFunctions &Oleacc() {
    static const AccessibilityFunctions functions = [] {
        HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
        HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
        AccessibilityFunctions f;
        f.create_standard =
            LibraryFunction<CreateStdAccessibleObjectFunction>(oleacc, "CreateStdAccessibleObject");
        f.result_from_object =
            LibraryFunction<LresultFromObjectFunction>(oleacc, "LresultFromObject");
        f.alloc_string = LibraryFunction<SysAllocStringLenFunction>(oleaut, "SysAllocStringLen");
        return f;
    }();
    return functions;
}

bool HasOleacc() {
    const AccessibilityFunctions &f = Oleacc();
    return f.create_standard != nullptr && f.result_from_object != nullptr &&
           f.alloc_string != nullptr;
}

HRESULT MakeAccessibleString(const wchar_t *text, BSTR *out) {
    *out = Oleacc().alloc_string(text, static_cast<UINT>(lstrlenW(text)));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}
