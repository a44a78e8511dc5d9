#include "tests/support/accessible.h"

#include <oleacc.h>

namespace {

std::wstring TakeString(BSTR text) {
    std::wstring kept = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    return kept;
}

VARIANT Self() {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

AccessibleItem ReadItem(IAccessible *parent, VARIANT &child) {
    AccessibleItem item = {};
    BSTR text = nullptr;
    VARIANT role;
    VariantInit(&role);
    IAccessible *object = nullptr;
    if (child.vt == VT_DISPATCH && child.pdispVal != nullptr &&
        SUCCEEDED(
            child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void **>(&object)))) {
        item.is_control = true;
        VARIANT self = Self();
        object->get_accName(self, &text);
        item.name = TakeString(text);
        text = nullptr;
        object->get_accValue(self, &text);
        item.value = TakeString(text);
        object->get_accRole(self, &role);
        object->Release();
    } else {
        parent->get_accName(child, &text);
        item.name = TakeString(text);
        parent->get_accRole(child, &role);
    }
    item.role = role.vt == VT_I4 ? role.lVal : -1;
    VariantClear(&child);
    return item;
}

} // namespace

bool ReadAccessibleScreen(HWND window, std::vector<AccessibleItem> *items, std::string *failure) {
    CoInitialize(nullptr);
    items->clear();
    IAccessible *screen = nullptr;
    HRESULT result = AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                                reinterpret_cast<void **>(&screen));
    if (FAILED(result) || screen == nullptr) {
        *failure = "no accessible object for the window, error " + std::to_string(result);
        return false;
    }
    long count = 0;
    screen->get_accChildCount(&count);
    std::vector<VARIANT> children(count > 0 ? count : 1);
    long got = 0;
    result = AccessibleChildren(screen, 0, count, children.data(), &got);
    if (FAILED(result)) {
        *failure = "its children could not be read, error " + std::to_string(result);
    }
    for (long i = 0; i < got; ++i) {
        items->push_back(ReadItem(screen, children[i]));
    }
    screen->Release();
    return SUCCEEDED(result);
}

std::vector<std::wstring> AccessibleTexts(const std::vector<AccessibleItem> &items) {
    std::vector<std::wstring> texts;
    for (const AccessibleItem &item : items) {
        if (!item.is_control) {
            texts.push_back(item.name);
        }
    }
    return texts;
}

const AccessibleItem *FindAccessible(const std::vector<AccessibleItem> &items,
                                     const std::wstring &name) {
    for (const AccessibleItem &item : items) {
        if (item.name == name) {
            return &item;
        }
    }
    return nullptr;
}
