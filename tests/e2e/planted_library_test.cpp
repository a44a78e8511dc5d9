// Libraries left beside the program under the names of system libraries
// that Windows does not keep among its Known DLLs (a winmm.dll in the
// Downloads folder the program runs from, say). This case runs with Wine
// told to take native libraries of those names first, as Windows searches
// the program's own folder first; none may be loaded, and the program must
// still start, play and end as ever.
#include "app/controls.h"
#include "sound/tone_synth.h"
#include "tests/support/capture.h"
#include "tests/support/files.h"
#include "tests/support/program.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <vector>

namespace {

// The program's own (WINMM, OLEACC) and those the system loads for it once
// it runs. Wine's own libraries also import VERSION and MSIMG32 as the
// process starts, before any code of the program's, and a planted copy of
// those is loaded under Wine; Windows loads neither into this program.
const char *const kPlantedNames[] = {"winmm.dll", "oleacc.dll", "msacm32.dll", "mmdevapi.dll",
                                     "uxtheme.dll"};

TEST(PlantedLibraries, NoneIsLoadedAndTheProgramPlaysAsEver) {
    ASSERT_NE(getenv("KESTRUNE_DLL_OVERRIDES"), nullptr) << "Wine would take its own libraries";
    ScratchFolder dir(ScratchFolder::DO_NOT_ENTER);
    std::string marker = WindowsPath(KESTRUNE_PLANTED_LIBRARY);
    ASSERT_TRUE(CopyFileA(KestruneExePath().c_str(), dir.File("Kestrune.exe").c_str(), FALSE));
    for (const char *name : kPlantedNames) {
        ASSERT_TRUE(CopyFileA(marker.c_str(), dir.File(name).c_str(), FALSE)) << name;
    }
    // A marker that is loaded does leave its mark.
    ASSERT_TRUE(CopyFileA(marker.c_str(), dir.File("control.dll").c_str(), FALSE));
    FreeLibrary(LoadLibraryA(dir.File("control.dll").c_str()));
    ASSERT_TRUE(PathExists(dir.File("control.dll.loaded"))) << "the marker leaves no mark";

    KestruneApp app;
    app.UseExecutable(dir.File("Kestrune.exe"));
    ASSERT_TRUE(app.Launch(dir.path())) << app.launch_failure();
    ASSERT_TRUE(app.Click(ID_START));
    for (int t = 0; t < 3; ++t) {
        ASSERT_TRUE(app.Click(ID_DECIDE));
    }
    // The first matching trial's Target sounds the trial's base, a whole
    // number of hertz.
    ASSERT_TRUE(app.Click(ID_TARGET));
    CaptureMonitor capture;
    capture.Follow(dir.File(CAPTURE_FILE_NAME));
    std::vector<short> tone;
    ASSERT_TRUE(capture.WaitForNextTone(20000, &tone)) << "Target sounded nothing";
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(app.ExitsCleanly()) << "the program did not end with exit code 0";
    for (const char *name : kPlantedNames) {
        EXPECT_FALSE(PathExists(dir.File(name) + ".loaded")) << name << " was loaded";
    }

    // Bit for bit the synthesis of the base heard, at volume 90.
    HeardTone heard = HearTone(tone, 170.0, 420.0);
    std::vector<short> made(TONE_FRAMES * 2);
    FillToneBuffer(made.data(), round(heard.root), heard.chord_type, ToneGainDb(90));
    std::vector<short> left(TONE_FRAMES);
    for (int i = 0; i < TONE_FRAMES; ++i) {
        left[i] = made[2 * i];
    }
    EXPECT_TRUE(tone == left) << "the tone is not the synthesis of " << heard.root << " Hz";
}

} // namespace
