// The headers of the real Kestrune.exe: loaded at a random address (with
// 64-bit entropy), data pages not executable, and nothing imported but the
// system's own DLLs.
#include "tests/support/files.h"
#include "tests/support/program.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Known DLLs of every Windows system, which the loader takes from the
// system folder whatever lies beside the program; any other library (WINMM,
// OLEACC) must be loaded from the system folder at run time, never imported.
const char *const kSystemDlls[] = {
    "kernel32.dll", "user32.dll",  "gdi32.dll", "msvcrt.dll",
    "advapi32.dll", "shell32.dll", "ole32.dll", "ntdll.dll",
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

class ExecutableHeaders : public ::testing::Test {
  protected:
    void SetUp() override {
        image_ = ReadWholeFile(KestruneExePath());
        ASSERT_GT(image_.size(), sizeof(IMAGE_DOS_HEADER)) << KestruneExePath();
        const IMAGE_DOS_HEADER *dos = At<IMAGE_DOS_HEADER>(0);
        ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
        nt_ = At<IMAGE_NT_HEADERS64>(dos->e_lfanew);
        ASSERT_NE(nt_, nullptr);
        ASSERT_EQ(nt_->Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
        ASSERT_EQ(nt_->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
        ASSERT_EQ(nt_->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    }

    // A structure at a file offset, or null when it does not lie in the file.
    template <typename T> const T *At(size_t offset) const {
        if (offset > image_.size() || image_.size() - offset < sizeof(T)) {
            return nullptr;
        }
        return reinterpret_cast<const T *>(image_.data() + offset);
    }

    // File offset of a relative virtual address, through the section table.
    size_t Offset(DWORD rva) const {
        const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt_);
        for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i, ++section) {
            DWORD size = std::max(section->Misc.VirtualSize, section->SizeOfRawData);
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size) {
                return rva - section->VirtualAddress + section->PointerToRawData;
            }
        }
        return image_.size(); // outside every section: At() gives null
    }

    std::string NameAt(DWORD rva) const {
        size_t offset = Offset(rva);
        if (offset >= image_.size()) {
            return "";
        }
        size_t end = image_.find('\0', offset);
        return image_.substr(offset, end == std::string::npos ? std::string::npos : end - offset);
    }

    const IMAGE_DATA_DIRECTORY &Directory(int index) const {
        return nt_->OptionalHeader.DataDirectory[index];
    }

    std::string image_;
    const IMAGE_NT_HEADERS64 *nt_ = nullptr;
};

TEST_F(ExecutableHeaders, RandomisedBaseWithHighEntropyAndNoExecutableData) {
    WORD flags = nt_->OptionalHeader.DllCharacteristics;
    printf("DllCharacteristics 0x%04X\n", flags);
    EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, 0);
    EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, 0);
    EXPECT_NE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT, 0);
    // A moving base needs the relocations that let the loader move it.
    EXPECT_EQ(nt_->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED, 0);
    EXPECT_GT(Directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);
    // High entropy needs the whole address space.
    EXPECT_NE(nt_->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0);
}

TEST_F(ExecutableHeaders, ImportsOnlyKnownSystemDlls) {
    std::vector<std::string> names;
    for (int directory : {IMAGE_DIRECTORY_ENTRY_IMPORT, IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT}) {
        DWORD rva = Directory(directory).VirtualAddress;
        if (rva == 0) {
            continue;
        }
        size_t offset = Offset(rva);
        if (directory == IMAGE_DIRECTORY_ENTRY_IMPORT) {
            for (const IMAGE_IMPORT_DESCRIPTOR *d = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
                 d != nullptr && d->Name != 0;
                 offset += sizeof *d, d = At<IMAGE_IMPORT_DESCRIPTOR>(offset)) {
                names.push_back(NameAt(d->Name));
            }
        } else {
            for (const IMAGE_DELAYLOAD_DESCRIPTOR *d = At<IMAGE_DELAYLOAD_DESCRIPTOR>(offset);
                 d != nullptr && d->DllNameRVA != 0;
                 offset += sizeof *d, d = At<IMAGE_DELAYLOAD_DESCRIPTOR>(offset)) {
                names.push_back(NameAt(d->DllNameRVA));
            }
        }
    }
    printf("imports:");
    for (const std::string &name : names) {
        printf(" %s", name.c_str());
    }
    printf("\n");
    // The walk must have found what the program is known to call.
    for (const char *needed : {"kernel32.dll", "user32.dll", "gdi32.dll"}) {
        EXPECT_NE(std::find_if(names.begin(), names.end(),
                               [needed](const std::string &n) { return Lower(n) == needed; }),
                  names.end())
            << needed;
    }
    for (const std::string &name : names) {
        EXPECT_NE(std::find(std::begin(kSystemDlls), std::end(kSystemDlls), Lower(name)),
                  std::end(kSystemDlls))
            << name << " is not a Known DLL";
    }
}

} // namespace
