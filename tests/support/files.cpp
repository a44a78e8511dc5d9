#include "tests/support/files.h"

std::string WindowsPath(const std::string &path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string out = "Z:" + path;
    for (char &c : out) {
        if (c == '/') {
            c = '\\';
        }
    }
    return out;
}

std::string ReadWholeFile(const std::wstring &path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

std::string ReadWholeFile(const std::string &path) {
    return ReadWholeFile(Wide(path));
}

void WriteWholeFile(const std::wstring &path, const std::string &bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void WriteWholeFile(const std::string &path, const std::string &bytes) {
    WriteWholeFile(Wide(path), bytes);
}

std::vector<std::wstring> FolderEntries(const std::wstring &folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string WhyWritable(const std::string &folder) {
    std::string probe = folder + "\\probe.txt";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "";
    }
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    std::string why = ReadWholeFile(folder + "\\why-writable.txt");
    return why.empty() ? "it stayed writable" : why;
}

bool PathExists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring &path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

void RemoveTree(const std::string &path) {
    RemoveTree(Wide(path));
}

std::wstring Wide(const std::string &text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(wide.size() - 1);
    return wide;
}

// Outside the temporary folder: the program sends the results of a working
// folder in there to the Documents folder, as it would for a program run
// from inside a zip, which Windows unpacks to a temporary folder.
static const char kScratchBase[] = "C:\\kestrune-scratch";

ScratchFolder::ScratchFolder(Enter enter) {
    CreateDirectoryA(kScratchBase, nullptr);
    char name[MAX_PATH];
    GetTempFileNameA(kScratchBase, "kst", 0, name);
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    path_ = name;
    if (enter == ENTER) {
        char previous[MAX_PATH * 2];
        DWORD length = GetCurrentDirectoryA(sizeof previous, previous);
        previous_.assign(previous, length < sizeof previous ? length : 0);
        SetCurrentDirectoryA(path_.c_str());
    }
}

ScratchFolder::~ScratchFolder() {
    if (!previous_.empty()) {
        SetCurrentDirectoryA(previous_.c_str());
    }
    RemoveTree(path_);
}

DeepFolder::DeepFolder(const std::string &base, size_t length) {
    std::string path = base;
    while (path.size() < length) {
        size_t room = length - path.size() - 1; // after the separator
        size_t part = room > 100 ? 100 : room;
        if (room > 100 && room - 100 < 2) {
            part = 90; // never leave a remainder too short for a name
        }
        path += "\\" + std::string(part, 'd');
        CreateDirectoryW(Wide("\\\\?\\" + path).c_str(), nullptr);
        made_.push_back(path);
    }
    path_ = path;
}

DeepFolder::~DeepFolder() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
        DeleteFileW(Wide("\\\\?\\" + *it + "\\Settings.ini").c_str());
        RemoveDirectoryW(Wide("\\\\?\\" + *it).c_str());
    }
}

bool DeepFolder::Enter() const {
    return SetCurrentDirectoryW(Wide(path_ + "\\").c_str()) != FALSE;
}

FileHeldElsewhere::FileHeldElsewhere(const std::wstring &path, DWORD share) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, &inherit,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure_ = "the file could not be opened, error " + std::to_string(GetLastError());
        return;
    }
    // The holder is a program that waits on its input: it inherits the
    // handle and keeps it until its input pipe is closed.
    HANDLE pipe_read = nullptr;
    if (!CreatePipe(&pipe_read, &input_, &inherit, 0)) {
        failure_ = "no pipe";
        CloseHandle(file);
        return;
    }
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = pipe_read;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    char command[] = "find.exe \"never\"";
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &holder_)) {
        failure_ = "find.exe did not start, error " + std::to_string(GetLastError());
    }
    CloseHandle(file);
    CloseHandle(pipe_read);
}

bool FileHeldElsewhere::Release() {
    if (input_ != nullptr) {
        CloseHandle(input_);
        input_ = nullptr;
    }
    if (holder_.hProcess == nullptr) {
        return true;
    }
    bool ended = WaitForSingleObject(holder_.hProcess, 10000) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(holder_.hProcess, 1);
        WaitForSingleObject(holder_.hProcess, 10000);
    }
    CloseHandle(holder_.hThread);
    CloseHandle(holder_.hProcess);
    holder_ = PROCESS_INFORMATION();
    return ended;
}

FileHeldElsewhere::~FileHeldElsewhere() {
    Release();
}

static const wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

DocumentsFolderAt::DocumentsFolderAt(const std::wstring &folder) {
    wchar_t previous[1024];
    DWORD bytes = sizeof previous;
    had_previous_ = RegGetValueW(HKEY_CURRENT_USER, kShellFolders, L"Personal",
                                 RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                                 previous, &bytes) == ERROR_SUCCESS;
    previous_ = had_previous_ ? previous : L"";
    RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Personal", REG_EXPAND_SZ, folder.c_str(),
                    static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

DocumentsFolderAt::~DocumentsFolderAt() {
    if (had_previous_) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Personal", REG_EXPAND_SZ,
                        previous_.c_str(),
                        static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Personal");
    }
}

std::wstring FromCodePage932(const std::string &text) {
    wchar_t wide[2048];
    int length = MultiByteToWideChar(932, 0, text.c_str(), -1, wide, 2048);
    return length > 0 ? std::wstring(wide, length - 1) : std::wstring();
}
