// The entry of every test executable: runs the cases, then ends the process
// at once with their result.
//
// Wine's ordinary process exit unloads the DLLs and runs the C library's
// teardown while Wine's own threads (the sound driver's among them) may still
// be running; now and then that crashes (a segmentation fault, or ld.so's
// _dl_fini assertion) after every case has passed, and the case is reported
// failed at random. Ending the process through TerminateProcess leaves out
// that teardown: Wine then ends the Unix process with _exit. Nothing of the
// program under test runs at process exit, so nothing it does is skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
