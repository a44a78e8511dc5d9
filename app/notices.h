// What the listener is told when something would otherwise fail unseen: a
// tone that could not be played, results kept somewhere other than beside
// Settings.ini, results that could be kept nowhere. Each is a message box
// owned by the main window: it cannot be missed, and OK ends it.
#pragma once

#include <windows.h>

#define NOTICE_CAPTION "Kestrune Ver1.1"
// A tone the device would not take, even opened anew.
#define NOTICE_NO_SOUND                                                                                                          \
    "音を再生できませんでした。\r\n\r\n"                                                                            \
    "スピーカーまたはヘッドホンがつながっているか、Windows のサウンドの設定で出力デバイス" \
    "が有効になっているかを確かめてから、もう一度ボタンを押してください。"
// Results.csv could not be written beside Settings.ini (the folder cannot be
// written, or it is a temporary folder); the file used instead follows it.
#define NOTICE_RESULTS_MOVED                                                                       \
    "このフォルダーには結果を保存できないため、結果は次のファイルに保存します。\r\n\r\n"
// Neither the working folder nor the Documents folder could take a row.
#define NOTICE_RESULTS_NOT_SAVED                                                                                           \
    "結果を保存できませんでした。フォルダー「ドキュメント」に書き込めません。\r\n\r\n" \
    "このまま続けることはできますが、終了するまでに保存できなかった結果は失われます。"

// Shows `text` (code page 932), followed by `detail` when given, and returns
// once the listener has closed it. While one notice is open, another
// is not stacked on it.
void ShowNotice(HWND owner, const char *text, const wchar_t *detail = nullptr);
