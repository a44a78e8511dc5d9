// Thousands of generated Settings.ini files, each read and written by the
// program's own ReadSettings and WriteSettings in a real folder: the volume
// read is always 0..100 and a write keeps every other section and key.
#include "app/settings.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// The everyday size: about five seconds, every shape below dozens of times
// and one huge file (the 501st). `make soak` reads and writes 3 000;
// KESTRUNE_SETTINGS_FILES asks for any number.
const long kDefaultFiles = 600;
const unsigned kSeed = 1209;
// Every this many files one is several megabytes long.
const int kHugeEvery = 1000;

enum Shape {
    SHAPE_RANDOM_BYTES,
    SHAPE_GOOD_VALUE,
    SHAPE_HUGE_VALUE,
    SHAPE_NEGATIVE_VALUE,
    SHAPE_NOT_A_NUMBER,
    SHAPE_NO_SECTION,
    SHAPE_DUPLICATE_KEYS,
    SHAPE_DUPLICATE_SECTIONS,
    SHAPE_HUGE_FILE,
    SHAPE_COUNT
};
const char *const kShapeNames[SHAPE_COUNT] = {
    "random bytes", "values 0..100",  "huge values",        "negative values", "non-numeric values",
    "no section",   "duplicate keys", "duplicate sections", "huge files",
};

// What the profile functions make of a file: each section's lines, in order.
typedef std::map<std::string, std::vector<std::string>> ProfileView;

// Section and key names compare without regard to ASCII case.
std::string Lower(std::string text) {
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Lists of NUL-terminated strings ending in an empty one.
std::vector<std::string> SplitList(const std::vector<char> &buffer, DWORD length) {
    std::vector<std::string> items;
    for (DWORD i = 0; i < length;) {
        std::string item(&buffer[i]);
        if (item.empty()) {
            break;
        }
        i += static_cast<DWORD>(item.size()) + 1;
        items.push_back(item);
    }
    return items;
}

ProfileView ReadView(const std::string &path, size_t file_bytes) {
    std::vector<char> buffer(file_bytes * 2 + 65536);
    DWORD size = static_cast<DWORD>(buffer.size());
    ProfileView view;
    DWORD length = GetPrivateProfileSectionNamesA(buffer.data(), size, path.c_str());
    std::vector<std::string> names = SplitList(buffer, length);
    for (const std::string &name : names) {
        DWORD got = GetPrivateProfileSectionA(name.c_str(), buffer.data(), size, path.c_str());
        std::vector<std::string> &entries = view[Lower(name)];
        for (const std::string &line : SplitList(buffer, got)) {
            entries.push_back(line);
        }
    }
    return view;
}

bool IsVolumeLine(const std::string &line) {
    std::string key = Lower(line.substr(0, line.find('=')));
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) {
        key.pop_back();
    }
    return key == "volume";
}

// Everything of `before` except the volume itself must still be in `after`.
std::string Missing(const ProfileView &before, const ProfileView &after) {
    for (const auto &section : before) {
        auto found = after.find(section.first);
        std::vector<std::string> left =
            found == after.end() ? std::vector<std::string>() : found->second;
        for (const std::string &line : section.second) {
            if (section.first == "settings" && IsVolumeLine(line)) {
                continue;
            }
            auto hit = std::find(left.begin(), left.end(), line);
            if (hit == left.end()) {
                return "[" + section.first + "] " + line;
            }
            left.erase(hit);
        }
    }
    return "";
}

class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int Number(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

    std::string Newline() {
        static const char *const kNewlines[] = {"\r\n", "\n", "\r\n", "\n", "\r"};
        return kNewlines[Number(0, 4)];
    }
    std::string Word() {
        static const char *const kWords[] = {"Window", "Colour", "Last", "音量", "設定",
                                             "x",      "Path",   "Font", "Size", "Other"};
        return std::string(kWords[Number(0, 9)]) + std::to_string(Number(0, 999));
    }
    // Sections and keys around the [Settings] section, lines ended by a mix
    // of CRLF, LF and CR.
    std::string Around(const std::string &settings_body, int copies_of_settings = 1) {
        std::string text;
        int sections = Number(0, 4);
        int settings_at = Number(0, sections);
        for (int s = 0; s <= sections; ++s) {
            if (s == settings_at) {
                for (int c = 0; c < copies_of_settings; ++c) {
                    text += "[Settings]" + Newline();
                    if (c == 0) {
                        text += settings_body;
                    } else {
                        text += "Volume=" + std::to_string(Number(0, 100)) + Newline();
                    }
                    text += Keys(Number(0, 3));
                }
            }
            if (s < sections) {
                text += "[" + Word() + "]" + Newline() + Keys(Number(0, 5));
            }
        }
        return text;
    }
    std::string Keys(int count) {
        std::string text;
        for (int k = 0; k < count; ++k) {
            text += Word() + "=" + Word() + Newline();
        }
        return text;
    }
    std::string RandomBytes(size_t size) {
        std::string bytes(size, 0);
        for (char &c : bytes) {
            c = static_cast<char>(Number(0, 255));
        }
        return bytes;
    }
    std::mt19937 &random() { return random_; }

  private:
    std::mt19937 random_;
};

struct Case {
    Shape shape;
    std::string bytes;
    int expected; // the volume the read must give, or -1 when only its range is known
};

Case MakeCase(Generator &gen, long index) {
    Case c = {};
    c.expected = -1;
    c.shape = index % kHugeEvery == kHugeEvery / 2
                  ? SHAPE_HUGE_FILE
                  : static_cast<Shape>(gen.Number(0, SHAPE_COUNT - 2));
    switch (c.shape) {
    case SHAPE_RANDOM_BYTES: c.bytes = gen.RandomBytes(gen.Number(0, 4096)); break;
    case SHAPE_GOOD_VALUE: {
        int v = gen.Number(0, 100);
        c.bytes = gen.Around("Volume=" + std::to_string(v) + gen.Newline());
        c.expected = v;
        break;
    }
    case SHAPE_HUGE_VALUE: {
        static const char *const kHuge[] = {"101",
                                            "150",
                                            "2147483647",
                                            "2147483648",
                                            "4294967295",
                                            "4294967396",
                                            "99999999999999999999999999",
                                            "1000000"};
        c.bytes = gen.Around(std::string("Volume=") + kHuge[gen.Number(0, 7)] + gen.Newline());
        break;
    }
    case SHAPE_NEGATIVE_VALUE: {
        int v = -gen.Number(1, 1000);
        c.bytes = gen.Around("Volume=" + std::to_string(v) + gen.Newline());
        c.expected = 0;
        break;
    }
    case SHAPE_NOT_A_NUMBER: {
        static const char *const kJunk[] = {"",    "abc", " ",   "0x40", "1e3",    "+50", "５０",
                                            "--5", "50%", "\t7", "=",    "\"30\"", "音量"};
        c.bytes = gen.Around(std::string("Volume=") + kJunk[gen.Number(0, 12)] + gen.Newline());
        break;
    }
    case SHAPE_NO_SECTION:
        c.bytes = "Volume=" + std::to_string(gen.Number(0, 100)) + gen.Newline() + gen.Keys(3);
        if (gen.Number(0, 1)) {
            c.bytes += "[" + gen.Word() + "]" + gen.Newline() + "Volume=33" + gen.Newline();
        }
        c.expected = DEFAULT_VOLUME;
        break;
    case SHAPE_DUPLICATE_KEYS: {
        std::string body;
        for (int k = gen.Number(2, 5); k > 0; --k) {
            body += "Volume=" + std::to_string(gen.Number(-50, 150)) + gen.Newline();
        }
        c.bytes = gen.Around(body);
        break;
    }
    case SHAPE_DUPLICATE_SECTIONS:
        c.bytes = gen.Around("Volume=" + std::to_string(gen.Number(0, 100)) + gen.Newline(),
                             gen.Number(2, 4));
        break;
    case SHAPE_HUGE_FILE: {
        // Thousands of keys and a line of megabytes.
        int v = gen.Number(0, 100);
        std::string filler;
        for (int s = 0; s < 4; ++s) {
            filler += "[" + gen.Word() + "]" + gen.Newline();
            filler += gen.Keys(1000);
        }
        c.bytes = filler + "[Settings]\r\nVolume=" + std::to_string(v) + "\r\n" +
                  "Long=" + std::string(4 << 20, 'x') + "\r\n" + filler;
        c.expected = v;
        break;
    }
    default: break;
    }
    return c;
}

class SettingsFiles : public ::testing::Test {
  protected:
    // A fresh folder for each file, the current directory while it is used:
    // the profile functions keep recently read files, and a new path is
    // always read from the disk.
    std::string EnterFolder(long index) {
        std::string folder = scratch_.File(("f" + std::to_string(index)).c_str());
        CreateDirectoryA(folder.c_str(), nullptr);
        SetCurrentDirectoryA(folder.c_str());
        return folder;
    }
    void LeaveFolder(const std::string &folder) {
        SetCurrentDirectoryA(scratch_.path().c_str());
        RemoveTree(folder);
    }

    ScratchFolder scratch_;
};

TEST_F(SettingsFiles, GeneratedFilesGiveAVolumeInRangeAndKeepTheRestOnWrite) {
    const char *asked = getenv("KESTRUNE_SETTINGS_FILES");
    long files = asked != nullptr && asked[0] != 0 ? strtol(asked, nullptr, 10) : kDefaultFiles;
    Generator gen(kSeed);
    long per_shape[SHAPE_COUNT] = {};
    long exact = 0;
    size_t bytes_total = 0;
    DWORD start = GetTickCount();
    for (long i = 0; i < files; ++i) {
        Case c = MakeCase(gen, i);
        ++per_shape[c.shape];
        bytes_total += c.bytes.size();
        SCOPED_TRACE(::testing::Message() << "file " << i << " (" << kShapeNames[c.shape] << ")");
        std::string folder = EnterFolder(i);
        std::string path = folder + "\\" SETTINGS_FILE_NAME;
        WriteWholeFile(path, c.bytes);

        // What the system itself reads from the file, taken from a copy so
        // that nothing the program does can change it.
        std::string view_copy = folder + "\\before.ini";
        CopyFileA(path.c_str(), view_copy.c_str(), FALSE);
        ProfileView before = ReadView(view_copy, c.bytes.size());

        int volume = ReadSettingsVolume();
        ASSERT_GE(volume, 0);
        ASSERT_LE(volume, VOLUME_MAX);
        if (c.expected >= 0) {
            ASSERT_EQ(volume, c.expected);
            ++exact;
        }

        AppState state = {};
        state.volume = gen.Number(0, VOLUME_MAX);
        WriteSettings(&state);
        // Read back from a copy as well, so the view is what is on the disk.
        std::string after_copy = folder + "\\after.ini";
        CopyFileA(path.c_str(), after_copy.c_str(), FALSE);
        ProfileView after = ReadView(after_copy, c.bytes.size() + 64);
        ASSERT_EQ(Missing(before, after), "");
        ASSERT_EQ(GetPrivateProfileIntA(SETTINGS_SECTION, SETTINGS_KEY, -1, after_copy.c_str()),
                  static_cast<UINT>(state.volume));
        ASSERT_EQ(ReadSettingsVolume(), state.volume);
        LeaveFolder(folder);
    }
    DWORD elapsed = GetTickCount() - start;
    printf("settings: %ld files (%.1f MB) read and written in %.1f s, %ld with a known volume\n",
           files, bytes_total / 1048576.0, elapsed / 1000.0, exact);
    for (int s = 0; s < SHAPE_COUNT; ++s) {
        printf("  %-20s %ld\n", kShapeNames[s], per_shape[s]);
    }
    // Too few files for every shape would pass on less than it claims.
    for (int s = 0; s < SHAPE_COUNT; ++s) {
        EXPECT_GT(per_shape[s], 0) << kShapeNames[s];
    }
}

// The file is held open, unshared, by another process while the program
// reads and writes: the read gives the default and the write is lost, and
// the file is as it was once the other process lets go.
TEST_F(SettingsFiles, FileLockedByAnotherProcess) {
    std::string folder = EnterFolder(0);
    std::string path = folder + "\\" SETTINGS_FILE_NAME;
    const std::string text = "[Settings]\r\nVolume=37\r\n[Other]\r\nKeep=yes\r\n";
    WriteWholeFile(path, text);

    FileHeldElsewhere holder(Wide(path), 0);
    ASSERT_TRUE(holder.held()) << holder.failure();
    // Only the other process has the file open now, and nobody may share it.
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(probe, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
    }

    EXPECT_EQ(ReadSettingsVolume(), DEFAULT_VOLUME);
    AppState state = {};
    state.volume = 55;
    WriteSettings(&state);

    EXPECT_TRUE(holder.Release());
    EXPECT_EQ(ReadWholeFile(path), text);
    EXPECT_EQ(ReadSettingsVolume(), 37);
    LeaveFolder(folder);
}

// A folder where the file should be: nothing to read, nothing written, the
// folder and what it holds untouched.
TEST_F(SettingsFiles, FolderNamedSettingsIni) {
    std::string folder = EnterFolder(0);
    std::string path = folder + "\\" SETTINGS_FILE_NAME;
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    WriteWholeFile(path + "\\inside.txt", "kept");

    EXPECT_EQ(ReadSettingsVolume(), DEFAULT_VOLUME);
    AppState state = {};
    state.volume = 12;
    WriteSettings(&state);

    DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ReadWholeFile(path + "\\inside.txt"), "kept");
    EXPECT_EQ(ReadSettingsVolume(), DEFAULT_VOLUME);
    LeaveFolder(folder);
}

} // namespace
