// Every text of the interface in Japanese: the interface as it was first
// written. Keep each %d and %s where it stands.
#include "lang/language.h"

static constexpr TextEntry kTexts[] = {
    {TEXT_LANGUAGE_NAME, L"日本語"},

    {TEXT_TITLE_HEADING, L"Kestrune Ver1.1"},
    {TEXT_TITLE_LEAD, L"あなたの音高識別能力をお手軽に診断します。"},
    {TEXT_TITLE_NOTE_1, L"1. 問題は全部で%d問です。所要時間は約3分を想定しています。"},
    {TEXT_TITLE_NOTE_2, L"2. スコアは、1問ごとに再計算され変動します。"},
    {TEXT_TITLE_NOTE_3, L"3. 前半はスコアが表示されますが、途中から非表示となります。"},
    {TEXT_TITLE_NOTE_4, L"4. 問題の難易度は、成績に応じて変化します。"},
    {TEXT_TITLE_NOTE_5, L"5. 音量は自由に調節できます。上げすぎに注意しましょう。"},
    {TEXT_TITLE_START_HINT, L"開始ボタンで始まります。時間制限はありません。"},

    {TEXT_COMPARISON_INSTRUCTION, L"最も高い音と低い音をそれぞれ選択してください。"},
    {TEXT_MATCHING_INSTRUCTION, L"Playの音をTargetの音に合わせてください。"},
    {TEXT_HIGH_CAPTION, L"高"},
    {TEXT_LOW_CAPTION, L"低"},
    {TEXT_TRIAL_NUMBER, L"No.%d of %d"},
    {TEXT_VOLUME_CAPTION, L"音量"},
    {TEXT_VOLUME_SOFT_CAPTION, L"小"},
    {TEXT_VOLUME_LOUD_CAPTION, L"大"},
    {TEXT_SCORE_CAPTION, L"Score"},

    {TEXT_FINAL_SCORE_CAPTION, L"Final Score"},
    {TEXT_TABLE_HEADING, L"       提示音のコード名と周波数[Hz]        回答(正解)  Score"},
    {TEXT_SINGLE_TONE, L"[単音]"},
    {TEXT_CENTS_LINE, L"このスコアにおける識別能力は%scentです。"},

    {TEXT_BUTTON_START, L"開始"},
    {TEXT_BUTTON_QUIT, L"終了"},
    {TEXT_BUTTON_DECIDE, L"決定"},
    {TEXT_BUTTON_BACK, L"戻る"},

    {TEXT_NAME_HIGH_A, L"高い音 A"},
    {TEXT_NAME_HIGH_B, L"高い音 B"},
    {TEXT_NAME_HIGH_C, L"高い音 C"},
    {TEXT_NAME_LOW_A, L"低い音 A"},
    {TEXT_NAME_LOW_B, L"低い音 B"},
    {TEXT_NAME_LOW_C, L"低い音 C"},
    {TEXT_NAME_PLAY_A, L"Aを再生"},
    {TEXT_NAME_PLAY_B, L"Bを再生"},
    {TEXT_NAME_PLAY_C, L"Cを再生"},
    {TEXT_NAME_PITCH, L"音の高さ"},
    {TEXT_NAME_TARGET, L"Targetを再生"},
    {TEXT_NAME_PLAY, L"Playを再生"},
    {TEXT_NAME_SCORE, L"スコア"},
    {TEXT_NAME_VOLUME, L"音量"},
    {TEXT_NAME_FINAL_SCORE, L"最終スコア"},
    {TEXT_VALUE_HIDDEN, L"非表示"},

    {TEXT_NOTICE_NO_SOUND,
     L"音を再生できませんでした。\r\n\r\n"
     L"スピーカーまたはヘッドホンがつながっているか、Windows のサウンドの設定で出力デバイス"
     L"が有効になっているかを確かめてから、もう一度ボタンを押してください。"},
    {TEXT_NOTICE_RESULTS_MOVED,
     L"このフォルダーには結果を保存できないため、結果は次のファイルに保存します。\r\n\r\n"},
    {TEXT_NOTICE_RESULTS_NOT_SAVED,
     L"結果を保存できませんでした。フォルダー「ドキュメント」に書き込めません。\r\n\r\n"
     L"このまま続けることはできますが、終了するまでに保存できなかった結果は失われます。"},

    {TEXT_CSV_ENDED, L"日時"},
    {TEXT_CSV_UTC_OFFSET, L"UTCとの時差"},
    {TEXT_CSV_SCORE, L"スコア"},
    {TEXT_CSV_CENTS, L"識別能力[cent]"},
    {TEXT_CSV_VOLUME, L"音量"},
    {TEXT_CSV_VERSION, L"バージョン"},
    {TEXT_CSV_TRIAL_COLUMN, L"問%d %s"},
    {TEXT_CSV_KIND, L"種類"},
    {TEXT_CSV_CHORD, L"コード名"},
    {TEXT_CSV_ANSWER, L"回答"},
    {TEXT_CSV_RIGHT_ANSWER, L"正解"},
    {TEXT_CSV_TRIAL_SCORE, L"出題時スコア"},
    {TEXT_CSV_COMPARISON, L"比較"},
    {TEXT_CSV_MATCHING, L"調整"},

    // History window.
    {TEXT_HISTORY_CAPTION, L"結果の推移"},
    {TEXT_HISTORY_MENU_ITEM, L"結果の推移\tH"},
    {TEXT_HISTORY_FIGURE, L"%s cent"},
    {TEXT_HISTORY_ABOUT_THREE,
     L"直近3回の結果の相乗平均です。1回だけの結果は約1.5倍の幅でぶれるため、"
     L"3回を合わせたこの値が目安になります。"},
    {TEXT_HISTORY_ABOUT_TWO, L"これまでの2回の結果の相乗平均です。あと1回受けると3回になります。"
                             L"1回だけの結果は約1.5倍の幅でぶれます。"},
    {TEXT_HISTORY_ABOUT_ONE, L"これまでの1回の結果です。あと2回受けると3回になります。"
                             L"1回だけの結果は約1.5倍の幅でぶれます。"},
    {TEXT_HISTORY_NO_TESTS, L"最後まで終えた診断の結果が、ここに表示されます。"},
    {TEXT_HISTORY_LOADING, L"結果を読み込んでいます…"},
    {TEXT_HISTORY_UNREAD_ONE, L"1行を読み取れませんでした。"},
    {TEXT_HISTORY_UNREAD_MANY, L"%d行を読み取れませんでした。"},
    {TEXT_HISTORY_RESULTS_OFF, L"結果は保存されていません（Settings.ini に Results=0 とあります）。"
                               L"その行を削除すると、再び保存されます。"},
    {TEXT_HISTORY_CANNOT_READ, L"%s を読み込めませんでした。%s"},
    {TEXT_HISTORY_WHY_IN_USE,
     L"ほかのプログラムがこのファイルを開いていて、読み取りを許可していません。"},
    {TEXT_HISTORY_WHY_DENIED, L"このファイルを読み取る権限がありません。"},
    {TEXT_HISTORY_WHY_ERROR, L"Windows のエラーコードは %d です。"},
    {TEXT_HISTORY_COLUMN_ENDED, L"日時"},
    {TEXT_HISTORY_COLUMN_SCORE, L"スコア"},
    {TEXT_HISTORY_COLUMN_CENTS, L"cent"},
    {TEXT_HISTORY_TABLE_NAME, L"結果の一覧（新しい順）"},
    {TEXT_HISTORY_ROW_NAME, L"%s、スコア %s、%s cent"},
    {TEXT_HISTORY_AXIS_CENTS, L"cent"},
    {TEXT_HISTORY_LINE_LABEL, L"直近3回の平均（帯は1.5倍の幅）"},
    {TEXT_HISTORY_PLOT_SUMMARY,
     L"%d回分のグラフ（%s～%s）。最新は %s cent、直近の平均は %s cent です。"},
    {TEXT_HISTORY_PLOT_ONE_TEST, L"1回分のグラフ（%s）。%s cent です。"},
};
static_assert(IsCompleteTable(kTexts, sizeof kTexts / sizeof kTexts[0]),
              "every text once, in TextId order");

extern const TextEntry *const kJapaneseTexts;
const TextEntry *const kJapaneseTexts = kTexts;
