#include "app/accessibility.h"

#include "app/controls.h"
#include "app/keyboard.h"
#include "dsb/score_display.h"
#include "platform/oleacc.h"
#include "render/display_scale.h"
#include "render/screen_texts.h"
#include "lang/language.h"

#include <oleacc.h>

#include <algorithm>

// Where a control's own window procedure is kept while ours answers first,
// and the record of its screen.
#define ORIGINAL_PROC_PROPERTY L"Kestrune.OriginalProc"
#define STATE_PROPERTY L"Kestrune.State"

// Names that say what each control does, unique on its screen; the
// visible labels stay as they are.
struct ControlName {
    int id;
    TextId name;
};
static const ControlName kControlNames[] = {
    {ID_START, TEXT_BUTTON_START},        {ID_QUIT, TEXT_BUTTON_QUIT},
    {ID_HIGH_A, TEXT_NAME_HIGH_A},        {ID_HIGH_B, TEXT_NAME_HIGH_B},
    {ID_HIGH_C, TEXT_NAME_HIGH_C},        {ID_LOW_A, TEXT_NAME_LOW_A},
    {ID_LOW_B, TEXT_NAME_LOW_B},          {ID_LOW_C, TEXT_NAME_LOW_C},
    {ID_PLAY_A, TEXT_NAME_PLAY_A},        {ID_PLAY_B, TEXT_NAME_PLAY_B},
    {ID_PLAY_C, TEXT_NAME_PLAY_C},        {ID_PITCH_SLIDER, TEXT_NAME_PITCH},
    {ID_TARGET, TEXT_NAME_TARGET},        {ID_PLAY, TEXT_NAME_PLAY},
    {ID_DECIDE, TEXT_BUTTON_DECIDE},      {ID_SCORE_DISPLAY, TEXT_NAME_SCORE},
    {ID_VOLUME_SLIDER, TEXT_NAME_VOLUME}, {ID_BACK, TEXT_BUTTON_BACK},
    {ID_RESULT_QUIT, TEXT_BUTTON_QUIT},   {ID_FINAL_DISPLAY, TEXT_NAME_FINAL_SCORE},
};

const wchar_t *AccessibleNameOf(int id, int language) {
    for (const ControlName &c : kControlNames) {
        if (c.id == id) {
            return LanguageText(language, c.name);
        }
    }
    return nullptr;
}

static int LanguageOf(const AppState *state) {
    return state != nullptr ? state->language : LANGUAGE_JA;
}

static bool IsSelf(const VARIANT &child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

static bool IsDisplay(int id) {
    return id == ID_SCORE_DISPLAY || id == ID_FINAL_DISPLAY;
}

// What a slider or a score display gives as its value, or false.
static bool ValueOf(HWND control, int language, wchar_t *text, int chars) {
    int id = GetDlgCtrlID(control);
    if (id == ID_PITCH_SLIDER || id == ID_VOLUME_SLIDER) {
        wsprintfW(text, L"%d", GetScrollPos(control, SB_CTL));
        return true;
    }
    if (IsDisplay(id)) {
        LRESULT shown = SendMessageA(control, DSBM_GETSHOWN, 0, 0);
        if (shown == DSB_SHOWS_NO_FIGURE) {
            lstrcpynW(text, LanguageText(language, TEXT_VALUE_HIDDEN), chars);
        } else {
            wsprintfW(text, L"%d", static_cast<int>(shown));
        }
        return true;
    }
    return false;
}

// One thing on the main window's screen, in reading order: a shown control,
// or a painted text (by its index among the screen's texts).
struct ScreenEntry {
    int control_id; // 0 for a text
    int text;
    RECT at; // at 100 % display scale
};

// The screen's shown controls and its texts (but the captions of controls,
// which have names of their own), top to bottom, then left to right.
static int ListScreenEntries(HWND window, const AppState *state, ScreenEntry *entries,
                             ScreenText *texts) {
    int count = 0;
    for (const ControlDefinition &row : ControlCatalogue) {
        if (IsWindowVisible(GetDlgItem(window, row.id))) {
            entries[count++] = {row.id, -1, ControlRect(&row, BASE_DPI)};
        }
    }
    int text_count = ListScreenTexts(state, texts, SCREEN_TEXT_MAX);
    for (int i = 0; i < text_count; ++i) {
        if (!texts[i].captions_control) {
            entries[count++] = {0, i, texts[i].rect};
        }
    }
    std::stable_sort(entries, entries + count, [](const ScreenEntry &a, const ScreenEntry &b) {
        return a.at.top != b.at.top ? a.at.top < b.at.top : a.at.left < b.at.left;
    });
    return count;
}

constexpr int SCREEN_ENTRY_MAX = CONTROL_COUNT + SCREEN_TEXT_MAX;

enum AccessibleKind { ACCESSIBLE_CONTROL, ACCESSIBLE_SCREEN };

// The object a screen reader is given for a control or for the main
// window's client area: the system's own object for the window, asked for
// everything but what this program knows better (names, values, the painted
// texts). COM objects are made of their interface; this is the only one.
struct AccessibleObject final : IAccessible {
    LONG refs;
    IAccessible *standard;
    HWND window;
    AccessibleKind kind;
    const AppState *state; // the screen's record, for its texts and language

    // The screen's entry of a child id (1-based), or false.
    bool Entry(const VARIANT &child, ScreenEntry *entry, ScreenText *texts) {
        if (kind != ACCESSIBLE_SCREEN || child.vt != VT_I4 || child.lVal < 1) {
            return false;
        }
        ScreenEntry entries[SCREEN_ENTRY_MAX];
        int count = ListScreenEntries(window, state, entries, texts);
        if (child.lVal > count) {
            return false;
        }
        *entry = entries[child.lVal - 1];
        return true;
    }

    // A child id of the screen's own numbering: the system's object numbers
    // its children otherwise, so it is never asked about one.
    bool ScreenChild(const VARIANT &child) const {
        return kind == ACCESSIBLE_SCREEN && !IsSelf(child);
    }

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
        if (kind != ACCESSIBLE_SCREEN) {
            return standard->get_accChildCount(count);
        }
        ScreenEntry entries[SCREEN_ENTRY_MAX];
        ScreenText texts[SCREEN_TEXT_MAX];
        *count = ListScreenEntries(window, state, entries, texts);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
        ScreenEntry entry;
        ScreenText texts[SCREEN_TEXT_MAX];
        int language = LanguageOf(state);
        if (kind == ACCESSIBLE_CONTROL && IsSelf(child)) {
            const wchar_t *known = AccessibleNameOf(GetDlgCtrlID(window), language);
            return known != nullptr ? MakeAccessibleString(known, name)
                                    : standard->get_accName(child, name);
        }
        if (Entry(child, &entry, texts)) {
            const wchar_t *text = entry.control_id != 0
                                      ? AccessibleNameOf(entry.control_id, language)
                                      : texts[entry.text].text;
            return text != nullptr ? MakeAccessibleString(text, name) : S_FALSE;
        }
        return standard->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
        wchar_t text[32];
        if (kind == ACCESSIBLE_CONTROL && IsSelf(child) &&
            ValueOf(window, LanguageOf(state), text, 32)) {
            return MakeAccessibleString(text, value);
        }
        return ScreenChild(child) ? E_INVALIDARG : standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
        ScreenEntry entry;
        ScreenText texts[SCREEN_TEXT_MAX];
        if (ScreenChild(child) && !(Entry(child, &entry, texts) && entry.control_id == 0)) {
            return E_INVALIDARG;
        }
        if (ScreenChild(child) || (IsSelf(child) && IsDisplay(GetDlgCtrlID(window)))) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_STATICTEXT;
            return S_OK;
        }
        return standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state_out) override {
        ScreenEntry entry;
        ScreenText texts[SCREEN_TEXT_MAX];
        if (!ScreenChild(child)) {
            return standard->get_accState(child, state_out);
        }
        if (!Entry(child, &entry, texts) || entry.control_id != 0) {
            return E_INVALIDARG;
        }
        state_out->vt = VT_I4;
        state_out->lVal = STATE_SYSTEM_READONLY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override {
        WPARAM key =
            kind == ACCESSIBLE_CONTROL && IsSelf(child) ? PlayKeyOf(GetDlgCtrlID(window)) : 0;
        if (key != 0) {
            wchar_t text[2] = {static_cast<wchar_t>(key), 0};
            return MakeAccessibleString(text, shortcut);
        }
        return ScreenChild(child) ? E_INVALIDARG
                                  : standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override {
        return standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override {
        return standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override {
        ScreenEntry entry;
        ScreenText texts[SCREEN_TEXT_MAX];
        if (!ScreenChild(child)) {
            return standard->accLocation(left, top, width, height, child);
        }
        if (!Entry(child, &entry, texts)) {
            return E_INVALIDARG;
        }
        int dpi = RecordDpi(state);
        RECT r = ScaledRect(entry.at.left, entry.at.top, entry.at.right, entry.at.bottom, dpi);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&r), 2);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override {
        return ScreenChild(start) ? E_INVALIDARG : standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override {
        return standard->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return ScreenChild(child) ? E_INVALIDARG : standard->put_accValue(child, value);
    }
};

// A new object for the window, with one reference; null when the system
// gives no object of its own.
static AccessibleObject *MakeAccessibleObject(HWND window, AccessibleKind kind,
                                              const AppState *state) {
    IAccessible *standard = nullptr;
    if (!HasOleacc() || FAILED(Oleacc().create_standard(window, OBJID_CLIENT, IID_IAccessible,
                                                        reinterpret_cast<void **>(&standard)))) {
        return nullptr;
    }
    AccessibleObject *object = new AccessibleObject;
    object->refs = 1;
    object->standard = standard;
    object->window = window;
    object->kind = kind;
    object->state = state;
    return object;
}

// A control among the screen's children is its own object; a text is a
// simple element of the screen's, named by its child id.
HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch **object) {
    ScreenEntry entry;
    ScreenText texts[SCREEN_TEXT_MAX];
    if (!Entry(child, &entry, texts)) {
        return kind == ACCESSIBLE_SCREEN ? E_INVALIDARG : standard->get_accChild(child, object);
    }
    *object = nullptr;
    if (entry.control_id == 0) {
        return S_FALSE;
    }
    AccessibleObject *control =
        MakeAccessibleObject(GetDlgItem(window, entry.control_id), ACCESSIBLE_CONTROL, state);
    if (control == nullptr) {
        return E_FAIL;
    }
    *object = static_cast<IDispatch *>(control);
    return S_OK;
}

// Hands the object to whoever sent WM_GETOBJECT (a screen reader in another
// process), or 0 when there is none.
static LRESULT ResultFor(AccessibleObject *object, WPARAM wparam) {
    if (object == nullptr) {
        return 0;
    }
    LRESULT result = Oleacc().result_from_object(IID_IAccessible, wparam, object);
    object->Release();
    return result;
}

// Put in front of a control's own procedure, of the control's own kind
// (ANSI or Unicode), so that no message is converted on its way through.
static LRESULT CALLBACK AccessibleControlProc(HWND control, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropW(control, ORIGINAL_PROC_PROPERTY));
    if (message == WM_GETOBJECT && static_cast<LONG>(lparam) == OBJID_CLIENT) {
        const AppState *state = static_cast<const AppState *>(GetPropW(control, STATE_PROPERTY));
        LRESULT result =
            ResultFor(MakeAccessibleObject(control, ACCESSIBLE_CONTROL, state), wparam);
        if (result != 0) {
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(control, ORIGINAL_PROC_PROPERTY);
        RemovePropW(control, STATE_PROPERTY);
    }
    return IsWindowUnicode(control) ? CallWindowProcW(original, control, message, wparam, lparam)
                                    : CallWindowProcA(original, control, message, wparam, lparam);
}

void ServeAccessibleObject(HWND control, const AppState *state) {
    if (control == nullptr) {
        return;
    }
    SetPropW(control, STATE_PROPERTY, const_cast<AppState *>(state));
    LONG_PTR proc = reinterpret_cast<LONG_PTR>(AccessibleControlProc);
    LONG_PTR original = IsWindowUnicode(control) ? SetWindowLongPtrW(control, GWLP_WNDPROC, proc)
                                                 : SetWindowLongPtrA(control, GWLP_WNDPROC, proc);
    SetPropW(control, ORIGINAL_PROC_PROPERTY, reinterpret_cast<HANDLE>(original));
}

LRESULT OnGetObject(HWND window, WPARAM wparam, LPARAM lparam, const AppState *state) {
    if (static_cast<LONG>(lparam) == OBJID_CLIENT) {
        LRESULT result = ResultFor(MakeAccessibleObject(window, ACCESSIBLE_SCREEN, state), wparam);
        if (result != 0) {
            return result;
        }
    }
    return DefWindowProcA(window, WM_GETOBJECT, wparam, lparam);
}

void AnnounceValue(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void AnnounceScreenTexts(HWND window) {
    NotifyWinEvent(EVENT_OBJECT_REORDER, window, OBJID_CLIENT, CHILDID_SELF);
}

static BOOL CALLBACK AnnounceName(HWND control, LPARAM) {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
    return TRUE;
}

void AnnounceNames(HWND window) {
    EnumChildWindows(window, AnnounceName, 0);
    AnnounceScreenTexts(window);
}
