// Settings.ini in folders whose names the ANSI code page cannot spell (José
// under code page 932, Hangul under 1252): the volume is read and written in
// the folder itself, with the same bytes as anywhere else. The suite runs in
// a Japanese and in a non-Japanese locale.
#include "app/controls.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

struct FolderName {
    const char *what;
    const wchar_t *name;
};

const FolderName kFolderNames[] = {
    {"an accented Latin letter", L"Jos\u00e9"},
    {"a Polish letter", L"\u0141ukasz"},
    {"Spanish letters and a space", L"Se\u00f1or \u00d1and\u00fa"},
    {"Hangul", L"\ud55c\uad6d\uc5b4"},
    {"an emoji (a surrogate pair)", L"\U0001F3B5 music"},
    {"Japanese", L"\u97f3\u7a0b\u30c6\u30b9\u30c8"},
};

// A folder of the given name in a scratch folder, made the current directory.
class NamedFolderTest : public ::testing::Test {
  protected:
    // The run's locale must really be in effect, or the non-Japanese run
    // would prove nothing: this executable has no manifest to change it.
    void SetUp() override {
        char lang[64] = "";
        GetEnvironmentVariableA("KESTRUNE_WINE_LANG", lang, sizeof lang);
        bool japanese = lang[0] == 0 || strncmp(lang, "ja_JP", 5) == 0;
        ASSERT_EQ(GetACP(), japanese ? 932u : 1252u) << "locale " << (japanese ? "ja_JP" : lang);
    }

    // Makes and enters the folder; false (with a failure) if the platform refused.
    bool Enter(const FolderName &folder) {
        parent_ = Wide(scratch_.path());
        path_ = parent_ + L"\\" + folder.name;
        EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << "could not make the folder";
        EXPECT_TRUE(SetCurrentDirectoryW(path_.c_str())) << "could not enter the folder";
        return !::testing::Test::HasFailure();
    }
    // Leaves the folder and removes it with what is in it.
    void Leave() {
        SetCurrentDirectoryA(scratch_.path().c_str());
        RemoveTree(path_);
    }
    std::wstring File() const { return path_ + L"\\Settings.ini"; }
    // Nothing may land beside the folder: a Settings.ini, or a folder or
    // file whose name the code page spelled with question marks.
    void ExpectOnlyTheFolder(const FolderName &folder) const {
        std::vector<std::wstring> names = FolderEntries(parent_);
        ASSERT_EQ(names.size(), 1u) << "something was written beside the folder";
        EXPECT_TRUE(names[0] == folder.name);
    }

    ScratchFolder scratch_;
    std::wstring parent_;
    std::wstring path_;
};

TEST_F(NamedFolderTest, TheVolumeIsWrittenAndReadInTheFolderItself) {
    for (const FolderName &folder : kFolderNames) {
        SCOPED_TRACE(folder.what);
        if (!Enter(folder)) {
            continue;
        }
        EXPECT_EQ(ReadSettingsVolume(), 90);
        WriteSettingsVolume(42);
        EXPECT_EQ(ReadWholeFile(File()), "[Settings]\r\nVolume=42\r\n");
        EXPECT_EQ(ReadSettingsVolume(), 42);
        ExpectOnlyTheFolder(folder);

        // The rest of a file that is already there is kept.
        WriteWholeFile(File(), "[Window]\r\nLeft=10\r\n[Settings]\r\nVolume=20\r\nTheme=dark\r\n");
        EXPECT_EQ(ReadSettingsVolume(), 20);
        WriteSettingsVolume(7);
        EXPECT_EQ(ReadWholeFile(File()),
                  "[Window]\r\nLeft=10\r\n[Settings]\r\nVolume=7\r\nTheme=dark\r\n");
        Leave();
    }
}

// What a user sees: the volume set on the test screen comes back next time.
TEST_F(NamedFolderTest, TheMainWindowKeepsItsVolumeThere) {
    for (const FolderName &folder : kFolderNames) {
        SCOPED_TRACE(folder.what);
        if (!Enter(folder)) {
            continue;
        }
        WriteWholeFile(File(), "[Settings]\r\nVolume=42\r\n");
        HWND window = OpenMainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(GetAppState()->volume, 42);
        Click(window, ID_START);
        Scroll(window, ID_VOLUME_SLIDER, SB_THUMBPOSITION, 17);
        DestroyWindow(window);
        DrainQuit();
        EXPECT_EQ(ReadWholeFile(File()), "[Settings]\r\nVolume=17\r\n");
        ExpectOnlyTheFolder(folder);
        Leave();
    }
}

} // namespace
