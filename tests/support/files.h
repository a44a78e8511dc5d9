// Files and folders for the tests: scratch folders that vanish afterwards,
// folders deeper than the platform's 260-character paths, whole-file reads
// and writes, a file held open by another process, and Unix paths as the
// Windows side sees them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A Unix path as Wine shows it to Windows programs (drive Z: is the root);
// a path that is already a Windows one comes back unchanged.
std::string WindowsPath(const std::string &path);

// The bytes of a file; empty when it cannot be opened. The wide forms reach
// names the ANSI code page cannot spell (José under code page 932, Hangul).
std::string ReadWholeFile(const std::string &path);
std::string ReadWholeFile(const std::wstring &path);
// Replaces the file's contents with `bytes` (creating it when needed).
void WriteWholeFile(const std::string &path, const std::string &bytes);
void WriteWholeFile(const std::wstring &path, const std::string &bytes);
// The names in a folder (without "." and ".."), as they are on disk.
std::vector<std::wstring> FolderEntries(const std::wstring &folder);
// Empty when nobody may create a file in `folder`; else why one can (the
// reason a read-only fixture left in why-writable.txt, when there is one).
std::string WhyWritable(const std::string &folder);
// Whether a file or folder of that name exists.
bool PathExists(const std::string &path);
// Deletes a folder with everything below it, read-only files included.
void RemoveTree(const std::string &path);
void RemoveTree(const std::wstring &path);
// The text in the ANSI code page as UTF-16, for the wide file functions.
std::wstring Wide(const std::string &text);
// The program's own texts (code page 932, whatever the process's) as UTF-16.
std::wstring FromCodePage932(const std::string &text);

// A fresh, empty folder under C:\kestrune-scratch (not the temporary folder,
// which the program treats as one about to vanish), removed with everything
// in it on destruction. Entered (the default), it is the process's current
// directory for its lifetime and the previous one comes back afterwards.
class ScratchFolder {
  public:
    enum Enter { ENTER, DO_NOT_ENTER };
    explicit ScratchFolder(Enter enter = ENTER);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    // The folder's full Windows path.
    const std::string &path() const { return path_; }
    // The full path of `name` inside the folder.
    std::string File(const char *name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
    std::string previous_; // empty when the folder was not entered
};

// A chain of folders below `base` whose full path (without the long-path
// prefix) is exactly `length` characters, made through the long-path prefix,
// which has no 260-character limit; removed again, with any Settings.ini
// in them, on destruction.
class DeepFolder {
  public:
    DeepFolder(const std::string &base, size_t length);
    ~DeepFolder();
    DeepFolder(const DeepFolder &) = delete;
    DeepFolder &operator=(const DeepFolder &) = delete;
    // The deepest folder's path, without the long-path prefix.
    const std::string &path() const { return path_; }
    // The same with the long-path prefix, for the wide file functions.
    std::wstring LongPath() const { return Wide("\\\\?\\" + path_); }
    // Makes the deepest folder the current directory; false when refused.
    bool Enter() const;
    // Every folder of the chain, shallowest first, without the prefix.
    const std::vector<std::string> &folders() const { return made_; }

  private:
    std::string path_;
    std::vector<std::string> made_;
};

// A file held open by another process, as a program such as Excel holds a
// file it shows: opened here with `share` (0 lets nobody else open it,
// FILE_SHARE_READ lets others read but not write), then handed to a child
// process that inherits the handle and waits on its input, and the handle
// here closed. The file must exist. Let go on Release or destruction.
class FileHeldElsewhere {
  public:
    FileHeldElsewhere(const std::wstring &path, DWORD share);
    ~FileHeldElsewhere();
    FileHeldElsewhere(const FileHeldElsewhere &) = delete;
    FileHeldElsewhere &operator=(const FileHeldElsewhere &) = delete;
    // Whether the other process has the file; else why not.
    bool held() const { return failure_.empty(); }
    const std::string &failure() const { return failure_; }
    // Ends the other process; true once it has ended and so let go.
    bool Release();

  private:
    HANDLE input_ = nullptr; // the child's input: closing it ends the child
    PROCESS_INFORMATION holder_ = {};
    std::string failure_;
};

// The user's Documents folder moved to `folder` (the "Personal" entry of the
// user's shell folders, as a user who moves the folder sets it) while the
// object lives, for this process and the programs it starts; the entry as
// it was comes back afterwards.
class DocumentsFolderAt {
  public:
    explicit DocumentsFolderAt(const std::wstring &folder);
    ~DocumentsFolderAt();
    DocumentsFolderAt(const DocumentsFolderAt &) = delete;
    DocumentsFolderAt &operator=(const DocumentsFolderAt &) = delete;

  private:
    std::wstring previous_;
    bool had_previous_ = false;
};
