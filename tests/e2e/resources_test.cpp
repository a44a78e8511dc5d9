// The resources linked into Kestrune.exe: icon, version record, manifest.
#include "tests/support/program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colour_count;
    BYTE reserved;
    WORD planes;
    WORD bit_count;
    DWORD bytes;
    WORD id;
};
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

class ResourcesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExA(KestruneExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << KestruneExePath();
    }
    void TearDown() override {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    const BYTE *Resource(LPCSTR type, LPCSTR name, DWORD *size) {
        HRSRC found = FindResourceA(module, name, type);
        if (found == nullptr) {
            return nullptr;
        }
        *size = SizeofResource(module, found);
        return static_cast<const BYTE *>(LockResource(LoadResource(module, found)));
    }
    // The text of manifest 1; empty when there is none.
    std::string Manifest() {
        DWORD size = 0;
        const BYTE *manifest =
            Resource(MAKEINTRESOURCEA(24) /* RT_MANIFEST */, MAKEINTRESOURCEA(1), &size);
        return manifest != nullptr ? std::string(reinterpret_cast<const char *>(manifest), size)
                                   : std::string();
    }
    HMODULE module = nullptr;
};

TEST_F(ResourcesTest, IconOneHasThreeSixteenColourImages) {
    DWORD size = 0;
    auto group = reinterpret_cast<const IconGroupHeader *>(
        Resource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEA(1), &size));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->count, 3);
    const int sizes[3] = {32, 16, 48};
    for (int i = 0; i < 3; ++i) {
        const IconGroupEntry &e = group->entries[i];
        EXPECT_EQ(e.width, sizes[i]);
        EXPECT_EQ(e.height, sizes[i]);
        EXPECT_EQ(e.colour_count, 16);
        EXPECT_EQ(e.bit_count, 4);
        // The image itself: a 4-bit DIB with a 16-entry palette, not blank.
        DWORD image_size = 0;
        auto image = reinterpret_cast<const BITMAPINFOHEADER *>(
            Resource(MAKEINTRESOURCEA(3) /* RT_ICON */, MAKEINTRESOURCEA(e.id), &image_size));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->biWidth, sizes[i]);
        EXPECT_EQ(image->biHeight, sizes[i] * 2);
        EXPECT_EQ(image->biBitCount, 4);
        const BYTE *mask = reinterpret_cast<const BYTE *>(image) + image->biSize + 16 * 4 +
                           ((sizes[i] * 4 + 31) / 32) * 4 * sizes[i];
        int opaque = 0;
        int mask_row = ((sizes[i] + 31) / 32) * 4;
        for (int y = 0; y < sizes[i]; ++y) {
            for (int x = 0; x < sizes[i]; ++x) {
                opaque += (mask[y * mask_row + x / 8] & (0x80 >> (x % 8))) == 0;
            }
        }
        EXPECT_GT(opaque, sizes[i] * sizes[i] / 10) << "image " << sizes[i];
        EXPECT_LT(opaque, sizes[i] * sizes[i]) << "image " << sizes[i];
    }
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(1));
    EXPECT_NE(icon, nullptr);
}

TEST_F(ResourcesTest, VersionRecordIsJapaneseOneOneZeroZero) {
    std::string exe = KestruneExePath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    WORD *translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void **>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 0x04B0);
    const char *text = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\041104B0\\FileDescription",
                               reinterpret_cast<void **>(const_cast<char **>(&text)), &length));
    EXPECT_STREQ(text, "Kestrune Ver1.1");
    for (const char *key : {"FileVersion", "ProductVersion"}) {
        std::string query = std::string("\\StringFileInfo\\041104B0\\") + key;
        ASSERT_TRUE(VerQueryValueA(data.data(), query.c_str(),
                                   reinterpret_cast<void **>(const_cast<char **>(&text)), &length));
        EXPECT_STREQ(text, "1.1.0.0") << key;
    }
    for (const char *key : {"ProductName", "OriginalFilename", "InternalName", "LegalCopyright"}) {
        std::string query = std::string("\\StringFileInfo\\041104B0\\") + key;
        EXPECT_TRUE(VerQueryValueA(data.data(), query.c_str(),
                                   reinterpret_cast<void **>(const_cast<char **>(&text)), &length))
            << key;
    }
}

TEST_F(ResourcesTest, ManifestAsksForTheInvokersLevelAndClassicControls) {
    std::string text = Manifest();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(text.find("Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("name=\"Kestrune\" version=\"1.1.0.0\""), std::string::npos);
}

// Code page 932 whatever the system locale, and no compatibility shims.
TEST_F(ResourcesTest, ManifestAsksForCodePage932AndNamesEveryWindows) {
    std::string text = Manifest();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find("<activeCodePage "
                        "xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">ja-JP"
                        "</activeCodePage>"),
              std::string::npos);
    const char *systems[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
    };
    for (const char *id : systems) {
        EXPECT_NE(text.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos)
            << id;
    }
}

// The program draws itself at the display's scale, so Windows must not
// stretch it: per-monitor version 2, then the first per-monitor version, and
// for systems older than Windows 10 1607 the 2005 setting (per-monitor on
// 8.1, system DPI on 7 and 8), as Microsoft documents the fallbacks.
TEST_F(ResourcesTest, ManifestDeclaresPerMonitorDpiAwarenessWithFallbacks) {
    std::string text = Manifest();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find("<dpiAwareness "
                        "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                        "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(text.find("<dpiAware "
                        "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                        "true/pm</dpiAware>"),
              std::string::npos);
    EXPECT_EQ(text.find(">false</dpiAware>"), std::string::npos);
}

} // namespace
