#include "tests/support/words.h"

const Wording kNoSoundNotice = {{
    L"音を再生できませんでした。\r\n\r\nスピーカーまたはヘッドホンがつながっているか、"
    L"Windows のサウンドの設定で出力デバイスが有効になっているかを確かめてから、"
    L"もう一度ボタンを押してください。",
    L"The tone could not be played.\r\n\r\nCheck that speakers or headphones are connected "
    L"and that an output device is turned on in the Windows sound settings, then press the "
    L"button again.",
}};
const Wording kResultsMovedNotice = {{
    L"このフォルダーには結果を保存できないため、結果は次のファイルに保存します。\r\n\r\n",
    L"Results cannot be saved in this folder, so they will be saved in this file:\r\n\r\n",
}};
const Wording kResultsNotSavedNotice = {{
    L"結果を保存できませんでした。フォルダー「ドキュメント」に書き込めません。\r\n\r\n"
    L"このまま続けることはできますが、終了するまでに保存できなかった結果は失われます。",
    L"The results could not be saved: the Documents folder cannot be written to.\r\n\r\n"
    L"You can go on, but any results not saved by the time you quit will be lost.",
}};
const Wording kLanguageItems[WORDS_LANGUAGES] = {{{L"日本語", L"日本語"}},
                                                 {{L"English", L"English"}}};

const std::vector<ControlWording> kControlWords = {
    {ID_START, {{L"開始", L"Start"}}, {{L"開始", L"Start"}}},
    {ID_QUIT, {{L"終了", L"Quit"}}, {{L"終了", L"Quit"}}},
    {ID_HIGH_A, {{nullptr, nullptr}}, {{L"高い音 A", L"Highest A"}}},
    {ID_HIGH_B, {{nullptr, nullptr}}, {{L"高い音 B", L"Highest B"}}},
    {ID_HIGH_C, {{nullptr, nullptr}}, {{L"高い音 C", L"Highest C"}}},
    {ID_LOW_A, {{nullptr, nullptr}}, {{L"低い音 A", L"Lowest A"}}},
    {ID_LOW_B, {{nullptr, nullptr}}, {{L"低い音 B", L"Lowest B"}}},
    {ID_LOW_C, {{nullptr, nullptr}}, {{L"低い音 C", L"Lowest C"}}},
    {ID_PLAY_A, {{nullptr, nullptr}}, {{L"Aを再生", L"Listen to A"}}},
    {ID_PLAY_B, {{nullptr, nullptr}}, {{L"Bを再生", L"Listen to B"}}},
    {ID_PLAY_C, {{nullptr, nullptr}}, {{L"Cを再生", L"Listen to C"}}},
    {ID_PITCH_SLIDER, {{nullptr, nullptr}}, {{L"音の高さ", L"Pitch"}}},
    {ID_TARGET, {{nullptr, nullptr}}, {{L"Targetを再生", L"Listen to Target"}}},
    {ID_PLAY, {{nullptr, nullptr}}, {{L"Playを再生", L"Listen to Play"}}},
    {ID_DECIDE, {{L"決定", L"OK"}}, {{L"決定", L"OK"}}},
    {ID_SCORE_DISPLAY, {{nullptr, nullptr}}, {{L"スコア", L"Score"}}},
    {ID_VOLUME_SLIDER, {{nullptr, nullptr}}, {{L"音量", L"Volume"}}},
    {ID_BACK, {{L"戻る", L"Back"}}, {{L"戻る", L"Back"}}},
    {ID_RESULT_QUIT, {{L"終了", L"Quit"}}, {{L"終了", L"Quit"}}},
    {ID_FINAL_DISPLAY, {{nullptr, nullptr}}, {{L"最終スコア", L"Final score"}}},
};

const ControlWording *ControlWordsOf(int id) {
    for (const ControlWording &c : kControlWords) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

const Wording kHiddenScoreValue = {{L"非表示", L"Hidden"}};

const std::vector<Wording> kTitleScreenTexts = {
    {{L"Kestrune Ver1.1", L"Kestrune Ver1.1"}},
    {{L"あなたの音高識別能力をお手軽に診断します。",
      L"A quick test of how finely you hear pitch."}},
    {{L"1. 問題は全部で10問です。所要時間は約3分を想定しています。",
      L"1. There are 10 trials. The test takes about 3 minutes."}},
    {{L"2. スコアは、1問ごとに再計算され変動します。",
      L"2. Your score is worked out again after every trial."}},
    {{L"3. 前半はスコアが表示されますが、途中から非表示となります。",
      L"3. The score is shown at first, then hidden halfway through."}},
    {{L"4. 問題の難易度は、成績に応じて変化します。",
      L"4. The trials get harder or easier to match how you do."}},
    {{L"5. 音量は自由に調節できます。上げすぎに注意しましょう。",
      L"5. Set the volume as you like, but not too loud."}},
    {{L"開始ボタンで始まります。時間制限はありません。",
      L"Press Start to begin. There is no time limit."}},
};
const Wording kComparisonInstruction = {{L"最も高い音と低い音をそれぞれ選択してください。",
                                         L"Mark the highest tone and the lowest tone."}};
const Wording kMatchingInstruction = {
    {L"Playの音をTargetの音に合わせてください。", L"Move the slider until Play matches Target."}};
const Wording kTableHeading = {{L"       提示音のコード名と周波数[Hz]        回答(正解)  Score",
                                L"       Tones played [Hz] and chord       Answer(right) Score"}};
const Wording kCentsLine = {
    {L"このスコアにおける識別能力は%scentです。", L"You can tell pitches %s cents apart."}};
const Wording kSingleTone = {{L"[単音]", L"[tone]"}};
const Wording kHighCaption = {{L"高", L"High"}};
const Wording kLowCaption = {{L"低", L"Low"}};
const Wording kVolumeCaptions[3] = {{{L"音量", L"Volume"}}, {{L"小", L"\u2212"}}, {{L"大", L"+"}}};

std::wstring CentsLineOf(int language, const std::wstring &number) {
    std::wstring line = kCentsLine.text[language];
    return line.replace(line.find(L"%s"), 2, number);
}

bool HasJapanese(const std::wstring &text) {
    for (wchar_t c : text) {
        if ((c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
            (c >= 0xFF00 && c <= 0xFFEF)) {
            return true;
        }
    }
    return false;
}

int DisplayLanguageWords() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? WORDS_JA : WORDS_EN;
}
