#include "history/history_accessibility.h"

#include "lang/language.h"
#include "platform/oleacc.h"

#include <oleacc.h>

static bool IsSelf(const VARIANT &child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// What a child id of one of our objects stands for.
enum ChildKind { CHILD_NONE, CHILD_TEXT, CHILD_TABLE, CHILD_ROW };
struct Child {
    ChildKind kind;
    int index; // the text's, or the row's (0 is the newest)
};

// The object a screen reader is given for the window's client area or its
// table: the system's own, asked for all but its children, which are ours.
// A COM object is made of its interface; this is the only one.
struct HistoryObject final : IAccessible {
    LONG refs;
    IAccessible *standard;
    HWND window;
    bool is_table;
    HistoryReadingFunction read;

    bool Read(HistoryReading *reading) const {
        HWND history = is_table ? GetParent(window) : window;
        return IsWindow(window) && read(history, reading);
    }
    long ChildCount() const {
        HistoryReading r;
        if (!Read(&r)) {
            return 0;
        }
        return is_table ? r.test_count : r.text_count + 1;
    }
    Child ChildOf(const VARIANT &child) const {
        long count = ChildCount();
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > count) {
            return {CHILD_NONE, 0};
        }
        if (is_table) {
            return {CHILD_ROW, child.lVal - 1};
        }
        return child.lVal == count ? Child{CHILD_TABLE, 0} : Child{CHILD_TEXT, child.lVal - 1};
    }
    // A child id of ours: the system's object numbers the window's children
    // otherwise, so it is never asked about one.
    bool Ours(const VARIANT &child) const { return !IsSelf(child); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *out = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs);
        if (left == 0) {
            standard->Release();
            delete this;
        }
        return left;
    }
    // IDispatch: the system object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
        return standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT n, LCID locale, ITypeInfo **info) override {
        return standard->GetTypeInfo(n, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override {
        return standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *error) override {
        return standard->Invoke(id, iid, locale, flags, params, result, exception, error);
    }
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
        return standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override {
        *count = ChildCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
        HistoryReading r;
        if (!Read(&r)) {
            return E_FAIL;
        }
        if (IsSelf(child)) {
            return is_table ? MakeAccessibleString(
                                  LanguageText(r.language, TEXT_HISTORY_TABLE_NAME), name)
                            : standard->get_accName(child, name);
        }
        Child c = ChildOf(child);
        if (c.kind == CHILD_TEXT) {
            return MakeAccessibleString(r.texts[c.index].text, name);
        }
        if (c.kind == CHILD_ROW) {
            wchar_t text[128];
            HistoryRowName(&r.tests[r.test_count - 1 - c.index], r.language, text, 128);
            return MakeAccessibleString(text, name);
        }
        if (c.kind == CHILD_TABLE) {
            return MakeAccessibleString(LanguageText(r.language, TEXT_HISTORY_TABLE_NAME), name);
        }
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
        return Ours(child) ? S_FALSE : standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override {
        return Ours(child) ? S_FALSE : standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
        Child c = ChildOf(child);
        role->vt = VT_I4;
        if (IsSelf(child)) {
            if (!is_table) {
                return standard->get_accRole(child, role);
            }
            role->lVal = ROLE_SYSTEM_LIST;
            return S_OK;
        }
        switch (c.kind) {
        case CHILD_TEXT: role->lVal = ROLE_SYSTEM_STATICTEXT; return S_OK;
        case CHILD_ROW: role->lVal = ROLE_SYSTEM_LISTITEM; return S_OK;
        case CHILD_TABLE: role->lVal = ROLE_SYSTEM_LIST; return S_OK;
        default: role->vt = VT_EMPTY; return E_INVALIDARG;
        }
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override {
        if (IsSelf(child)) {
            return standard->get_accState(child, state);
        }
        Child c = ChildOf(child);
        if (c.kind == CHILD_NONE) {
            return E_INVALIDARG;
        }
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_READONLY;
        if (c.kind == CHILD_ROW) {
            state->lVal |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
            if (SendMessageW(window, LB_GETCURSEL, 0, 0) == c.index) {
                state->lVal |=
                    STATE_SYSTEM_SELECTED | (GetFocus() == window ? STATE_SYSTEM_FOCUSED : 0);
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override {
        return Ours(child) ? S_FALSE : standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override {
        return Ours(child) ? S_FALSE : standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override {
        return Ours(child) ? S_FALSE : standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override {
        LRESULT selected = SendMessageW(window, LB_GETCURSEL, 0, 0);
        if (is_table && GetFocus() == window && selected >= 0) {
            child->vt = VT_I4;
            child->lVal = static_cast<LONG>(selected) + 1;
            return S_OK;
        }
        return standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override {
        return standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override {
        return Ours(child) ? S_FALSE : standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        Child c = ChildOf(child);
        if (c.kind == CHILD_ROW && (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)) != 0) {
            SendMessageW(window, LB_SETCURSEL, c.index, 0);
            return S_OK;
        }
        return Ours(child) ? E_INVALIDARG : standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override {
        HistoryReading r;
        Child c = ChildOf(child);
        if (IsSelf(child) || c.kind == CHILD_TABLE || !Read(&r)) {
            return c.kind == CHILD_NONE && !IsSelf(child)
                       ? E_INVALIDARG
                       : standard->accLocation(left, top, width, height, child);
        }
        RECT at = {};
        if (c.kind == CHILD_ROW) {
            SendMessageW(window, LB_GETITEMRECT, c.index, reinterpret_cast<LPARAM>(&at));
        } else {
            at = r.texts[c.index].kind == HISTORY_PLOT ? *r.plot_rect : r.text_rects[c.index];
        }
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&at), 2);
        *left = at.left;
        *top = at.top;
        *width = at.right - at.left;
        *height = at.bottom - at.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override {
        return Ours(start) ? E_NOTIMPL : standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override {
        return standard->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Ours(child) ? E_INVALIDARG : standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return Ours(child) ? E_INVALIDARG : standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Ours(child) ? E_INVALIDARG : standard->put_accValue(child, value);
    }
};

// A new object with one reference; null when the system gives none.
static HistoryObject *MakeObject(HWND window, bool is_table, HistoryReadingFunction read) {
    IAccessible *standard = nullptr;
    if (!HasOleacc() || FAILED(Oleacc().create_standard(window, OBJID_CLIENT, IID_IAccessible,
                                                        reinterpret_cast<void **>(&standard)))) {
        return nullptr;
    }
    HistoryObject *object = new HistoryObject;
    object->refs = 1;
    object->standard = standard;
    object->window = window;
    object->is_table = is_table;
    object->read = read;
    return object;
}

// The table is an object of its own; texts and rows are simple elements.
HRESULT HistoryObject::get_accChild(VARIANT child, IDispatch **object) {
    *object = nullptr;
    Child c = ChildOf(child);
    if (c.kind == CHILD_NONE) {
        return E_INVALIDARG;
    }
    HistoryReading r;
    if (c.kind != CHILD_TABLE || !Read(&r)) {
        return S_FALSE;
    }
    HistoryObject *table = MakeObject(r.table, true, read);
    if (table == nullptr) {
        return E_FAIL;
    }
    *object = static_cast<IDispatch *>(table);
    return S_OK;
}

LRESULT AnswerHistoryObject(HWND window, bool is_table, WPARAM wparam, LPARAM lparam,
                            HistoryReadingFunction read) {
    if (static_cast<LONG>(lparam) != OBJID_CLIENT) {
        return 0;
    }
    HistoryObject *object = MakeObject(window, is_table, read);
    if (object == nullptr) {
        return 0;
    }
    LRESULT result = Oleacc().result_from_object(IID_IAccessible, wparam, object);
    object->Release();
    return result;
}

void AnnounceHistoryChange(HWND window, HWND table) {
    NotifyWinEvent(EVENT_OBJECT_REORDER, window, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_REORDER, table, OBJID_CLIENT, CHILDID_SELF);
}
