#include "tests/support/accessible.h"

#include <oleacc.h>

static std::wstring Take(BSTR text) {
    std::wstring kept = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    return kept;
}

// The name, value and role of `child` of `object` (CHILDID_SELF: the object).
static AccessibleItem Describe(IAccessible *object, VARIANT child, bool is_control) {
    AccessibleItem item = {is_control, L"", L"", -1, L"", 0};
    BSTR text = nullptr;
    object->get_accName(child, &text);
    item.name = Take(text);
    text = nullptr;
    object->get_accValue(child, &text);
    item.value = Take(text);
    VARIANT role;
    VariantInit(&role);
    object->get_accRole(child, &role);
    item.role = role.vt == VT_I4 ? role.lVal : -1;
    text = nullptr;
    object->get_accKeyboardShortcut(child, &text);
    item.shortcut = Take(text);
    HWND window = nullptr;
    if (is_control && SUCCEEDED(WindowFromAccessibleObject(object, &window))) {
        item.id = GetDlgCtrlID(window);
    }
    return item;
}

bool ReadAccessibleScreen(HWND window, std::vector<AccessibleItem> *items) {
    CoInitialize(nullptr);
    items->clear();
    IAccessible *screen = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void **>(&screen)))) {
        return false;
    }
    long count = 0;
    screen->get_accChildCount(&count);
    std::vector<VARIANT> children(count + 1);
    long got = 0;
    HRESULT result = AccessibleChildren(screen, 0, count, children.data(), &got);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    for (long i = 0; i < got; ++i) {
        IAccessible *control = nullptr;
        if (children[i].vt == VT_DISPATCH &&
            SUCCEEDED(children[i].pdispVal->QueryInterface(IID_IAccessible,
                                                           reinterpret_cast<void **>(&control)))) {
            items->push_back(Describe(control, self, true));
            control->Release();
        } else {
            items->push_back(Describe(screen, children[i], false));
        }
        VariantClear(&children[i]);
    }
    screen->Release();
    return SUCCEEDED(result);
}
