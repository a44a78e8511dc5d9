// The entry of every test executable: runs the cases, then ends the process
// at once with their result.
//
// Wine's own ways out of a process (ExitProcess, and TerminateProcess on
// itself alike) first stop the process's other threads, Wine's sound and
// timer threads among them, by signalling each; now and then one of them
// crashes while it is being stopped, after every case has passed, and the
// case is reported failed at random (a segmentation fault after a passing
// sound case in about one run in thirty on a busy machine; earlier an ld.so
// _dl_fini assertion). Under Wine the process therefore ends with the Linux
// exit_group call, which ends every thread at once; on Windows, with
// TerminateProcess. Nothing of the program under test runs at process exit,
// so nothing it does is skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>

static bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

static void EndProcessNow(int code) {
#if defined(__GNUC__) && defined(__x86_64__)
    if (RunningUnderWine()) {
        const long exit_group = 231; // x86-64 Linux system call number
        asm volatile("syscall" ::"a"(exit_group), "D"(static_cast<long>(code))
                     : "rcx", "r11", "memory");
    }
#endif
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
}

int main(int argc, char **argv) {
    // Unbuffered, so that a process that dies mid-case still leaves what it
    // printed up to then (the output goes to a file, which is fully buffered).
    setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    fflush(stdout);
    fflush(stderr);
    EndProcessNow(result);
    return result;
}
