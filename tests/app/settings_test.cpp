// The volume in Settings.ini of the current directory: real files in
// scratch folders, read and written through the profile functions.
#include "app/main_window.h"
#include "app/settings.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

TEST(SettingsTest, NoFileGivesNinetyAndWritingCreatesTheFile) {
    ScratchFolder dir;
    EXPECT_EQ(ReadSettingsVolume(), 90);
    EXPECT_EQ(GetFileAttributesA(dir.File("Settings.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    WriteSettingsVolume(90);
    EXPECT_EQ(ReadWholeFile(dir.File("Settings.ini")), "[Settings]\r\nVolume=90\r\n");
}

TEST(SettingsTest, StoredValuesAreClampedToZeroToHundred) {
    struct Case {
        const char *stored;
        int volume;
    };
    const Case cases[] = {
        {"37", 37}, {"0", 0},      {"100", 100},      {"150", 100},   {"-20", 0},
        {"abc", 0}, {"12abc", 12}, {"4294967295", 0}, {"99999", 100},
    };
    ScratchFolder dir;
    for (const Case &c : cases) {
        WriteWholeFile(dir.File("Settings.ini"),
                       std::string("[Settings]\r\nVolume=") + c.stored + "\r\n");
        EXPECT_EQ(ReadSettingsVolume(), c.volume) << "stored " << c.stored;
    }
    // The section or the key missing: the default.
    WriteWholeFile(dir.File("Settings.ini"), "[Other]\r\nVolume=12\r\n");
    EXPECT_EQ(ReadSettingsVolume(), 90);
    WriteWholeFile(dir.File("Settings.ini"), "[Settings]\r\nLoudness=12\r\n");
    EXPECT_EQ(ReadSettingsVolume(), 90);
}

TEST(SettingsTest, WritingKeepsOtherSectionsAndKeys) {
    ScratchFolder dir;
    WriteWholeFile(
        dir.File("Settings.ini"),
        "[Window]\r\nLeft=10\r\n[Settings]\r\nVolume=20\r\nTheme=dark\r\n[Last]\r\nX=1\r\n");
    WriteSettingsVolume(66);
    EXPECT_EQ(ReadWholeFile(dir.File("Settings.ini")),
              "[Window]\r\nLeft=10\r\n[Settings]\r\nVolume=66\r\nTheme=dark\r\n[Last]\r\nX=1\r\n");
}

TEST(SettingsTest, EachCurrentDirectoryHasItsOwnFile) {
    ScratchFolder first;
    WriteWholeFile(first.File("Settings.ini"), "[Settings]\r\nVolume=11\r\n");
    {
        ScratchFolder second; // now the current directory
        WriteWholeFile(second.File("Settings.ini"), "[Settings]\r\nVolume=22\r\n");
        EXPECT_EQ(ReadSettingsVolume(), 22);
        WriteSettingsVolume(33);
        EXPECT_EQ(
            GetPrivateProfileIntA("Settings", "Volume", -1, second.File("Settings.ini").c_str()),
            33u);
    }
    EXPECT_EQ(ReadSettingsVolume(), 11);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Volume", -1, first.File("Settings.ini").c_str()),
              11u);
}

// The folder is made read-only (immutable, so even an administrator cannot
// write there) by the suite's fixture before the tests run; it holds
// Settings.ini with Volume=37.
TEST(SettingsTest, ReadOnlyDirectoryReadsButDoesNotSave) {
    std::string path = WindowsPath(KESTRUNE_READONLY_DIR);
    ASSERT_EQ(ReadWholeFile(path + "\\Settings.ini"), "[Settings]\r\nVolume=37\r\n")
        << "the fixture did not prepare " << path;
    // Where the system refuses the immutable attribute the folder stays
    // writable, and the case could prove nothing.
    std::string why = WhyWritable(path);
    if (!why.empty()) {
        GTEST_SKIP() << "the folder could not be made read-only here: " << why;
    }
    char previous[MAX_PATH * 2];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(path.c_str())) << path;
    EXPECT_EQ(ReadSettingsVolume(), 37);
    WriteSettingsVolume(55);
    EXPECT_EQ(ReadSettingsVolume(), 37);
    SetCurrentDirectoryA(previous);
}

// Room for the directory, the separator and the name, and not one byte more:
// guard bytes around the path buffer show any write outside it.
struct GuardedPath {
    wchar_t before[16];
    wchar_t path[SETTINGS_PATH_CHARS];
    wchar_t after[16];
};

void FillGuards(GuardedPath *g) {
    for (wchar_t &c : g->before) {
        c = L'#';
    }
    for (wchar_t &c : g->path) {
        c = L'#';
    }
    for (wchar_t &c : g->after) {
        c = L'#';
    }
}

void ExpectGuardsIntact(const GuardedPath &g) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(g.before[i], L'#') << "character " << i << " before the path buffer";
        EXPECT_EQ(g.after[i], L'#') << "character " << i << " after the path buffer";
    }
}

TEST(SettingsTest, LongestDirectoryThatFitsStillGetsItsWholePath) {
    ScratchFolder scratch;
    DeepFolder deep(scratch.path(), SETTINGS_DIR_LIMIT - 1); // 259 characters
    ASSERT_TRUE(deep.Enter());
    GuardedPath g;
    FillGuards(&g);
    EXPECT_TRUE(BuildSettingsPath(g.path));
    EXPECT_TRUE(std::wstring(g.path) == Wide(deep.path() + "\\Settings.ini"));
    // 259 characters of directory, the separator and the 12 of the name.
    EXPECT_EQ(wcslen(g.path), 259u + 1u + 12u);
    ExpectGuardsIntact(g);
    SetCurrentDirectoryA(scratch.path().c_str());
}

TEST(SettingsTest, OverlongDirectoryFallsBackToNinetyAndWritesNothing) {
    ScratchFolder scratch;
    // An unchecked directory comes back empty and the path degrades to the
    // drive root's Settings.ini: that file must not appear either.
    std::string root_file = scratch.path().substr(0, 3) + "Settings.ini";
    ASSERT_EQ(GetFileAttributesA(root_file.c_str()), INVALID_FILE_ATTRIBUTES) << root_file;
    for (size_t length : {size_t(SETTINGS_DIR_LIMIT), size_t(300), size_t(400)}) {
        SCOPED_TRACE(::testing::Message() << "directory of " << length << " characters");
        DeepFolder deep(scratch.path(), length);
        // A Settings.ini that must not be read, put there through the long-path prefix.
        std::wstring file = deep.LongPath() + L"\\Settings.ini";
        HANDLE handle =
            CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        const char text[] = "[Settings]\r\nVolume=37\r\n";
        DWORD written = 0;
        WriteFile(handle, text, sizeof text - 1, &written, nullptr);
        CloseHandle(handle);
        ASSERT_TRUE(deep.Enter()) << "the platform refused the deep directory";

        GuardedPath g;
        FillGuards(&g);
        EXPECT_FALSE(BuildSettingsPath(g.path));
        EXPECT_EQ(g.path[0], 0);
        ExpectGuardsIntact(g);

        EXPECT_EQ(ReadSettingsVolume(), 90);
        WriteSettingsVolume(55);
        SetCurrentDirectoryA(scratch.path().c_str());
        // The file in the deep folder is untouched, and nothing landed anywhere else.
        handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        char back[64] = {};
        DWORD got = 0;
        ReadFile(handle, back, sizeof back - 1, &got, nullptr);
        CloseHandle(handle);
        EXPECT_STREQ(back, text);
        EXPECT_EQ(GetFileAttributesA(scratch.File("Settings.ini").c_str()),
                  INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetFileAttributesA(root_file.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

// The main window reads the file on creation and writes it when destroyed.
TEST(SettingsTest, MainWindowReadsOnCreateAndSavesOnDestroy) {
    ScratchFolder dir;
    HWND window = OpenMainWindow();
    EXPECT_EQ(GetAppState()->volume, 90);
    EXPECT_EQ(GetFileAttributesA(dir.File("Settings.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    DestroyWindow(window);
    DrainQuit();
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Volume", -1, dir.File("Settings.ini").c_str()),
              90u);

    // A clamped value is written back as read.
    WriteWholeFile(dir.File("Settings.ini"), "[Settings]\r\nVolume=150\r\n");
    window = OpenMainWindow();
    EXPECT_EQ(GetAppState()->volume, 100);
    DestroyWindow(window);
    DrainQuit();
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "Volume", -1, dir.File("Settings.ini").c_str()),
              100u);
}

} // namespace
