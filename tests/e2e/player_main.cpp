// Plays one whole test on the real Kestrune.exe as a listener who hears every
// tone, and leaves what the program did in a folder: screenshots of the title,
// a comparison trial, a matching trial and the revealed result screen, and
// every tone it played as a WAV file. Used where there is no display to
// watch the program on. The program runs in the working folder (by default
// the same folder), where it keeps Settings.ini and Results.csv.
//
//   kestrune_player.exe <folder> [<working folder>]
#include "app/controls.h"
#include "tests/support/program.h"
#include "engine/grading.h"
#include "engine/schedule.h"
#include "listener.h"
#include "tests/support/screen_check.h"
#include "sound/tone_synth.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/seven_segment.h"

#include <stdio.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD COUNT_TIMEOUT_MS = 20000;
constexpr DWORD EXIT_TIMEOUT_MS = 30000;
constexpr int CHANNELS = 2;
constexpr int SAMPLE_BYTES = 2;

bool SaveScreen(KestruneApp *app, const std::string &folder, const char *name) {
    std::string path = folder + "\\" + name + ".bmp";
    if (!SavePicture(CaptureClient(app->window()), path)) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool WriteWav(const std::string &path, const CapturedTone &tone) {
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const DWORD data_bytes = static_cast<DWORD>(tone.frames) * CHANNELS * SAMPLE_BYTES;
    const DWORD rate = static_cast<DWORD>(SAMPLE_RATE);
    struct {
        char riff[4];
        DWORD riff_size;
        char wave[4];
        char fmt[4];
        DWORD fmt_size;
        WORD format;
        WORD channels;
        DWORD rate;
        DWORD byte_rate;
        WORD block_align;
        WORD bits;
        char data[4];
        DWORD data_size;
    } header = {{'R', 'I', 'F', 'F'},
                36 + data_bytes,
                {'W', 'A', 'V', 'E'},
                {'f', 'm', 't', ' '},
                16,
                WAVE_FORMAT_PCM,
                CHANNELS,
                rate,
                rate * CHANNELS * SAMPLE_BYTES,
                CHANNELS * SAMPLE_BYTES,
                8 * SAMPLE_BYTES,
                {'d', 'a', 't', 'a'},
                data_bytes};
    static_assert(sizeof header == 44, "a WAV header is 44 bytes");
    fwrite(&header, sizeof header, 1, file);
    for (short sample : tone.samples) {
        short frame[CHANNELS] = {sample, sample}; // the channels are identical
        fwrite(frame, sizeof frame, 1, file);
    }
    return fclose(file) == 0;
}

// Every tone of the stream captured in `work` as tone-NN.wav in `folder`; the
// raw capture goes.
int SaveTones(const std::string &work, const std::string &folder) {
    std::string raw = work + "\\" + CAPTURE_FILE_NAME;
    CapturedStream stream;
    if (!ReadCapturedStream(raw, &stream)) {
        return -1;
    }
    std::vector<CapturedTone> tones = FindTones(stream.left);
    for (size_t i = 0; i < tones.size(); ++i) {
        char name[32];
        snprintf(name, sizeof name, "\\tone-%02d.wav", static_cast<int>(i + 1));
        if (!WriteWav(folder + name, tones[i])) {
            return -1;
        }
    }
    DeleteFileA(raw.c_str());
    return static_cast<int>(tones.size());
}

// What the test's score display shows once its count has settled: hidden
// from the sixth decided trial on.
std::string SettledDisplayText(const Listener *listener) {
    return listener->expected.trial > 5 ? "---" : DisplayText(listener->expected.score);
}

bool PlayOneTest(KestruneApp *app, Listener *listener, const std::string &folder) {
    if (!SaveScreen(app, folder, "title") || !app->Click(ID_START)) {
        return false;
    }
    ExpectNewTest(listener);
    bool saved_comparison = false;
    bool saved_matching = false;
    for (int t = 0; t < TRIAL_COUNT; ++t) {
        TrialInfo info;
        GetTrialInfo(&listener->expected, &info);
        bool answered = info.is_comparison ? AnswerComparison(listener, AnswerStyle::Heard)
                                           : AnswerMatching(listener, AnswerStyle::Heard);
        if (!answered) {
            fprintf(stderr, "%s\n", listener->failure.c_str());
            return false;
        }
        // Each kind of trial once, answered and with its score shown.
        bool &saved = info.is_comparison ? saved_comparison : saved_matching;
        if (!saved) {
            std::string shown = SettledDisplayText(listener);
            WaitForDisplayText(app->window(), ID_SCORE_DISPLAY, shown, COUNT_TIMEOUT_MS);
            saved = SaveScreen(app, folder, info.is_comparison ? "comparison" : "matching");
        }
        if (!Decide(listener)) {
            return false;
        }
        printf("trial %2d  %-10s  score %3d\n", t + 1,
               info.is_comparison ? "comparison" : "matching", listener->expected.score);
        WaitForDisplayText(app->window(), ID_SCORE_DISPLAY, SettledDisplayText(listener),
                           COUNT_TIMEOUT_MS);
    }
    std::string final_text = DisplayText(listener->expected.score);
    if (WaitForDisplayText(app->window(), ID_FINAL_DISPLAY, final_text, COUNT_TIMEOUT_MS) !=
        final_text) {
        fprintf(stderr, "the final score display never showed %s\n", final_text.c_str());
        return false;
    }
    // The table appears right after the count: wait until it is on the screen.
    ReferenceScreens reference;
    CreateReferenceScreens(&reference, ScreenDpi());
    listener->expected.results_revealed = 1;
    Picture shown;
    WaitForPicture(app->window(), ComposeReference(&reference, listener->expected, ScreenResult),
                   COUNT_TIMEOUT_MS, &shown);
    DestroyReferenceScreens(&reference);
    return SaveScreen(app, folder, "result");
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: kestrune_player <folder> [<working folder>]\n");
        return 2;
    }
    std::string folder = WindowsPath(argv[1]);
    std::string work = argc == 3 ? WindowsPath(argv[2]) : folder;
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(work.c_str(), nullptr);
    KestruneApp app;
    if (!app.Launch(work)) {
        fprintf(stderr, "Kestrune.exe did not start (%s): %s\n", app.launch_failure().c_str(),
                KestruneExePath().c_str());
        return 1;
    }
    Listener listener;
    BeginListening(&listener, &app, work + "\\" + CAPTURE_FILE_NAME);
    bool played = PlayOneTest(&app, &listener, folder);
    app.PostClick(played ? ID_RESULT_QUIT : ID_QUIT);
    if (!played) {
        app.Close();
    }
    DWORD exit_code = 1;
    bool ended = app.WaitForExit(EXIT_TIMEOUT_MS, &exit_code);
    int tones = SaveTones(work, folder);
    printf("final score %d; %d tones played; Kestrune.exe exit code %lu\n", listener.expected.score,
           tones, ended ? exit_code : 1ul);
    return played && ended && exit_code == 0 && tones > 0 ? 0 : 1;
}
