#include "lang/language.h"

#include <stdarg.h>

extern const TextEntry *const kJapaneseTexts;
extern const TextEntry *const kEnglishTexts;

// In Language order; the system menu lists them so.
static const LanguageTable kLanguages[LANGUAGE_COUNT] = {
    {L"ja", LANG_JAPANESE, {false, SHIFTJIS_CHARSET, false}, kJapaneseTexts},
    {L"en", LANG_ENGLISH, {true, ANSI_CHARSET, true}, kEnglishTexts},
};

bool IsLanguage(int language) {
    return language >= 0 && language < LANGUAGE_COUNT;
}

const LanguageTable *GetLanguageTable(int language) {
    return &kLanguages[IsLanguage(language) ? language : LANGUAGE_JA];
}

const wchar_t *LanguageText(int language, TextId id) {
    if (id < 0 || id >= TEXT_COUNT) {
        return L"";
    }
    return GetLanguageTable(language)->texts[id].text;
}

void FormatLanguageText(wchar_t *out, int chars, int language, TextId id, ...) {
    if (out == nullptr || chars <= 0) {
        return;
    }
    // wvsprintfW writes at most 1024 characters and the terminator.
    wchar_t whole[1025];
    va_list args;
    va_start(args, id);
    wvsprintfW(whole, LanguageText(language, id), args);
    va_end(args);
    lstrcpynW(out, whole, chars);
}

int LanguageOfCode(const wchar_t *code) {
    if (code == nullptr) {
        return -1;
    }
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        // As INI values are compared: case aside ("EN" is en).
        if (lstrcmpiW(code, kLanguages[i].code) == 0) {
            return i;
        }
    }
    return -1;
}

int LanguageOfDisplayLanguage(LANGID display_language) {
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        if (PRIMARYLANGID(display_language) == kLanguages[i].primary_language) {
            return i;
        }
    }
    return LANGUAGE_EN;
}
