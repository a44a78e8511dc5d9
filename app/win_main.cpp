#include "app/main_window.h"
#include "platform/system_library.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything is loaded: no library beside the program may be taken
    // for a system one.
    RestrictLibrarySearch();
    return RunApplication(instance);
}
