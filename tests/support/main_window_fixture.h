// A GoogleTest fixture: the program's main window, opened in a scratch current
// directory of its own (where it reads and writes Settings.ini) for each case.
#pragma once

#include "app/main_window.h"
#include "tests/support/app_window.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        window = OpenMainWindow();
        ASSERT_NE(window, nullptr);
        state = GetAppState();
    }
    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        DrainQuit();
    }

    ScratchFolder scratch;
    HWND window = nullptr;
    AppState *state = nullptr;
};
